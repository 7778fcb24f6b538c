#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "OrvelDomain/PresetPill.h"
#include "TopologyFixtures.h"

using namespace orvel;
using orvel::testing::group;
using orvel::testing::sp;
using orvel::testing::speakers;

namespace {

const PresetID fixedID = *PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");

Speaker speaker(char id, std::string room) {
    return Speaker{sp(id), std::move(room), SpeakerModel::one(), ReachabilityState::online("192.168.1.10"),
                   DiscreteVolume::snappingPercent(20), {}};
}

SonosGroup livingGroup(std::vector<Speaker> members) {
    return SonosGroup{group('A'), speaker('A', "Living Room"), std::move(members), PlaybackState::stopped(),
                      DiscreteVolume::snappingPercent(20), "Living Room + Kitchen"};
}

std::string id(char letter) { return sp(letter).rawValue(); }

Decoded<PresetPill> decode(const std::string& text) {
    auto parsed = json::parse(text);
    if (!parsed) return std::unexpected(parsed.error());
    return PresetPill::fromJson(*parsed);
}

// A valid preset object with the given text as its member list.
std::string presetJson(const std::string& members) {
    return R"({"id": {"rawValue": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"}, "name": "Evening", "coordinatorUUID": ")" +
           id('C') + R"(", "memberUUIDs": )" + members + "}";
}

}  // namespace

