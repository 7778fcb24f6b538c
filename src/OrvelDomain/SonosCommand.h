#pragma once

// Everything the user asks of the speakers, as one value: built from a user intent, recorded
// while in flight and carried out by the household controller. The three grouping commands
// name the grouping they want through `topologyTarget`.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "DiscreteVolume.h"
#include "Duration.h"
#include "GroupID.h"
#include "Overloaded.h"
#include "PlayPause.h"
#include "PresetPill.h"
#include "SpeakerUUID.h"
#include "SpotifyTrackMetadata.h"
#include "SpotifyURI.h"
#include "TopologyTarget.h"
#include "VolumeTarget.h"

namespace orvel {

class SonosCommand {
public:
    // Moves `member` into the group led by `intoCoordinator`.
    struct Group {
        SpeakerUUID member;
        GroupID intoCoordinator;
        friend bool operator==(const Group&, const Group&) = default;
    };
    // Takes `member` out of its group so that it plays alone.
    struct Ungroup {
        SpeakerUUID member;
        friend bool operator==(const Ungroup&, const Ungroup&) = default;
    };
    struct ApplyPreset {
        PresetPill preset;
        friend bool operator==(const ApplyPreset&, const ApplyPreset&) = default;
    };
    struct SetVolume {
        DiscreteVolume volume;
        VolumeTarget target;
        friend bool operator==(const SetVolume&, const SetVolume&) = default;
    };
    struct PlayPause {
        orvel::PlayPause action;
        GroupID group;
        friend bool operator==(const PlayPause&, const PlayPause&) = default;
    };
    struct NextTrack {
        GroupID group;
        friend bool operator==(const NextTrack&, const NextTrack&) = default;
    };
    struct PreviousTrack {
        GroupID group;
        friend bool operator==(const PreviousTrack&, const PreviousTrack&) = default;
    };
    // `number` counts from 1, as queue numbers do.
    struct SeekToQueueTrack {
        std::int64_t number;
        GroupID group;
        friend bool operator==(const SeekToQueueTrack&, const SeekToQueueTrack&) = default;
    };
    // Queues the item on the group and plays it, from `startingAt` into the item when given.
    struct EnqueueAndPlaySpotify {
        SpotifyURI uri;
        SpotifyTrackMetadata metadata;
        GroupID onCoordinator;
        std::optional<Duration> startingAt;
        friend bool operator==(const EnqueueAndPlaySpotify&, const EnqueueAndPlaySpotify&) = default;
    };
    // Stores the whole preset list on the speakers.
    struct SavePresets {
        std::vector<PresetPill> presets;
        friend bool operator==(const SavePresets&, const SavePresets&) = default;
    };
    // Stores the household's display name on the speakers.
    struct SetSystemName {
        std::string name;
        friend bool operator==(const SetSystemName&, const SetSystemName&) = default;
    };

    static SonosCommand group(SpeakerUUID member, GroupID intoCoordinator) {
        return SonosCommand(Group{std::move(member), std::move(intoCoordinator)});
    }
    static SonosCommand ungroup(SpeakerUUID member) { return SonosCommand(Ungroup{std::move(member)}); }
    static SonosCommand applyPreset(PresetPill preset) { return SonosCommand(ApplyPreset{std::move(preset)}); }
    static SonosCommand setVolume(DiscreteVolume volume, VolumeTarget target) {
        return SonosCommand(SetVolume{volume, std::move(target)});
    }
    static SonosCommand playPause(orvel::PlayPause action, GroupID group) {
        return SonosCommand(PlayPause{action, std::move(group)});
    }
    static SonosCommand nextTrack(GroupID group) { return SonosCommand(NextTrack{std::move(group)}); }
    static SonosCommand previousTrack(GroupID group) { return SonosCommand(PreviousTrack{std::move(group)}); }
    static SonosCommand seekToQueueTrack(std::int64_t number, GroupID group) {
        return SonosCommand(SeekToQueueTrack{number, std::move(group)});
    }
    static SonosCommand enqueueAndPlaySpotify(SpotifyURI uri, SpotifyTrackMetadata metadata, GroupID onCoordinator,
                                              std::optional<Duration> startingAt = std::nullopt) {
        return SonosCommand(
            EnqueueAndPlaySpotify{std::move(uri), std::move(metadata), std::move(onCoordinator), startingAt});
    }
    static SonosCommand savePresets(std::vector<PresetPill> presets) {
        return SonosCommand(SavePresets{std::move(presets)});
    }
    static SonosCommand setSystemName(std::string name) { return SonosCommand(SetSystemName{std::move(name)}); }

    bool isGroup() const { return std::holds_alternative<Group>(value_); }
    bool isUngroup() const { return std::holds_alternative<Ungroup>(value_); }
    bool isApplyPreset() const { return std::holds_alternative<ApplyPreset>(value_); }
    bool isSetVolume() const { return std::holds_alternative<SetVolume>(value_); }
    bool isPlayPause() const { return std::holds_alternative<PlayPause>(value_); }
    bool isNextTrack() const { return std::holds_alternative<NextTrack>(value_); }
    bool isPreviousTrack() const { return std::holds_alternative<PreviousTrack>(value_); }
    bool isSeekToQueueTrack() const { return std::holds_alternative<SeekToQueueTrack>(value_); }
    bool isEnqueueAndPlaySpotify() const { return std::holds_alternative<EnqueueAndPlaySpotify>(value_); }
    bool isSavePresets() const { return std::holds_alternative<SavePresets>(value_); }
    bool isSetSystemName() const { return std::holds_alternative<SetSystemName>(value_); }
    const Group* asGroup() const { return std::get_if<Group>(&value_); }
    const Ungroup* asUngroup() const { return std::get_if<Ungroup>(&value_); }
    const ApplyPreset* asApplyPreset() const { return std::get_if<ApplyPreset>(&value_); }
    const SetVolume* asSetVolume() const { return std::get_if<SetVolume>(&value_); }
    const PlayPause* asPlayPause() const { return std::get_if<PlayPause>(&value_); }
    const NextTrack* asNextTrack() const { return std::get_if<NextTrack>(&value_); }
    const PreviousTrack* asPreviousTrack() const { return std::get_if<PreviousTrack>(&value_); }
    const SeekToQueueTrack* asSeekToQueueTrack() const { return std::get_if<SeekToQueueTrack>(&value_); }
    const EnqueueAndPlaySpotify* asEnqueueAndPlaySpotify() const {
        return std::get_if<EnqueueAndPlaySpotify>(&value_);
    }
    const SavePresets* asSavePresets() const { return std::get_if<SavePresets>(&value_); }
    const SetSystemName* asSetSystemName() const { return std::get_if<SetSystemName>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // The grouping a grouping command asks for; nullopt for every other command.
    std::optional<TopologyTarget> topologyTarget() const;

    // The case name, for logs ("group", "setVolume", ...).
    std::string_view caseName() const;
    std::size_t hashValue() const;

    friend bool operator==(const SonosCommand&, const SonosCommand&) = default;

private:
    using Value = std::variant<Group, Ungroup, ApplyPreset, SetVolume, PlayPause, NextTrack, PreviousTrack,
                               SeekToQueueTrack, EnqueueAndPlaySpotify, SavePresets, SetSystemName>;
    explicit SonosCommand(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::SonosCommand> {
    std::size_t operator()(const orvel::SonosCommand& command) const noexcept { return command.hashValue(); }
};
