#pragma once

// The one observable object of the application: it holds the state every view reads, turns the
// household's snapshots into that state, keeps the two store files current, completes what the
// groups play with the Spotify account's details, and takes the user's intents.
//
// Lives on the GUI thread and is used only there. Its single event loop gives it serial
// execution: the run loop, the intents and the background tasks interleave only at their
// suspension points and re-read the state after each. `state` changes only by copy, reduce,
// compare, assign, and `stateChanged` fires only when the new value differs.

#include <QObject>

#include <QCoroTask>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "CommandTicket.h"
#include "LoadedFiles.h"
#include "MuteMemory.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/PresetID.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/VolumeTarget.h"
#include "OrvelFiles.h"
#include "OrvelState.h"
#include "PersistedSlices.h"
#include "SonosControl.h"
#include "SpotifySource.h"
#include "Support/CancellationToken.h"
#include "Support/Clock.h"
#include "Support/LifetimeGuard.h"
#include "VolumeCoalescer.h"

namespace orvel {

class PlaybackHost;

class OrvelStore : public QObject {
    Q_OBJECT
    // `state` is a C++ property (state(), setState(), stateChanged) and not a Qt one: the value
    // has no default form, which a QVariant needs, and the views read it through presenters.

public:
    using CommandResult = OrvelState::CommandResult;

    // The ports and the files are kept for the store's whole life. Nothing is written at
    // start: what was loaded counts as written. The clock must outlive the store.
    OrvelStore(const LoadedFiles& loaded, OrvelFiles files, std::shared_ptr<SonosControl> sonos,
               std::shared_ptr<SpotifySource> spotify, std::vector<PresetPill> initialPresets,
               Clock& clock = Clock::system(), QObject* parent = nullptr);
    ~OrvelStore() override;

    // ---- State ------------------------------------------------------------------------------
    const OrvelState& state() const { return state_; }
    // Stores `next` and notifies, unless it equals the current state.
    void setState(OrvelState next);

    // ---- Run loop ---------------------------------------------------------------------------
    // Subscribes to the household and folds every snapshot into the state until the stream
    // ends or `stop` is cancelled. A call while a loop runs returns at once; after the end a
    // new call subscribes anew.
    QCoro::Task<> run(CancellationToken stop = {});
    bool isRunningLoop() const { return isRunningLoop_; }

    // ---- Spotify ----------------------------------------------------------------------------
    // Starts one background fetch of the account's current context, unless one is running or
    // the last fetch began less than 4 s ago. Returns at once.
    void refreshSpotifyQueueIfNeeded();

    // ==== User intents ========================================================================
    // Declared here by the intents' own change and defined in OrvelStoreIntents*.cpp. They use
    // the helpers in the "For the intents" block below. Every intent returns at once: commands
    // run in tasks of their own, show their expected effect while in flight, and end in the
    // alert when they fail or reach only some speakers.

    // ---- Commands and volume (OrvelStoreIntentsCommands.cpp) ---------------------------------
    // The one way a command reaches the speakers. Volume goes through setVolume; transport
    // commands also ask for the Spotify details again a second later.
    void send(SonosCommand command);
    // Shows the volume at once and sends it coalesced with the requests that follow.
    void setVolume(DiscreteVolume volume, const VolumeTarget& target);
    // Mutes the speaker, or brings back the volume it had (20 when none is remembered).
    void toggleMute(const SpeakerUUID& speaker);
    // Plays an entry of the queue or of an up-next list on the group.
    void playQueueItem(const QueueItem& item, const GroupID& on);

    // ---- Play, pause and Spotify hand-off (OrvelStoreIntentsPlayback.cpp) --------------------
    // Pauses a playing group, resumes a paused one, starts a stopped one, falling back on the
    // linked Spotify account when the speakers cannot.
    void togglePlayOrHandOffSpotify(const SonosGroup& group);
    // Moves what the Spotify account plays onto the group.
    void handOffSpotify(const GroupID& group);

    // ---- Grouping, presets and rooms (OrvelStoreIntentsGrouping.cpp) -------------------------
    // Merges the member's group with the target's; the more active group keeps its coordinator.
    void group(const SpeakerUUID& member, const SpeakerUUID& onto);
    void ungroupSpeaker(const SpeakerUUID& speaker);
    void dissolveGroup(const GroupID& group);
    void groupEverywhere();
    void applyPreset(const PresetPill& preset);
    // Pins the room on the map and queues the positions write at once; returns without waiting
    // for the disk.
    void moveRoom(const SpeakerUUID& speaker, RoomCoordinate to);
    void resetRoom(const SpeakerUUID& speaker);
    // Each preset edit stores the whole list on the speakers afterwards.
    void savePreset(const GroupID& from, std::optional<std::string_view> name);
    void createPreset(std::string_view name, const SpeakerUUID& coordinator, const std::set<SpeakerUUID>& members);
    void updatePreset(const PresetID& preset, const GroupID& from);
    void renamePreset(const PresetID& preset, std::string_view to);
    void deletePreset(const PresetID& preset);
    // Trimmed; a blank name changes nothing.
    void renameSystem(std::string_view to);
    void dismissAlert();

    // ==== End of user intents =================================================================

signals:
    void stateChanged();

private:
    // Tests reach the private steps (the file writes, the post-transport refresh) through it.
    friend struct OrvelStorePeer;

    // What coroutines and deferred calls carry instead of `this`: empty from the very start of
    // the store's destruction, so a task resumed during or after teardown sees it and stops.
    using StoreRef = LifetimeGuard<OrvelStore>::Token;

