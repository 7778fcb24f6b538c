#pragma once

// Parsing a large reply takes milliseconds the window would wait for; a reply above
// largeReplyBytes is parsed on a worker thread instead. The job must own plain copies of its
// input (see runDetached).

#include <cstddef>
#include <type_traits>
#include <utility>

#include <qcoro/qcorotask.h>

#include "Support/RunDetached.h"

namespace orvel {

inline constexpr std::size_t largeReplyBytes = 64 * 1024;

template <typename Job, typename R = std::invoke_result_t<Job&>>
QCoro::Task<R> parseOffTheLoopWhenLarge(std::size_t inputBytes, Job job) {
    if (inputBytes <= largeReplyBytes) co_return job();
    auto parsing = runDetached(std::move(job));
    R parsed = co_await parsing;
    co_return parsed;
}

}  // namespace orvel
