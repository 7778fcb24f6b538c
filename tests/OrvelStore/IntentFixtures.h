#pragma once

// Groups written short for the intent tests: "ABC" is a group led by A with members B and C,
// each speaker in a room named after its letter.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelStore/OrvelAlert.h"
#include "StateFixtures.h"

namespace orvel::testing {

enum class Play { playing, paused, stopped };

inline PlaybackState playbackOf(Play play) {
    switch (play) {
        case Play::playing: return playingAt(10, T0);
        case Play::paused: return pausedAt(5);
        case Play::stopped: break;
    }
    return PlaybackState::stopped();
}

// The group's own name differs from every room's, so a test sees which one is taken.
inline SonosGroup groupOf(std::string_view letters, Play play = Play::stopped) {
    std::vector<Speaker> speakers;
    for (char c : letters) speakers.push_back(speaker(c, std::string(1, c)));
    SonosGroup out = group(std::move(speakers), playbackOf(play));
    out.displayName = std::string(letters) + " room";
    return out;
}

inline std::string lettersOf(const std::set<SpeakerUUID>& ids) {
    std::string out;
    for (const auto& id : ids) out += letter(id);
    return out;
}

// "group B->A", "ungroup B", "preset A+BC", "setVolume ...": enough to read a failed table row.
inline std::string describe(const SonosCommand& command) {
    if (const auto* g = command.asGroup()) {
        return std::string("group ") + letter(g->member) + "->" + letter(g->intoCoordinator.coordinator);
    }
    if (const auto* u = command.asUngroup()) return std::string("ungroup ") + letter(u->member);
    if (const auto* p = command.asApplyPreset()) {
        return std::string("preset ") + letter(p->preset.coordinatorUUID()) + "+" + lettersOf(p->preset.memberUUIDs());
    }
    return std::string(command.caseName());
}

inline std::string describe(const std::optional<SonosCommand>& command) {
    return command ? describe(*command) : "nothing";
}

}  // namespace orvel::testing

namespace orvel {
inline void PrintTo(const SonosCommand& command, std::ostream* os) { *os << testing::describe(command); }
inline void PrintTo(const OrvelAlert& alert, std::ostream* os) { *os << "alert #" << alert.caseIndex(); }
}  // namespace orvel
