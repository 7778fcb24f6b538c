// What the preset bar, the preset creator and the group page decide from the household alone:
// which pills and entries exist, who leads a composed preset, and what a group page offers.
#include <gtest/gtest.h>

#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/presets/GroupDetailRules.h"
#include "OrvelUI/presets/PresetBarRules.h"
#include "OrvelUI/presets/PresetCreatorPicks.h"
#include "OrvelUI/presets/PresetMenuEntries.h"
#include "OrvelUI/presets/PresetRowFit.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

using Action = PresetMenuEntry::Action;

PresetPill preset() {
    return PresetPill(*PresetID::make("6F1C2A4E-3B7D-4C15-9A0E-5D2B8C7F1A01"), "Evening", sp(1), {sp(2)});
}

std::vector<Action> actionsOf(const std::vector<PresetMenuEntry>& menu) {
    std::vector<Action> actions;
    for (const PresetMenuEntry& entry : menu) actions.push_back(entry.action);
    return actions;
}

}  // namespace

TEST(PresetBarRules, EverywherePillShowsAndMarksActive) {
    const Speaker a = speaker(1, "A"), b = speaker(2, "B"), c = speaker(3, "C"), down = offline(4, "D");
    struct Case {
        const char* name;
        std::vector<Speaker> speakers;
        std::vector<SonosGroup> groups;
        bool shows;
        bool active;
    };
    const Case cases[] = {
        {"one online speaker", {a, down}, {group({a})}, false, false},
        {"two rooms apart", {a, b}, {group({a}), group({b})}, true, false},
        {"every room in one group", {a, b, c}, {group({a, b, c})}, true, true},
        {"offline rooms do not count", {a, b, down}, {group({a, b})}, true, true},
        {"one group missing a room", {a, b, c}, {group({a, b})}, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(showsEverywhere(c.speakers), c.shows) << c.name;
        EXPECT_EQ(isEverywhereActive(c.groups, c.speakers), c.active) << c.name;
        // Only an active "Everywhere" offers to ungroup, and it names the one group.
        const auto menu = everywhereMenu(c.groups, c.speakers);
        ASSERT_EQ(menu.size(), c.active ? 2u : 1u) << c.name;
        if (c.active) {
            EXPECT_EQ(menu[1].group, c.groups.front().id) << c.name;
        }
    }
}

TEST(PresetBarRules, UpdateEntryFollowsTheMultiRoomGroups) {
    const SonosGroup single = group({speaker(1, "A")});
    const SonosGroup pairOne = group({speaker(2, "B"), speaker(3, "C")});
    const SonosGroup pairTwo = group({speaker(4, "D"), speaker(5, "E")});

    EXPECT_EQ(actionsOf(presetMenu(preset(), {single})),
              (std::vector{Action::apply, Action::rename, Action::divider, Action::remove}));

    const auto direct = presetMenu(preset(), {single, pairOne});
    ASSERT_EQ(actionsOf(direct),
              (std::vector{Action::apply, Action::rename, Action::update, Action::divider, Action::remove}));
    EXPECT_EQ(direct[2].group, pairOne.id);
    EXPECT_EQ(direct[2].preset, preset().id());

    const auto nested = presetMenu(preset(), {pairTwo, single, pairOne});
    ASSERT_EQ(nested[2].action, Action::submenu);
    ASSERT_EQ(nested[2].children.size(), 2u);
    EXPECT_EQ(nested[2].children[0].group, pairTwo.id);
    EXPECT_EQ(nested[2].children[1].group, pairOne.id);
    EXPECT_EQ(nested[2].children[1].preset, preset().id());
}

TEST(PresetBarRules, MenuEntriesKeepTheirIdsThroughQmlAndRefuseForgedOnes) {
    const SonosGroup pair = group({speaker(2, "B"), speaker(3, "C")});
    for (const PresetMenuEntry& entry : presetMenu(preset(), {pair})) {
        if (entry.action == Action::divider) continue;
        const auto back = menuEntryFrom(menuVariant({entry}).front().toMap());
        ASSERT_TRUE(back.has_value()) << entry.title;
        EXPECT_EQ(back->action, entry.action);
        EXPECT_EQ(back->preset, entry.preset);
        EXPECT_EQ(back->group, entry.group);
    }
    const QVariantMap forged[] = {
        {{"action", "launch"}},
        {{"action", "delete"}, {"presetId", "not-a-uuid"}},
        {{"action", "update"}, {"presetId", "6F1C2A4E-3B7D-4C15-9A0E-5D2B8C7F1A01"}, {"groupId", "RINCON_bad"}},
    };
    for (const QVariantMap& map : forged) EXPECT_FALSE(menuEntryFrom(map).has_value());
}

// The header row keeps every preset in reach: the pills that fit, the overflow button for the
// rest, and the add button always, within the row's width.
TEST(PresetRowFit, ShowsWhatFitsAndListsTheRest) {
    // Eight presets in the header of a 980-point window (one pill at the maximum width).
    const std::vector<double> eight{90, 70, 120, 160, 85, 100, 95, 110};
    struct Case {
        const char* name;
        PresetRowWidths widths;
        std::vector<double> pills;
        PresetRowFit fit;
    };
    const Case cases[] = {
        {"eight at 980 points", {676, 6, 98, 30, 28}, eight, {4, true}},
        {"all fit", {1200, 6, 98, 30, 28}, eight, {8, false}},
        {"all fit to the point", {98 + 6 + 90 + 6 + 70 + 6 + 28, 6, 98, 30, 28}, {90, 70}, {2, false}},
        {"a point short: the last moves out", {98 + 6 + 90 + 6 + 70 + 6 + 28 - 1, 6, 98, 30, 28}, {90, 70}, {1, true}},
        {"no Everywhere pill", {300, 6, 0, 30, 28}, {100, 100, 100}, {2, true}},
        {"room for no pill", {98 + 6 + 30 + 6 + 28, 6, 98, 30, 28}, {40}, {0, true}},
        {"no presets", {200, 6, 98, 30, 80}, {}, {0, false}},
    };
    for (const Case& c : cases) {
        const PresetRowFit fit =
            fitPresetRow(c.widths, c.pills.size(), [&](std::size_t i) { return c.pills.at(i); });
        EXPECT_EQ(fit, c.fit) << c.name;
        // What shows, the add button included, lies within the row.
        double used = c.widths.everywhere > 0 ? c.widths.everywhere + c.widths.spacing : 0;
        for (std::size_t i = 0; i < fit.shownPills; ++i) used += c.pills[i] + c.widths.spacing;
        if (fit.showsOverflow) used += c.widths.overflowButton + c.widths.spacing;
        EXPECT_LE(used + c.widths.addButton, c.widths.available) << c.name;
    }
}

TEST(PresetRowFit, MeasuresOnlyThePillsItMightShow) {
    std::size_t measured = 0;
    const PresetRowFit fit = fitPresetRow({676, 6, 98, 30, 28}, 1000, [&](std::size_t) {
        ++measured;
        return 100.0;
    });
    EXPECT_EQ(fit, (PresetRowFit{4, true}));
    EXPECT_LE(measured, 6u);
}

TEST(PresetCreatorPicks, FirstTickStillTickedLeads) {
    struct Case {
        const char* name;
        std::vector<int> clicks;
        std::vector<int> picked;
    };
    const Case cases[] = {
        {"ticks in order", {1, 2, 3}, {1, 2, 3}},
        {"untick the leader", {1, 2, 3, 1}, {2, 3}},
        {"untick a member", {1, 2, 3, 2}, {1, 3}},
        {"ticked again goes last", {1, 2, 1, 1}, {2, 1}},
    };
    for (const Case& c : cases) {
        PresetCreatorPicks picks;
        for (int click : c.clicks) picks = picks.toggled(sp(click));
        std::vector<SpeakerUUID> expected;
        for (int n : c.picked) expected.push_back(sp(n));
        EXPECT_EQ(picks.picked, expected) << c.name;
        EXPECT_EQ(picks.coordinator(), expected.front()) << c.name;
        EXPECT_TRUE(picks.isCoordinator(expected.front())) << c.name;
        EXPECT_EQ(picks.members(), std::set<SpeakerUUID>(expected.begin() + 1, expected.end())) << c.name;
    }
}

TEST(PresetCreatorPicks, SavesOnlyTwoRoomsUnderAName) {
    struct Case {
        int rooms;
        const char* name;
        bool canCreate;
    };
    const Case cases[] = {
        {0, "Evening", false}, {1, "Evening", false}, {2, "Evening", true},
        {2, "", false},        {2, "   \n\t", false}, {3, "  Late  ", true},
    };
    for (const Case& c : cases) {
        PresetCreatorPicks picks;
        for (int n = 1; n <= c.rooms; ++n) picks = picks.toggled(sp(n));
        EXPECT_EQ(picks.canCreate(c.name), c.canCreate) << c.rooms << " '" << c.name << "'";
    }
}

TEST(GroupDetailRules, AddRoomOffersOnlineRoomsOutsideTheGroup) {
    const Speaker a = speaker(1, "A"), b = speaker(2, "B"), c = speaker(3, "C"), d = offline(4, "D"), e = speaker(5, "E");
    // C leads another group and is offered; D is offline; A and B are already here.
    EXPECT_EQ(ungroupedSpeakers(group({a, b}), {e, a, b, c, d}), (std::vector{e, c}));
    EXPECT_TRUE(ungroupedSpeakers(group({a, b}), {a, b, d}).empty());
}

TEST(GroupDetailRules, RowsLetRoomsGoOnlyFromAGroupOfSeveral) {
    const auto lone = groupDetailRows(group({speaker(1, "Kitchen Speaker", 2)}, playingStream()));
    ASSERT_EQ(lone.size(), 1u);
    EXPECT_FALSE(lone[0].canRemove);
    EXPECT_FALSE(lone[0].dividerAbove);
    EXPECT_TRUE(lone[0].playing);
    EXPECT_EQ(lone[0].shortName, "Kitchen");
    EXPECT_EQ(lone[0].satellites.size(), 2);

    const auto three = groupDetailRows(group({speaker(1, "A"), speaker(2, "B"), offline(3, "C")}));
    ASSERT_EQ(three.size(), 3u);
    for (std::size_t i = 0; i < three.size(); ++i) {
        EXPECT_TRUE(three[i].canRemove);
        EXPECT_EQ(three[i].dividerAbove, i > 0);
        EXPECT_FALSE(three[i].playing);
    }
    EXPECT_FALSE(three[2].online);
}
