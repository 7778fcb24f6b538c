// The forms kept on disk (cached speakers, radio readings, presets): one golden round trip, every
// way a stored text can be wrong refused with where it went wrong, and the value rules those forms
// carry (semantic equivalence, strongest reading per pair).
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/Speaker.h"
#include "common/Households.h"

using namespace orvel;
using namespace orvel::testing;
using Band = RFPeerMatrix::Band;

namespace {

BatteryTelemetry reading(double sampledAt) { return BatteryTelemetry{64, false, 28, Date::sinceReferenceDate(sampledAt)}; }

// Every optional member present.
Speaker full() {
    const auto satellite = [](int n, SatelliteRole role) { return BondedSatellite{sp(n), sp(1), role, "S38", "Sonos One", true, 40}; };
    return Speaker{sp(1), "Living Room", SpeakerModel::move(reading(10)), ReachabilityState::online("127.0.1.20", -48, -92),
                   DiscreteVolume::snappingPercent(25),
                   {satellite(2, SatelliteRole::rearLeft()), satellite(3, SatelliteRole::rearRight())}};
}

const PresetID fixedID = *PresetID::make("E621E1F8-C36C-495A-93FC-0C247A3E6E5F");

template <class T>
Decoded<T> parsed(const std::string& text, Decoded<T> (*read)(const Json&)) {
    auto json = json::parse(text);
    if (!json) return std::unexpected(json.error());
    return read(*json);
}

// The error a reader gives for a text, or nothing when it reads it.
using Reader = std::function<std::optional<DecodingError>(const std::string&)>;
template <class T>
Reader reader(Decoded<T> (*read)(const Json&)) {
    return [read](const std::string& text) -> std::optional<DecodingError> {
        auto value = parsed(text, read);
        if (value) return std::nullopt;
        return value.error();
    };
}
Decoded<std::vector<Speaker>> speakerList(const Json& json) { return json::decodeArray(json, Speaker::fromJson); }

// A valid stored form with one member replaced (or removed, for a discarded value).
std::string with(const Json& valid, const std::string& pointer, Json value = Json::value_t::discarded) {
    Json changed = valid;
    const Json::json_pointer at(pointer);
    if (value.is_discarded()) {
        changed[at.parent_pointer()].erase(at.back());
    } else {
        changed[at] = std::move(value);
    }
    return changed.dump();
}

}  // namespace

TEST(PersistedForms, GoldenRoundTrip) {
    const std::vector<Speaker> speakers{full(), speaker(sp(4), "Kitchen", {.online = false})};
    Json form = Json::array();
    for (const Speaker& s : speakers) form.push_back(s.toJson());
    const auto back = parsed(form.dump(), speakerList);
    ASSERT_TRUE(back) << back.error().message();
    EXPECT_EQ(*back, speakers);

    // The cache shape as written by earlier versions; unknown members are ignored.
    const auto cached = parsed<Speaker>(R"({
        "id": "RINCON_00000000000101400", "roomName": "Kitchen", "model": {"one": {}},
        "reachability": {"offline": {"lastKnownIP": "127.0.1.9", "lastSeenAt": 740000000.25}},
        "volume": 12, "bondedSatellites": [], "extra": "ignored"})", Speaker::fromJson);
    ASSERT_TRUE(cached) << cached.error().message();
    EXPECT_EQ(*cached, (Speaker{sp(1), "Kitchen", SpeakerModel::one(),
                                ReachabilityState::offline("127.0.1.9", Date::sinceReferenceDate(740000000.25)),
                                DiscreteVolume::snappingPercent(12), {}}));

    RFPeerMatrix radio;
    radio.record(sp(1), sp(2), 40, 0);
    radio.record(sp(3), sp(1), 3, 0);
    radio.record(sp(2), sp(3), 22, 21);
    EXPECT_EQ(parsed(radio.toJson().dump(), RFPeerMatrix::fromJson), radio);

    // Presets: keys in field order, members in identifier order; a name that is not UTF-8 is
    // written with a replacement character instead of failing.
    const std::vector<PresetPill> presets{PresetPill(fixedID, "Evening \xFF", sp(3), {sp(2), sp(1)}),
                                          PresetPill(PresetID::random(), "Alone", sp(1), std::vector<SpeakerUUID>{})};
    const std::string text = presetListToJsonText(presets);
    EXPECT_EQ(text.substr(0, text.find("},{") + 1),
              R"([{"id":{"rawValue":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"},"name":"Evening )" "\xEF\xBF\xBD" R"(","coordinatorUUID":")" +
                  sp(3).rawValue() + R"(","memberUUIDs":[")" + sp(1).rawValue() + R"(",")" + sp(2).rawValue() + R"("]})");
    const auto reread = presetListFromJsonText(text);
    ASSERT_TRUE(reread);
    EXPECT_EQ((*reread)[1], presets[1]);
    EXPECT_EQ((*reread)[0].memberUUIDs(), presets[0].memberUUIDs());
}

