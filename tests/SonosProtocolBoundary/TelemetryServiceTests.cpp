#include <gtest/gtest.h>

#include "SonosProtocolBoundary/TelemetryService.h"

using namespace orvel;

namespace {

std::string deviceDescription(const std::string& modelName, const std::string& modelNumber,
                              const std::string& roomName = "Patio &amp; Garden") {
    return R"(<?xml version="1.0" encoding="utf-8" ?><root xmlns="urn:schemas-upnp-org:device-1-0"><specVersion><major>1</major>)"
           R"(<minor>0</minor></specVersion><device><deviceType>urn:schemas-upnp-org:device:ZonePlayer:1</deviceType>)"
           R"(<friendlyName>127.0.5.10 - Sonos Roam</friendlyName><manufacturer>Sonos, Inc.</manufacturer><modelNumber>)" +
           modelNumber + "</modelNumber><modelDescription>Sonos Roam</modelDescription><modelName>" + modelName +
           R"(</modelName><softwareVersion>79.1-52020</softwareVersion><serialNum>00-0E-58-A0-00-01:7</serialNum>)"
           R"(<UDN>uuid:RINCON_000E58A0000101400</UDN><roomName>)" + roomName +
           R"(</roomName><displayName>Roam</displayName><serviceList/></device></root>)";
}

std::string battery(const std::string& data) {
    return "<?xml version=\"1.0\" ?><ZPSupportInfo><LocalBatteryStatus>" + data + "</LocalBatteryStatus></ZPSupportInfo>";
}

}  // namespace

TEST(TelemetryService, DeviceDescription) {
    auto description = TelemetryService::parseDeviceDescription(deviceDescription("Sonos Roam", "S27"));
    ASSERT_TRUE(description) << description.error().message;
    EXPECT_EQ(*description, (DeviceDescription{"Patio & Garden", "Roam", "Sonos Roam", "S27", "00-0E-58-A0-00-01:7",
                                               SpeakerUUID::make("RINCON_000E58A0000101400")}));

    BatteryTelemetry reading{50, true, std::nullopt, Date::sinceReferenceDate(1)};
    EXPECT_EQ(description->model(reading), SpeakerModel::roam(reading));
    EXPECT_EQ(TelemetryService::parseDeviceDescription(deviceDescription("Mystery Box", "X9"))->model(),
              SpeakerModel::unrecognized("X9", "Mystery Box"));

    EXPECT_EQ(TelemetryService::parseDeviceDescription("<root><device/></root>"), DeviceDescription{});

    for (const char* bad : {"<root/>", "<root><device>", ""}) {
        EXPECT_FALSE(TelemetryService::parseDeviceDescription(bad)) << bad;
    }
}

// A room name with a character XML cannot carry costs only that character: the model stays.
TEST(TelemetryService, AnOddCharacterInTheRoomNameKeepsTheModel) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case { const char* name; std::string roomName; std::string read; };
    const std::vector<Case> cases = {
        {"a reference to a control character", "Patio&#x1;", "Patio" + fffd},
        {"references to a surrogate pair", "Patio &#xD83D;&#xDE00;", "Patio " + fffd + fffd},
        {"a byte that is not UTF-8", "Patio\xFF", "Patio" + fffd},
    };
    for (const auto& c : cases) {
        auto description = TelemetryService::parseDeviceDescription(deviceDescription("Sonos Roam", "S27", c.roomName));
        ASSERT_TRUE(description) << c.name << ": " << description.error().message;
        EXPECT_EQ(*description, (DeviceDescription{c.read, "Roam", "Sonos Roam", "S27", "00-0E-58-A0-00-01:7",
                                                   SpeakerUUID::make("RINCON_000E58A0000101400")}))
            << c.name;
        EXPECT_EQ(description->model(), SpeakerModel::roam(std::nullopt)) << c.name;
    }
}

