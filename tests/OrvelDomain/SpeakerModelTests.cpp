#include <gtest/gtest.h>

#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/SpeakerModel.h"

using namespace orvel;
using Kind = SpeakerModel::Kind;

namespace {

BatteryTelemetry reading(int level, double sampledAt = 100, std::optional<int> celsius = 31) {
    return BatteryTelemetry{level, true, celsius, Date::sinceReferenceDate(sampledAt)};
}

SpeakerModel classify(std::string_view name, std::string_view number,
                      std::optional<BatteryTelemetry> battery = std::nullopt) {
    return SpeakerModel::classify(name, number, {}, std::move(battery));
}

}  // namespace

TEST(SpeakerModelClassify, EveryModelNumberWinsOverTheName) {
    struct Case { const char* number; Kind kind; };
    const Case cases[] = {
        {"S19", Kind::arc}, {"S45", Kind::arc}, {"S14", Kind::beam}, {"S31", Kind::beam},
        {"S36", Kind::ray}, {"S9", Kind::playbar}, {"S11", Kind::playbase}, {"S39", Kind::era100},
        {"S41", Kind::era300}, {"S13", Kind::one}, {"S18", Kind::one}, {"S22", Kind::one},
        {"S38", Kind::one}, {"S5", Kind::five}, {"S6", Kind::five}, {"S1", Kind::play1},
        {"S12", Kind::play1}, {"S3", Kind::play3}, {"S17", Kind::move}, {"S44", Kind::move},
        {"S27", Kind::roam}, {"S35", Kind::roam}, {"S43", Kind::roam}, {"S10", Kind::sub},
        {"S15", Kind::sub}, {"S24", Kind::sub}, {"S37", Kind::sub}, {"S42", Kind::sub},
        {"SUB", Kind::sub}, {"S34", Kind::subMini}, {"S21", Kind::symfoniskBookshelf},
        {"S33", Kind::symfoniskBookshelf}, {"S20", Kind::symfoniskLamp}, {"S29", Kind::symfoniskLamp},
        {"S40", Kind::symfoniskLamp}, {"S30", Kind::symfoniskFrame}, {"S16", Kind::amp},
        {"ZP100", Kind::amp}, {"ZP120", Kind::amp}, {"ZP80", Kind::port}, {"ZP90", Kind::port},
    };
    for (const auto& c : cases) EXPECT_EQ(classify("Sonos Era 100", c.number).kind(), c.kind) << c.number;
    EXPECT_EQ(classify("Sonos Arc", "S3"), SpeakerModel::play3());
    // Matched whole, never as a prefix or a part.
    EXPECT_EQ(classify("", "S170").kind(), Kind::unrecognized);
    EXPECT_EQ(classify("", "XS1").kind(), Kind::unrecognized);
}

TEST(SpeakerModelClassify, NumberKeyIsTrimmedAndUpperCased) {
    auto battery = reading(55);
    for (const char* number : {"S17", " S17 ", "\nS17\t", "s17", "\u00a0s17\u2028"}) {
        EXPECT_EQ(classify("", number, battery), SpeakerModel::move(battery)) << number;
        EXPECT_EQ(classify("", number), SpeakerModel::move()) << number;
    }
}

TEST(SpeakerModelClassify, SharedCodeS23DecidesByName) {
    struct Case { const char* name; Kind kind; };
    const Case cases[] = {
        {"Sonos Five", Kind::five}, {"PLAY:5", Kind::five}, {" play 5 ", Kind::five},
        {"Sonos Port", Kind::port}, {"", Kind::port}, {"Sonos Arc", Kind::port},
    };
    for (const auto& c : cases) EXPECT_EQ(classify(c.name, "S23").kind(), c.kind) << c.name;
}

