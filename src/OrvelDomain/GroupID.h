#pragma once

// A group's identifier: the identifier of its coordinator. Equality, hash and order are the
// coordinator's. No JSON form.

#include "SpeakerUUID.h"

namespace orvel {

struct GroupID {
    SpeakerUUID coordinator;

    explicit GroupID(SpeakerUUID coordinator) : coordinator(std::move(coordinator)) {}
    const std::string& description() const { return coordinator.rawValue(); }

    friend bool operator==(const GroupID&, const GroupID&) = default;
    friend auto operator<=>(const GroupID&, const GroupID&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::GroupID> {
    std::size_t operator()(const orvel::GroupID& id) const noexcept {
        return std::hash<orvel::SpeakerUUID>{}(id.coordinator);
    }
};
