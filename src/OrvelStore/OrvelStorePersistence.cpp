// When the two store files are written. Positions go out as soon as they change; the cache goes
// out at once when its speaker list or network name changed, and otherwise at most every 30 s,
// so the steady stream of snapshots does not rewrite it every few seconds.
//
// Every write runs on the one file writer, in the order it was asked for, so a newer version
// of a file is never overwritten by an older one; and `written_` only ever moves forward, to
// the slice of a write queued later than the one it holds.

#include <algorithm>

#include "OrvelStore.h"

namespace orvel {
namespace {

constexpr double cacheWriteInterval = 30.0;

bool sameSpeakerList(const std::vector<Speaker>& a, const std::vector<Speaker>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const Speaker& x, const Speaker& y) { return x.id == y.id; });
}

}  // namespace

bool OrvelStore::cacheWriteDue(const CachedSpeakersFile& current) const {
    const CachedSpeakersFile& last = written_.cache;
    if (!sameSpeakerList(current.speakers, last.speakers)) return true;
    if (current.networkName != last.networkName) return true;
    return secondsSince(lastCacheWrite_) >= cacheWriteInterval;
}

void OrvelStore::recordPositionsWritten(std::uint64_t queueNumber, FloorplanPositionsFile positions) {
    if (queueNumber <= positionsWrites_.recorded) return;
    positionsWrites_.recorded = queueNumber;
    written_.positions = std::move(positions);
}

void OrvelStore::recordCacheWritten(std::uint64_t queueNumber, CachedSpeakersFile cache) {
    if (queueNumber <= cacheWrites_.recorded) return;
    cacheWrites_.recorded = queueNumber;
    written_.cache = std::move(cache);
    lastCacheWrite_ = clock_->monotonicNow();
}

void OrvelStore::reportFailedWrite(const std::string& fileName) {
    // Why it failed is of no use on screen; the file keeps its last good version and the next
    // due call tries again.
    reduceState([&](OrvelState& state) { state.report(OrvelAlert::quarantined(fileName)); });
}

void OrvelStore::persistChangedSlices() {
    PersistedSlices current = state_.persisted();

    if (current.positions.pins != written_.positions.pins) {
        const auto slot = fileSlot::floorplanPositions();
        const std::uint64_t queueNumber = ++positionsWrites_.queued;
        if (files_.save(current.positions, slot)) {
            recordPositionsWritten(queueNumber, std::move(current.positions));
        } else {
            reportFailedWrite(slot.name);
        }
    }

    if (current.cache != written_.cache && cacheWriteDue(current.cache)) {
        const auto slot = fileSlot::cachedSpeakers();
        const std::uint64_t queueNumber = ++cacheWrites_.queued;
        if (files_.save(current.cache, slot)) {
            recordCacheWritten(queueNumber, std::move(current.cache));
        } else {
            reportFailedWrite(slot.name);
        }
    }
}

QCoro::Task<> OrvelStore::persistChangedSlicesAsync(StoreRef self) {
    PersistedSlices current = self->state_.persisted();
    const std::uint64_t cacheQueuedAtStart = self->cacheWrites_.queued;

    if (current.positions.pins != self->written_.positions.pins) {
        const auto slot = fileSlot::floorplanPositions();
        const std::uint64_t queueNumber = ++self->positionsWrites_.queued;
        auto saveAsyncTask = self->files_.saveAsync(current.positions, slot);
        const OrvelFiles::SaveResult saved = co_await std::move(saveAsyncTask);
        if (!self) co_return;
        if (saved) {
            self->recordPositionsWritten(queueNumber, std::move(current.positions));
        } else {
            self->reportFailedWrite(slot.name);
        }
    }

    // A cache write queued since this call took its slices (a room moved meanwhile) carries a
    // newer state; queuing this older one behind it would put the older one on disk.
    if (self->cacheWrites_.queued != cacheQueuedAtStart) co_return;

    if (current.cache != self->written_.cache && self->cacheWriteDue(current.cache)) {
        const auto slot = fileSlot::cachedSpeakers();
        const std::uint64_t queueNumber = ++self->cacheWrites_.queued;
        auto saveAsyncTask2 = self->files_.saveAsync(current.cache, slot);
        const OrvelFiles::SaveResult saved = co_await std::move(saveAsyncTask2);
        if (!self) co_return;
        if (saved) {
            self->recordCacheWritten(queueNumber, std::move(current.cache));
        } else {
            self->reportFailedWrite(slot.name);
        }
    }
}

}  // namespace orvel
