#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "OrvelUI/common/ShownText.h"

using namespace orvel;

namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

const std::string ellipsis = "\u2026";
const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466";  // 7 code points
const std::string astronaut = "\U0001F469\U0001F3FD\u200D\U0001F680";                       // skin tone, joiner
const std::string kiss = "\U0001F469\U0001F3FB\u200D\u2764\uFE0F\u200D\U0001F48B\u200D\U0001F468\U0001F3FC";  // 10
const std::string flags = "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\U0001F1EE\U0001F1F9\U0001F1EA\U0001F1F8\U0001F1EC\U0001F1E7";
const std::string scotland = "\U0001F3F4\U000E0067\U000E0062\U000E0073\U000E0063\U000E0074\U000E007F";  // tag sequence
const std::string keycap = "1\uFE0F\u20E3";  // two marks
const std::string hebrew = "\u05E9\u05C1\u05B8\u05DC\u05D5\u05B9\u05DD";  // shalom, pointed: 4 characters
const std::string arabic = "\u0645\u0631\u062D\u0628\u0627";
const std::string vietnamese = "Vie\u0323\u0302t";  // e with two marks, decomposed

}  // namespace

// Names of any length reach text layout cut between whole characters, four columns wide here (a
// wide character takes two), with piles of marks and endless joiner chains trimmed within their
// character.
TEST(ShownText, CutsBetweenWholeCharactersWithinTheBounds) {
    const GraphemeLimits four{.columns = 4, .marksPerCluster = 4, .codePointsPerCluster = 16};
    struct Case {
        const char* name;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"short, untouched", "Den", "Den"},
        {"empty", "", ""},
        {"exactly the bound", "Hall", "Hall"},
        {"one over: the ellipsis takes the last place", "Halls", "Hal" + ellipsis},
        {"a CR LF pair is one character", "a\r\nbc", "a\r\nbc"},
        {"family emoji stay whole, two columns each", repeated(family, 5), family + ellipsis},
        {"skin tone and joiner", repeated(astronaut, 6), astronaut + ellipsis},
        {"the longest emoji sequence", kiss + "ab", kiss + "ab"},
        {"an emoji does not fit in the last column", "abc\U0001F3B5", "abc" + ellipsis},
        {"wide ideographs", "\u5BA2\u5385\u5367\u5BA4", "\u5BA2" + ellipsis},
        {"flags are pairs of regional indicators", flags, flags.substr(0, 8) + ellipsis},
        {"a subdivision flag's tags", scotland + scotland, scotland + scotland},
        {"a keycap keeps its two marks", repeated(keycap, 5), keycap + ellipsis},
        {"letters with marks", repeated("e\u0301", 5), repeated("e\u0301", 3) + ellipsis},
        {"two marks on one letter", vietnamese, vietnamese},
        {"pointed Hebrew, right to left", hebrew + hebrew, hebrew.substr(0, hebrew.size() - 2) + ellipsis},
        {"Arabic, right to left", arabic, "\u0645\u0631\u062D" + ellipsis},
        {"a pile of marks keeps four", "Z" + repeated("\u0301", 20000) + "a", "Z" + repeated("\u0301", 4) + "a"},
        {"a pile of enclosing marks keeps four", "O" + repeated("\u20DD", 300), "O" + repeated("\u20DD", 4)},
        {"an endless joiner chain is one character, cut after an emoji", repeated("\U0001F600\u200D", 5000) + "ab",
         repeated("\U0001F600\u200D", 7) + "\U0001F600" + "ab"},
        {"a joined chain cut short keeps the emoji after it", repeated("\U0001F600\u200D", 9) + "\U0001F600\U0001F3B5",
         repeated("\U0001F600\u200D", 7) + "\U0001F600\U0001F3B5"},
        {"invalid bytes count as characters", "a\xFF\xFE" "bc", "a\xFF\xFE" + ellipsis},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shownName(c.text, four), c.shown) << c.name;
        EXPECT_EQ(shownName(c.shown, four), c.shown) << c.name << ": cut twice";
    }
}

// Hostile names of every kind of joining character: whatever the first cut leaves, a second cut
// leaves as it is.
TEST(ShownText, CuttingAgainChangesNothing) {
    const std::vector<std::string> pieces = {
        "\U0001F600", "\u200D", "\uFE0F", "\U0001F3FD", "\u0301", "\u20DD", "\U0001F1EB", "a", " ", "\r", "\n",
        "\u0915", "\u094D", "\u0937", "\u1100", "\u1161", "\u11A8", "\uAC00", "\u0600", "\U000E0067", "\xFF"};
    std::mt19937 random(7);
    const GraphemeLimits tight{.columns = 6, .marksPerCluster = 2, .codePointsPerCluster = 5};
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = int(random() % 40);
        for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
        for (const GraphemeLimits& limits : {tight, shownTextLimits}) {
            const std::string once = shownName(text, limits);
            ASSERT_EQ(shownName(once, limits), once) << "round " << round;
        }
    }
}

// Every view uses the same bound: a name of emoji is cut where a plain name of the same width is.
TEST(ShownText, EveryNameIsCutAtTheSameWidth) {
    const std::size_t bound = shownTextLimits.columns;
    EXPECT_EQ(shownText(repeated("a", 200)), QString(qsizetype(bound - 1), 'a') + QChar(0x2026));
    EXPECT_EQ(shownText(repeated("\U0001F3B5", 20000)), QString::fromStdString(repeated("\U0001F3B5", (bound - 1) / 2) + ellipsis));
    EXPECT_EQ(shownText(repeated("a", bound)), QString(qsizetype(bound), 'a'));
}
