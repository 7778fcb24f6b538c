// When the store asks the Spotify account what it plays: at once when the tracks the household
// plays change, otherwise at most every 30 s while a group plays and every 120 s while groups
// are only paused, and in the background shortly after transport commands, never within 4 s
// of the last fetch. Every Spotify failure here is silent: the last context stays in use.

#include <QMetaObject>

#include <chrono>
#include <limits>
#include <utility>

#include "OrvelStore.h"
#include "SpotifyEnrichment.h"
#include "Support/Sleep.h"

namespace orvel {
namespace {

constexpr double backgroundRefreshFloor = 4.0;
constexpr std::chrono::seconds postTransportDelay{1};

double secondsBetween(const std::optional<Clock::Instant>& since, Clock::Instant now) {
    if (!since) return std::numeric_limits<double>::infinity();
    return std::chrono::duration<double>(now - *since).count();
}

}  // namespace

QCoro::Task<HouseholdSnapshot> OrvelStore::enrichWithSpotifyIfNeeded(StoreRef self, HouseholdSnapshot snapshot) {
    HouseholdSnapshot sanitized = snapshot.sanitizingPlaybackSessions(self->preferredActiveGroupIDs_);
    const std::vector<SonosGroup> active = SpotifyEnrichment::activeGroups(sanitized);
    const std::set<GroupID> activeIDs = SpotifyEnrichment::ids(active);
    self->preferredActiveGroupIDs_ = activeIDs;
    std::erase_if(self->lastKnownTracks_, [&](const auto& entry) { return !activeIDs.contains(entry.first); });
    if (active.empty()) co_return sanitized;

    const std::string identity = SpotifyEnrichment::trackIdentity(active);
    const double interval = SpotifyEnrichment::fetchInterval(active);
    const Clock::Instant now = self->clock_->monotonicNow();
    const bool tracksChanged = !identity.empty() && self->lastEnrichedTrackIdentity_ != identity;
    if (tracksChanged || secondsBetween(self->lastSpotifyEnrich_, now) >= interval) {
        self->lastSpotifyEnrich_ = now;
        if (!identity.empty()) self->lastEnrichedTrackIdentity_ = identity;
        const std::shared_ptr<SpotifySource> spotify = self->spotify_;
        auto readingContext = spotify->currentContext();
        SpotifySource::ContextResult fetched = co_await std::move(readingContext);
        if (!self) co_return sanitized;
        if (fetched) self->cachedSpotifyContext_ = std::move(*fetched);
    }

    // Read again after the fetch: a background refresh may have changed them meanwhile.
    HouseholdSnapshot merged =
        SpotifyEnrichment::merge(sanitized, active, self->cachedSpotifyContext_, self->lastKnownTracks_);
    co_return merged.sanitizingPlaybackSessions(activeIDs);
}

void OrvelStore::refreshSpotifyQueueIfNeeded() {
    if (inFlightSpotifyRefresh_) return;
    const Clock::Instant now = clock_->monotonicNow();
    if (secondsBetween(lastSpotifyEnrich_, now) < backgroundRefreshFloor) return;
    lastSpotifyEnrich_ = now;
    inFlightSpotifyRefresh_ = true;
    // Begins on a later turn of the event loop, as a task does; a store gone by then starts
    // nothing.
    QMetaObject::invokeMethod(this, [self = ref()] { spotifyRefresh(self); }, Qt::QueuedConnection);
}

QCoro::Task<> OrvelStore::spotifyRefresh(StoreRef self) {
    if (!self) co_return;
    const std::shared_ptr<SpotifySource> spotify = self->spotify_;
    auto readingContext = spotify->currentContext();
    SpotifySource::ContextResult fetched = co_await std::move(readingContext);
    if (!self) co_return;
    self->lastSpotifyEnrich_ = self->clock_->monotonicNow();
    if (fetched) {
        self->cachedSpotifyContext_ = std::move(*fetched);
        if (std::optional<HouseholdSnapshot> live = self->state_.live()) {
            // The last fetch time was just set, so this fetches again only for new tracks.
            auto enriching = enrichWithSpotifyIfNeeded(self, *live);
            HouseholdSnapshot enriched = co_await std::move(enriching);
            if (!self) co_return;
            if (!live->isSemanticallyEquivalent(enriched)) {
                self->reduceState(
                    [&](OrvelState& state) { state.absorb(enriched, std::nullopt, self->clock_->now()); });
            }
        }
    }
    self->inFlightSpotifyRefresh_ = false;
}

void OrvelStore::schedulePostTransportSpotifyRefresh() { postTransportRefresh(ref(), *clock_); }

QCoro::Task<> OrvelStore::postTransportRefresh(StoreRef self, Clock& clock) {
    // Woken when the store goes, so the sleep never outlives it.
    auto sleeping = sleepFor(clock, postTransportDelay, self.ended());
    const auto slept = co_await std::move(sleeping);
    if (slept && self) self->refreshSpotifyQueueIfNeeded();
}

}  // namespace orvel
