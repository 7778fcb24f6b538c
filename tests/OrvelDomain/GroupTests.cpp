#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TopologyFixtures.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosGroup.h"

using namespace orvel;
using namespace orvel::testing;
using Kind = DecodingError::Kind;

namespace {

HouseholdSnapshot household(std::initializer_list<std::pair<char, const char*>> rooms, std::string_view grouping) {
    HouseholdSnapshot::SpeakerMap map;
    for (const auto& [id, name] : rooms) map.emplace(sp(id), roomSpeaker(id, name));
    return HouseholdSnapshot(Date::sinceReferenceDate(1000), std::move(map), topology(grouping), {}, RFPeerMatrix::empty(),
                             std::nullopt, std::nullopt);
}

std::vector<std::string> names(const HouseholdSnapshot& snapshot) {
    std::vector<std::string> out;
    for (const auto& g : snapshot.groups()) out.push_back(g.displayName);
    return out;
}

const PresetID fixedID = *PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
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

TEST(SonosGroup, NamesAndMemberOrderComeFromTheSnapshot) {
    using Names = std::vector<std::string>;
    struct Case { const char* name; HouseholdSnapshot snapshot; Names groupNames; };
    const Case cases[] = {
        {"lone speaker keeps its short name", household({{'A', "Kitchen Speaker"}}, "AA"), {"Kitchen"}},
        {"two speakers together are everywhere", household({{'A', "Kitchen"}, {'B', "Office"}}, "AA BA"), {"Everywhere"}},
        {"a third speaker elsewhere breaks everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CC"), {"Kitchen + Office", "Patio"}},
        {"a group of every speaker is everywhere",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA CA"), {"Everywhere"}},
        {"a speaker outside the topology still counts as a room",
         household({{'A', "Kitchen"}, {'B', "Office"}, {'C', "Patio"}}, "AA BA"), {"Kitchen + Office"}},
        {"members sorted, coordinator first",
         household({{'E', "Office"}, {'B', "Living Room"}, {'C', "Kitchen"}, {'D', "Den"}, {'F', "Patio"}}, "EE BE CE DD FF"),
         {"Den", "Office + Kitchen + Living", "Patio"}},
        {"four labels shorten to a count",
         household({{'A', "Den"}, {'B', "Office"}, {'C', "Bath"}, {'D', "Kitchen"}, {'E', "Patio"}, {'F', "Garage"}},
                   "AA BA CA DA EA FF"),
         {"Den + Bath + 3 more", "Garage"}},
        {"colliding merged names fall back to unmerged",
         household({{'A', "Guest Room"}, {'B', "Guest Speaker"}, {'C', "Den"}}, "AA BA CC"), {"Den", "Guest Room + Guest"}},
        {"a member without a speaker is left out of the name",
         household({{'A', "Kitchen Speaker"}, {'C', "Den"}}, "AA BA CC"), {"Den", "Kitchen"}},
        {"a coordinator without a speaker yields no group", household({{'B', "Office"}, {'C', "Den"}}, "AA BA CC"), {"Den"}},
        {"no speakers, no groups", household({}, "AA BA"), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(names(c.snapshot), c.groupNames) << c.name;
}

TEST(SonosGroup, MembersSortByShortRoomNameThenIdAndGroupsByNameThenId) {
    auto snapshot = household(
        {{'A', "Den"}, {'D', "Office"}, {'B', "Office Speaker"}, {'C', "Bath Soundbar"}, {'E', "Attic"}, {'F', "Zoo"}},
        "AA BA CA DA EA FF");
    ASSERT_EQ(snapshot.groups().size(), 2u);
    const SonosGroup& den = snapshot.groups()[0];
    EXPECT_EQ(den.id, group('A'));
    // "Office Speaker" and "Office" share the short name "Office"; the smaller id goes first.
    std::vector<std::string> rooms;
    for (const auto& member : den.speakers()) rooms.push_back(member.roomName);
    EXPECT_EQ(rooms, (std::vector<std::string>{"Den", "Attic", "Bath Soundbar", "Office Speaker", "Office"}));

    auto sorted = household({{'C', "Den"}, {'A', "Den"}, {'B', "Bath"}, {'D', "attic"}}, "AA BB CC DD");
    std::vector<GroupID> ids;
    for (const auto& g : sorted.groups()) ids.push_back(g.id);
    // Plain byte order: upper case sorts before lower case.
    EXPECT_EQ(ids, (std::vector<GroupID>{group('B'), group('A'), group('C'), group('D')}));
}

TEST(PresetID, RandomAndCanonicalText) {
    auto a = PresetID::random();
    EXPECT_NE(a, PresetID::random());
    EXPECT_EQ(PresetID::make(a.rawValue()), a);
    EXPECT_EQ(PresetID::make("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), fixedID);
    EXPECT_EQ(fixedID.rawValue(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    for (const char* bad : {"", "E621E1F8C36C495A93FC0C247A3E6E5F", "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",
                            "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}"}) {
        EXPECT_EQ(PresetID::make(bad), std::nullopt) << bad;
    }
}

TEST(PresetPill, MembersNeverHoldTheCoordinator) {
    PresetPill made(fixedID, "Evening", sp('C'), {sp('B'), sp('A'), sp('B'), sp('C')});
    EXPECT_EQ(made.memberUUIDs(), speakers("AB"));
    EXPECT_EQ(made, PresetPill(fixedID, "Evening", sp('C'), {sp('A'), sp('B')}));
    EXPECT_EQ(PresetPill(fixedID, "x", sp('D'), std::vector<SpeakerUUID>{sp('D'), sp('C')}).memberUUIDs(), speakers("C"));

    auto updated = made.updated(sp('A'), speakers("ABD"));
    EXPECT_EQ(updated, PresetPill(fixedID, "Evening", sp('A'), {sp('B'), sp('D')}));
    EXPECT_EQ(made.renamed(""), PresetPill(fixedID, "", sp('C'), {sp('A'), sp('B')}));
    EXPECT_EQ(made.target(), TopologyTarget::exactGroup(sp('C'), speakers("AB")));
}

TEST(PresetPill, CapturingAGroupTrimsTheNameOrNamesItAfterTheRooms) {
    struct Case { const char* name; std::optional<std::string_view> given; const char* expected; };
    const Case cases[] = {
        {"no name", std::nullopt, "Living Room + Kitchen"},
        {"empty name", "", "Living Room + Kitchen"},
        {"blanks and line breaks only", " \t\n\u00A0\u2028 ", "Living Room + Kitchen"},
        {"blanks around a word", "  Dinner \n", "Dinner"},
        {"inner blanks stay", " Late  Night ", "Late  Night"},
    };
    // The group lists its coordinator among the members; the preset does not.
    const SonosGroup g{group('A'), roomSpeaker('A', "Living Room"),
                       {roomSpeaker('B', "Kitchen"), roomSpeaker('A', "Living Room")}, PlaybackState::stopped(),
                       DiscreteVolume::snappingPercent(20), "Living Room + Kitchen"};
    for (const auto& c : cases) {
        auto preset = PresetPill::capturing(g, c.given);
        EXPECT_EQ(preset.name(), c.expected) << c.name;
        EXPECT_EQ(preset.coordinatorUUID(), sp('A')) << c.name;
        EXPECT_EQ(preset.memberUUIDs(), speakers("B")) << c.name;
    }
    // Every capture is a preset of its own.
    EXPECT_NE(PresetPill::capturing(g).id(), PresetPill::capturing(g).id());
}

TEST(PresetPill, JsonRoundTripAndForm) {
    PresetPill preset(fixedID, "Evening ☾", sp('C'), {sp('B'), sp('A')});
    EXPECT_EQ(preset.toJson(), Json::parse(R"({"id": {"rawValue": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"}, "name": "Evening ☾",
        "coordinatorUUID": ")" + id('C') + R"(", "memberUUIDs": [")" + id('A') + R"(", ")" + id('B') + R"("]})"));
    EXPECT_EQ(PresetPill::fromJson(preset.toJson()), preset);

    // Any order, duplicates and the coordinator itself are accepted and normalised.
    auto read = decode(presetJson("[\"" + id('C') + "\", \"" + id('B') + "\", \"" + id('A') + "\", \"" + id('B') + "\"]"));
    ASSERT_TRUE(read) << read.error().message();
    EXPECT_EQ(read->memberUUIDs(), speakers("AB"));
    EXPECT_TRUE(decode(presetJson("[]"))->memberUUIDs().empty());

    // Unknown keys are ignored; a lower-case UUID is read and written back in upper case.
    auto lenient = decode(R"({"memberUUIDs": [], "extra": 1, "coordinatorUUID": ")" + id('A') +
                          R"(", "name": "", "id": {"rawValue": "e621e1f8-c36c-495a-93fc-0c247a3e6e5f", "x": 0}})");
    ASSERT_TRUE(lenient);
    EXPECT_EQ(lenient->id(), fixedID);
}

TEST(PresetPill, ReadingIsStrict) {
    const Json valid = Json::parse(presetJson("[]"));
    const auto with = [&](const char* key, Json value) { Json j = valid; j[key] = std::move(value); return j.dump(); };
    const auto without = [&](const char* key) { Json j = valid; j.erase(key); return j.dump(); };
    struct Case { const char* name; std::string json; Kind kind; const char* path; };
    const Case cases[] = {
        {"not an object", "[]", Kind::typeMismatch, ""},
        {"no id", without("id"), Kind::keyNotFound, ""},
        {"id without rawValue", with("id", Json::object()), Kind::keyNotFound, "id"},
        {"id as a plain string", with("id", "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), Kind::typeMismatch, "id"},
        {"malformed UUID", with("id", {{"rawValue", "E621E1F8-C36C-495A-93FC"}}), Kind::dataCorrupted, "id/rawValue"},
        {"rawValue a number", with("id", {{"rawValue", 7}}), Kind::typeMismatch, "id/rawValue"},
        {"no name", without("name"), Kind::keyNotFound, ""},
        {"null name", with("name", nullptr), Kind::valueNotFound, ""},
        {"name a number", with("name", 3), Kind::typeMismatch, "name"},
        {"no coordinator", without("coordinatorUUID"), Kind::keyNotFound, ""},
        {"invalid coordinator", with("coordinatorUUID", "RINCON_abc"), Kind::dataCorrupted, "coordinatorUUID"},
        {"no members", without("memberUUIDs"), Kind::keyNotFound, ""},
        {"members not an array", with("memberUUIDs", Json::object()), Kind::typeMismatch, "memberUUIDs"},
        {"one invalid member", with("memberUUIDs", {id('C'), "RINCON_000000000001014000"}), Kind::dataCorrupted,
         "memberUUIDs/1"},
        {"a member of the wrong type", with("memberUUIDs", Json::array({nullptr})), Kind::typeMismatch, "memberUUIDs/0"},
    };
    for (const auto& k : cases) {
        auto decoded = decode(k.json);
        ASSERT_FALSE(decoded) << k.name;
        EXPECT_EQ(decoded.error().kind, k.kind) << k.name << ": " << decoded.error().message();
        EXPECT_EQ(decoded.error().path, k.path) << k.name;
    }
    EXPECT_EQ(decode(presetJson("[\"RINCON_abc\"]")).error().description, "Not a RINCON id: RINCON_abc");
    EXPECT_EQ(decode(with("id", {{"rawValue", "nope"}})).error().description,
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
    auto reread = presetListFromJsonText(presetListToJsonText({PresetPill(fixedID, "Den \xFF", sp('A'), std::vector<SpeakerUUID>{})}));
    ASSERT_TRUE(reread);
    EXPECT_EQ((*reread)[0].name(), "Den \xEF\xBF\xBD");

    struct Case { const char* name; std::string text; Kind kind; const char* path; };
    const Case cases[] = {
        {"empty text", "", Kind::dataCorrupted, ""},
        {"truncated", text.substr(0, text.size() / 2), Kind::dataCorrupted, ""},
        {"an object, not a list", presets[0].toJson().dump(), Kind::typeMismatch, ""},
        {"one bad preset fails the list", "[" + presets[0].toJson().dump() + R"(, {"name": "x"}])", Kind::keyNotFound, "1"},
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
