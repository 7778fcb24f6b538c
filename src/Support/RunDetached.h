#pragma once

// Runs CPU work off the GUI thread: the job runs on the global QThreadPool behind other pool
// work, and the caller awaits its QFuture (co_await runDetached(...) resumes on the awaiting
// thread). The job must work on plain values it owns: it touches no QObject and shares nothing
// with the GUI thread, which is why a pointer result is refused. An exception thrown by the job
// is rethrown where the future is awaited.
//
//   auto job = [speakers = snapshot.speakers] { return inferLayout(speakers); };
//   auto layout = co_await runDetached(std::move(job));
//
// (g++ 12 destroys a lambda or brace-initialised temporary inside a co_await expression twice,
// so the lambda is a named local first.)

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <QCoroFuture>

#include <exception>
#include <memory>
#include <type_traits>
#include <utility>

namespace orvel {

// Queue position on the pool: below the default (0), so anything else queued runs first.
inline constexpr int detachedJobPriority = -1;

template <typename Job, typename R = std::invoke_result_t<std::decay_t<Job>&>>
QFuture<R> runDetached(Job&& job) {
    static_assert(!std::is_pointer_v<R> && !std::is_reference_v<R>, "a detached job returns a plain value");
    auto promise = std::make_shared<QPromise<R>>();
    auto future = promise->future();
    promise->start();
    // Held by pointer: the pool takes a copyable std::function, and a job may be move-only.
    auto work = std::make_shared<std::decay_t<Job>>(std::forward<Job>(job));
    QThreadPool::globalInstance()->start(
        [promise, work] {
            try {
                if constexpr (std::is_void_v<R>) {
                    (*work)();
                } else {
                    promise->addResult((*work)());
                }
            } catch (...) {
                promise->setException(std::current_exception());
            }
            promise->finish();
        },
        detachedJobPriority);
    return future;
}

}  // namespace orvel
