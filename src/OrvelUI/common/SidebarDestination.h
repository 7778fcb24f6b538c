#pragma once

// What the window shows in its detail column: the household overview, one group by its
// coordinator's id, or one offline speaker.

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>
#include <variant>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/Overloaded.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

class SidebarDestination {
public:
    struct Home {
        friend bool operator==(const Home&, const Home&) = default;
    };
    struct Group {
        GroupID id;
        friend bool operator==(const Group&, const Group&) = default;
    };
    struct Speaker {
        SpeakerUUID id;
        friend bool operator==(const Speaker&, const Speaker&) = default;
    };

    static SidebarDestination home() { return SidebarDestination(Home{}); }
    static SidebarDestination group(GroupID id) { return SidebarDestination(Group{std::move(id)}); }
    static SidebarDestination speaker(SpeakerUUID id) { return SidebarDestination(Speaker{std::move(id)}); }

    bool isHome() const { return std::holds_alternative<Home>(value_); }
    bool isGroup() const { return std::holds_alternative<Group>(value_); }
    bool isSpeaker() const { return std::holds_alternative<Speaker>(value_); }
    const Group* asGroup() const { return std::get_if<Group>(&value_); }
    const Speaker* asSpeaker() const { return std::get_if<Speaker>(&value_); }

    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    template <class... Cases>
        requires coversEveryCase<Overloaded<std::decay_t<Cases>...>, std::variant<Home, Group, Speaker>>
    decltype(auto) visit(Cases&&... cases) const {
        return std::visit(Overloaded<std::decay_t<Cases>...>{std::forward<Cases>(cases)...}, value_);
    }

    friend bool operator==(const SidebarDestination&, const SidebarDestination&) = default;
    friend struct std::hash<SidebarDestination>;

private:
    explicit SidebarDestination(std::variant<Home, Group, Speaker> value) : value_(std::move(value)) {}
    std::variant<Home, Group, Speaker> value_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::SidebarDestination> {
    std::size_t operator()(const orvel::SidebarDestination& destination) const noexcept {
        using D = orvel::SidebarDestination;
        std::size_t payload =
            destination.visit([](const D::Home&) -> std::size_t { return 0; },
                              [](const D::Group& group) { return std::hash<orvel::GroupID>{}(group.id); },
                              [](const D::Speaker& speaker) { return std::hash<orvel::SpeakerUUID>{}(speaker.id); });
        return destination.value_.index() * 31 + payload;
    }
};