TEST(PresetID, RandomAndCanonicalText) {
    auto a = PresetID::random();
    auto b = PresetID::random();
    EXPECT_NE(a, b);
    EXPECT_EQ(PresetID::make(a.rawValue()), a);
    EXPECT_EQ(PresetID::make("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), fixedID);
    EXPECT_EQ(fixedID.rawValue(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(std::hash<PresetID>{}(*PresetID::make("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")),
              std::hash<PresetID>{}(fixedID));
    for (const char* bad : {"", "E621E1F8C36C495A93FC0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",
                            "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}"}) {
        EXPECT_EQ(PresetID::make(bad), std::nullopt) << bad;
    }
}

TEST(PresetPill, MembersNeverHoldTheCoordinator) {
    PresetPill made(fixedID, "Evening", sp('C'), {sp('B'), sp('A'), sp('B'), sp('C')});
    EXPECT_EQ(made.memberUUIDs(), speakers("AB"));
    EXPECT_EQ(made.toJson()["memberUUIDs"], Json::array({id('A'), id('B')}));

    std::vector<SpeakerUUID> list{sp('D'), sp('C')};
    EXPECT_EQ(PresetPill(fixedID, "x", sp('D'), list).memberUUIDs(), speakers("C"));

    auto updated = made.updated(sp('A'), speakers("ABD"));
    EXPECT_EQ(updated.id(), made.id());
    EXPECT_EQ(updated.name(), "Evening");
    EXPECT_EQ(updated.coordinatorUUID(), sp('A'));
    EXPECT_EQ(updated.memberUUIDs(), speakers("BD"));

    auto renamed = made.renamed("");
    EXPECT_EQ(renamed.name(), "");
    EXPECT_EQ(renamed.id(), made.id());
    EXPECT_EQ(renamed.memberUUIDs(), made.memberUUIDs());

    EXPECT_EQ(made.target(), TopologyTarget::exactGroup(sp('C'), speakers("AB")));
}

TEST(PresetPill, CapturingAGroup) {
    struct Case {
        const char* name;
        std::optional<std::string_view> given;
        const char* expected;
    };
    const Case cases[] = {
        {"no name", std::nullopt, "Living Room + Kitchen"},
        {"empty name", "", "Living Room + Kitchen"},
        {"blanks and line breaks only", " \t\n\u00A0\u2028 ", "Living Room + Kitchen"},
        {"blanks around a word", "  Dinner \n", "Dinner"},
        {"inner blanks stay", " Late  Night ", "Late  Night"},
    };
    auto g = livingGroup({speaker('B', "Kitchen"), speaker('A', "Living Room")});
    for (const auto& c : cases) {
        auto preset = PresetPill::capturing(g, c.given);
        EXPECT_EQ(preset.name(), c.expected) << c.name;
        EXPECT_EQ(preset.coordinatorUUID(), sp('A')) << c.name;
        // The group listed its coordinator among the members; the preset does not.
        EXPECT_EQ(preset.memberUUIDs(), speakers("B")) << c.name;
    }
    auto first = PresetPill::capturing(g);
    auto second = PresetPill::capturing(g);
    EXPECT_NE(first.id(), second.id());
    // Presets that differ only in id are different presets.
    EXPECT_NE(first, second);
    EXPECT_EQ(first, PresetPill(first.id(), first.name(), first.coordinatorUUID(), first.memberUUIDs()));
}

TEST(PresetPill, JsonRoundTripAndForm) {
    PresetPill preset(fixedID, "Evening ☾", sp('C'), {sp('B'), sp('A')});
    Json written = preset.toJson();
    EXPECT_EQ(written, Json::parse(R"({"id": {"rawValue": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"}, "name": "Evening ☾",
        "coordinatorUUID": ")" + id('C') + R"(", "memberUUIDs": [")" + id('A') + R"(", ")" + id('B') + R"("]})"));
    EXPECT_EQ(PresetPill::fromJson(written), preset);

    // Any order, duplicates and the coordinator itself are accepted and normalised.
    auto read = decode(presetJson("[\"" + id('C') + "\", \"" + id('B') + "\", \"" + id('A') + "\", \"" + id('B') + "\"]"));
    ASSERT_TRUE(read) << read.error().message();
    EXPECT_EQ(read->memberUUIDs(), speakers("AB"));
    EXPECT_EQ(read->toJson()["memberUUIDs"], Json::array({id('A'), id('B')}));

    auto empty = decode(presetJson("[]"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->memberUUIDs().empty());

    // Unknown keys are ignored; a lower-case UUID is read and written back in upper case.
    auto lenient = decode(R"({"memberUUIDs": [], "extra": 1, "coordinatorUUID": ")" + id('A') +
                          R"(", "name": "", "id": {"rawValue": "e621e1f8-c36c-495a-93fc-0c247a3e6e5f", "x": 0}})");
    ASSERT_TRUE(lenient);
    EXPECT_EQ(lenient->id(), fixedID);
}

TEST(PresetPill, ReadingIsStrict) {
    using Kind = DecodingError::Kind;
    const std::string c = "\"" + id('C') + "\"";
    const std::string uuid = R"({"rawValue": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"})";
    struct Case {
        const char* name;
        std::string json;
        Kind kind;
        const char* path;
    };
    const Case cases[] = {
        {"not an object", "[]", Kind::typeMismatch, ""},
        {"no id", R"({"name": "n", "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})", Kind::keyNotFound, ""},
        {"id without rawValue", R"({"id": {}, "name": "n", "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})",
         Kind::keyNotFound, "id"},
        {"id as a plain string", R"({"id": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "name": "n", "coordinatorUUID": )" +
                                     c + R"(, "memberUUIDs": []})",
         Kind::typeMismatch, "id"},
        {"malformed UUID", R"({"id": {"rawValue": "E621E1F8-C36C-495A-93FC"}, "name": "n", "coordinatorUUID": )" + c +
                               R"(, "memberUUIDs": []})",
         Kind::dataCorrupted, "id/rawValue"},
        {"rawValue a number", R"({"id": {"rawValue": 7}, "name": "n", "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})",
         Kind::typeMismatch, "id/rawValue"},
        {"no name", R"({"id": )" + uuid + R"(, "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})", Kind::keyNotFound, ""},
        {"null name", R"({"id": )" + uuid + R"(, "name": null, "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})",
         Kind::valueNotFound, ""},
        {"name a number", R"({"id": )" + uuid + R"(, "name": 3, "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})",
         Kind::typeMismatch, "name"},
        {"no coordinator", R"({"id": )" + uuid + R"(, "name": "n", "memberUUIDs": []})", Kind::keyNotFound, ""},
        {"invalid coordinator", R"({"id": )" + uuid + R"(, "name": "n", "coordinatorUUID": "RINCON_abc", "memberUUIDs": []})",
         Kind::dataCorrupted, "coordinatorUUID"},
        {"no members", R"({"id": )" + uuid + R"(, "name": "n", "coordinatorUUID": )" + c + "}", Kind::keyNotFound, ""},
        {"members not an array", R"({"id": )" + uuid + R"(, "name": "n", "coordinatorUUID": )" + c + R"(, "memberUUIDs": {}})",
         Kind::typeMismatch, "memberUUIDs"},
        {"one invalid member", presetJson("[" + c + R"(, "RINCON_000000000001014000"])"), Kind::dataCorrupted,
         "memberUUIDs/1"},
        {"a member of the wrong type", presetJson("[null]"), Kind::typeMismatch, "memberUUIDs/0"},
    };
    for (const auto& k : cases) {
        auto decoded = decode(k.json);
        ASSERT_FALSE(decoded) << k.name;
        EXPECT_EQ(decoded.error().kind, k.kind) << k.name << ": " << decoded.error().message();
        EXPECT_EQ(decoded.error().path, k.path) << k.name;
    }
    EXPECT_EQ(decode(presetJson("[\"RINCON_abc\"]")).error().description, "Not a RINCON id: RINCON_abc");
    EXPECT_EQ(decode(R"({"id": {"rawValue": "nope"}, "name": "n", "coordinatorUUID": )" + c + R"(, "memberUUIDs": []})")
                  .error()
                  .description,
              "Attempted to decode UUID from invalid UUID string.");
}