TEST(SpeakerModelClassify, NameRulesInOrder) {
    struct Case { const char* name; Kind kind; };
    const Case cases[] = {
        // The first three rows settle any name holding their text, whatever else it holds.
        {"Sonos Arc Move Sub", Kind::arc}, {"Beam with Roam", Kind::beam}, {"Stingray Play:1", Kind::ray},
        {"Playbar", Kind::playbar}, {"SONOS PLAYBASE", Kind::playbase},
        {"Era 100", Kind::era100}, {"era100", Kind::era100}, {"Sonos Era 300", Kind::era300}, {"ERA300", Kind::era300},
        // "sub mini" is tried before the plain sub tests, which look at whole words only.
        {"Sonos Sub Mini", Kind::subMini}, {"  SUB\n", Kind::sub}, {"Sonos Sub (Gen 3)", Kind::sub},
        {"Sub Gen 2", Kind::sub}, {"Basement Sub", Kind::sub}, {"Subwoofer", Kind::unrecognized},
        {"Sonos Move 2", Kind::move}, {"Roam SL", Kind::roam},
        {"SYMFONISK Table lamp", Kind::symfoniskLamp}, {"Symfonisk Picture Frame", Kind::symfoniskFrame},
        {"Symfonisk Frame Lamp", Kind::symfoniskLamp}, {"Symfonisk", Kind::symfoniskBookshelf},
        {"Table Lamp", Kind::symfoniskLamp}, {"Picture Frame", Kind::symfoniskFrame},
        {"Play:5", Kind::five}, {"five", Kind::five}, {"Five Alive", Kind::unrecognized},
        {"Play 3", Kind::play3}, {"Sonos Play:1", Kind::play1},
        {"Sonos One", Kind::one}, {"One SL", Kind::one}, {"one", Kind::one}, {"Someone", Kind::unrecognized},
        // "connect:amp" is tried before "sonos connect".
        {"Sonos Connect:Amp", Kind::amp}, {"amp", Kind::amp},
        {"Sonos Port", Kind::port}, {"Sonos Connect", Kind::port}, {"connect", Kind::port},
        {"", Kind::unrecognized},
    };
    for (const auto& c : cases) EXPECT_EQ(classify(c.name, "").kind(), c.kind) << c.name;
}

TEST(SpeakerModelClassify, BatteryKeptOnlyForPortableModels) {
    auto battery = reading(40);
    EXPECT_EQ(classify("Sonos Move", "X1", battery), SpeakerModel::move(battery));
    EXPECT_EQ(classify("", "S35", battery), SpeakerModel::roam(battery));
    EXPECT_EQ(classify("", "S19", battery), SpeakerModel::arc());
    EXPECT_EQ(classify("Mystery", "X1", battery).battery(), std::nullopt);
    // A name can yield a portable model whose number is still not battery-capable.
    EXPECT_FALSE(SpeakerModel::isBatteryCapable("X1"));
}

TEST(SpeakerModel, BatteryCapability) {
    struct Case { const char* number; bool capable; };
    const Case cases[] = {
        {"S17", true}, {"S44", true}, {"S27", true}, {"S43", true}, {" S35 \n", true}, {"s35", true},
        {"S23", false}, {"S6", false}, {"", false}, {"S350", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SpeakerModel::isBatteryCapable(c.number), c.capable) << c.number;
}

TEST(SpeakerModel, SemanticEquivalenceIgnoresOnlyTheBatterySampleTime) {
    struct Case { SpeakerModel a; SpeakerModel b; bool equal; bool equivalent; };
    const Case cases[] = {
        {SpeakerModel::roam(reading(50, 1)), SpeakerModel::roam(reading(50, 2)), false, true},
        {SpeakerModel::move(reading(50, 1)), SpeakerModel::move(reading(50, 2)), false, true},
        {SpeakerModel::move(reading(50)), SpeakerModel::move(), false, false},
        {SpeakerModel::move(), SpeakerModel::move(), true, true},
        {SpeakerModel::move(reading(50)), SpeakerModel::move(reading(51)), false, false},
        {SpeakerModel::move(reading(50, 1, 30)), SpeakerModel::move(reading(50, 1, std::nullopt)), false, false},
        {SpeakerModel::move(reading(50)), SpeakerModel::roam(reading(50)), false, false},
        {SpeakerModel::unrecognized("X", "Y"), SpeakerModel::unrecognized("X", "Y "), false, false},
        {SpeakerModel::unrecognized("X", "Y"), SpeakerModel::unrecognized("X", "Y"), true, true},
    };
    for (const auto& c : cases) {
        auto what = c.a.toJson().dump() + " vs " + c.b.toJson().dump();
        EXPECT_EQ(c.a == c.b, c.equal) << what;
        EXPECT_EQ(c.a.isSemanticallyEquivalent(c.b), c.equivalent) << what;
        EXPECT_EQ(c.b.isSemanticallyEquivalent(c.a), c.equivalent) << what;
    }
}
