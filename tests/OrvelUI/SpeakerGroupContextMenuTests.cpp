#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvelUI/common/SpeakerGroupContextMenu.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

namespace Action = ContextMenuAction;

// One line per entry: "!" marks a destructive one, the symbol follows in brackets, a submenu's
// entries are indented under it.
std::vector<std::string> lines(const std::vector<ContextMenuEntry>& entries, const std::string& indent = "") {
    std::vector<std::string> out;
    for (const ContextMenuEntry& entry : entries) {
        if (entry.kind == ContextMenuEntry::Kind::separator) {
            out.push_back(indent + "---");
            continue;
        }
        std::string line = indent + (entry.destructive ? "!" : "") + entry.text;
        if (!entry.symbol.empty()) line += " [" + entry.symbol + "]";
        out.push_back(line);
        for (const std::string& child : lines(entry.children, indent + "  ")) out.push_back(child);
    }
    return out;
}

Speaker muted(Speaker speaker) { return speaker.with(DiscreteVolume()); }

struct MenuCase {
    const char* name;
    SpeakerGroupContextMenu menu;
    std::vector<Speaker> household;
    std::vector<std::string> expected;
};

TEST(SpeakerGroupContextMenu, EntriesFollowWhatTheHostStandsFor) {
    const Speaker den = speaker(1, "Den Speaker");
    const Speaker kitchen = speaker(2, "Kitchen");
    const Speaker office = speaker(3, "Office");
    const Speaker porch = offline(4, "Porch");
    const std::vector<Speaker> all{den, kitchen, office, porch};
    const SonosGroup playingPair = group({den, kitchen}, playingStream());
    const SonosGroup loneOffice = group({office});

    const std::vector<MenuCase> cases{
        {"playing two-room group, sidebar row",
         {playingPair, std::nullopt, false, false},
         all,
         {"Pause [pause.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Group with\u2026 [hifispeaker.2.fill]", "  Group with Office", "  ---", "  Group All Rooms (Everywhere)",
          "!Disconnect Den [minus.circle]", "!Disconnect Kitchen [minus.circle]", "!Ungroup All [xmark.circle]",
          "Save as Preset [bookmark.fill]"}},
        {"speaker inside a two-room group: no ungroup all",
         {playingPair, kitchen, false, false},
         all,
         {"Pause [pause.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Group with\u2026 [hifispeaker.2.fill]", "  Group with Office", "  ---", "  Group All Rooms (Everywhere)",
          "!Disconnect Kitchen [xmark.circle]", "Save as Preset [bookmark.fill]", "---",
          "Mute Kitchen [speaker.slash.fill]"}},
        {"lone stopped room without open",
         {loneOffice, std::nullopt, false, false},
         all,
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Group with\u2026 [hifispeaker.2.fill]", "  Group with Den", "  Group with Kitchen", "  ---",
          "  Group All Rooms (Everywhere)", "---", "Mute Office [speaker.slash.fill]"}},
        {"lone stopped room with open",
         {loneOffice, std::nullopt, false, true},
         all,
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Group with\u2026 [hifispeaker.2.fill]", "  Group with Den", "  Group with Kitchen", "  ---",
          "  Group All Rooms (Everywhere)", "---", "Mute Office [speaker.slash.fill]", "---",
          "Open Office [arrow.up.right.square]"}},
        {"muted room, two online: no everywhere",
         {group({muted(den)}), std::nullopt, false, false},
         {den, kitchen, porch},
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Group with\u2026 [hifispeaker.2.fill]", "  Group with Kitchen", "---", "Unmute Den [speaker.wave.2.fill]"}},
        // Sections left empty: the separators they would have met are shown once, never first.
        {"pinned bare speaker, every other room offline",
         {std::nullopt, office, true, true},
         {office, porch},
         {"Mute Office [speaker.slash.fill]", "Reset Map Position [arrow.counterclockwise]"}},
        {"lone room, every other room offline",
         {loneOffice, std::nullopt, false, false},
         {office, porch},
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Mute Office [speaker.slash.fill]"}},
        {"lone room with open, every other room offline",
         {loneOffice, std::nullopt, false, true},
         {office, porch},
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Mute Office [speaker.slash.fill]", "---", "Open Office [arrow.up.right.square]"}},
        {"lone room inside its group, alone in the household",
         {loneOffice, office, false, false},
         {office},
         {"Play [play.fill]", "Play from Spotify [dot.radiowaves.left.and.right]", "---",
          "Mute Office [speaker.slash.fill]"}},
        {"nothing given", {}, all, {}},
    };
    for (const MenuCase& c : cases) {
        const std::vector<std::string> shown = lines(c.menu.entries(c.household));
        EXPECT_EQ(shown, c.expected) << c.name;
    }
}

// Whatever the sections hold, a separator only ever stands between two entries, in a submenu too.
TEST(SpeakerGroupContextMenu, SeparatorsOnlyStandBetweenEntries) {
    const Speaker den = speaker(1, "Den");
    const Speaker kitchen = speaker(2, "Kitchen");
    const Speaker office = speaker(3, "Office");
    const Speaker porch = offline(4, "Porch");
    const std::vector<std::vector<Speaker>> households{{den}, {den, porch}, {den, kitchen}, {den, kitchen, office, porch}};
    const std::vector<std::optional<SonosGroup>> groups{std::nullopt, group({den}), group({den, kitchen}),
                                                        group({den, kitchen, office}, playingStream())};
    const auto tidy = [](const std::vector<ContextMenuEntry>& entries, const auto& self) -> bool {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const bool separator = entries[i].kind == ContextMenuEntry::Kind::separator;
            const bool edge = i == 0 || i + 1 == entries.size();
            if (separator && (edge || entries[i + 1].kind == ContextMenuEntry::Kind::separator)) return false;
            if (!self(entries[i].children, self)) return false;
        }
        return true;
    };
    for (const auto& household : households) {
        for (const auto& g : groups) {
            for (const std::optional<Speaker>& s : {std::optional<Speaker>{}, std::optional<Speaker>{den}}) {
                for (const bool pinned : {false, true}) {
                    for (const bool canOpen : {false, true}) {
                        const auto entries = SpeakerGroupContextMenu{g, s, pinned, canOpen}.entries(household);
                        EXPECT_TRUE(tidy(entries, tidy)) << ::testing::PrintToString(lines(entries));
                    }
                }
            }
        }
    }
}

