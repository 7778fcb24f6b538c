#include <gtest/gtest.h>

#include "OrvelUI/common/ShownText.h"

using namespace orvel;

namespace {

std::string repeated(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

}  // namespace

// Names of any length reach QML cut at a whole character, marked as cut.
TEST(ShownText, CutsEndlessNamesAtAWholeCharacter) {
    const QString ellipsis(QChar(0x2026));
    struct Case {
        const char* name;
        std::string text;
        QString shown;
    };
    const Case cases[] = {
        {"short", "Kitchen", "Kitchen"},
        {"exactly the limit", repeated("a", 8), QString(8, 'a')},
        {"one over", repeated("a", 9), QString(8, 'a') + ellipsis},
        {"emoji, four bytes each", repeated("\U0001F3B5", 20000), QString::fromUtf8(repeated("\U0001F3B5", 8)) + ellipsis},
        {"a flood of combining marks", "e" + repeated("\u0301", 20000), QString::fromUtf8("e" + repeated("\u0301", 7)) + ellipsis},
        {"right to left", "\u05D0\u05D1\u05D2", QString::fromUtf8("\u05D0\u05D1\u05D2")},
        {"empty", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(shownText(c.text, 8), c.shown) << c.name;
}
