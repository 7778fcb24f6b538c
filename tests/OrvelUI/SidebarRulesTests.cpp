#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OrvelUI/sidebar/SidebarBrandHeader.h"
#include "OrvelUI/sidebar/SidebarDrop.h"
#include "OrvelUI/sidebar/SpotifySidebarCard.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

TEST(SpotifySidebarCard, InitialsTakeFirstAndLastWordsOrTheFirstTwoCharacters) {
    const struct {
        QString name;
        QString expected;
    } cases[] = {
        {"ada lovelace", "AL"},
        {"Ada Byron King Lovelace", "AL"},
        {"  ada   lovelace  ", "AL"},
        {QString::fromUtf8("ada\u00a0lovelace"), "AL"},
        {QString::fromUtf8("ada\u2003lovelace"), "AL"},
        {QString::fromUtf8("ada\u3000lovelace"), "AL"},
        {"spotify", "SP"},
        {"x", "X"},
        {"   ", "  "},
        {"", ""},
        // One user-perceived character each: a letter with a combining accent, a flag.
        {QString::fromUtf8("e\u0301mile zola"), QString::fromUtf8("E\u0301Z")},
        {QString::fromUtf8("\U0001F1EB\U0001F1F7 fan"), QString::fromUtf8("\U0001F1EB\U0001F1F7F")},
        // Upper-casing by Unicode's rules: one letter may become two.
        {QString::fromUtf8("\u00dfmith"), QString::fromUtf8("SSM")},
    };
    for (const auto& c : cases) EXPECT_EQ(SpotifySidebarCard::initials(c.name), c.expected) << c.name.toStdString();
}

TEST(SpotifySidebarCard, AnEmptyAccountNameShowsAsSpotify) {
    SpotifySidebarCard card;
    EXPECT_FALSE(card.linked());
    card.setAuthorization(QString());
    EXPECT_TRUE(card.linked());
    EXPECT_EQ(card.displayName(), "Spotify");
    EXPECT_EQ(card.initials(), "SP");
}

TEST(SidebarBrandHeader, LinesShowOnlyWithANameAndAtLeastOneSpeaker) {
    const struct {
        std::optional<std::string> name;
        std::int64_t count;
        SidebarBrandHeader expected;
    } cases[] = {
        {"Home", 3, {"Home", "3 speakers"}},
        {std::nullopt, 1, {"", "1 speaker"}},
        {"", 2, {"", "2 speakers"}},
        {"Home", 0, {"Home", ""}},
        {std::nullopt, 0, {"", ""}},
    };
    for (const auto& c : cases) {
        const std::string summary = std::to_string(c.count) + (c.count == 1 ? " speaker" : " speakers");
        EXPECT_EQ(SidebarBrandHeader::of(c.name, c.count, summary), c.expected) << c.count;
    }
}

TEST(SidebarDrop, OnlyAnotherRoomsIdentifierGroups) {
    const SpeakerUUID coordinator = sp(1);
    const QString other = QString::fromStdString(sp(2).rawValue());
    const QString own = QString::fromStdString(coordinator.rawValue());
    const struct {
        const char* name;
        QStringList texts;
        bool accepted;
    } cases[] = {
        {"nothing dropped", {}, false},
        {"not an identifier", {"Kitchen"}, false},
        {"lower-case identifier", {other.toLower()}, false},
        {"own coordinator", {own}, false},
        {"another room", {other}, true},
        {"only the first string counts", {own, other}, false},
    };
    for (const auto& c : cases) {
        const auto grouping = sidebarDropGrouping(c.texts, coordinator);
        EXPECT_EQ(grouping.has_value(), c.accepted) << c.name;
        if (grouping) {
            EXPECT_EQ(*grouping, (ContextMenuAction::Group{sp(2), coordinator})) << c.name;
        }
    }
}

}  // namespace
}  // namespace orvel::testing
