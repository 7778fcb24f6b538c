// When the two store files are written. Positions go out as soon as they change; the cache goes
// out at once when its speaker list or network name changed, and otherwise at most every 30 s,
// so the steady stream of snapshots does not rewrite it every few seconds.
//
// Every write runs on the one file writer, in the order it was asked for, and is awaited, so
// the GUI thread never waits for the disk; a newer version of a file is never overwritten by
// an older one, and `written_` only ever moves forward, to the slice of a write queued later
// than the one it holds.

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

QCoro::Task<> OrvelStore::persistChangedSlicesAsync(StoreRef self) {
    FloorplanPositionsFile positions = self->state_.persisted().positions;
    if (positions.pins != self->written_.positions.pins) {
        // Queued before the first await, so a write asked for after this call can never land
        // before it.
        const auto slot = fileSlot::floorplanPositions();
        const std::uint64_t queueNumber = ++self->positionsWrites_.queued;
        const OrvelFiles::SaveResult saved = co_await self->files_.saveAsync(positions, slot);
        if (!self) co_return;
        if (saved) {
            self->recordPositionsWritten(queueNumber, std::move(positions));
        } else {
            self->reportFailedWrite(slot.name);
        }
    }

    // Taken only now: another call (a room moved while this one awaited) may have queued a
    // cache write meanwhile, and this one, queued behind it, must carry at least its state.
    CachedSpeakersFile cache = self->state_.persisted().cache;
    if (cache != self->written_.cache && self->cacheWriteDue(cache)) {
        const auto slot = fileSlot::cachedSpeakers();
        const std::uint64_t queueNumber = ++self->cacheWrites_.queued;
        const OrvelFiles::SaveResult saved = co_await self->files_.saveAsync(cache, slot);
        if (!self) co_return;
        if (saved) {
            self->recordCacheWritten(queueNumber, std::move(cache));
        } else {
            self->reportFailedWrite(slot.name);
        }
    }
}

}  // namespace orvel