TEST(TelemetryService, BatteryStatus) {
    const Date at = Date::sinceReferenceDate(77);
    struct Case { const char* name; std::string document; std::optional<BatteryTelemetry> reading; };
    const std::vector<Case> cases = {
        {"on battery", battery(R"(<Data name="Level">86</Data><Data name="PowerSource">BATTERY</Data><Data name="Temperature">NORMAL</Data>)"),
         BatteryTelemetry{86, false, std::nullopt, at}},
        {"charging with a temperature",
         battery(R"(<Data name="Health">GREEN</Data><Data name="Level">100</Data><Data name="PowerSource">SONOS_CHARGING_RING</Data><Data name="Temperature">31</Data>)"),
         BatteryTelemetry{100, true, 31, at}},
        {"no level", battery(R"(<Data name="PowerSource">BATTERY</Data>)"), std::nullopt},
        {"no power source", battery(R"(<Data name="Level">5</Data>)"), std::nullopt},
        {"level above 100", battery(R"(<Data name="Level">101</Data><Data name="PowerSource">BATTERY</Data>)"), std::nullopt},
        {"level a fraction", battery(R"(<Data name="Level">50.5</Data><Data name="PowerSource">BATTERY</Data>)"), std::nullopt},
        {"no battery section", "<ZPSupportInfo/>", std::nullopt},
        {"truncated", battery(R"(<Data name="Level">86</Data>)").substr(0, 40), std::nullopt},
    };
    for (const auto& c : cases) {
        auto parsed = TelemetryService::parseBatteryStatus(c.document, at);
        EXPECT_EQ(parsed ? std::optional(*parsed) : std::nullopt, c.reading) << c.name;
    }
}

TEST(TelemetryService, RadioStatusIsReadLeniently) {
    struct Case { const char* name; std::string page; RadioStatus status; };
    const std::vector<Case> cases = {
        {"labelled neighbours and own readings",
         "ath_rincon status\nNoise Floor: -95 dBm\nRSSI: 42\n\n"
         "Node 00:0e:58:a0:00:02 - STP state 3(forwarding)\n  inbound 40 outbound 37\n\n"
         "Node 00-0E-58-A0-00-03 rssi=18\n",
         RadioStatus{42, -95, {{"000E58A00002", 40, 37}, {"000E58A00003", 18, 18}}}},
        {"antenna columns after the label",
         "RINCON_000E58A0000401400 RSSI (ANT0, ANT1, ANT2): 33 30 31\n",
         RadioStatus{std::nullopt, std::nullopt, {{"000E58A00004", 33, 30}}}},
        {"a neighbour without a strength is no reading",
         "Node 00:0E:58:A0:00:05 channel 11 state 3\n",
         RadioStatus{}},
        {"numbers after other words are not strengths",
         "Node 00:0E:58:A0:00:06 signal 25 channel 11\n",
         RadioStatus{std::nullopt, std::nullopt, {{"000E58A00006", 25, 25}}}},
        {"implausible values are ignored", "Node 00:0E:58:A0:00:07 rssi 99999 rssi 12\n",
         RadioStatus{std::nullopt, std::nullopt, {{"000E58A00007", 12, 12}}}},
        {"nothing understood", "<html>Forbidden</html>", RadioStatus{}},
        {"empty", "", RadioStatus{}},
        {"binary", std::string("\0\xFF\xFE rssi \x01", 9), RadioStatus{}},
        {"addresses too long or glued to hex are not addresses",
         "00:0E:58:A0:00:08:09 rssi 10\nA00:0E:58:A0:00:08 rssi 11\n", RadioStatus{10, std::nullopt, {}}},
    };
    for (const auto& c : cases) EXPECT_EQ(TelemetryService::parseRadioStatus(c.page), c.status) << c.name;

    // A huge page with endless lines still finishes and finds what it holds.
    std::string huge(3 * 1024 * 1024, 'x');
    huge += "\nNode 00:0E:58:A0:00:09 rssi 20\n";
    EXPECT_EQ(TelemetryService::parseRadioStatus(huge).peers.size(), 1u);
}
