#include "TelemetryService.h"

#include <cctype>

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel {

SpeakerModel DeviceDescription::model(std::optional<BatteryTelemetry> battery) const {
    return SpeakerModel::classify(modelName, modelNumber, {}, std::move(battery));
}

Parsed<DeviceDescription> TelemetryService::parseDeviceDescription(std::string_view document) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(document));
    const XMLNode* device = root.child("device");
    if (device == nullptr) return parseFailure("device description has no <device>");
    auto textOf = [device](std::string_view name) {
        const XMLNode* node = device->child(name);
        return node == nullptr ? std::string() : node->trimmedText();
    };
    DeviceDescription out{textOf("roomName"), textOf("displayName"), textOf("modelName"),
                          textOf("modelNumber"), textOf("serialNum"), std::nullopt};
    std::string udn = textOf("UDN");
    if (protocol_text::startsWithIgnoringCase(udn, "uuid:")) udn.erase(0, 5);
    out.id = SpeakerUUID::make(udn);
    return out;
}

Parsed<BatteryTelemetry> TelemetryService::parseBatteryStatus(std::string_view document, Date sampledAt) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(document));
    const XMLNode* status = root.name == "LocalBatteryStatus" ? &root : root.child("LocalBatteryStatus");
    if (status == nullptr) return parseFailure("battery status has no <LocalBatteryStatus>");
    std::optional<std::string> level, powerSource, temperature;
    for (const XMLNode* data : status->childrenNamed("Data")) {
        const auto name = data->attribute("name");
        if (name == "Level") level = data->trimmedText();
        if (name == "PowerSource") powerSource = data->trimmedText();
        if (name == "Temperature") temperature = data->trimmedText();
    }
    if (!level) return parseFailure("battery status lacks Level");
    if (!powerSource || powerSource->empty()) return parseFailure("battery status lacks PowerSource");
    ORVEL_TRY(std::int64_t percent, protocol_text::parseInteger(*level, "battery Level", 0, 100));
    BatteryTelemetry reading;
    reading.levelPercent = static_cast<int>(percent);
    reading.isOnCharger = *powerSource != "BATTERY";
    if (temperature) {
        if (auto degrees = protocol_text::parseInteger(*temperature, "Temperature", -100, 200)) {
            reading.temperatureCelsius = static_cast<int>(*degrees);
        }
    }
    reading.sampledAt = sampledAt;
    return reading;
}

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool isAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }
bool isAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string upperHex(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (isHex(c)) out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Finds a hardware address in the line ("00:0E:58:A0:12:34", "00-0e-58-…" or the twelve digits
// of a RINCON id), blanks it out so its digits are not read as numbers, and returns it.
std::optional<std::string> takeHardwareAddress(std::string& line) {
    for (std::size_t i = 0; i + 17 <= line.size(); ++i) {
        if (i > 0 && (isHex(line[i - 1]) || line[i - 1] == ':' || line[i - 1] == '-')) continue;
        const char separator = line[i + 2];
        if (separator != ':' && separator != '-') continue;
        bool matches = true;
        for (std::size_t k = 0; k < 17 && matches; ++k) {
            matches = (k % 3 == 2) ? line[i + k] == separator : isHex(line[i + k]);
        }
        if (!matches) continue;
        if (i + 17 < line.size() && (isHex(line[i + 17]) || line[i + 17] == separator)) continue;
        std::string address = upperHex(std::string_view(line).substr(i, 17));
        line.replace(i, 17, 17, ' ');
        return address;
    }
    const std::size_t rincon = line.find("RINCON_");
    if (rincon != std::string::npos && rincon + 19 <= line.size()) {
        std::string_view digits = std::string_view(line).substr(rincon + 7, 12);
        bool allHex = true;
        for (char c : digits) allHex = allHex && isHex(c);
        if (allHex) {
            std::string address = upperHex(digits);
            std::size_t end = rincon + 7;
            while (end < line.size() && isAlnum(line[end])) ++end;
            line.replace(rincon, end - rincon, end - rincon, ' ');
            return address;
        }
    }
    return std::nullopt;
}

enum class Label { none, strength, noise };

struct LineNumbers {
    std::vector<std::int64_t> strengths;
    std::vector<std::int64_t> noise;
};

LineNumbers readNumbers(std::string_view line) {
    // Radio values are small; anything else on a matching line is some other counter.
    constexpr std::int64_t plausible = 150;
    LineNumbers out;
    Label label = Label::none;
    std::size_t i = 0;
    while (i < line.size()) {
        const bool negative = line[i] == '-' && i + 1 < line.size() && isDigit(line[i + 1]) &&
                              (i == 0 || !isAlnum(line[i - 1]));
        if (!isAlnum(line[i]) && !negative) {
            ++i;
            continue;
        }
        std::size_t start = i;
        if (negative) ++i;
        while (i < line.size() && isAlnum(line[i])) ++i;
        std::string_view token = line.substr(start, i - start);
        std::string_view body = negative ? token.substr(1) : token;
        bool allDigits = !body.empty();
        bool anyDigit = false;
        bool allAlpha = !body.empty();
        for (char c : body) {
            allDigits = allDigits && isDigit(c);
            anyDigit = anyDigit || isDigit(c);
            allAlpha = allAlpha && isAlpha(c);
        }
        if (allDigits) {
            if (label == Label::none || body.size() > 4) continue;
            auto value = protocol_text::parseInteger(token, "reading", -plausible, plausible);
            if (!value) continue;
            (label == Label::strength ? out.strengths : out.noise).push_back(*value);
            continue;
        }
        if (anyDigit || !allAlpha) continue;  // "ANT0", "0x1f": names and codes, not words
        const std::string word = text::lowercased(body);
        if (word == "dbm" || word == "db" || word == "floor" || word == "nf") continue;
        if (word.find("rssi") != std::string::npos || word == "signal" || word == "strength" || word == "inbound" ||
            word == "outbound" || word == "rx" || word == "tx") {
            label = Label::strength;
        } else if (word == "noise") {
            label = Label::noise;
        } else {
            label = Label::none;
        }
    }
    return out;
}

}  // namespace

RadioStatus TelemetryService::parseRadioStatus(std::string_view page) {
    constexpr std::size_t maxLine = 4096;
    RadioStatus status;
    std::optional<RadioPeerReading> peer;
    std::vector<std::int64_t> peerStrengths;
    auto finishPeer = [&] {
        if (peer && !peerStrengths.empty()) {
            peer->from = peerStrengths[0];
            peer->to = peerStrengths.size() > 1 ? peerStrengths[1] : peerStrengths[0];
            status.peers.push_back(*peer);
        }
        peer.reset();
        peerStrengths.clear();
    };

    std::size_t start = 0;
    while (start < page.size()) {
        std::size_t end = page.find('\n', start);
        if (end == std::string_view::npos) end = page.size();
        std::string line(page.substr(start, std::min(end - start, maxLine)));
        start = end + 1;

        if (text::trimmed(line).empty()) {
            finishPeer();
            continue;
        }
        if (auto address = takeHardwareAddress(line)) {
            finishPeer();
            peer = RadioPeerReading{*address, 0, 0};
        }
        const LineNumbers numbers = readNumbers(line);
        if (peer) {
            peerStrengths.insert(peerStrengths.end(), numbers.strengths.begin(), numbers.strengths.end());
        } else {
            if (!status.rssi && !numbers.strengths.empty()) status.rssi = numbers.strengths.front();
            if (!status.noiseFloor && !numbers.noise.empty()) status.noiseFloor = numbers.noise.front();
        }
    }
    finishPeer();
    return status;
}

}  // namespace orvel
