// The preset list as the speakers store it: what reads as presets, what is kept as it stands,
// and where a save puts what it kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "OrvelDomain/Json.h"
#include "SonosProtocolBoundary/StoredPresetList.h"

using namespace orvel;

namespace {

PresetPill preset(const char* id, const char* name) {
    return PresetPill(*PresetID::make(id), name, *SpeakerUUID::make("RINCON_000E58A0000101400"),
                      {*SpeakerUUID::make("RINCON_000E58A0000201400")});
}

const PresetPill a = preset("6F9619FF-8B86-D011-B42D-00C04FC964FF", "Evening");
const PresetPill b = preset("7F9619FF-8B86-D011-B42D-00C04FC964FF", "Kitchen");
const PresetPill c = preset("8F9619FF-8B86-D011-B42D-00C04FC964FF", "Party");
const PresetPill d = preset("9F9619FF-8B86-D011-B42D-00C04FC964FF", "Late");
const std::string A = presetToJsonText(a);
const std::string B = presetToJsonText(b);
const std::string C = presetToJsonText(c);
const std::string D = presetToJsonText(d);
// Entries no reader of presets takes: a key missing, a bad identifier, another writer's shape.
const std::string bad0 = R"({"id": 7})";
const std::string bad1 = R"({"id":{"rawValue":"6F9619FF-8B86-D011-B42D-00C04FC964FF"},"name":"X","coordinatorUUID":"nobody","memberUUIDs":[]})";
const std::string bad2 = R"(["Kitchen", {"future": true}])";

std::string list(const std::vector<std::string>& entries) {
    std::string out = "[";
    for (const auto& entry : entries) out += (out.size() > 1 ? "," : "") + entry;
    return out + "]";
}

// The text as a JSON string, the form text that is no JSON at all is kept in.
std::string quoted(const std::string& text) { return nlohmann::json(text).dump(); }

// What every reader of the stored text takes: the JSON grammar, and a list.
bool isStrictJsonList(const std::string& text) {
    const auto outline = json::outline(text);
    return outline && outline->isArray;
}

std::vector<std::string> unreadableTexts(const StoredPresetList& stored) {
    std::vector<std::string> out;
    for (const auto& entry : stored.unreadable()) out.push_back(entry.json);
    return out;
}

}  // namespace

