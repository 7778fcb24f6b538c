#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "FakePorts.h"
#include "IntentFixtures.h"
#include "OrvelStore/GroupingIntents.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const PresetID oneOff = *PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");

TEST(GroupingIntents, ADropMergesBothGroupsAndTheMoreActiveOneKeepsItsCoordinator) {
    struct Case {
        const char* name;
        std::vector<SonosGroup> groups;
        char member;
        char onto;
        const char* expected;
    };
    using enum Play;
    const Case cases[] = {
        {"stopped lone onto playing lone", {groupOf("A", stopped), groupOf("B", playing)}, 'A', 'B', "group A->B"},
        {"playing lone onto stopped lone", {groupOf("A", stopped), groupOf("B", playing)}, 'B', 'A', "group A->B"},
        {"lone ties go to the target", {groupOf("A", paused), groupOf("B", paused)}, 'A', 'B', "group A->B"},
        {"stopped pair onto paused lone", {groupOf("AB", stopped), groupOf("C", paused)}, 'B', 'C', "preset C+AB"},
        {"playing pair takes the lone target", {groupOf("AB", playing), groupOf("C")}, 'B', 'C', "group C->A"},
        {"pair and lone tied: lone joins", {groupOf("AB", paused), groupOf("C", paused)}, 'A', 'C', "group C->A"},
        {"lone onto a tied pair joins it", {groupOf("A"), groupOf("BC")}, 'A', 'C', "group A->B"},
        {"playing lone keeps its coordinator", {groupOf("A", playing), groupOf("BC", paused)}, 'A', 'C', "preset A+BC"},
        {"two groups: playing member group leads", {groupOf("ABC", playing), groupOf("DE", paused)}, 'C', 'D',
         "preset A+BCDE"},
        {"two tied groups: target leads", {groupOf("ABC", paused), groupOf("DE", paused)}, 'A', 'E',
         "preset D+ABCE"},
        {"member onto its own coordinator", {groupOf("AB", playing), groupOf("C")}, 'B', 'A', "nothing"},
        {"member onto another member", {groupOf("ABC")}, 'B', 'C', "nothing"},
        {"speaker onto itself", {groupOf("A"), groupOf("B")}, 'A', 'A', "nothing"},
    };
    for (const auto& c : cases) {
        const auto command = mergeGroupsCommand(c.groups, nullptr, sp(c.member), sp(c.onto), oneOff);
        EXPECT_EQ(describe(command), c.expected) << c.name;
    }
}

TEST(GroupingIntents, ASpeakerMissingFromTheGroupsJoinsTheTargetFoundInTheTopology) {
    // B is listed in the topology but has no speaker record, so no group shows it.
    const auto snapshot =
        Household{.speakers = {speaker('A', "Den"), speaker('C', "Hall")}, .grouping = "AA BA CC"}.build();
    struct Case {
        char member;
        char onto;
        bool withSnapshot;
        const char* expected;
    };
    const Case cases[] = {
        {'B', 'C', true, "group B->C"},
        {'C', 'B', true, "group C->A"},
        {'C', 'B', false, "nothing"},
        {'C', 'Z', true, "nothing"},
    };
    for (const auto& c : cases) {
        const auto command = mergeGroupsCommand(snapshot.groups(), c.withSnapshot ? &snapshot : nullptr,
                                                sp(c.member), sp(c.onto), oneOff);
        EXPECT_EQ(describe(command), c.expected) << c.member << " onto " << c.onto;
    }
}

