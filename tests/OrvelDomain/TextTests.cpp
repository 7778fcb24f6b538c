#include <gtest/gtest.h>

#include "OrvelDomain/Text.h"

using namespace orvel;

TEST(Text, TrimsUnicodeWhitespaceAndNewlines) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"  Kitchen \n", "Kitchen"},
        {"\t\r\nLiving Room\u00A0", "Living Room"},      // no-break space is Zs
        {"\u2028Den\u2029\u0085", "Den"},                // line and paragraph separators, NEL
        {"\u3000Wohnzimmer\u3000", "Wohnzimmer"},         // ideographic space
        {"   ", ""},
        {"", ""},
        {"a b", "a b"},
        {"\xff x \xfe", "\xff x \xfe"},                   // invalid bytes are kept
    };
    for (const auto& c : cases) EXPECT_EQ(text::trimmed(c.in), c.out) << c.in;
}

TEST(Text, CasingGoesThroughUnicode) {
    EXPECT_EQ(text::lowercased("ÄRZTE Straße"), "ärzte straße");
    EXPECT_EQ(text::uppercased("straße"), "STRASSE");
    EXPECT_TRUE(text::caseInsensitiveEquals("Küche", "KÜCHE"));
    EXPECT_TRUE(text::caseInsensitiveEquals("STRASSE", "straße"));
    EXPECT_LT(text::caseInsensitiveCompare("apple", "Banana"), 0);
    EXPECT_TRUE(text::caseInsensitiveContains("Upstairs Bedroom", "BED"));
    EXPECT_FALSE(text::caseInsensitiveContains("Bath", "bed"));
}

TEST(Text, Utf32RoundTripAndReplacement) {
    EXPECT_EQ(text::toUtf8(text::toUtf32("a€😀")), "a€😀");
    EXPECT_EQ(text::characterCount("a€😀"), 3u);
    EXPECT_EQ(text::toUtf32("\xC0\x80"), std::u32string(U"\uFFFD\uFFFD"));  // overlong
}