    // ---- For the intents ----------------------------------------------------------------------
    StoreRef ref() const { return lifetime_.token(); }
    Clock& clock() const { return *clock_; }
    // Held by shared pointer so a task can keep the port alive across its await.
    const std::shared_ptr<SonosControl>& sonosPort() const { return sonos_; }
    const std::shared_ptr<SpotifySource>& spotifyPort() const { return spotify_; }

    // Copy, reduce, compare, assign: `reduce` changes a copy of the state, which replaces the
    // state (and notifies) only when it differs.
    template <class Reducer>
    void reduceState(Reducer&& reduce) {
        OrvelState next = state_;
        std::forward<Reducer>(reduce)(next);
        setState(std::move(next));
    }
    // Records the command as in flight under a new ticket.
    CommandTicket beginCommand(SonosCommand command);
    // Closes the ticket: a failure or a partial outcome becomes the alert; a success settles.
    void finishCommand(CommandTicket ticket, const CommandResult& result);
    // Keeps a timer for the first settling command to run out, so it goes even when no
    // snapshot comes (the household publishes only what changed).
    void watchSettling();
    // Asks for a background Spotify fetch 1 s after a transport command (on the store's
    // clock); the 4 s rule and the single running fetch let at most one of several fetch.
    void schedulePostTransportSpotifyRefresh();

    // ---- Run loop (OrvelStoreRunLoop.cpp) ------------------------------------------------------
    static QCoro::Task<> runLoop(StoreRef self, SonosControl::SnapshotStream snapshots, CancellationToken stop);
    static QCoro::Task<> handleSnapshot(StoreRef self, HouseholdSnapshot snapshot);

    // ---- Persistence (OrvelStorePersistence.cpp) ----------------------------------------------
    // Per file: how many writes were queued, and the queue number of the write that last set
    // `written_`. The writer runs writes in queue order, so a write answering late never moves
    // `written_` back to an older slice.
    struct WriteLedger {
        std::uint64_t queued = 0;
        std::uint64_t recorded = 0;
    };
    // Queues the positions write at once (before the first await) and awaits it, then queues
    // the cache write if one is due. Also started, not awaited, by the map intents.
    static QCoro::Task<> persistChangedSlicesAsync(StoreRef self);
    bool cacheWriteDue(const CachedSpeakersFile& current) const;
    void recordPositionsWritten(std::uint64_t queueNumber, FloorplanPositionsFile positions);
    void recordCacheWritten(std::uint64_t queueNumber, CachedSpeakersFile cache);
    void reportFailedWrite(const std::string& fileName);

    // ---- Spotify (SpotifyEnrichment.cpp) -------------------------------------------------------
    static QCoro::Task<HouseholdSnapshot> enrichWithSpotifyIfNeeded(StoreRef self, HouseholdSnapshot snapshot);
    static QCoro::Task<> spotifyRefresh(StoreRef self);
    static QCoro::Task<> postTransportRefresh(StoreRef self, Clock& clock);
    // Seconds since `since` on the monotonic clock; nullopt (never) counts as long ago.
    double secondsSince(const std::optional<Clock::Instant>& since) const;

    // ---- Fields ---------------------------------------------------------------------------------
    OrvelState state_;
    std::shared_ptr<SonosControl> sonos_;
    std::shared_ptr<SpotifySource> spotify_;
    OrvelFiles files_;
    // The slices as last written successfully (at start: as loaded).
    PersistedSlices written_;
    // Throttles run on the monotonic clock, so setting the system clock back cannot stall them.
    std::optional<Clock::Instant> lastCacheWrite_;
    std::optional<Clock::Instant> lastSpotifyEnrich_;
    std::optional<std::string> lastEnrichedTrackIdentity_;
    // The last context the account gave; a failed fetch keeps it.
    std::optional<SpotifyTrackContext> cachedSpotifyContext_;
    bool inFlightSpotifyRefresh_ = false;
    // Per playing or paused group, its track as last enriched.
    std::map<GroupID, NowPlayingTrack> lastKnownTracks_;
    // The groups playing or paused at the last enrichment: they keep a contested session.
    std::set<GroupID> preferredActiveGroupIDs_;
    bool isRunningLoop_ = false;

    Clock* clock_;
    WriteLedger cacheWrites_;
    WriteLedger positionsWrites_;
    Clock::Timer settlingTimer_;
    // Ended first thing when the store goes: every task's StoreRef empties and its sleeps and
    // waits (the run loop's subscription included) wake and end.
    LifetimeGuard<OrvelStore> lifetime_{this};

    // ==== User intents: their own fields and helpers =============================================
    // Runs one command as in flight: a ticket, the household's answer, the ticket closed (a
    // failure or a partial outcome becomes the alert). Never fails.
    static QCoro::Task<CommandResult> perform(StoreRef self, SonosCommand command);

    // What the volume coalescing and the playback tasks reach the store through.
    class IntentHost;
    static std::shared_ptr<IntentHost> makeIntentHost(StoreRef self);
    VolumeCoalescer::Host& volumeHost() const;
    std::shared_ptr<PlaybackHost> playbackHost() const;

    std::shared_ptr<IntentHost> intentHost_ = makeIntentHost(ref());
    // The volume a speaker had when it was last muted from here; never persisted.
    MuteMemory mute_;
    // Per volume target, the latest request not sent yet and the worker sending it. Declared
    // after the host, so it goes first and its workers never reach a host that is gone.
    VolumeCoalescer volumes_{*clock_, volumeHost()};

    // ==== End of user intents' fields ==========================================================
};

}  // namespace orvel
