#include "FileWriter.h"

namespace orvel {

FileWriter& FileWriter::shared() {
    static FileWriter writer;
    return writer;
}

FileWriter::FileWriter() : thread_([this] { run(); }) {}

FileWriter::~FileWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void FileWriter::enqueue(Job job) {
    if (isWriterThread()) {
        // A job that writes again from the writer thread would wait for itself; it runs now,
        // which is still after everything queued before the job that asked.
        job();
        return;
    }
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

std::size_t FileWriter::pendingCount() const {
    std::lock_guard lock(mutex_);
    return jobs_.size() + (busy_ ? 1 : 0);
}

bool FileWriter::isWriterThread() const { return std::this_thread::get_id() == thread_.get_id(); }

void FileWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        // Stopping still drains the queue: a write that was asked for is written.
        if (jobs_.empty()) return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        busy_ = true;
        lock.unlock();
        job();
        job = nullptr;
        lock.lock();
        busy_ = false;
    }
}

}  // namespace orvel