TEST(PersistedForms, InvalidTextIsRefusedWithWhereItWentWrong) {
    const Json speakerForm = full().toJson();
    const Json presetForm = PresetPill(fixedID, "Evening", sp(3), {sp(1)}).toJson();
    const std::string pair = R"({"low":")" + sp(1).rawValue() + R"(","high":")" + sp(2).rawValue() + R"("})";
    const Reader speakerReader = reader(Speaker::fromJson);
    const Reader list = reader(speakerList);
    const Reader model = reader(SpeakerModel::fromJson);
    const Reader radio = reader(RFPeerMatrix::fromJson);
    const Reader preset = reader(PresetPill::fromJson);
    const Reader presetList = [](const std::string& text) -> std::optional<DecodingError> {
        auto read = presetListFromJsonText(text);
        if (read) return std::nullopt;
        return read.error();
    };
    struct Case { const char* what; Reader read; std::string text; const char* path; };
    const Case cases[] = {
        {"a member missing", speakerReader, with(speakerForm, "/volume"), ""},
        {"a member null", speakerReader, with(speakerForm, "/roomName", nullptr), ""},
        {"volume above 100", speakerReader, with(speakerForm, "/volume", 101), "volume"},
        {"volume not integral", speakerReader, with(speakerForm, "/volume", 35.5), "volume"},
        {"not a RINCON id", speakerReader, with(speakerForm, "/id", "RINCON_abc"), "id"},
        {"a name of the wrong type", speakerReader, with(speakerForm, "/roomName", 3), "roomName"},
        {"a model with two cases", speakerReader, with(speakerForm, "/model", {{"arc", Json::object()}, {"beam", Json::object()}}), "model"},
        {"a role in the wrong case", speakerReader, with(speakerForm, "/bondedSatellites/0/role", "RearLeft"), "bondedSatellites/0/role"},
        {"a satellite's parent not an id", speakerReader, with(speakerForm, "/bondedSatellites/1/parentID", "kitchen"),
         "bondedSatellites/1/parentID"},
        {"link quality beyond 32 bits", speakerReader, with(speakerForm, "/bondedSatellites/0/linkQuality", 1e12),
         "bondedSatellites/0/linkQuality"},
        {"both reachability cases", speakerReader,
         with(speakerForm, "/reachability", {{"online", {{"ip", "a"}}}, {"offline", {{"lastKnownIP", "a"}, {"lastSeenAt", 1}}}}),
         "reachability"},
        {"an address of the wrong type", speakerReader, with(speakerForm, "/reachability/online/ip", 7), "reachability/online/ip"},
        {"one bad speaker fails the list", list, Json::array({speakerForm, Json::parse(with(speakerForm, "/volume", 101))}).dump(),
         "1/volume"},
        {"battery level not integral", model, R"({"move":{"battery":{"levelPercent":5.5,"isOnCharger":true,"sampledAt":0}}})",
         "move/battery/levelPercent"},
        {"battery without its charger flag", model, R"({"roam":{"battery":{"levelPercent":5,"sampledAt":0}}})", "roam/battery"},
        {"an unknown model without a name", model, R"({"unrecognized":{"modelNumber":3,"displayName":"Y"}})",
         "unrecognized/modelNumber"},
        {"radio band out of range", radio, R"({"bands":[)" + pair + R"(,4],"strengths":[]})", "bands/1"},
        {"radio pairs of odd length", radio, R"({"bands":[)" + pair + R"(],"strengths":[]})", "bands"},
        {"radio strength beyond 64 bits", radio, R"({"bands":[],"strengths":[)" + pair + R"(,1e30]})", "strengths/1"},
        {"radio pair without its high end", radio, R"({"bands":[{"low":")" + sp(1).rawValue() + R"("},1],"strengths":[]})",
         "bands/0"},
        {"preset id not a UUID", preset, with(presetForm, "/id/rawValue", "E621E1F8-C36C-495A-93FC"), "id/rawValue"},
        {"preset id as a plain string", preset, with(presetForm, "/id", "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), "id"},
        {"preset member not an id", preset, with(presetForm, "/memberUUIDs", {sp(1).rawValue(), "RINCON_000000000001014000"}),
         "memberUUIDs/1"},
        {"one bad preset fails the list", presetList, "[" + presetForm.dump() + R"(, {"name": "x"}])", "1"},
        {"preset list not UTF-8", presetList, "[\"\xFF\"]", ""},
        {"preset list truncated", presetList, "[" + presetForm.dump().substr(0, 30), ""},
        {"preset list nested 100 000 deep", presetList, std::string(100000, '[') + std::string(100000, ']'), "0"},
    };
    for (const auto& c : cases) {
        const auto error = c.read(c.text);
        ASSERT_TRUE(error.has_value()) << c.what;
        EXPECT_EQ(error->path, c.path) << c.what << ": " << error->message();
        EXPECT_FALSE(error->message().empty()) << c.what;
    }
}

TEST(PersistedForms, SemanticEquivalenceIgnoresOnlyWhenTheBatteryWasSampled) {
    const Speaker base = full();
    const Speaker offline = base.with(ReachabilityState::offline("127.0.1.20", Date::sinceReferenceDate(9)));
    const auto changed = [&](auto change) { Speaker s = base; change(s); return s; };
    struct Case { const char* what; Speaker a; Speaker b; bool equivalent; };
    const Case cases[] = {
        {"same", base, base, true},
        {"battery sampled later", base, changed([](Speaker& s) { s.model = SpeakerModel::move(reading(11)); }), true},
        {"battery removed", base, changed([](Speaker& s) { s.model = SpeakerModel::move(); }), false},
        {"other signal", base, base.with(ReachabilityState::online("127.0.1.20", -49, -92)), false},
        {"offline seen later", offline, offline.with(ReachabilityState::offline("127.0.1.20", Date::sinceReferenceDate(10))), false},
        {"renamed by case only", base, changed([](Speaker& s) { s.roomName = "Living room"; }), false},
        {"satellites reordered", base, changed([](Speaker& s) { std::swap(s.bondedSatellites[0], s.bondedSatellites[1]); }), false},
        {"a satellite offline", base, changed([](Speaker& s) { s.bondedSatellites[1].isOnline = false; }), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a.isSemanticallyEquivalent(c.b), c.equivalent) << c.what;
        EXPECT_EQ(c.b.isSemanticallyEquivalent(c.a), c.equivalent) << c.what;
    }
}

TEST(PersistedForms, RadioKeepsTheStrongestPositiveReadingPerUnorderedPair) {
    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    struct Case { const char* what; std::vector<std::tuple<int, int, std::int64_t, std::int64_t>> readings;
                  std::optional<Band> band; std::optional<std::int64_t> strength; };
    const Case cases[] = {
        {"a speaker with itself", {{1, 1, 50, 50}}, std::nullopt, std::nullopt},
        {"nothing heard", {{1, 2, 0, 0}}, std::nullopt, std::nullopt},
        {"only negative readings", {{1, 2, lowest, -1}}, std::nullopt, std::nullopt},
        {"the positive direction counts", {{1, 2, -40, 1}}, Band::weak, 1},
        {"the band's lower edges", {{1, 2, 0, 20}}, Band::moderate, 20},
        {"strong from 35 up", {{1, 2, 35, -1}}, Band::strong, 35},
        {"the largest reading", {{1, 2, highest, 0}}, Band::strong, highest},
        {"the strongest of both orders, whichever came first", {{1, 2, 10, 40}, {2, 1, 25, 5}}, Band::strong, 40},
        {"a weaker later reading does not lower it", {{1, 2, 30, 0}, {1, 2, 5, 5}}, Band::moderate, 30},
    };
    for (const auto& c : cases) {
        RFPeerMatrix m;
        for (const auto& [x, y, from, to] : c.readings) m.record(sp(x), sp(y), from, to);
        const int other = std::get<1>(c.readings.front());
        EXPECT_EQ(m.band(sp(other), sp(1)), c.band) << c.what;
        EXPECT_EQ(m.strength(sp(1), sp(other)), c.strength) << c.what;
    }
}

// Copies share their pairs until one of them records: what one copy hears never shows in
// another, whichever of them records, and equal contents compare equal however they were made.
TEST(RFPeerMatrix, ACopyThatRecordsLeavesTheOthersAsTheyWere) {
    RFPeerMatrix original;
    original.record(sp(1), sp(2), 40, 0);
    const RFPeerMatrix before = original;
    RFPeerMatrix copy = original;
    copy.record(sp(1), sp(3), 22, 0);
    copy.record(sp(1), sp(2), 10, 0);  // weaker: no change
    EXPECT_EQ(original, before);
    EXPECT_EQ(original.strength(sp(1), sp(3)), std::nullopt);
    EXPECT_EQ(copy.strength(sp(1), sp(3)), 22);
    EXPECT_NE(copy, original);

    original.record(sp(2), sp(3), 50, 0);
    EXPECT_EQ(copy.strength(sp(2), sp(3)), std::nullopt);
    EXPECT_EQ(before.strength(sp(2), sp(3)), std::nullopt);

    RFPeerMatrix rebuilt;
    rebuilt.record(sp(1), sp(2), 40, 0);
    rebuilt.record(sp(1), sp(3), 22, 0);
    EXPECT_EQ(rebuilt, copy);
    EXPECT_EQ(rebuilt.hashValue(), copy.hashValue());
    EXPECT_EQ(RFPeerMatrix(), RFPeerMatrix::empty());
}
