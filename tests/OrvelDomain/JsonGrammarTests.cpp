// What counts as JSON text (the grammar, wider than the parser), and how a reply the parser
// refuses for one value is read leniently.
#include <gtest/gtest.h>

#include <string>

#include "OrvelDomain/Json.h"

using namespace orvel;
using namespace std::string_literals;

namespace {

// One odd value among good ones, so a case shows what that value alone decides.
std::string among(const std::string& value) { return "[\"ok\", " + value + ", {\"n\": 1}]"; }

}  // namespace

TEST(JsonGrammar, TakesWhatTheGrammarTakesAndNothingElse) {
    const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
    struct Case {
        const char* name;
        std::string text;
        bool document;
    };
    const Case cases[] = {
        {"lone high surrogate escape", among(R"("cut \ud83d")"), true},
        {"lone low surrogate escape", among(R"("\uDE00 cut")"), true},
        {"surrogate pair", among(R"("\ud83d\ude00")"), true},
        {"escaped backslash before u", among(R"("\\ud83d")"), true},
        {"number beyond a double", among("1e400"), true},
        {"huge integer", among(std::string(400, '9')), true},
        {"deep nesting", among(deep), true},
        {"short escape", among(R"("\u12")"), false},
        {"raw control character", among("\"a\tb\""), false},
        {"overlong UTF-8", among("\"\xC0\x80\""), false},
        {"surrogate in UTF-8", among("\"\xED\xA0\xBD\""), false},
        {"leading zero", among("01"), false},
        {"bare point", among("1."), false},
        {"trailing comma", "[1, 2,]", false},
        {"name not a string", "{1: 2}", false},
        {"unclosed deep nesting", std::string(100'000, '['), false},
        {"byte order mark", "\xEF\xBB\xBF" + among("1"), false},
        {"NUL after the value", among("1") + "\0"s, false},
        {"trailing garbage", among("1") + " x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(json::isDocument(c.text), c.document) << c.name;
}

TEST(JsonGrammar, OutlinesTheEntriesOfTheOutermostList) {
    const auto list = json::outline(R"( [ 1 ,{"a":[2, "]"]}, "x\"]" ,[[]] ] )");
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->isArray);
    EXPECT_EQ(list->entries, (std::vector<json::OutlineEntry>{
                                 {"1", 0}, {R"({"a":[2, "]"]})", 2}, {R"("x\"]")", 0}, {"[[]]", 2}}));
    const auto object = json::outline(" {\"a\": [[1]]}\n");
    ASSERT_TRUE(object);
    EXPECT_FALSE(object->isArray);
    EXPECT_EQ(object->entries, (std::vector<json::OutlineEntry>{{"{\"a\": [[1]]}", 3}}));
    EXPECT_EQ(json::outline("[]")->entries.size(), 0u);
    EXPECT_FALSE(json::outline("[1,]"));
}

// A reply is read with each odd value mended alone; everything else reads as the parser reads it.
TEST(JsonReply, MendsLoneSurrogatesAndNumbersBeyondADouble) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<Json> value;
        std::size_t loneSurrogates;
        std::size_t hugeNumbers;
    };
    const Json nothing = Json::array({"ok", nullptr, {{"n", 1}}});
    auto with = [](Json value) { return Json::array({"ok", std::move(value), {{"n", 1}}}); };
    const Case cases[] = {
        {"lone high surrogate", among(R"("cut \ud83d")"), with("cut \uFFFD"), 1, 0},
        {"lone high before another escape", among(R"("\ud83d\u0041")"), with("\uFFFDA"), 1, 0},
        {"lone low surrogate", among(R"("\uDE00 cut")"), with("\uFFFD cut"), 1, 0},
        {"lone high before a pair", among(R"("\ud83d\ud83d\ude00")"), with("\uFFFD\U0001F600"), 1, 0},
        {"surrogate pair", among(R"("\ud83d\ude00")"), with("\U0001F600"), 0, 0},
        {"escaped backslash before u", among(R"("\\ud83d")"), with("\\ud83d"), 0, 0},
        {"number beyond a double", among("1e400"), nothing, 0, 1},
        {"negative number beyond a double", among("-1e400"), nothing, 0, 1},
        {"huge integer with an exponent", among(std::string(400, '9') + "e2"), nothing, 0, 1},
        {"just beyond the largest double", among("1.8e308"), nothing, 0, 1},
        {"the largest double", among("1.7976931348623157e308"), with(1.7976931348623157e308), 0, 0},
        {"a fraction beyond a double", among("0.001e312"), nothing, 0, 1},
        {"zero with a huge exponent", among("0.0e99999"), with(0.0), 0, 0},
        {"a number beside a lone surrogate", R"({"a":"\udc00","b":1e999,"c":"1e999"})",
         Json{{"a", "\uFFFD"}, {"b", nullptr}, {"c", "1e999"}}, 1, 1},
        {"not JSON, with a lone surrogate", R"(["\ud83d")", std::nullopt, 0, 0},
        {"not JSON, with a huge number", "[1e400,]", std::nullopt, 0, 0},
    };
    for (const auto& c : cases) {
        const auto read = json::parseReply(c.text);
        ASSERT_EQ(read.has_value(), c.value.has_value()) << c.name;
        if (!read) continue;
        EXPECT_EQ(read->value, *c.value) << c.name;
        EXPECT_EQ(read->loneSurrogates, c.loneSurrogates) << c.name;
        EXPECT_EQ(read->hugeNumbers, c.hugeNumbers) << c.name;
    }
}
