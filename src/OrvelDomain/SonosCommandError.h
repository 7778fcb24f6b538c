#pragma once

// Why a command to the speakers failed. The cases carry data only; the sentence shown to the
// user is chosen where the failure is displayed.

#include <cstddef>
#include <functional>
#include <string>
#include <variant>

#include "Duration.h"
#include "GroupID.h"
#include "Overloaded.h"
#include "SpeakerUUID.h"

namespace orvel {

class SonosCommandError {
public:
    // A speaker the command needs cannot be reached; also the coordinator of a wanted exact
    // group that the household does not list.
    struct SpeakerUnreachable {
        SpeakerUUID speaker;
        friend bool operator==(const SpeakerUnreachable&, const SpeakerUnreachable&) = default;
    };
    // The group the command addresses no longer exists.
    struct GroupDissolved {
        GroupID group;
        friend bool operator==(const GroupDissolved&, const GroupDissolved&) = default;
    };
    // The grouping did not settle within `after`.
    struct NotConverged {
        Duration after;
        friend bool operator==(const NotConverged&, const NotConverged&) = default;
    };
    // The command does not apply to what the group plays now (a skip on a source that
    // cannot skip).
    struct UnsupportedForCurrentSource {
        friend bool operator==(const UnsupportedForCurrentSource&, const UnsupportedForCurrentSource&) = default;
    };
    // The speakers hold no Spotify account to play the item with.
    struct SpotifyNotLinkedOnSonos {
        friend bool operator==(const SpotifyNotLinkedOnSonos&, const SpotifyNotLinkedOnSonos&) = default;
    };
    // A speaker refused the request; `detail` says how.
    struct SpeakerRejected {
        std::string detail;
        friend bool operator==(const SpeakerRejected&, const SpeakerRejected&) = default;
    };

    static SonosCommandError speakerUnreachable(SpeakerUUID speaker) {
        return SonosCommandError(SpeakerUnreachable{std::move(speaker)});
    }
    static SonosCommandError groupDissolved(GroupID group) {
        return SonosCommandError(GroupDissolved{std::move(group)});
    }
    static SonosCommandError notConverged(Duration after) { return SonosCommandError(NotConverged{after}); }
    static SonosCommandError unsupportedForCurrentSource() {
        return SonosCommandError(UnsupportedForCurrentSource{});
    }
    static SonosCommandError spotifyNotLinkedOnSonos() { return SonosCommandError(SpotifyNotLinkedOnSonos{}); }
    static SonosCommandError speakerRejected(std::string detail) {
        return SonosCommandError(SpeakerRejected{std::move(detail)});
    }

    bool isSpeakerUnreachable() const { return std::holds_alternative<SpeakerUnreachable>(value_); }
    bool isGroupDissolved() const { return std::holds_alternative<GroupDissolved>(value_); }
    bool isNotConverged() const { return std::holds_alternative<NotConverged>(value_); }
    bool isUnsupportedForCurrentSource() const {
        return std::holds_alternative<UnsupportedForCurrentSource>(value_);
    }
    bool isSpotifyNotLinkedOnSonos() const { return std::holds_alternative<SpotifyNotLinkedOnSonos>(value_); }
    bool isSpeakerRejected() const { return std::holds_alternative<SpeakerRejected>(value_); }
    const SpeakerUnreachable* asSpeakerUnreachable() const { return std::get_if<SpeakerUnreachable>(&value_); }
    const GroupDissolved* asGroupDissolved() const { return std::get_if<GroupDissolved>(&value_); }
    const NotConverged* asNotConverged() const { return std::get_if<NotConverged>(&value_); }
    const SpeakerRejected* asSpeakerRejected() const { return std::get_if<SpeakerRejected>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    // For logs: "speakerUnreachable(RINCON_…)", "notConverged(after: 8.0 seconds)", ….
    std::string description() const;
    std::size_t hashValue() const;

    friend bool operator==(const SonosCommandError&, const SonosCommandError&) = default;

private:
    using Value = std::variant<SpeakerUnreachable, GroupDissolved, NotConverged, UnsupportedForCurrentSource,
                               SpotifyNotLinkedOnSonos, SpeakerRejected>;
    explicit SonosCommandError(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::SonosCommandError> {
    std::size_t operator()(const orvel::SonosCommandError& error) const noexcept { return error.hashValue(); }
};
