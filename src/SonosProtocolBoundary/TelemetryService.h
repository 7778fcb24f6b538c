#pragma once

// The speakers' own pages on port 1400: the device description (model and names), the battery
// status of portable players, and the radio status with the signal strength of neighbours.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/BatteryTelemetry.h"
#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/Date.h"
#include "OrvelDomain/SpeakerModel.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "SonosProtocolBoundary/ProtocolParseError.h"

namespace orvel {

struct DeviceDescription {
    std::string roomName;
    std::string displayName;
    std::string modelName;
    std::string modelNumber;
    std::string serialNumber;
    // From the device's UDN ("uuid:RINCON_…"), when it holds a valid id.
    std::optional<SpeakerUUID> id;

    // The model the speaker reports, carrying `battery` when it is a portable one.
    SpeakerModel model(std::optional<BatteryTelemetry> battery = std::nullopt) const;

    friend bool operator==(const DeviceDescription&, const DeviceDescription&) = default;
};

// One neighbour as a speaker's radio sees it: the neighbour's hardware address (twelve upper-case
// hexadecimal digits, as in its SpeakerUUID) and the strengths of the link in both directions
// (the same value twice when only one is reported).
struct RadioPeerReading {
    std::string hardwareAddress;
    std::int64_t from = 0;
    std::int64_t to = 0;

    friend bool operator==(const RadioPeerReading&, const RadioPeerReading&) = default;
};

struct RadioStatus {
    std::optional<std::int64_t> rssi;
    std::optional<std::int64_t> noiseFloor;
    std::vector<RadioPeerReading> peers;

    bool isEmpty() const { return !rssi && !noiseFloor && peers.empty(); }
    friend bool operator==(const RadioStatus&, const RadioStatus&) = default;
};

struct TelemetryService {
    static constexpr std::string_view deviceDescriptionPath = "/xml/device_description.xml";
    static constexpr std::string_view batteryStatusPath = "/status/batterystatus";
    static constexpr std::string_view radioStatusPath = "/status/proc/ath_rincon/status";

    // device/roomName, displayName, modelName, modelNumber, serialNum and UDN of a UPnP device
    // document; missing texts are empty. A document without <device> is an error.
    static Parsed<DeviceDescription> parseDeviceDescription(std::string_view document);

    // <ZPSupportInfo><LocalBatteryStatus><Data name="Level">86</Data>… Level (0...100) and
    // PowerSource are required; any power source other than BATTERY means the charger. A
    // Temperature that is a whole number of degrees is kept; a word such as NORMAL is not.
    static Parsed<BatteryTelemetry> parseBatteryStatus(std::string_view document, Date sampledAt);

    // Lenient: picks out the lines it understands and ignores the rest. A line naming a hardware
    // address starts a neighbour; numbers after a signal word (RSSI, signal, strength, inbound,
    // outbound, rx, tx) on it and on the lines that follow, up to a blank line or the next
    // address, are that neighbour's strengths. Outside a neighbour they are the speaker's own
    // RSSI; numbers after "noise" give its noise floor. Nothing understood gives no readings.
    static RadioStatus parseRadioStatus(std::string_view page);
};

}  // namespace orvel