TEST(GroupingIntents, UngroupingTheCoordinatorNamesTheSmallestMemberAsHeir) {
    const std::vector<SonosGroup> groups{groupOf("ADB"), groupOf("C")};
    struct Case {
        char speaker;
        std::optional<UngroupPlan> expected;
    };
    const Case cases[] = {
        {'A', UngroupPlan{SonosCommand::ungroup(sp('A')), group('B')}},
        {'D', UngroupPlan{SonosCommand::ungroup(sp('D')), std::nullopt}},
        {'C', std::nullopt},
        {'Z', std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ungroupPlan(groups, sp(c.speaker)), c.expected) << c.speaker;
}

TEST(GroupingIntents, DissolvingSplitsTwoRoomsWithUngroupAndLargerGroupsWithOnePreset) {
    const std::vector<SonosGroup> groups{groupOf("AB"), groupOf("CDEF"), groupOf("G")};
    struct Case {
        char group;
        const char* expected;
    };
    const Case cases[] = {{'A', "ungroup B"}, {'C', "preset C+"}, {'G', "nothing"}, {'Z', "nothing"}};
    for (const auto& c : cases) {
        EXPECT_EQ(describe(dissolveGroupCommand(groups, group(c.group), oneOff)), c.expected) << c.group;
    }
    EXPECT_EQ(dissolveGroupCommand(groups, group('C'), oneOff)->asApplyPreset()->preset.name(), "CDEF room");
}

TEST(GroupingIntents, GroupEverywhereIsLedByTheMostActiveGroupElseTheFirstOnlineSpeaker) {
    const std::vector<Speaker> household{offlineSpeaker('A', "Attic", T0), speaker('B', "Bath"),
                                         speaker('C', "Cellar"), speaker('D', "Den")};
    struct Case {
        const char* name;
        std::vector<Speaker> speakers;
        std::vector<SonosGroup> groups;
        const char* expected;
    };
    using enum Play;
    const Case cases[] = {
        {"paused group leads", household, {groupOf("B"), groupOf("CD", paused)}, "preset C+BD"},
        {"first playing group leads", household, {groupOf("C", paused), groupOf("D", playing), groupOf("B", playing)},
         "preset D+BC"},
        {"only stopped groups", household, {groupOf("D"), groupOf("C")}, "preset B+CD"},
        {"no groups yet", household, {}, "preset B+CD"},
        {"one online speaker", {offlineSpeaker('A', "Attic", T0), speaker('B', "Bath")}, {groupOf("B", playing)},
         "nothing"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describe(groupEverywhereCommand(c.speakers, c.groups, oneOff)), c.expected) << c.name;
    }
    EXPECT_EQ(groupEverywhereCommand(household, {}, oneOff)->asApplyPreset()->preset.name(), "Everywhere");
}

TEST(GroupingIntents, APresetIsLedByAMoreActiveOverlappingGroupWhenItsCoordinatorBelongs) {
    const PresetPill preset(oneOff, "Evening", sp('A'), {sp('B'), sp('C')});
    struct Case {
        const char* name;
        std::vector<SonosGroup> groups;
        const char* expected;
    };
    using enum Play;
    const Case cases[] = {
        {"no overlap", {groupOf("D", playing)}, "preset A+BC"},
        {"stopped leader, playing room", {groupOf("A"), groupOf("B", playing)}, "preset B+AC"},
        {"leader at least as active", {groupOf("A", playing), groupOf("B", playing)}, "preset A+BC"},
        {"busiest led from outside", {groupOf("A"), groupOf("DB", playing)}, "preset A+BC"},
        {"leader leads no group", {groupOf("DA"), groupOf("C", paused)}, "preset C+AB"},
        {"first of the busiest", {groupOf("C", paused), groupOf("B", paused), groupOf("A")}, "preset C+AB"},
    };
    for (const auto& c : cases) {
        const auto command = applyPresetCommand(c.groups, preset);
        EXPECT_EQ(describe(command), c.expected) << c.name;
        EXPECT_EQ(command.asApplyPreset()->preset.id(), preset.id()) << c.name;
        EXPECT_EQ(command.asApplyPreset()->preset.name(), "Evening") << c.name;
    }
}

// ---- Through the store ------------------------------------------------------------------

Household kitchenPlaying(std::string grouping = "AA BB CC") {
    Household household{.speakers = {speaker('A', "Kitchen"), speaker('B', "Office"), speaker('C', "Porch")},
                        .grouping = std::move(grouping)};
    household.status = {{group('A'), GroupStatus{playingAt(10, T0), DiscreteVolume::snappingPercent(20)}}};
    return household;
}

std::vector<std::string> groupNames(const OrvelState& state) {
    std::vector<std::string> out;
    for (const auto& g : state.groups()) {
        std::string letters(1, letter(g.coordinator.id));
        for (const auto& m : g.members) letters += letter(m.id);
        out.push_back(letters);
    }
    return out;
}

TEST(IntentGroupingStore, AGroupingShowsAtOnceAndAgainWhenTheSpeakersConfirmIt) {
    StoreHarness h;
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(kitchenPlaying().build()));
    h.sonos->gate.close();

    h.store->group(sp('B'), sp('A'));
    EXPECT_EQ(h.sonos->sent, std::vector<SonosCommand>{SonosCommand::group(sp('B'), group('A'))});
    EXPECT_EQ(groupNames(h.store->state()), (std::vector<std::string>{"AB", "C"}));

    // A second drop already sees the first one's result: C joins the two-room group.
    h.store->group(sp('C'), sp('B'));
    EXPECT_EQ(h.sonos->sent.back(), SonosCommand::group(sp('C'), group('A')));

    h.sonos->gate.open();
    ASSERT_TRUE(waitUntil([&] { return h.sonos->runningCount() == 0; }));
    ASSERT_TRUE(h.publishAndSettle(kitchenPlaying("AA BA CA").build()));
    EXPECT_EQ(groupNames(h.store->state()), std::vector<std::string>{"ABC"});
    EXPECT_TRUE(h.store->state().inFlight().empty());
}

