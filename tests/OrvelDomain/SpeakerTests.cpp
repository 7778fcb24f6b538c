#include <gtest/gtest.h>

#include "OrvelDomain/Speaker.h"

using namespace orvel;

namespace {

SpeakerUUID uuid(const char* text) { return *SpeakerUUID::make(text); }

const SpeakerUUID livingRoom = uuid("RINCON_0123456789AB01400");
const SpeakerUUID rearLeft = uuid("RINCON_0123456789AC01400");
const SpeakerUUID rearRight = uuid("RINCON_0123456789AD01400");

BatteryTelemetry reading(double sampledAt) {
    return BatteryTelemetry{64, false, 28, Date::sinceReferenceDate(sampledAt)};
}

BondedSatellite satellite(SpeakerUUID id, SatelliteRole role) {
    return BondedSatellite{std::move(id), livingRoom, role, "S38", "Sonos One", true, 40};
}

Speaker sample() {
    return Speaker{livingRoom,
                   "Living Room",
                   SpeakerModel::move(reading(10)),
                   ReachabilityState::online("127.0.1.20", -48, -92),
                   DiscreteVolume::snappingPercent(25),
                   {satellite(rearLeft, SatelliteRole::rearLeft()), satellite(rearRight, SatelliteRole::rearRight())}};
}

}  // namespace

TEST(SatelliteRole, LabelsAndRawValues) {
    struct Case { SatelliteRole role; const char* raw; const char* label; const char* badge; };
    const Case cases[] = {
        {SatelliteRole::rearLeft(), "rearLeft", "Left Surround", "L"},
        {SatelliteRole::rearRight(), "rearRight", "Right Surround", "R"},
        {SatelliteRole::subwoofer(), "subwoofer", "Subwoofer", "Sub"},
        {SatelliteRole::stereoRight(), "stereoRight", "Right Channel", "R"},
    };
    ASSERT_EQ(SatelliteRole::allCases().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(SatelliteRole::allCases()[i], c.role);
        EXPECT_EQ(c.role.rawValue(), c.raw);
        EXPECT_EQ(c.role.label(), c.label);
        EXPECT_EQ(c.role.shortBadge(), c.badge);
        EXPECT_EQ(SatelliteRole::make(c.raw), c.role);
        EXPECT_EQ(*SatelliteRole::fromJson(c.role.toJson()), c.role);
    }
    for (const char* raw : {"RearLeft", "rearleft", " rearLeft", "sub", ""}) {
        EXPECT_EQ(SatelliteRole::make(raw), std::nullopt) << raw;
        auto decoded = SatelliteRole::fromJson(Json(raw));
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().kind, DecodingError::Kind::dataCorrupted);
    }
    EXPECT_EQ(SatelliteRole::fromJson(Json(1)).error().kind, DecodingError::Kind::typeMismatch);
}

TEST(BondedSatellite, ModelAndLabels) {
    struct Case {
        std::optional<std::string> displayName, modelNumber;
        SatelliteRole role;
        SpeakerModel model;
        const char* label;
        const char* shortLabel;
    };
    const Case cases[] = {
        {"Sonos One SL", "S38", SatelliteRole::rearLeft(), SpeakerModel::one(), "Sonos One", "One"},
        {std::nullopt, "S34", SatelliteRole::subwoofer(), SpeakerModel::subMini(), "Sonos Sub Mini", "Sub Mini"},
        // A subwoofer that reports nothing recognisable is a Sub.
        {"Mystery", "X1", SatelliteRole::subwoofer(), SpeakerModel::sub(), "Sonos Sub", "Sub"},
        {std::nullopt, std::nullopt, SatelliteRole::subwoofer(), SpeakerModel::sub(), "Sonos Sub", "Sub"},
        // Without a usable name an unrecognised satellite is a surround.
        {std::nullopt, std::nullopt, SatelliteRole::rearLeft(), SpeakerModel::unrecognized("", ""),
         "Sonos Surround", "Surround"},
        {" \n\u2003", "X1", SatelliteRole::rearRight(), SpeakerModel::unrecognized("X1", " \n\u2003"),
         "Sonos Surround", "Surround"},
        {" Odd Box ", "X1", SatelliteRole::stereoRight(), SpeakerModel::unrecognized("X1", " Odd Box "),
         "Odd Box", "Odd Box"},
    };
    for (const auto& c : cases) {
        BondedSatellite s{rearLeft, livingRoom, c.role, c.modelNumber, c.displayName, true, std::nullopt};
        EXPECT_EQ(s.speakerModel(), c.model) << c.label;
        EXPECT_EQ(s.modelLabel(), c.label);
        EXPECT_EQ(s.shortModelLabel(), c.shortLabel);
    }
}

