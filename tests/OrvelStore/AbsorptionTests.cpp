#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "OrvelStore/OrvelState.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

Household twoRooms() {
    return Household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Den")}, .grouping = "AA BB",
                     .rf = matrix('A', 'B', 30)};
}

// A layout no inference produces, so a test can tell whether absorb inferred again.
const OrvelState::Layout sentinel{{{sp('A'), RoomCoordinate::clamping(0.123, 0.456)}}, {}};

struct ReinferenceCase {
    const char* name;
    std::function<void(Household&)> change;
    bool infers;
};

TEST(Absorption, InfersAgainOnlyWhenTheSpeakerSetARoomNameOrTheMatrixChanges) {
    const ReinferenceCase cases[] = {
        {"volume", [](Household& h) { h.speakers[0].volume = DiscreteVolume::snappingPercent(70); }, false},
        {"grouping", [](Household& h) { h.grouping = "AA BA"; }, false},
        {"address", [](Household& h) { h.speakers[0].reachability = ReachabilityState::online("127.0.2.9"); }, false},
        {"speaker drops out", [](Household& h) {
             h.speakers.pop_back();
             h.grouping = "AA";
         }, false},
        {"empty matrix", [](Household& h) { h.rf = RFPeerMatrix::empty(); }, false},
        {"new speaker", [](Household& h) {
             h.speakers.push_back(speaker('C', "Office"));
             h.grouping += " CC";
         }, true},
        {"room renamed", [](Household& h) { h.speakers[1].roomName = "Study"; }, true},
        {"matrix changed", [](Household& h) { h.rf = matrix('A', 'B', 10); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelState state(LoadedFiles{}, {});
        state.absorb(twoRooms().build(), sentinel, T0);
        auto next = twoRooms();
        next.at = T0.addingSeconds(2);
        c.change(next);
        EXPECT_EQ(state.needsFloorplanReinference(next.build()).has_value(), c.infers);
        state.absorb(next.build(), std::nullopt, T0.addingSeconds(2));
        EXPECT_EQ(state.inferred() != sentinel.inferred, c.infers);
    }
}

TEST(Absorption, ASpeakerThatDropsOutStaysKnownOfflineAtItsLastAddressAndTime) {
    OrvelState state(LoadedFiles{}, {});
    auto first = twoRooms();
    first.speakers.push_back(offlineSpeaker('C', "Office", T0.addingSeconds(-600)));
    first.grouping += " CC";
    state.absorb(first.build(), std::nullopt, T0);
    auto later = first;
    later.at = T0.addingSeconds(30);
    later.speakers.erase(later.speakers.begin() + 1);
    later.grouping = "AA CC";
    state.absorb(later.build(), std::nullopt, T0.addingSeconds(30));

    EXPECT_EQ(state.known().at(sp('B')).reachability, ReachabilityState::offline(ipOf('B'), T0));
    EXPECT_EQ(state.known().at(sp('A')).reachability, ReachabilityState::offline(ipOf('A'), T0.addingSeconds(30)));
    // Still listed offline: when it was really last seen, not when it was last listed.
    EXPECT_EQ(state.known().at(sp('C')).reachability, ReachabilityState::offline(ipOf('C'), T0.addingSeconds(-600)));
    EXPECT_EQ(state.speakers().front(), state.known().at(sp('B')));  // "Den" shown from what is known
    EXPECT_EQ(state.rf(), matrix('A', 'B', 30));
}

// 'A' is a home theatre whose sub answers as a player of its own.
Speaker theatreA() { return speaker(sp('A'), "Living Room", SpeakerTraits{.satellites = 1}); }
SpeakerUUID subOfA() { return theatreA().bondedSatellites.front().id; }
Speaker subAsRoom() { return speaker(subOfA(), "Living Room"); }

struct SatelliteCase {
    const char* name;
    std::vector<Speaker> cached;
    std::optional<Household> snapshot;
    bool subListed;
};

TEST(Absorption, ABondedSatelliteIsNoRoomUnlessTheHouseholdListsItAsOne) {
    const Household bonded{.speakers = {theatreA()}, .grouping = "AA"};
    const Household unbonded{.speakers = {speaker('A', "Living Room"), subAsRoom()}, .grouping = "AA"};
    const SatelliteCase cases[] = {
        {"cache lists every player", {theatreA(), subAsRoom()}, std::nullopt, false},
        {"bonded since it was seen", {subAsRoom()}, bonded, false},
        {"unbonded since", {theatreA()}, unbonded, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelState state(cacheOf(c.cached), {});
        if (c.snapshot) state.absorb(c.snapshot->build(), std::nullopt, T0);
        const auto listed = std::ranges::count(state.speakers(), subOfA(), &Speaker::id);
        EXPECT_EQ(listed, c.subListed ? 1 : 0);
        EXPECT_EQ(std::ranges::count(state.speakers(), sp('A'), &Speaker::id), 1);
    }
}

struct OverrideCase {
    const char* name;
    VolumeTarget target;
    int held;
    int speakerVolume;                 // A's own volume in the snapshot
    std::optional<int> groupVolume;    // A's group status volume; none: no status entry
    bool listsA;
    double observedAfter;              // snapshot time, seconds after the override was set
    double nowAfter;                   // local clock, seconds after the override was set
    bool kept;
};

TEST(Absorption, OverridesGoWhenConfirmedOrExpired) {
    const auto groupA = VolumeTarget::group(group('A'));
    const auto speakerA = VolumeTarget::speaker(sp('A'));
    const OverrideCase cases[] = {
        {"group confirmed before expiry", groupA, 30, 20, 30, true, 0.5, 0.5, false},
        {"group not yet confirmed", groupA, 30, 20, 25, true, 0.5, 0.5, true},
        {"absent group compared with its fallback status", groupA, 25, 25, std::nullopt, true, 0.5, 0.5, false},
        {"expired on the local clock", groupA, 30, 20, 25, true, 0.5, 2.0, false},
        {"expired on the snapshot's later clock", groupA, 30, 20, 25, true, 2.5, 0.5, false},
        {"speaker confirmed", speakerA, 40, 40, std::nullopt, true, 0.5, 0.5, false},
        {"speaker missing from the snapshot stays", speakerA, 40, 40, std::nullopt, false, 0.5, 0.5, true},
        {"speaker missing but expired", speakerA, 40, 40, std::nullopt, false, 0.5, 3.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelState state(LoadedFiles{}, {});
        state.setOptimisticVolume(DiscreteVolume::snappingPercent(c.held), c.target, T0, 2.0);
        Household next{.at = T0.addingSeconds(c.observedAfter), .speakers = {speaker('B', "Den")}, .grouping = "BB"};
        if (c.listsA) {
            next.speakers.push_back(speaker('A', "Kitchen", c.speakerVolume));
            next.grouping += " AA";
        }
        if (c.groupVolume) {
            next.status.emplace(group('A'), GroupStatus{pausedAt(1), DiscreteVolume::snappingPercent(*c.groupVolume)});
        }
        state.absorb(next.build(), std::nullopt, T0.addingSeconds(c.nowAfter));
        EXPECT_EQ(state.hasActiveVolumeOverrides(), c.kept);
    }
}

Speaker withModel(Speaker speaker, SpeakerModel model) {
    speaker.model = std::move(model);
    return speaker;
}

// Speaker A was read in an earlier run (a Beam at 40); the household now lists a speaker whose
// description it could not read.
TEST(Absorption, WhatTheHouseholdCouldNotReadIsWhatWasKnownBeforeAndIsNotCached) {
    struct Case {
        const char* name;
        Speaker listed;
        SpeakerModel shownModel;
        int shownVolume;
        bool cached;
    };
    const Speaker beam = withModel(speaker('A', "Kitchen", 40), SpeakerModel::beam());
    const Speaker unreadA = withModel(speaker('A', "Kitchen", 0), SpeakerModel::unread());
    const Speaker unreadB = withModel(speaker('B', "Den", 0), SpeakerModel::unread());
    const Case cases[] = {
        {"offline and known: its known model and volume", unreadA.with(ReachabilityState::offline(ipOf('A'), T0)),
         SpeakerModel::beam(), 40, true},
        {"answering but undescribed: its known model, the volume it answered",
         unreadA.with(DiscreteVolume::snappingPercent(55)), SpeakerModel::beam(), 55, true},
        {"never known: shown as unread, never cached", unreadB.with(ReachabilityState::offline(ipOf('B'), T0)),
         SpeakerModel::unread(), 0, false},
        {"read: as read", speaker('A', "Kitchen", 35), SpeakerModel::one(), 35, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OrvelState state(cacheOf({beam.with(ReachabilityState::offline(ipOf('A'), T0.addingSeconds(-60)))}), {});
        const std::string grouping = c.listed.id == sp('A') ? "AA" : "BB";
        state.absorb(Household{.speakers = {c.listed}, .grouping = grouping}.build(), std::nullopt, T0);
        const auto shown = std::ranges::find(state.speakers(), c.listed.id, &Speaker::id);
        ASSERT_NE(shown, state.speakers().end());
        EXPECT_EQ(shown->model, c.shownModel);
        EXPECT_EQ(shown->volume, DiscreteVolume::snappingPercent(c.shownVolume));
        EXPECT_EQ(state.live()->speakers().at(c.listed.id).model, c.shownModel) << "what the views read";
        const auto& cached = state.persisted().cache.speakers;
        EXPECT_EQ(std::ranges::count(cached, c.listed.id, &Speaker::id), c.cached ? 1 : 0);
        EXPECT_TRUE(std::ranges::none_of(cached, [](const Speaker& s) { return s.model.isUnread(); }));
    }
}

TEST(Tickets, CountUpFromZeroAndFinishOnlyTheirOwnCommand) {
    OrvelState state(LoadedFiles{}, {});
    const auto play = SonosCommand::nextTrack(group('A'));
    const auto skip = SonosCommand::previousTrack(group('A'));
    EXPECT_EQ(state.begin(play), CommandTicket{0});
    EXPECT_EQ(state.begin(skip), CommandTicket{1});

    state.finish(CommandTicket{1}, CommandOutcome::applied(), T0);
    ASSERT_EQ(state.inFlight().size(), 1u);
    EXPECT_EQ(state.inFlight().front().ticket, CommandTicket{0});

    const OrvelState before = state;
    state.finish(CommandTicket{7}, std::unexpected(SonosCommandError::unsupportedForCurrentSource()), T0);
    EXPECT_EQ(state, before);
}

TEST(Tickets, FailuresAndPartialOutcomesBecomeTheAlertAndSuccessKeepsAnEarlierOne) {
    OrvelState state(LoadedFiles{}, {});
    const auto failing = SonosCommand::ungroup(sp('B'));
    const auto partial = SonosCommand::group(sp('B'), group('A'));
    const auto fine = SonosCommand::nextTrack(group('A'));
    const auto failed = state.begin(failing);
    const auto half = state.begin(partial);
    const auto ok = state.begin(fine);

    state.finish(failed, std::unexpected(SonosCommandError::groupDissolved(group('A'))), T0);
    const auto failure = OrvelAlert::commandFailed(failing, SonosCommandError::groupDissolved(group('A')));
    EXPECT_EQ(state.alert(), failure);
    state.finish(ok, CommandOutcome::alreadySatisfied(), T0);
    EXPECT_EQ(state.alert(), failure);
    state.finish(half, CommandOutcome::partiallyApplied({sp('C')}), T0);
    EXPECT_EQ(state.alert(), OrvelAlert::partiallyApplied(partial, {sp('C')}));
    EXPECT_TRUE(state.inFlight().empty());

    // A later failure replaces a partial outcome's alert.
    state.finish(state.begin(fine), std::unexpected(SonosCommandError::unsupportedForCurrentSource()), T0);
    EXPECT_EQ(state.alert(), OrvelAlert::commandFailed(fine, SonosCommandError::unsupportedForCurrentSource()));
}

}  // namespace