TEST(IntentGroupingStore, UngroupingTheCoordinatorHandsItsTrackToTheRemainingGroup) {
    StoreHarness h;
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(kitchenPlaying("AA CA BA").build()));
    const auto& tracks = OrvelStorePeer::lastKnownTracks(*h.store);
    ASSERT_TRUE(tracks.contains(group('A')));

    h.store->ungroupSpeaker(sp('C'));
    EXPECT_FALSE(tracks.contains(group('B')));
    h.store->ungroupSpeaker(sp('A'));
    ASSERT_TRUE(tracks.contains(group('B')));
    EXPECT_EQ(tracks.at(group('B')), tracks.at(group('A')));
    const std::vector<SonosCommand> expected{SonosCommand::ungroup(sp('C')), SonosCommand::ungroup(sp('A'))};
    EXPECT_EQ(h.sonos->sent, expected);
}

TEST(IntentGroupingStore, EveryPresetEditStoresTheWholeListOnTheSpeakers) {
    const PresetPill evening(oneOff, "Evening", sp('A'), {sp('B')});
    const PresetID unknown = PresetID::random();
    struct Case {
        const char* name;
        std::function<void(OrvelStore&)> edit;
        std::optional<std::vector<std::string>> sentNames;
    };
    // The reducers' own rules are the state's; here each edit reaches the speakers.
    const Case cases[] = {
        {"save a group", [](OrvelStore& s) { s.savePreset(group('A'), "Kitchen mix"); },
         std::vector<std::string>{"Evening", "Kitchen mix"}},
        {"update from a group", [&](OrvelStore& s) { s.updatePreset(evening.id(), group('C')); },
         std::vector<std::string>{"Evening"}},
        {"update from a missing group", [&](OrvelStore& s) { s.updatePreset(evening.id(), group('Z')); },
         std::nullopt},
        {"rename", [&](OrvelStore& s) { s.renamePreset(evening.id(), "Night"); }, std::vector<std::string>{"Night"}},
        {"delete a missing one", [&](OrvelStore& s) { s.deletePreset(unknown); }, std::vector<std::string>{"Evening"}},
    };
    for (const auto& c : cases) {
        StoreHarness h({}, {evening});
        h.startLoop();
        ASSERT_TRUE(h.publishAndSettle(kitchenPlaying().build()));
        c.edit(*h.store);
        if (!c.sentNames) {
            EXPECT_TRUE(h.sonos->sent.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(h.sonos->sent.size(), 1u) << c.name;
        ASSERT_TRUE(h.sonos->sent.front().isSavePresets()) << c.name;
        const auto& sent = h.sonos->sent.front().asSavePresets()->presets;
        EXPECT_EQ(sent, h.store->state().presets()) << c.name;
        std::vector<std::string> names;
        for (const auto& preset : sent) names.push_back(preset.name());
        EXPECT_EQ(names, *c.sentNames) << c.name;
    }
}

TEST(IntentGroupingStore, RenamingTheHouseholdTrimsTheNameAndIgnoresBlanks) {
    struct Case {
        const char* typed;
        std::optional<std::string> stored;
    };
    const Case cases[] = {{"  Home \n", "Home"}, {" \n\t ", std::nullopt}};
    for (const auto& c : cases) {
        StoreHarness h;
        h.store->renameSystem(c.typed);
        EXPECT_EQ(h.store->state().networkName(), c.stored) << c.typed;
        std::vector<SonosCommand> expected;
        if (c.stored) expected.push_back(SonosCommand::setSystemName(*c.stored));
        EXPECT_EQ(h.sonos->sent, expected) << c.typed;
    }
}

TEST(IntentGroupingStore, MovingARoomQueuesThePositionsWriteAtOnceWithoutWaitingForTheDisk) {
    StoreHarness h;
    const auto positions = h.dataFolder() / "floorplan-positions.json";
    const auto spot = RoomCoordinate::clamping(0.25, 0.75);
    // The writer is held: a drop that waited for its write would never return.
    std::promise<void> holdWriter;
    FileWriter::shared().enqueue([held = holdWriter.get_future().share()] { held.wait(); });
    h.store->moveRoom(sp('A'), spot);
    EXPECT_FALSE(std::filesystem::exists(positions));
    // A write asked for after the drop runs after the drop's write.
    QFuture<bool> later = FileWriter::shared().submit([positions] { return std::filesystem::exists(positions); });
    holdWriter.set_value();
    ASSERT_TRUE(waitUntil([&] { return later.isFinished(); }));
    EXPECT_TRUE(later.result());
    ASSERT_TRUE(waitUntil([&] { return OrvelStorePeer::written(*h.store).positions.pins.contains(sp('A')); }));
    EXPECT_EQ(OrvelStorePeer::written(*h.store).positions.pins.at(sp('A')), spot);

    h.store->resetRoom(sp('A'));
    EXPECT_TRUE(h.store->state().pins().empty());
    ASSERT_TRUE(waitUntil([&] { return OrvelStorePeer::written(*h.store).positions.pins.empty(); }));
    EXPECT_TRUE(h.sonos->sent.empty());
}

}  // namespace