// Every readable entry is a preset; every other entry, or a text that is no list at all, is
// kept exactly, and saving the same presets writes the text back unchanged. Whatever was stored,
// every save is a JSON list every reader takes, and reads back as the list the save reports.
TEST(StoredPresetList, KeepsWhatItCannotReadAndWritesItBackUnchanged) {
    const std::string deep = std::string(100'000, '[') + std::string(100'000, ']');
    const PresetPill bracketed = preset("AF9619FF-8B86-D011-B42D-00C04FC964FF", "[[[\"]]");
    const std::string mark = "\xEF\xBB\xBF";
    const std::string nul(1, '\0');
    struct Case {
        const char* name;
        std::string stored;
        std::vector<PresetPill> presets;
        std::vector<std::string> unreadable;
        std::string saved;  // what saving the same presets writes
    };
    const std::vector<Case> cases = {
        {"all valid", list({A, B}), {a, b}, {}, list({A, B})},
        {"one bad in the middle", list({A, bad1, B}), {a, b}, {bad1}, list({A, bad1, B})},
        {"all bad", list({bad0, bad2}), {}, {bad0, bad2}, list({bad0, bad2})},
        {"bad entries with blanks around them", "[ " + A + " ,\n  " + bad0 + "\t]", {a}, {bad0}, list({A, bad0})},
        {"not a list", R"( {"presets": []} )", {}, {R"({"presets": []})"}, R"([{"presets": []}])"},
        {"a preset not in a list", " " + A + "\n", {a}, {}, list({A})},
        {"not JSON", "Evening;Kitchen\n", {}, {R"("Evening;Kitchen\n")"}, R"(["Evening;Kitchen\n"])"},
        {"a cut-off list", R"([{"id":{"rawValue":"6F96)", {}, {R"("[{\"id\":{\"rawValue\":\"6F96")"},
         R"(["[{\"id\":{\"rawValue\":\"6F96"])"},
        {"empty list", "[]", {}, {}, "[]"},
        {"empty text", "", {}, {}, "[]"},
        {"blank text", " \n ", {}, {}, "[]"},
        {"nesting kept unparsed", list({deep, A}), {a}, {deep}, list({deep, A})},
        {"brackets inside a name are text", list({presetToJsonText(bracketed)}), {bracketed}, {},
         list({presetToJsonText(bracketed)})},
        {"a byte order mark", mark + list({A}), {a}, {}, list({A})},
        {"two byte order marks", mark + mark + list({A, bad0, B}), {a, b}, {bad0}, list({A, bad0, B})},
        {"only byte order marks", mark + mark, {}, {}, "[]"},
        {"two byte order marks before text that is not JSON", mark + mark + "Evening", {}, {quoted("Evening")},
         list({quoted("Evening")})},
        {"a byte order mark after a blank", " " + mark + list({A}), {}, {quoted(" " + mark + list({A}))},
         list({quoted(" " + mark + list({A}))})},
        {"a NUL after a value", bad0 + nul, {}, {quoted(bad0 + nul)}, list({quoted(bad0 + nul)})},
        {"a NUL after a list", list({A}) + nul + "]", {}, {quoted(list({A}) + nul + "]")},
         list({quoted(list({A}) + nul + "]")})},
        {"a list with something after it", list({A}) + " [", {}, {quoted(list({A}) + " [")},
         list({quoted(list({A}) + " [")})},
    };
    for (const auto& c : cases) {
        const StoredPresetList stored = StoredPresetList::read(c.stored);
        EXPECT_EQ(stored.presets(), c.presets) << c.name;
        EXPECT_EQ(unreadableTexts(stored), c.unreadable) << c.name;
        EXPECT_EQ(stored.problem().empty(), c.unreadable.empty()) << c.name;
        const StoredPresetList::Save same = stored.saving(stored.presets(), StoredPresetList::Missing::deleted);
        EXPECT_EQ(same.text, c.saved) << c.name;
        std::vector<PresetPill> added = stored.presets();
        added.push_back(d);
        const StoredPresetList::Save adding = stored.saving(added, StoredPresetList::Missing::deleted);
        for (const StoredPresetList::Save& save : {same, adding}) {
            EXPECT_TRUE(isStrictJsonList(save.text)) << c.name << ": " << save.text;
            const StoredPresetList again = StoredPresetList::read(save.text);
            EXPECT_EQ(again.presets(), save.list.presets()) << c.name;
            EXPECT_EQ(again.unreadable(), save.list.unreadable()) << c.name;
            EXPECT_EQ(again.unreadable(), stored.unreadable()) << c.name;
        }
        EXPECT_EQ(StoredPresetList::read(adding.text).presets(), added) << c.name;
    }
}

// Text that is no JSON comes back, from the list a save wrote, as a string holding exactly what
// was stored, so another controller, or a later version of this one, can still make sense of it.
TEST(StoredPresetList, TextThatIsNotJsonSurvivesASaveAsAString) {
    const std::string stored = std::string("{\"id\": 7}") + '\0' + "\xEF\xBB\xBF\n\"tail";
    const StoredPresetList::Save save = StoredPresetList::read(stored).saving({d}, StoredPresetList::Missing::deleted);
    const nlohmann::json written = nlohmann::json::parse(save.text);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], nlohmann::json(stored));
}

