#pragma once

// What a volume change addresses: one speaker, or one group's group volume.
// A speaker target never equals a group target, even for the group's coordinator.

#include <variant>

#include "GroupID.h"
#include "Overloaded.h"
#include "SpeakerUUID.h"

namespace orvel {

class VolumeTarget {
public:
    struct Speaker {
        SpeakerUUID id;
        friend bool operator==(const Speaker&, const Speaker&) = default;
        friend auto operator<=>(const Speaker&, const Speaker&) = default;
    };
    struct Group {
        GroupID id;
        friend bool operator==(const Group&, const Group&) = default;
        friend auto operator<=>(const Group&, const Group&) = default;
    };

    static VolumeTarget speaker(SpeakerUUID id) { return VolumeTarget(Speaker{std::move(id)}); }
    static VolumeTarget group(GroupID id) { return VolumeTarget(Group{std::move(id)}); }

    bool isSpeaker() const { return std::holds_alternative<Speaker>(value_); }
    bool isGroup() const { return std::holds_alternative<Group>(value_); }
    const Speaker* asSpeaker() const { return std::get_if<Speaker>(&value_); }
    const Group* asGroup() const { return std::get_if<Group>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    friend bool operator==(const VolumeTarget&, const VolumeTarget&) = default;
    // An order only so targets can key ordered maps: speakers before groups, then by id.
    friend auto operator<=>(const VolumeTarget&, const VolumeTarget&) = default;

private:
    explicit VolumeTarget(std::variant<Speaker, Group> value) : value_(std::move(value)) {}
    std::variant<Speaker, Group> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::VolumeTarget> {
    std::size_t operator()(const orvel::VolumeTarget& t) const noexcept {
        const std::string& text =
            t.visit([](const orvel::VolumeTarget::Speaker& s) -> const std::string& { return s.id.rawValue(); },
                    [](const orvel::VolumeTarget::Group& g) -> const std::string& { return g.id.coordinator.rawValue(); });
        return std::hash<std::size_t>{}(t.caseIndex()) * 31 + std::hash<std::string>{}(text);
    }
};
