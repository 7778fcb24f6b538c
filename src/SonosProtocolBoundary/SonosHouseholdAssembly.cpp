#include "SonosHouseholdAssembly.h"

#include <utility>

namespace orvel::household {

namespace {

// Radio figures are small signed numbers; anything wider is a misread, not a reading.
std::optional<int> radioFigure(const std::optional<std::int64_t>& value) {
    if (!value || *value < -1000 || *value > 1000) return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<std::string> nonEmpty(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

BondedSatellite describedSatellite(BondedSatellite satellite, const std::map<SpeakerUUID, DeviceDescription>& descriptions) {
    if (auto it = descriptions.find(satellite.id); it != descriptions.end()) {
        if (!satellite.modelNumber) satellite.modelNumber = nonEmpty(it->second.modelNumber);
        if (!satellite.displayName) satellite.displayName = nonEmpty(it->second.displayName);
    }
    return satellite;
}

}  // namespace

Speaker roomSpeaker(const ZoneGroupMember& member, const std::string& ip, const RoomReadings& readings,
                    const std::map<SpeakerUUID, DeviceDescription>& descriptions, const Speaker* previous) {
    std::vector<BondedSatellite> satellites;
    satellites.reserve(member.satellites.size());
    for (const auto& satellite : member.satellites) satellites.push_back(describedSatellite(satellite, descriptions));

    SpeakerModel model = SpeakerModel::unread();
    if (readings.description) {
        model = readings.description->model(readings.battery);
    } else if (previous) {
        model = previous->model;
    }

    std::optional<int> rssi;
    std::optional<int> noiseFloor;
    if (readings.radio) {
        rssi = radioFigure(readings.radio->rssi);
        noiseFloor = radioFigure(readings.radio->noiseFloor);
    }

    const DiscreteVolume volume = readings.volume ? *readings.volume : (previous ? previous->volume : DiscreteVolume());
    return Speaker{member.id,
                   member.roomName,
                   std::move(model),
                   ReachabilityState::online(ip, rssi, noiseFloor),
                   volume,
                   std::move(satellites)};
}

std::optional<GroupStatus> groupStatus(const GroupReadings& readings, DiscreteVolume fallbackVolume) {
    if (!readings.transport || !readings.position || !readings.media) return std::nullopt;
    PlaybackState playback =
        TransportService::playbackState(*readings.transport, *readings.position, *readings.media, readings.positionSampledAt, readings.upNext);
    return GroupStatus{std::move(playback), readings.groupVolume.value_or(fallbackVolume)};
}

ReconciledSpeakers reconcileSpeakers(const std::map<SpeakerUUID, Speaker>& listed, const std::set<SpeakerUUID>& answered,
                                     std::map<SpeakerUUID, RememberedSpeaker>& memory, Date now,
                                     Clock::Instant monotonicNow, std::chrono::nanoseconds offlineAfter) {
    ReconciledSpeakers out;
    for (const auto& [id, speaker] : listed) {
        if (answered.contains(id)) {
            memory.insert_or_assign(id, RememberedSpeaker{speaker, now, monotonicNow, true});
            out.speakers.emplace(id, speaker);
        } else if (!memory.contains(id)) {
            memory.emplace(id, RememberedSpeaker{speaker, now, monotonicNow, false});
        }
    }
    std::erase_if(memory, [&](const auto& entry) { return !entry.second.hasAnswered && !listed.contains(entry.first); });
    for (const auto& [id, remembered] : memory) {
        if (out.speakers.contains(id)) continue;
        if (!remembered.hasAnswered) {
            const Speaker& current = listed.at(id);
            out.speakers.emplace(id, current.with(ReachabilityState::offline(current.reachability.ip(), remembered.lastSeenAt)));
            continue;
        }
        const bool gone = monotonicNow - remembered.lastSeenMonotonic >= offlineAfter;
        if (!gone) {
            out.speakers.emplace(id, remembered.speaker);
            out.notAnswering.insert(id);
            continue;
        }
        const Speaker& last = remembered.speaker;
        if (last.reachability.isOffline()) {
            out.speakers.emplace(id, last);
        } else {
            out.speakers.emplace(id, last.with(ReachabilityState::offline(last.reachability.ip(), remembered.lastSeenAt)));
        }
    }
    return out;
}

RFPeerMatrix radioMatrix(const std::map<SpeakerUUID, RadioStatus>& readings, const std::set<SpeakerUUID>& speakers) {
    std::map<std::string, SpeakerUUID, std::less<>> byHardwareAddress;
    for (const auto& id : speakers) byHardwareAddress.emplace(std::string(id.macHex()), id);
    RFPeerMatrix matrix;
    for (const auto& [reporter, status] : readings) {
        if (!speakers.contains(reporter)) continue;
        for (const auto& peer : status.peers) {
            auto it = byHardwareAddress.find(peer.hardwareAddress);
            if (it == byHardwareAddress.end()) continue;
            matrix.record(reporter, it->second, peer.from, peer.to);
        }
    }
    return matrix;
}

bool isTelemetryDue(std::optional<Clock::Instant> lastRead, std::size_t roomsThen, Clock::Instant now,
                    std::size_t roomsNow, std::chrono::nanoseconds interval) {
    if (!lastRead) return true;
    if (roomsThen != roomsNow) return true;
    return now - *lastRead >= interval;
}

}  // namespace orvel::household
