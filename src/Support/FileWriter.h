#pragma once

// The one thread that writes the program's files. Every write of a file (the store's files, the
// debug log) is queued here and run alone, in the order the writes were asked for, so a newer
// version of a file is never overwritten by an older one that was still waiting, two writes
// never interleave, and the GUI thread never waits for the disk: it queues and awaits.

#include <QFuture>
#include <QPromise>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <utility>

namespace orvel {

class FileWriter {
public:
    using Job = std::move_only_function<void()>;

    // The process-wide writer, started on first use. At exit it finishes what is queued.
    static FileWriter& shared();

    FileWriter();
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Runs `job` on the writer thread after every job queued before it.
    void enqueue(Job job);

    // Queues `work` and hands back its result; an exception from `work` is rethrown where the
    // future's result is read.
    template <class Work, class R = std::invoke_result_t<std::decay_t<Work>&>>
    QFuture<R> submit(Work&& work) {
        auto promise = std::make_shared<QPromise<R>>();
        QFuture<R> future = promise->future();
        promise->start();
        enqueue([promise, work = std::forward<Work>(work)]() mutable {
            try {
                if constexpr (std::is_void_v<R>) {
                    work();
                } else {
                    promise->addResult(work());
                }
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        });
        return future;
    }

    // Jobs queued or running.
    std::size_t pendingCount() const;
    bool isWriterThread() const;

private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace orvel
