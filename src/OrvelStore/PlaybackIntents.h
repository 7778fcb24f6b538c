#pragma once

// The play button of a group and the move of the Spotify account's playback onto a group.
//
// The button pauses a playing group, resumes a paused one and starts a stopped one. When the
// speakers refuse to resume, or a stopped group has nothing of its own to play, the linked
// Spotify account fills in: its own device resumes, or the item is enqueued on the group. A
// hand-off enqueues what the account plays on the group's coordinator at the account's
// position, and pauses the account's own device only once the speakers have accepted it, so
// the music never stops in both places.
//
// The tasks reach the speakers and the account only through a host (the store), which records
// every command as in flight and reports failed commands itself.

#include <QCoroTask>

#include <expected>
#include <memory>
#include <optional>

#include "OrvelAlert.h"
#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/SpotifyTrackMetadata.h"
#include "OrvelDomain/SpotifyBridgeError.h"

namespace orvel {

class PlaybackHost {
public:
    using CommandResult = std::expected<CommandOutcome, SonosCommandError>;
    using ContextResult = std::expected<SpotifyTrackContext, SpotifyBridgeError>;

    virtual ~PlaybackHost() = default;
    // False once the store behind the host is gone; a task then ends at its next step.
    virtual bool isAvailable() const = 0;
    // Dispatches a command and returns at once (transport commands also ask for a refresh of
    // the Spotify details).
    virtual void send(SonosCommand command) = 0;
    // Runs a command as in flight and answers its result; a failure is already reported as
    // the alert when this returns.
    virtual QCoro::Task<CommandResult> perform(SonosCommand command) = 0;
    virtual QCoro::Task<ContextResult> currentContext() = 0;
    // Pauses the account's own device; failures are silent.
    virtual QCoro::Task<> pauseSourcePlayback() = 0;
    // Whether the account's own device resumed.
    virtual QCoro::Task<bool> resumeSourcePlayback() = 0;
    // Sets or clears the alert.
    virtual void setAlert(std::optional<OrvelAlert> alert) = 0;
};

// Pause, resume or start by the group's playback at the tap. Pausing is one send and the task
// is already finished when this returns; otherwise the task goes on by itself and may be
// dropped.
QCoro::Task<> togglePlayOrHandOffSpotify(std::shared_ptr<PlaybackHost> host, SonosGroup group);
// Moves the account's current item onto the group.
QCoro::Task<> handOffSpotify(std::shared_ptr<PlaybackHost> host, GroupID group);

// Whether the command changes what a group plays, after which the Spotify details are read
// again: play or pause, skips, a jump in the queue, an enqueued Spotify item.
bool isTransportCommand(const SonosCommand& command);

// What travels with a paused track when it is enqueued again: its own details, an empty
// artist when the speakers reported none.
SpotifyTrackMetadata enqueueMetadata(const NowPlayingTrack& track);

// Playing an entry of the queue or of an up-next list: by its queue number when it has a
// positive one, else by its Spotify reference from the beginning; nullopt when it has neither.
std::optional<SonosCommand> queueItemCommand(const QueueItem& item, const GroupID& group);

}  // namespace orvel
