// Commands: grouping changes on the topology lane with the wait for the speakers to settle,
// household values written to the system properties, and everything else on the lane of the
// speaker concerned.

#include <utility>

#include "OrvelDomain/PresetPill.h"
#include "SonosProtocolBoundary/LargeReplyParsing.h"
#include "SonosProtocolBoundary/SonosHouseholdCore.h"
#include "SonosProtocolBoundary/SpotifyOnSonos.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "SonosProtocolBoundary/VolumeService.h"
#include "Support/Sleep.h"

namespace orvel::household {

namespace {

using Failure = std::unexpected<SonosCommandError>;

// Sweeps pause while any command is queued or running.
class CommandInFlight {
public:
    explicit CommandInFlight(std::shared_ptr<Core> core) : core_(std::move(core)) {
        ++core_->commandDepth;
        // A command may change what a sweep would take as unchanged: the next sweep reads all.
        ++core_->commandsStarted;
        core_->groupReadings.clear();
        core_->groupVolumes.clear();
        core_->wakeSweepLoop();
    }
    ~CommandInFlight() { --core_->commandDepth; }
    CommandInFlight(const CommandInFlight&) = delete;
    CommandInFlight& operator=(const CommandInFlight&) = delete;

private:
    std::shared_ptr<Core> core_;
};

// What a refusal means for the command: the speaker answered, but not with a plain success.
// A 200 whose body does not read still means the speaker took the request; callers that need
// the reply's outputs say so with `needsOutputs`.
std::optional<SonosCommandError> rejectionOf(const SOAPError& error, bool needsOutputs) {
    using Rejection = std::optional<SonosCommandError>;
    return error.visit(
        [](const SOAPError::Transport&) -> Rejection { return std::nullopt; },
        [](const SOAPError::Fault& fault) -> Rejection {
            return SonosCommandError::speakerRejected(fault.fault.detail());
        },
        [](const SOAPError::UnexpectedStatus& status) -> Rejection {
            return SonosCommandError::speakerRejected("HTTP status " + std::to_string(status.statusCode));
        },
        [&](const SOAPError::MalformedReply&) -> Rejection {
            if (!needsOutputs) return std::nullopt;
            return SonosCommandError::speakerRejected(error.message());
        });
}

// What a failed call means for the command: a speaker not reached is unreachable, else see
// rejectionOf.
std::optional<SonosCommandError> failureOf(const SOAPResult& result, const SpeakerUUID& speaker,
                                           bool needsOutputs = false) {
    if (result) return std::nullopt;
    if (result.error().isTransport()) return SonosCommandError::speakerUnreachable(speaker);
    return rejectionOf(result.error(), needsOutputs);
}

SpeakerUUID speakerOfTarget(const TopologyTarget& target) {
    return target.visit([](const TopologyTarget::MemberOf& memberOf) { return memberOf.member; },
                        [](const TopologyTarget::Standalone& standalone) { return standalone.speaker; },
                        [](const TopologyTarget::ExactGroup& exact) { return exact.coordinator; });
}

SonosCommandError failureOfPlan(const TopologyPlanFailure& failure) {
    return failure.visit(
        [](const TopologyPlanFailure::GroupDissolved& dissolved) {
            return SonosCommandError::groupDissolved(dissolved.group);
        },
        [](const TopologyPlanFailure::CoordinatorMissing& missing) {
            return SonosCommandError::speakerUnreachable(missing.speaker);
        });
}

// --- grouping ---

QCoro::Task<CommandResult> waitForGrouping(std::shared_ptr<Core> core, TopologyTarget target,
                                           std::set<SpeakerUUID> unreachable) {
    const auto timeout = core->configuration.convergenceTimeout;
    const Clock::Instant deadline = core->clock.monotonicNow() + timeout;
    while (true) {
        auto refreshing = core->refreshTopology(core->environment.sweepReadLimits);
        const auto fresh = co_await std::move(refreshing);
        if (fresh && target.isSatisfied(fresh->topology, unreachable)) break;
        const Clock::Instant now = core->clock.monotonicNow();
        if (now >= deadline) co_return Failure(SonosCommandError::notConverged(Duration::fromChrono(timeout)));
        const Clock::Instant next = std::min(deadline, now + core->environment.busyPace);
        auto sleeping = sleepUntil(core->clock, next);
        co_await std::move(sleeping);
    }
    if (unreachable.empty()) co_return CommandOutcome::applied();
    co_return CommandOutcome::partiallyApplied(std::move(unreachable));
}

QCoro::Task<CommandResult> runGrouping(std::shared_ptr<Core> core, SonosCommand command) {
    const TopologyTarget target = *command.topologyTarget();
    const HttpLimits limits = core->environment.commandLimits;
    auto refreshing = core->refreshTopology(limits);
    std::optional<ZoneGroupState> state = co_await std::move(refreshing);
    if (!state) state = core->zoneState;
    if (!state) co_return Failure(SonosCommandError::speakerUnreachable(speakerOfTarget(target)));

    if (target.isSatisfied(state->topology)) co_return CommandOutcome::alreadySatisfied();
    const TopologyPlan plan = target.plan(state->topology);
    using Planned = std::expected<TopologyPlan::Steps, SonosCommandError>;
    const Planned planning =
        plan.visit([](const TopologyPlan::Steps& steps) -> Planned { return steps; },
                   [](const TopologyPlan::Impossible& impossible) -> Planned {
                       return std::unexpected(failureOfPlan(impossible.failure));
                   });
    if (!planning) co_return Failure(planning.error());
    const TopologyPlan::Steps& planned = *planning;

    // A lone wanted speaker that the household does not list cannot be moved at all.
    if (planned.steps.empty() && !target.isExactGroup() && !planned.skipped.empty()) {
        co_return Failure(SonosCommandError::speakerUnreachable(*planned.skipped.begin()));
    }

    std::set<SpeakerUUID> unreachable = planned.skipped;
    std::optional<SpeakerUUID> firstUnreachable;
    bool anyTaken = false;
    for (const TopologyStep& step : planned.steps) {
        const SpeakerUUID& speaker = step.firstSpeaker();
        std::optional<SpeakerAddress> address;
        if (auto it = state->addresses.find(speaker); it != state->addresses.end()) address = it->second;
        if (!address) address = core->addressOf(speaker);
        SOAPResult reply = std::unexpected(SOAPError::transport(TransportError::networkFailure("no address")));
        if (address) {
            auto stepping = core->call(*address, TopologyService::stepRequest(step), limits);
            reply = co_await std::move(stepping);
        }
        if (auto failure = failureOf(reply, speaker)) {
            if (!failure->isSpeakerUnreachable()) co_return Failure(*failure);
            unreachable.insert(speaker);
            if (!firstUnreachable) firstUnreachable = speaker;
            continue;
        }
        anyTaken = true;
    }
    // Reporting a partial success when no step reached any speaker would hide the failure.
    if (!planned.steps.empty() && !anyTaken) co_return Failure(SonosCommandError::speakerUnreachable(*firstUnreachable));
    auto waiting = waitForGrouping(core, target, std::move(unreachable));
    co_return co_await std::move(waiting);
}

// --- household values ---

// Any reachable speaker stores a household value for all of them.
QCoro::Task<CommandResult> writeProperty(std::shared_ptr<Core> core, std::string_view variable, std::string value) {
    const SOAPRequest request = SystemPropertiesService::setStringRequest(variable, std::move(value));
    std::optional<SpeakerUUID> firstTried;
    for (const auto& address : core->knownAddresses()) {
        if (!firstTried) firstTried = core->speakerAt(address);
        auto calling = core->call(address, request, core->environment.commandLimits);
        const SOAPResult reply = co_await std::move(calling);
        if (reply || !reply.error().isTransport()) {
            // A refusal is the household's answer; there is no point in asking another speaker.
            if (auto rejection = reply ? std::nullopt : rejectionOf(reply.error(), false)) co_return Failure(*rejection);
            co_return CommandOutcome::applied();
        }
    }
    if (firstTried) co_return Failure(SonosCommandError::speakerUnreachable(*firstTried));
    co_return Failure(SonosCommandError::speakerRejected("no speaker of the household is known"));
}

// The preset list as the first speaker that answers holds it.
QCoro::Task<std::expected<StoredPresetsRead, SonosCommandError>> readPresetsForSave(std::shared_ptr<Core> core) {
    std::optional<SpeakerUUID> firstTried;
    for (const auto& address : core->knownAddresses()) {
        if (!firstTried) firstTried = core->speakerAt(address);
        auto reading = readStoredPresets(core, address, core->environment.commandLimits);
        auto stored = co_await std::move(reading);
        if (stored) co_return std::move(*stored);
        if (!stored.error().isTransport()) {
            co_return std::unexpected(*rejectionOf(stored.error(), true));
        }
    }
    if (firstTried) co_return std::unexpected(SonosCommandError::speakerUnreachable(*firstTried));
    co_return std::unexpected(SonosCommandError::speakerRejected("no speaker of the household is known"));
}

// The list is written whole, so it is merged with what the speakers hold: entries this
// controller cannot read stay as they are, where they are.
QCoro::Task<CommandResult> savePresets(std::shared_ptr<Core> core, std::vector<PresetPill> presets) {
    auto missing = StoredPresetList::Missing::deleted;
    if (!core->presets) {
        // Not read yet: a save now would overwrite presets the caller never saw, so they are
        // read first, and the save does not happen when they cannot be.
        auto reading = readPresetsForSave(core);
        auto stored = co_await std::move(reading);
        if (!stored) co_return Failure(stored.error());
        core->presets = std::move(stored->list);
        missing = StoredPresetList::Missing::unseen;
    }
    const std::size_t bytes = core->presets->approximateTextBytes() + StoredPresetList::approximateTextBytes(presets);
    // Held by pointer, so the text and list a worker thread made are not copied on the way back.
    auto job = [stored = core->presets, presets = std::move(presets), missing] {
        return std::make_shared<StoredPresetList::Save>(stored->saving(presets, missing));
    };
    auto merging = parseOffTheLoopWhenLarge(bytes, std::move(job));
    std::shared_ptr<StoredPresetList::Save> save = co_await std::move(merging);
    auto writing = writeProperty(core, SystemPropertiesService::presetsVariable, std::move(save->text));
    CommandResult result = co_await std::move(writing);
    if (result) {
        core->presets = std::make_shared<const StoredPresetList>(std::move(save->list));
        ++core->presetsVersion;
    }
    co_return result;
}

QCoro::Task<CommandResult> setSystemName(std::shared_ptr<Core> core, std::string name) {
    auto writing = writeProperty(core, SystemPropertiesService::systemNameVariable, name);
    CommandResult result = co_await std::move(writing);
    if (result) {
        core->networkName = std::move(name);
        core->networkNameRead = true;
        ++core->networkNameVersion;
    }
    co_return result;
}

QCoro::Task<CommandResult> notAHouseholdValue() {
    co_return Failure(SonosCommandError::speakerRejected("not a household value"));
}

QCoro::Task<CommandResult> runPropertyWrite(std::shared_ptr<Core> core, SonosCommand command) {
    using C = SonosCommand;
    auto writing = command.visit(
        [&core](const C::SavePresets& save) { return savePresets(core, save.presets); },
        [&core](const C::SetSystemName& set) { return setSystemName(core, set.name); },
        // The lanes send only household-value commands here.
        [](const auto&) { return notAHouseholdValue(); });
    co_return co_await std::move(writing);
}

// --- one speaker's commands ---

// The speaker whose lane runs the command: the speaker for its own volume, the group's
// coordinator for everything a group does; none for the grouping and property commands, which
// run on lanes of their own.
std::optional<SpeakerUUID> laneOf(const SonosCommand& command) {
    using C = SonosCommand;
    using Lane = std::optional<SpeakerUUID>;
    return command.visit(
        [](const C::SetVolume& volume) -> Lane {
            return volume.target.visit([](const VolumeTarget::Speaker& speaker) { return speaker.id; },
                                       [](const VolumeTarget::Group& group) { return group.id.coordinator; });
        },
        [](const C::PlayPause& play) -> Lane { return play.group.coordinator; },
        [](const C::NextTrack& next) -> Lane { return next.group.coordinator; },
        [](const C::PreviousTrack& previous) -> Lane { return previous.group.coordinator; },
        [](const C::SeekToQueueTrack& seek) -> Lane { return seek.group.coordinator; },
        [](const C::EnqueueAndPlaySpotify& enqueue) -> Lane { return enqueue.onCoordinator.coordinator; },
        [](const C::Group&) -> Lane { return std::nullopt; }, [](const C::Ungroup&) -> Lane { return std::nullopt; },
        [](const C::ApplyPreset&) -> Lane { return std::nullopt; },
        [](const C::SavePresets&) -> Lane { return std::nullopt; },
        [](const C::SetSystemName&) -> Lane { return std::nullopt; });
}

bool addressesGroup(const SonosCommand& command) {
    if (const auto* volume = command.asSetVolume()) return volume->target.isGroup();
    return true;
}

// One step of a command sequence: the call, and the command's failure if it fails.
struct Step {
    SOAPResult reply;
    std::optional<SonosCommandError> failure;
};

QCoro::Task<Step> perform(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address, SOAPRequest request,
                          bool needsOutputs = false) {
    auto calling = core->call(address, std::move(request), core->environment.commandLimits);
    SOAPResult reply = co_await std::move(calling);
    std::optional<SonosCommandError> failure = failureOf(reply, speaker, needsOutputs);
    co_return Step{std::move(reply), std::move(failure)};
}

// What the coordinator plays from now; none when the reply does not tell.
QCoro::Task<std::expected<std::optional<MediaInfo>, SonosCommandError>> currentMedia(std::shared_ptr<Core> core,
                                                                                    SpeakerUUID speaker,
                                                                                    SpeakerAddress address) {
    auto askingMedia = perform(core, speaker, address, TransportService::mediaInfoRequest());
    Step media = co_await std::move(askingMedia);
    if (media.failure) co_return Failure(*media.failure);
    if (!media.reply) co_return std::optional<MediaInfo>();
    auto parsed = TransportService::parseMediaInfo(*media.reply, address);
    if (!parsed) co_return std::optional<MediaInfo>();
    co_return std::optional<MediaInfo>(std::move(*parsed));
}

bool playsQueue(const std::optional<MediaInfo>& media) {
    return media && media->source && media->source->isSonosQueue();
}

QCoro::Task<CommandResult> skip(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address, bool forward) {
    auto readingMedia = currentMedia(core, speaker, address);
    auto media = co_await std::move(readingMedia);
    if (!media) co_return Failure(media.error());
    if (*media && (*media)->source) {
        const PlaybackSource& source = *(*media)->source;
        if (source.isTvAudio() || source.isLineIn() || source.isRadio()) {
            co_return Failure(SonosCommandError::unsupportedForCurrentSource());
        }
    }
    const SOAPRequest request = forward ? TransportService::nextRequest() : TransportService::previousRequest();
    auto sending = perform(core, speaker, address, request);
    Step step = co_await std::move(sending);
    if (step.failure) co_return Failure(*step.failure);
    co_return CommandOutcome::applied();
}

// Makes the queue the source when it is not, jumps to the entry and plays it.
QCoro::Task<CommandResult> playQueueEntry(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address,
                                          std::int64_t number, bool queueIsSource) {
    if (!queueIsSource) {
        auto playingQueue = perform(core, speaker, address, TransportService::playQueueRequest(speaker));
        Step source = co_await std::move(playingQueue);
        if (source.failure) co_return Failure(*source.failure);
    }
    auto seeking = perform(core, speaker, address, TransportService::seekToTrackRequest(number));
    Step seek = co_await std::move(seeking);
    if (seek.failure) co_return Failure(*seek.failure);
    auto playing = perform(core, speaker, address, TransportService::playRequest());
    Step play = co_await std::move(playing);
    if (play.failure) co_return Failure(*play.failure);
    co_return CommandOutcome::applied();
}

QCoro::Task<CommandResult> seekToQueueTrack(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address,
                                            std::int64_t number) {
    auto readingMedia = currentMedia(core, speaker, address);
    auto media = co_await std::move(readingMedia);
    if (!media) co_return Failure(media.error());
    auto playingEntry = playQueueEntry(core, speaker, address, number, playsQueue(*media));
    co_return co_await std::move(playingEntry);
}

QCoro::Task<CommandResult> enqueueAndPlay(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address,
                                          SonosCommand::EnqueueAndPlaySpotify request) {
    auto readingAccounts = core->get(address, SpotifyOnSonos::accountsPath, core->environment.commandLimits);
    const HttpResult page = co_await std::move(readingAccounts);
    if (!page) co_return Failure(SonosCommandError::speakerUnreachable(speaker));
    if (page->statusCode != 200) {
        co_return Failure(SonosCommandError::speakerRejected("accounts page answered HTTP status " +
                                                            std::to_string(page->statusCode)));
    }
    const std::string_view body(page->body.constData(), static_cast<std::size_t>(page->body.size()));
    auto accounts = SpotifyOnSonos::parseAccounts(body);
    if (!accounts) co_return Failure(SonosCommandError::speakerRejected(accounts.error().message));
    if (!*accounts) co_return Failure(SonosCommandError::spotifyNotLinkedOnSonos());
    const SpotifyAccountOnSonos account = **accounts;

    auto readingMedia = currentMedia(core, speaker, address);
    auto media = co_await std::move(readingMedia);
    if (!media) co_return Failure(media.error());
    const bool queueIsSource = playsQueue(*media);
    // Right after the current entry when the queue plays, else at the top.
    std::int64_t desired = 1;
    if (queueIsSource) {
        auto readingPosition = perform(core, speaker, address, TransportService::positionInfoRequest());
        Step position = co_await std::move(readingPosition);
        if (position.failure) co_return Failure(*position.failure);
        if (position.reply) {
            auto info = TransportService::parsePositionInfo(*position.reply, address);
            if (info && info->track) desired = *info->track + 1;
        }
    }
    auto adding = perform(core, speaker, address,
                          SpotifyOnSonos::addToQueueRequest(request.uri, request.metadata, account, desired), true);
    Step added = co_await std::move(adding);
    if (added.failure) co_return Failure(*added.failure);
    auto entry = SpotifyOnSonos::parseAddToQueue(*added.reply);
    if (!entry) co_return Failure(SonosCommandError::speakerRejected(entry.error().message));

    auto playingEntry = playQueueEntry(core, speaker, address, *entry, queueIsSource);
    CommandResult played = co_await std::move(playingEntry);
    if (!played || !request.startingAt) co_return played;
    auto seeking = perform(core, speaker, address, TransportService::seekRequest(*request.startingAt));
    Step seek = co_await std::move(seeking);
    if (seek.failure) co_return Failure(*seek.failure);
    co_return CommandOutcome::applied();
}

QCoro::Task<CommandResult> setVolume(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address,
                                     SonosCommand::SetVolume volume) {
    if (volume.target.isSpeaker()) {
        auto settingVolume = perform(core, speaker, address, VolumeService::setVolumeRequest(volume.volume));
        Step set = co_await std::move(settingVolume);
        if (set.failure) co_return Failure(*set.failure);
        co_return CommandOutcome::applied();
    }
    // The snapshot keeps the members' levels relative to each other through the change.
    auto snapshotting = perform(core, speaker, address, VolumeService::snapshotGroupVolumeRequest());
    Step snapshot = co_await std::move(snapshotting);
    if (snapshot.failure) co_return Failure(*snapshot.failure);
    auto settingGroupVolume = perform(core, speaker, address, VolumeService::setGroupVolumeRequest(volume.volume));
    Step set = co_await std::move(settingGroupVolume);
    if (set.failure) co_return Failure(*set.failure);
    co_return CommandOutcome::applied();
}

QCoro::Task<CommandResult> playOrPause(std::shared_ptr<Core> core, SpeakerUUID speaker, SpeakerAddress address,
                                       PlayPause action) {
    const SOAPRequest request =
        action == PlayPause::play ? TransportService::playRequest() : TransportService::pauseRequest();
    auto sending = perform(core, speaker, address, request);
    Step step = co_await std::move(sending);
    if (step.failure) co_return Failure(*step.failure);
    co_return CommandOutcome::applied();
}

// Grouping and property commands never reach a speaker's lane (see laneOf).
QCoro::Task<CommandResult> notASpeakerCommand() {
    co_return Failure(SonosCommandError::speakerRejected("not a command for one speaker"));
}

QCoro::Task<CommandResult> runOnSpeaker(std::shared_ptr<Core> core, SpeakerUUID speaker, SonosCommand command) {
    const HttpLimits limits = core->environment.commandLimits;
    if (!core->zoneState || !core->addressOf(speaker)) {
        auto refreshing = core->refreshTopology(limits);
        co_await std::move(refreshing);
    }
    // A group whose coordinator now follows another speaker is gone.
    if (addressesGroup(command) && core->zoneState && core->zoneState->topology.isListed(speaker) &&
        !core->zoneState->topology.isCoordinator(speaker)) {
        co_return Failure(SonosCommandError::groupDissolved(GroupID(speaker)));
    }
    const std::optional<SpeakerAddress> address = core->addressOf(speaker);
    if (!address) co_return Failure(SonosCommandError::speakerUnreachable(speaker));

    using C = SonosCommand;
    // Each case starts its own task with copies of what it needs.
    auto running = command.visit(
        [&](const C::SetVolume& volume) { return setVolume(core, speaker, *address, volume); },
        [&](const C::PlayPause& play) { return playOrPause(core, speaker, *address, play.action); },
        [&](const C::NextTrack&) { return skip(core, speaker, *address, true); },
        [&](const C::PreviousTrack&) { return skip(core, speaker, *address, false); },
        [&](const C::SeekToQueueTrack& seek) { return seekToQueueTrack(core, speaker, *address, seek.number); },
        [&](const C::EnqueueAndPlaySpotify& enqueue) { return enqueueAndPlay(core, speaker, *address, enqueue); },
        [](const C::Group&) { return notASpeakerCommand(); }, [](const C::Ungroup&) { return notASpeakerCommand(); },
        [](const C::ApplyPreset&) { return notASpeakerCommand(); },
        [](const C::SavePresets&) { return notASpeakerCommand(); },
        [](const C::SetSystemName&) { return notASpeakerCommand(); });
    co_return co_await std::move(running);
}

}  // namespace

QCoro::Task<CommandResult> send(std::shared_ptr<Core> core, SonosCommand command) {
    const CommandInFlight inFlight(core);
    if (command.topologyTarget()) {
        auto operation = [core, command] { return runGrouping(core, command); };
        auto grouping = core->topologyLane.run(std::move(operation));
        co_return co_await std::move(grouping);
    }
    const std::optional<SpeakerUUID> speaker = laneOf(command);
    if (!speaker) {
        auto operation = [core, command] { return runPropertyWrite(core, command); };
        auto writing = core->propertiesLane.run(std::move(operation));
        co_return co_await std::move(writing);
    }
    SerialLane& lane = core->speakerLanes[*speaker];
    auto operation = [core, speaker = *speaker, command] { return runOnSpeaker(core, speaker, command); };
    auto running = lane.run(std::move(operation));
    co_return co_await std::move(running);
}

}  // namespace orvel::household