TEST(SpeakerGroupContextMenu, EntriesCarryTheIdsTheyActOn) {
    const Speaker den = speaker(1, "Den");
    const Speaker kitchen = speaker(2, "Kitchen");
    const Speaker office = speaker(3, "Office");
    const SonosGroup pair = group({den, kitchen});
    const std::vector<Speaker> all{den, kitchen, office};

    const auto onGroup = SpeakerGroupContextMenu{pair, std::nullopt, false, true}.entries(all);
    const auto onSpeaker = SpeakerGroupContextMenu{pair, kitchen, true, false}.entries(all);
    const auto intent = [](const std::vector<ContextMenuEntry>& entries, const std::string& key) {
        const ContextMenuEntry* entry = findContextMenuEntry(entries, key);
        return entry ? entry->intent : ContextMenuIntent{};
    };

    EXPECT_EQ(intent(onGroup, "menu.groupWith." + office.id.rawValue()), ContextMenuIntent(Action::Group{office.id, den.id}));
    EXPECT_EQ(intent(onSpeaker, "menu.groupWith." + office.id.rawValue()),
              ContextMenuIntent(Action::Group{office.id, kitchen.id}));
    EXPECT_EQ(intent(onGroup, "menu.disconnect." + den.id.rawValue()), ContextMenuIntent(Action::Ungroup{den.id}));
    EXPECT_EQ(intent(onGroup, "menu.ungroupAll"), ContextMenuIntent(Action::Dissolve{pair.id}));
    EXPECT_EQ(intent(onGroup, "menu.open"), ContextMenuIntent(Action::OpenGroup{pair.id}));
    EXPECT_EQ(intent(onSpeaker, "menu.mute"), ContextMenuIntent(Action::ToggleMute{kitchen.id}));
    EXPECT_EQ(intent(onSpeaker, "menu.resetMapPosition"), ContextMenuIntent(Action::ResetRoom{kitchen.id}));
}

}  // namespace
}  // namespace orvel::testing