TEST(PresetPill, StoredListText) {
    std::vector<PresetPill> presets{PresetPill(fixedID, "Evening", sp('C'), {sp('B'), sp('A')}),
                                    PresetPill(PresetID::random(), "Alone", sp('A'), std::vector<SpeakerUUID>{})};
    std::string text = presetListToJsonText(presets);
    // Keys in field order, compact, members in identifier order.
    EXPECT_EQ(text.substr(0, text.find("},{") + 1),
              R"([{"id":{"rawValue":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"},"name":"Evening","coordinatorUUID":")" +
                  id('C') + R"(","memberUUIDs":[")" + id('A') + R"(",")" + id('B') + R"("]})");
    EXPECT_EQ(presetListFromJsonText(text), presets);
    EXPECT_EQ(presetListFromJson(presetListToJson(presets)), presets);
    EXPECT_EQ(presetListFromJsonText("[]"), std::vector<PresetPill>{});

    // A name that is not UTF-8 is written with a replacement character instead of failing.
    std::string bad = presetListToJsonText({PresetPill(fixedID, "Den \xFF", sp('A'), std::vector<SpeakerUUID>{})});
    auto reread = presetListFromJsonText(bad);
    ASSERT_TRUE(reread);
    EXPECT_EQ((*reread)[0].name(), "Den \xEF\xBF\xBD");

    using Kind = DecodingError::Kind;
    struct Case {
        const char* name;
        std::string text;
        Kind kind;
        const char* path;
    };
    const Case cases[] = {
        {"empty text", "", Kind::dataCorrupted, ""},
        {"truncated", text.substr(0, text.size() / 2), Kind::dataCorrupted, ""},
        {"an object, not a list", presets[0].toJson().dump(), Kind::typeMismatch, ""},
        {"one bad preset fails the list", "[" + presets[0].toJson().dump() + R"(, {"name": "x"}])", Kind::keyNotFound,
         "1"},
        {"not UTF-8", "[\"\xFF\"]", Kind::dataCorrupted, ""},
        {"deep nesting", std::string(100000, '[') + std::string(100000, ']'), Kind::typeMismatch, "0"},
    };
    for (const auto& k : cases) {
        auto decoded = presetListFromJsonText(k.text);
        ASSERT_FALSE(decoded) << k.name;
        EXPECT_EQ(decoded.error().kind, k.kind) << k.name << ": " << decoded.error().message();
        EXPECT_EQ(decoded.error().path, k.path) << k.name;
    }
}

TEST(PresetPill, EqualValuesHashAlike) {
    PresetPill a(fixedID, "Evening", sp('C'), {sp('B'), sp('A')});
    PresetPill b(fixedID, "Evening", sp('C'), {sp('A'), sp('B'), sp('C')});
    EXPECT_EQ(a, b);
    std::unordered_set<PresetPill> set{a, b, a.renamed("Night"), a.updated(sp('C'), {sp('A')}),
                                       a.updated(sp('A'), {sp('B'), sp('C')})};
    EXPECT_EQ(set.size(), 4u);
}