// An edit keeps every unreadable entry, after the preset it followed or, when that one went,
// after the nearest earlier one that stays. Presets the caller never saw stay too.
TEST(StoredPresetList, SavesKeepUnreadableEntriesInPlace) {
    const StoredPresetList stored = StoredPresetList::read(list({bad0, A, bad1, B, bad2, C}));
    const PresetPill renamed = b.renamed("Kitchen only");
    const std::string Renamed = presetToJsonText(renamed);
    using Missing = StoredPresetList::Missing;
    struct Case {
        const char* name;
        std::vector<PresetPill> wanted;
        Missing missing;
        std::string saved;
    };
    const std::vector<Case> cases = {
        {"rename", {a, renamed, c}, Missing::deleted, list({bad0, A, bad1, Renamed, bad2, C})},
        {"add", {a, b, c, d}, Missing::deleted, list({bad0, A, bad1, B, bad2, C, D})},
        {"delete the middle", {a, c}, Missing::deleted, list({bad0, A, bad1, bad2, C})},
        {"delete the first", {b, c}, Missing::deleted, list({bad0, bad1, B, bad2, C})},
        {"delete all", {}, Missing::deleted, list({bad0, bad1, bad2})},
        {"reorder", {c, a}, Missing::deleted, list({bad0, C, A, bad1, bad2})},
        {"never seen", {d}, Missing::unseen, list({bad0, A, bad1, B, bad2, C, D})},
        {"never seen, one of them edited", {renamed}, Missing::unseen, list({bad0, A, bad1, Renamed, bad2, C})},
    };
    for (const auto& c : cases) {
        const StoredPresetList::Save save = stored.saving(c.wanted, c.missing);
        EXPECT_EQ(save.text, c.saved) << c.name;
        EXPECT_TRUE(isStrictJsonList(save.text)) << c.name;
        const StoredPresetList again = StoredPresetList::read(save.text);
        EXPECT_EQ(again.presets(), save.list.presets()) << c.name;
        EXPECT_EQ(again.unreadable(), save.list.unreadable()) << c.name;
    }
}

// Entries the JSON grammar takes but the parser refuses on their own: a name another controller
// cut between the halves of a surrogate pair, a number beyond a double. Each hides only itself,
// is kept byte for byte at its place, and every save reads back whole.
TEST(StoredPresetList, EntriesOnlyTheParserRefusesHideOnlyThemselves) {
    const std::string presetShape = R"({"id":{"rawValue":"BF9619FF-8B86-D011-B42D-00C04FC964FF"},"name":"NAME",)"
                                    R"("coordinatorUUID":"RINCON_000E58A0000101400","memberUUIDs":[]})";
    auto named = [&](const std::string& name) {
        std::string entry = presetShape;
        return entry.replace(entry.find("NAME"), 4, name);
    };
    struct Case {
        const char* name;
        std::string odd;
    };
    const Case cases[] = {
        {"a name cut after a high surrogate", named(R"(Party \ud83d)")},
        {"a name starting with a low surrogate", named(R"(\ude00 Party)")},
        {"a number beyond a double", "1e400"},
    };
    for (const auto& c : cases) {
        const std::string stored = list({A, c.odd, B});
        ASSERT_TRUE(json::isDocument(stored)) << c.name;
        const StoredPresetList read = StoredPresetList::read(stored);
        EXPECT_EQ(read.presets(), (std::vector<PresetPill>{a, b})) << c.name;
        EXPECT_EQ(read.unreadable(), (std::vector<StoredPresetList::Unreadable>{{1, c.odd}})) << c.name;
        EXPECT_FALSE(read.problem().empty()) << c.name;

        const StoredPresetList::Save save = read.saving({a, b, d}, StoredPresetList::Missing::deleted);
        EXPECT_EQ(save.text, list({A, c.odd, B, D})) << c.name;
        EXPECT_TRUE(isStrictJsonList(save.text)) << c.name;
        const StoredPresetList again = StoredPresetList::read(save.text);
        EXPECT_EQ(again.presets(), (std::vector<PresetPill>{a, b, d})) << c.name;
        EXPECT_EQ(again.unreadable(), read.unreadable()) << c.name;
    }
}