TEST(BondedSatellite, Json) {
    BondedSatellite bare{rearLeft, std::nullopt, SatelliteRole::subwoofer(), std::nullopt, std::nullopt, false,
                         std::nullopt};
    EXPECT_EQ(bare.toJson().dump(), R"({"id":"RINCON_0123456789AC01400","isOnline":false,"role":"subwoofer"})");
    auto withNulls = json::parse(R"({"id":"RINCON_0123456789AC01400","parentID":null,"role":"subwoofer",
        "modelNumber":null,"displayName":null,"isOnline":false,"linkQuality":null,"other":3})");
    EXPECT_EQ(*BondedSatellite::fromJson(*withNulls), bare);

    auto full = satellite(rearRight, SatelliteRole::rearRight());
    EXPECT_EQ(full.toJson().dump(),
              R"({"displayName":"Sonos One","id":"RINCON_0123456789AD01400","isOnline":true,"linkQuality":40,)"
              R"("modelNumber":"S38","parentID":"RINCON_0123456789AB01400","role":"rearRight"})");
    EXPECT_EQ(*BondedSatellite::fromJson(full.toJson()), full);

    struct Bad { const char* json; const char* path; };
    const Bad bad[] = {
        {R"({"id":"RINCON_0123456789AC01400","isOnline":true})", ""},
        {R"({"id":"RINCON_0123456789AC01400","role":"RearLeft","isOnline":true})", "role"},
        {R"({"id":"RINCON_0123456789AC01400","parentID":"kitchen","role":"rearLeft","isOnline":true})", "parentID"},
        {R"({"id":"RINCON_0123456789AC01400","role":"rearLeft","isOnline":true,"linkQuality":4.5})", "linkQuality"},
        {R"({"id":"RINCON_0123456789AC01400","role":"rearLeft","isOnline":true,"linkQuality":1e12})", "linkQuality"},
        {R"({"id":"RINCON_0123456789AC01400","role":"rearLeft","isOnline":1})", "isOnline"},
    };
    for (const auto& b : bad) {
        auto decoded = BondedSatellite::fromJson(*json::parse(b.json));
        ASSERT_FALSE(decoded) << b.json;
        EXPECT_EQ(decoded.error().path, b.path) << b.json;
    }
}

TEST(BatteryTelemetry, JsonAndEquivalence) {
    BatteryTelemetry bare{90, true, std::nullopt, Date::sinceReferenceDate(1.25)};
    EXPECT_EQ(bare.toJson().dump(), R"({"isOnCharger":true,"levelPercent":90,"sampledAt":1.25})");
    EXPECT_EQ(*BatteryTelemetry::fromJson(*json::parse(R"({"levelPercent":90,"isOnCharger":true,"temperatureCelsius":null,"sampledAt":1.25})")), bare);
    auto full = reading(729000000.5);
    EXPECT_EQ(*BatteryTelemetry::fromJson(full.toJson()), full);

    const char* bad[] = {
        R"({"isOnCharger":true,"sampledAt":1})",
        R"({"levelPercent":90,"isOnCharger":true})",
        R"({"levelPercent":90,"isOnCharger":true,"sampledAt":"2024-01-01"})",
        R"({"levelPercent":90,"isOnCharger":true,"temperatureCelsius":20.5,"sampledAt":1})",
        R"({"levelPercent":3000000000,"isOnCharger":true,"sampledAt":1})",
    };
    for (const char* text : bad) EXPECT_FALSE(BatteryTelemetry::fromJson(*json::parse(text))) << text;

    EXPECT_TRUE(reading(1).isSemanticallyEquivalent(reading(2)));
    EXPECT_NE(reading(1), reading(2));
    EXPECT_FALSE(bare.isSemanticallyEquivalent(BatteryTelemetry{90, false, std::nullopt, bare.sampledAt}));
    EXPECT_FALSE(bare.isSemanticallyEquivalent(BatteryTelemetry{90, true, 20, bare.sampledAt}));
}

