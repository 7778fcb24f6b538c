#include "SerialLane.h"

namespace orvel {

QCoro::Task<> SerialLane::drain(std::shared_ptr<State> state) {
    state->draining = true;
    while (!state->jobs.empty()) {
        auto job = std::move(state->jobs.front());
        state->jobs.pop_front();
        state->busy = true;
        // `job` stays in this frame until its task is done: the operation and its captures
        // live exactly as long as the work.
        auto jobTask = job();
        co_await std::move(jobTask);
        state->busy = false;
    }
    state->draining = false;
}

}  // namespace orvel
