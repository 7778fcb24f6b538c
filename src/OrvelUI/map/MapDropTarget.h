#pragma once

// Where a dragged room would land if dropped now: on another room's card (joining that room's
// group) or on a music-source hub (joining the hub's group).

#include <cstddef>
#include <functional>
#include <string>
#include <variant>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

class MapDropTarget {
public:
    struct Speaker {
        SpeakerUUID id;
        friend bool operator==(const Speaker&, const Speaker&) = default;
    };
    struct MusicHub {
        GroupID id;
        friend bool operator==(const MusicHub&, const MusicHub&) = default;
    };

    static MapDropTarget speaker(SpeakerUUID id) { return MapDropTarget(Speaker{std::move(id)}); }
    static MapDropTarget musicHub(GroupID id) { return MapDropTarget(MusicHub{std::move(id)}); }

    bool isSpeaker() const { return std::holds_alternative<Speaker>(value_); }
    bool isMusicHub() const { return std::holds_alternative<MusicHub>(value_); }
    const Speaker* asSpeaker() const { return std::get_if<Speaker>(&value_); }
    const MusicHub* asMusicHub() const { return std::get_if<MusicHub>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    friend bool operator==(const MapDropTarget&, const MapDropTarget&) = default;

private:
    explicit MapDropTarget(std::variant<Speaker, MusicHub> value) : value_(std::move(value)) {}
    std::variant<Speaker, MusicHub> value_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::MapDropTarget> {
    std::size_t operator()(const orvel::MapDropTarget& t) const noexcept {
        const std::string& text = t.isSpeaker() ? t.asSpeaker()->id.rawValue() : t.asMusicHub()->id.description();
        return std::hash<std::size_t>{}(t.caseIndex()) * 31 + std::hash<std::string>{}(text);
    }
};