TEST(ReachabilityState, AccessorsAndJson) {
    auto offline = ReachabilityState::offline("127.0.1.30", Date::sinceReferenceDate(500));
    EXPECT_EQ(offline.ip(), "127.0.1.30");

    struct Case { ReachabilityState state; const char* json; };
    const Case cases[] = {
        {ReachabilityState::online("127.0.2.2"), R"({"online":{"ip":"127.0.2.2"}})"},
        {ReachabilityState::online("127.0.2.2", -40, -95), R"({"online":{"ip":"127.0.2.2","noiseFloor":-95,"rssi":-40}})"},
        {ReachabilityState::online("127.0.2.2", std::nullopt, -95), R"({"online":{"ip":"127.0.2.2","noiseFloor":-95}})"},
        {offline, R"({"offline":{"lastKnownIP":"127.0.1.30","lastSeenAt":500.0}})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.state.toJson().dump(), c.json);
        EXPECT_EQ(*ReachabilityState::fromJson(*json::parse(c.json)), c.state) << c.json;
    }
    EXPECT_EQ(*ReachabilityState::fromJson(*json::parse(R"({"online":{"ip":"127.0.2.2","rssi":null},"Offline":{}})")),
              ReachabilityState::online("127.0.2.2"));

    struct Bad { const char* json; const char* path; };
    const Bad bad[] = {
        {R"({})", ""},
        {R"({"online":{"ip":"a"},"offline":{"lastKnownIP":"a","lastSeenAt":1}})", ""},
        {R"({"away":{}})", ""},
        {R"({"online":{}})", "online"},
        {R"({"online":{"ip":7}})", "online/ip"},
        {R"({"online":{"ip":"a","rssi":"-40"}})", "online/rssi"},
        {R"({"offline":{"lastKnownIP":"a"}})", "offline"},
        {R"({"offline":{"lastSeenAt":1}})", "offline"},
        {R"({"offline":{"lastKnownIP":"a","lastSeenAt":null}})", "offline"},
        {R"({"online":null})", ""},
    };
    for (const auto& b : bad) {
        auto decoded = ReachabilityState::fromJson(*json::parse(b.json));
        ASSERT_FALSE(decoded) << b.json;
        EXPECT_EQ(decoded.error().path, b.path) << b.json;
    }
}

TEST(Speaker, EqualityAndSemanticEquivalence) {
    auto base = sample();
    auto reversed = base;
    std::swap(reversed.bondedSatellites[0], reversed.bondedSatellites[1]);
    auto satelliteOffline = base;
    satelliteOffline.bondedSatellites[1].isOnline = false;
    auto offline = base.with(ReachabilityState::offline("127.0.1.20", Date::sinceReferenceDate(9)));
    auto renamed = base;
    renamed.roomName = "Living room";

    struct Case { const char* what; Speaker a; Speaker b; bool equal; bool equivalent; };
    const Case cases[] = {
        {"same", base, base, true, true},
        {"battery sampled later", base, [&] { auto s = base; s.model = SpeakerModel::move(reading(11)); return s; }(), false, true},
        {"battery removed", base, [&] { auto s = base; s.model = SpeakerModel::move(); return s; }(), false, false},
        {"other rssi", base, base.with(ReachabilityState::online("127.0.1.20", -49, -92)), false, false},
        {"other noise floor", base, base.with(ReachabilityState::online("127.0.1.20", -48, -91)), false, false},
        {"offline", base, offline, false, false},
        {"offline seen later", offline, offline.with(ReachabilityState::offline("127.0.1.20", Date::sinceReferenceDate(10))), false, false},
        {"other volume", base, base.with(DiscreteVolume::snappingPercent(26)), false, false},
        {"renamed", base, renamed, false, false},
        {"satellites reordered", base, reversed, false, false},
        {"satellite offline", base, satelliteOffline, false, false},
        {"no satellites", base, [&] { auto s = base; s.bondedSatellites.clear(); return s; }(), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.what;
        EXPECT_EQ(c.a.isSemanticallyEquivalent(c.b), c.equivalent) << c.what;
        EXPECT_EQ(c.b.isSemanticallyEquivalent(c.a), c.equivalent) << c.what;
        if (c.equal) {
            EXPECT_EQ(std::hash<Speaker>{}(c.a), std::hash<Speaker>{}(c.b)) << c.what;
        }
    }
}

TEST(Speaker, JsonRoundTripAndTheCacheShape) {
    auto speaker = sample();
    EXPECT_EQ(*Speaker::fromJson(*json::parse(speaker.toJson().dump())), speaker);
    speaker.bondedSatellites.clear();
    EXPECT_EQ(speaker.toJson()["bondedSatellites"].dump(), "[]");

    auto decoded = Speaker::fromJson(*json::parse(R"({
        "id": "RINCON_0123456789AB01400", "roomName": "Kitchen", "model": {"one": {}},
        "reachability": {"offline": {"lastKnownIP": "127.0.1.9", "lastSeenAt": 740000000.25}},
        "volume": 12, "bondedSatellites": [], "extra": "ignored"})"));
    ASSERT_TRUE(decoded) << decoded.error().message();
    EXPECT_EQ(*decoded, (Speaker{livingRoom, "Kitchen", SpeakerModel::one(),
                                 ReachabilityState::offline("127.0.1.9", Date::sinceReferenceDate(740000000.25)),
                                 DiscreteVolume::snappingPercent(12), {}}));
}

TEST(Speaker, EveryMemberIsRequiredAndChecked) {
    const Json valid = sample().toJson();
    for (const char* member : {"id", "roomName", "model", "reachability", "volume", "bondedSatellites"}) {
        Json missing = valid;
        missing.erase(member);
        auto decoded = Speaker::fromJson(missing);
        ASSERT_FALSE(decoded) << member;
        EXPECT_EQ(decoded.error().kind, DecodingError::Kind::keyNotFound) << member;
        Json null = valid;
        null[member] = nullptr;
        EXPECT_FALSE(Speaker::fromJson(null)) << member;
    }

    struct Bad { const char* member; Json value; const char* path; const char* description; };
    const Bad bad[] = {
        {"id", "RINCON_abc", "id", "Not a RINCON id: RINCON_abc"},
        {"volume", 101, "volume", nullptr},
        {"volume", -1, "volume", nullptr},
        {"volume", 50.5, "volume", nullptr},
        {"roomName", 3, "roomName", nullptr},
        {"model", Json::object(), "model", "Invalid number of keys found, expected one."},
        {"reachability", Json::object({{"online", Json::object({{"ip", "a"}})}, {"offline", Json::object()}}),
         "reachability", "Invalid number of keys found, expected one."},
        {"bondedSatellites", Json::object(), "bondedSatellites", nullptr},
        {"bondedSatellites", Json::array({Json::object({{"id", "RINCON_0123456789AC01400"}, {"role", "Subwoofer"}, {"isOnline", true}})}),
         "bondedSatellites/0/role", "Cannot initialize SatelliteRole from invalid String value Subwoofer"},
    };
    for (const auto& b : bad) {
        Json broken = valid;
        broken[b.member] = b.value;
        auto decoded = Speaker::fromJson(broken);
        ASSERT_FALSE(decoded) << b.member << " = " << b.value.dump();
        EXPECT_EQ(decoded.error().path, b.path) << b.value.dump();
        if (b.description) {
            EXPECT_EQ(decoded.error().description, b.description);
        }
    }
    // One bad speaker fails the whole list that holds it.
    Json list = Json::array({valid, valid});
    list[1]["volume"] = 101;
    auto all = json::decodeArray(list, Speaker::fromJson);
    ASSERT_FALSE(all);
    EXPECT_EQ(all.error().path, "1/volume");
}
