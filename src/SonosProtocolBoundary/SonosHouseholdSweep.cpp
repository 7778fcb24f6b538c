// The sweep loop: at its pace, find the household's topology, read every room and group, and
// publish the assembled snapshot when it shows something new.

#include <algorithm>
#include <utility>

#include "OrvelDomain/PresetPill.h"
#include "SonosProtocolBoundary/LargeReplyParsing.h"
#include "SonosProtocolBoundary/QueueService.h"
#include "SonosProtocolBoundary/SonosHouseholdCore.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/TelemetryService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "SonosProtocolBoundary/VolumeService.h"
#include "Support/Sleep.h"

namespace orvel::household {

namespace {

// What one room's reads need to know.
struct RoomJob {
    SpeakerUUID id;
    SpeakerAddress address;
    bool needsDescription = false;
    // Known from an earlier description; decides whether the battery page is asked for.
    std::optional<std::string> modelNumber;
    bool isCoordinator = false;
    bool readTelemetry = false;
    // The coordinator's last complete playback readings.
    std::optional<GroupReadings> previous;
    // Short for a speaker that did not answer its last sweep, so it cannot hold this one up.
    HttpLimits limits;
};

struct RoomResult {
    // Some reply could be used.
    bool answered = false;
    // A read did not reach the speaker; its other reads were left out.
    bool unreached = false;
    std::optional<DeviceDescription> description;
    std::optional<DiscreteVolume> volume;
    GroupReadings group;
    // Present when the page was asked for and answered: a reading, or none (no battery).
    std::optional<std::optional<BatteryTelemetry>> battery;
    std::optional<RadioStatus> radio;
    bool groupComplete = false;
};

struct PropertyResult {
    std::shared_ptr<const StoredPresetList> presets;
    std::uint64_t presetsVersion = 0;
    // Present when the name was read: the name, or none when it was never set.
    std::optional<std::optional<std::string>> networkName;
    std::uint64_t networkNameVersion = 0;
};

std::string_view bodyOf(const HttpResponse& response) {
    return {response.body.constData(), static_cast<std::size_t>(response.body.size())};
}

const char* phaseName(DiscoveryResult::Phase phase) {
    switch (phase) {
    case DiscoveryResult::Phase::seed: return "a known address";
    case DiscoveryResult::Phase::ssdp: return "the multicast search";
    case DiscoveryResult::Phase::sweep: return "the subnet sweep";
    }
    return "discovery";
}

bool isStopped(const Core& core, const CancellationToken& stop) {
    return stop.isCancelled() || core.ownerEnded.isCancelled();
}

void noteUnusable(Core& core, std::string_view what, const SpeakerAddress& address, const std::string& message) {
    core.log.write(std::string(what) + " from " + address.text() + " is unusable: " + message);
}

// One speaker's reads in one sweep, made one after another. The first read that does not reach
// the speaker at all (refused, closed, timed out, a reply stream that cannot be read) ends them:
// the speaker does not answer this sweep, and asking it more would only hold the sweep up.
// Whether it answered counts only replies that could be used: a speaker that answers every
// request with a refusal or with nonsense is not there for the household.
class SpeakerReads {
public:
    SpeakerReads(std::shared_ptr<Core> core, SpeakerAddress address, HttpLimits limits)
        : core_(std::move(core)), address_(std::move(address)), limits_(limits) {}

    QCoro::Task<SOAPResult> call(SOAPRequest request) {
        if (unreached_) co_return std::unexpected(SOAPError::transport(notAsked()));
        auto calling = core_->call(address_, std::move(request), limits_);
        SOAPResult result = co_await std::move(calling);
        if (!result && result.error().isTransport()) noteFailure(result.error().asTransport());
        co_return result;
    }
    // `path` names a constant of the services: it outlives the request.
    QCoro::Task<HttpResult> get(std::string_view path) {
        if (unreached_) co_return std::unexpected(notAsked());
        auto getting = core_->get(address_, path, limits_);
        HttpResult result = co_await std::move(getting);
        if (!result) noteFailure(result.error());
        co_return result;
    }
    void used() { answered_ = true; }

    bool answered() const { return answered_; }
    bool unreached() const { return unreached_; }
    const SpeakerAddress& address() const { return address_; }
    const std::shared_ptr<Core>& core() const { return core_; }

private:
    static TransportError notAsked() { return TransportError::networkFailure("not asked: no answer this sweep"); }
    // A reply too large to take came from a speaker that answers; anything else did not reach it.
    void noteFailure(const TransportError& error) {
        if (error.kind != TransportError::Kind::bodyTooLarge) unreached_ = true;
    }

    std::shared_ptr<Core> core_;
    SpeakerAddress address_;
    HttpLimits limits_;
    bool answered_ = false;
    bool unreached_ = false;
};

QCoro::Task<std::optional<DeviceDescription>> readDescription(SpeakerReads& reads) {
    auto getting = reads.get(TelemetryService::deviceDescriptionPath);
    const HttpResult page = co_await std::move(getting);
    if (!page || page->statusCode != 200) co_return std::nullopt;
    auto job = [body = page->body] {
        return TelemetryService::parseDeviceDescription(std::string_view(body.constData(), static_cast<std::size_t>(body.size())));
    };
    auto parsing = parseOffTheLoopWhenLarge(static_cast<std::size_t>(page->body.size()), std::move(job));
    auto parsed = co_await std::move(parsing);
    if (!parsed) {
        noteUnusable(*reads.core(), "Device description", reads.address(), parsed.error().message);
        co_return std::nullopt;
    }
    reads.used();
    co_return std::move(*parsed);
}

struct GroupRead {
    // Every reading asked for was read: the next sweep may take what did not change from it.
    bool complete = false;
    GroupReadings readings;
};

// Whether the group plays what it played at the last complete reading: it is not playing, and
// its transport state and position read the same. Its media is then that of then.
bool playsAsBefore(const GroupReadings& now, const std::optional<GroupReadings>& previous) {
    return previous && now.transport && now.transport == previous->transport &&
           *now.transport != TransportState::playing && now.position && now.position == previous->position &&
           previous->media;
}

QCoro::Task<GroupRead> readGroup(SpeakerReads& reads, RoomJob job, CancellationToken stop) {
    GroupRead read;
    GroupReadings& out = read.readings;
    Core& core = *reads.core();
    auto readingTransport = reads.call(TransportService::transportInfoRequest());
    const SOAPResult transport = co_await std::move(readingTransport);
    if (transport) {
        if (auto state = TransportService::parseTransportInfo(*transport)) {
            out.transport = *state;
            reads.used();
        } else {
            noteUnusable(core, "Transport state", job.address, state.error().message);
        }
    }
    if (isStopped(core, stop)) co_return read;
    auto readingPosition = reads.call(TransportService::positionInfoRequest());
    const SOAPResult position = co_await std::move(readingPosition);
    out.positionSampledAt = core.clock.now();
    if (position) {
        // A paused group answers with the same position sweep after sweep.
        const auto last = core.positionReplies.find(job.id);
        if (last != core.positionReplies.end() && last->second.address == job.address && last->second.reply == *position) {
            out.position = last->second.position;
        } else if (auto info = TransportService::parsePositionInfo(*position, job.address)) {
            out.position = *info;
            core.positionReplies.insert_or_assign(job.id, PositionReply{job.address, *position, std::move(*info)});
        } else {
            noteUnusable(core, "Position", job.address, info.error().message);
        }
        if (out.position) reads.used();
    }
    if (isStopped(core, stop)) co_return read;
    const bool asBefore = playsAsBefore(out, job.previous);
    bool complete = out.transport && out.position;
    if (asBefore) {
        out.media = job.previous->media;
        out.upNext = job.previous->upNext;
    } else {
        auto readingMedia = reads.call(TransportService::mediaInfoRequest());
        const SOAPResult media = co_await std::move(readingMedia);
        if (media) {
            if (auto info = TransportService::parseMediaInfo(*media, job.address)) {
                out.media = std::move(*info);
                reads.used();
            } else {
                noteUnusable(core, "Media", job.address, info.error().message);
            }
        }
        complete = complete && out.media;
    }
    const bool playsQueue = out.media && out.media->source && out.media->source->isSonosQueue();
    const bool holdsTrack = out.transport && *out.transport != TransportState::stopped;
    // Read even for a group that plays as before: an edit of the entries after a paused track
    // changes neither the transport state nor the position.
    if (playsQueue && holdsTrack && out.position && out.position->track && core.environment.upNextLength > 0 &&
        !isStopped(core, stop)) {
        // The entries after the current one; the speakers count from 0, queue numbers from 1.
        const std::int64_t start = *out.position->track;
        auto browsing = reads.call(QueueService::browseRequest(start, core.environment.upNextLength));
        const SOAPResult page = co_await std::move(browsing);
        const auto last = core.browseReplies.find(job.id);
        if (page && last != core.browseReplies.end() && last->second.address == job.address &&
            last->second.start == start && last->second.reply == *page) {
            out.upNext = last->second.items;
            reads.used();
        } else if (page) {
            if (auto parsed = QueueService::parseBrowse(*page, start, job.address)) {
                out.upNext = std::move(parsed->items);
                core.browseReplies.insert_or_assign(job.id, BrowseReply{job.address, start, *page, out.upNext});
                reads.used();
            } else {
                complete = false;
                noteUnusable(core, "Queue", job.address, parsed.error().message);
            }
        } else {
            complete = false;
        }
    }
    read.complete = complete && !isStopped(core, stop);
    co_return read;
}

// The group volume from the coordinator, into the coordinator's readings.
QCoro::Task<> readGroupVolume(std::shared_ptr<Core> core, SpeakerAddress address, std::shared_ptr<RoomResult> out) {
    auto reading = core->call(address, VolumeService::groupVolumeRequest(), core->environment.sweepReadLimits);
    const SOAPResult volume = co_await std::move(reading);
    if (!volume) co_return;
    if (auto level = VolumeService::parseVolume(*volume)) {
        out->group.groupVolume = *level;
    } else {
        noteUnusable(*core, "Group volume", address, level.error().message);
    }
}

struct TelemetryRead {
    // Present when the page was asked for and answered: a reading, or none (no battery).
    std::optional<std::optional<BatteryTelemetry>> battery;
    std::optional<RadioStatus> radio;
};

QCoro::Task<TelemetryRead> readTelemetry(SpeakerReads& reads, std::optional<std::string> modelNumber, Date sampledAt) {
    TelemetryRead read;
    if (modelNumber && SpeakerModel::isBatteryCapable(*modelNumber)) {
        auto readingBattery = reads.get(TelemetryService::batteryStatusPath);
        const HttpResult page = co_await std::move(readingBattery);
        if (page && page->statusCode == 200) {
            auto reading = TelemetryService::parseBatteryStatus(bodyOf(*page), sampledAt);
            if (!reading) noteUnusable(*reads.core(), "Battery status", reads.address(), reading.error().message);
            read.battery = reading ? std::optional(*reading) : std::nullopt;
            if (reading) reads.used();
        } else if (page) {
            read.battery = std::optional<BatteryTelemetry>();
        }
    } else {
        read.battery = std::optional<BatteryTelemetry>();
    }
    auto readingRadio = reads.get(TelemetryService::radioStatusPath);
    const HttpResult page = co_await std::move(readingRadio);
    if (page) {
        // A missing page gives no readings; the map then places rooms by name alone.
        read.radio = page->statusCode == 200 ? TelemetryService::parseRadioStatus(bodyOf(*page)) : RadioStatus{};
        if (page->statusCode == 200) reads.used();
    }
    co_return read;
}

// Every read of one room, one after another, so a speaker sees one request at a time.
QCoro::Task<> readRoom(std::shared_ptr<Core> core, RoomJob job, std::shared_ptr<RoomResult> out, CancellationToken stop) {
    SpeakerReads reads(core, job.address, job.limits);
    std::optional<std::string> modelNumber = job.modelNumber;
    if (job.needsDescription) {
        auto describing = readDescription(reads);
        out->description = co_await std::move(describing);
        if (out->description) modelNumber = out->description->modelNumber;
    }
    if (!isStopped(*core, stop)) {
        auto reading = reads.call(VolumeService::volumeRequest());
        const SOAPResult volume = co_await std::move(reading);
        if (volume) {
            if (auto level = VolumeService::parseVolume(*volume)) {
                out->volume = *level;
                reads.used();
            } else {
                noteUnusable(*core, "Volume", job.address, level.error().message);
            }
        }
    }
    if (job.isCoordinator && !isStopped(*core, stop)) {
        auto readingGroup = readGroup(reads, job, stop);
        GroupRead group = co_await std::move(readingGroup);
        out->group = std::move(group.readings);
        out->groupComplete = group.complete;
    }
    if (job.readTelemetry && !isStopped(*core, stop)) {
        auto readingTelemetry = readTelemetry(reads, modelNumber, core->clock.now());
        TelemetryRead telemetry = co_await std::move(readingTelemetry);
        out->battery = std::move(telemetry.battery);
        out->radio = std::move(telemetry.radio);
    }
    out->answered = reads.answered();
    out->unreached = reads.unreached();
}

struct SatelliteRead {
    std::optional<DeviceDescription> description;
    bool unreached = false;
};

QCoro::Task<> readSatellite(std::shared_ptr<Core> core, SpeakerAddress address, HttpLimits limits,
                            std::shared_ptr<SatelliteRead> out) {
    SpeakerReads reads(core, std::move(address), limits);
    auto describing = readDescription(reads);
    out->description = co_await std::move(describing);
    out->unreached = reads.unreached();
}

// The household values that are still unread, from the speaker that gave the topology.
QCoro::Task<> readProperties(std::shared_ptr<Core> core, SpeakerAddress address, bool wantPresets, bool wantName,
                             std::shared_ptr<PropertyResult> out) {
    const HttpLimits limits = core->environment.sweepReadLimits;
    if (wantPresets) {
        out->presetsVersion = core->presetsVersion;
        auto reading = readStoredPresets(core, address, limits);
        auto stored = co_await std::move(reading);
        if (stored) out->presets = std::move(stored->list);
    }
    if (wantName) {
        out->networkNameVersion = core->networkNameVersion;
        auto reading = core->call(
            address, SystemPropertiesService::getStringRequest(SystemPropertiesService::systemNameVariable), limits);
        const SOAPResult reply = co_await std::move(reading);
        if (auto value = SystemPropertiesService::stringValue(reply)) out->networkName = std::move(*value);
    }
}

void loseHousehold(Core& core, Date now, Clock::Instant monotonicNow) {
    if (core.householdFound) {
        core.householdFound = false;
        core.log.write("Household lost: no speaker answered with the zone group state");
        core.forgetHouseholdValues();
    }
    const Clock::Instant since = std::max(core.lastTopologyAt.value_or(core.loopStartedAt), core.loopStartedAt);
    if (monotonicNow - since >= core.configuration.offlineAfter) core.publishIfChanged(core.emptySnapshot(now));
}

// The household's topology: while the household answers with more speakers than are taken,
// from the speaker that answered so, and no other; else through discovery, the speakers that
// did not answer their last sweep tried last.
QCoro::Task<std::optional<DiscoveryResult>> findTopology(std::shared_ptr<Core> core) {
    if (const std::optional<SpeakerAddress> refusing = std::exchange(core->topologyTooLargeAt, std::nullopt)) {
        auto reading = core->readZoneGroupState(*refusing, core->environment.sweepReadLimits);
        std::optional<ZoneGroupState> state = co_await std::move(reading);
        if (state) co_return DiscoveryResult{DiscoveryResult::Phase::seed, *refusing, std::move(*state)};
        if (core->topologyTooLargeAt) co_return std::nullopt;
    }
    std::vector<std::string> candidates;
    std::vector<std::string> quiet;
    for (const auto& address : core->knownAddresses()) {
        const std::optional<SpeakerUUID> speaker = core->speakerAt(address);
        (speaker && core->silent.contains(*speaker) ? quiet : candidates).push_back(address.text());
    }
    candidates.insert(candidates.end(), quiet.begin(), quiet.end());
    auto finding = core->discovery.findHousehold(std::move(candidates));
    co_return co_await std::move(finding);
}

}  // namespace

namespace {

class SweepUnderWay {
public:
    explicit SweepUnderWay(Core& core) : core_(core) { ++core_.sweepsUnderWay; }
    ~SweepUnderWay() { --core_.sweepsUnderWay; }
    SweepUnderWay(const SweepUnderWay&) = delete;
    SweepUnderWay& operator=(const SweepUnderWay&) = delete;

private:
    Core& core_;
};

}  // namespace

QCoro::Task<bool> sweep(std::shared_ptr<Core> core, CancellationToken stop) {
    const SweepUnderWay underWay(*core);
    // Readings taken before a command starts may show what the command has changed since.
    const std::uint64_t commandsBefore = core->commandsStarted;
    auto finding = findTopology(core);
    std::optional<DiscoveryResult> found = co_await std::move(finding);
    if (isStopped(*core, stop)) co_return false;
    if (!found) {
        // A household that answers with more speakers than are taken is there all the same: the
        // last picture of it stays.
        if (!core->topologyTooLargeAt) loseHousehold(*core, core->clock.now(), core->clock.monotonicNow());
        ++core->completedSweeps;
        co_return false;
    }

    const Clock::Instant startedAt = core->clock.monotonicNow();
    const ZoneGroupState state = found->state;
    const std::vector<const ZoneGroupMember*> rooms = state.rooms();
    const bool justFound = !core->householdFound;
    if (justFound) {
        core->householdFound = true;
        core->log.write("Household found through " + std::string(phaseName(found->phase)) + " at " +
                        found->answeredBy.text() + ": " + std::to_string(rooms.size()) + " room" +
                        (rooms.size() == 1 ? "" : "s"));
    }
    core->zoneState = state;
    core->topologyAnsweredBy = found->answeredBy;
    core->lastTopologyAt = startedAt;

    // The sweep that finds the household reads only what the window shows first, so the
    // household shows sooner; battery and radio pages follow with the next sweep (the map keeps
    // the remembered radio readings until then).
    const bool telemetryDue = !justFound && isTelemetryDue(core->lastTelemetryAt, core->roomsAtTelemetry, startedAt,
                                                           rooms.size(), core->configuration.telemetryInterval);
    std::set<SpeakerUUID> coordinators;
    for (const auto& group : state.groups) coordinators.insert(group.coordinator);

    // Every room and every undescribed satellite at once; each speaker's own reads in order.
    std::vector<std::pair<SpeakerUUID, std::shared_ptr<RoomResult>>> results;
    std::map<SpeakerUUID, std::string> roomIPs;
    std::vector<QCoro::Task<>> running;
    for (const ZoneGroupMember* room : rooms) {
        std::optional<SpeakerAddress> address = room->address ? room->address : core->addressOf(room->id);
        if (address) roomIPs[room->id] = address->text();
        if (!address) continue;
        RoomJob job{room->id, *address, false, std::nullopt, false, false, std::nullopt, core->readLimitsFor(room->id)};
        if (auto it = core->descriptions.find(room->id); it != core->descriptions.end()) {
            job.modelNumber = it->second.modelNumber;
        } else {
            job.needsDescription = true;
        }
        if (coordinators.contains(room->id)) {
            job.isCoordinator = true;
            if (auto last = core->groupReadings.find(room->id); last != core->groupReadings.end()) {
                job.previous = last->second;
            }
        }
        job.readTelemetry = telemetryDue;
        auto result = std::make_shared<RoomResult>();
        results.emplace_back(room->id, result);
        running.push_back(readRoom(core, std::move(job), result, stop));
    }
    std::vector<std::pair<SpeakerUUID, std::shared_ptr<SatelliteRead>>> satellites;
    for (const ZoneGroupMember* room : rooms) {
        for (const auto& satellite : room->satellites) {
            if (core->descriptions.contains(satellite.id)) continue;
            auto address = state.addresses.find(satellite.id);
            if (address == state.addresses.end()) continue;
            auto result = std::make_shared<SatelliteRead>();
            satellites.emplace_back(satellite.id, result);
            running.push_back(readSatellite(core, address->second, core->readLimitsFor(satellite.id), result));
        }
    }
    auto properties = std::make_shared<PropertyResult>();
    const bool wantPresets = !core->presets;
    const bool wantName = !core->networkNameRead;
    if (wantPresets || wantName) {
        running.push_back(readProperties(core, found->answeredBy, wantPresets, wantName, properties));
    }
    for (auto& task : running) co_await task;
    if (isStopped(*core, stop)) co_return false;

    // A group's volume follows from its members' volumes (a lone speaker's is its own): it is
    // asked for only when a member's volume reads differently from when it was last asked for.
    std::map<SpeakerUUID, std::shared_ptr<RoomResult>> resultOf(results.begin(), results.end());
    std::map<SpeakerUUID, GroupVolumeReading> groupVolumes;
    std::vector<std::pair<SpeakerUUID, std::map<SpeakerUUID, DiscreteVolume>>> askedFor;
    std::vector<QCoro::Task<>> groupVolumeReads;
    for (const auto& group : state.groups) {
        const auto coordinator = resultOf.find(group.coordinator);
        if (group.members.size() < 2 || coordinator == resultOf.end() || !coordinator->second->answered) continue;
        std::map<SpeakerUUID, DiscreteVolume> members;
        for (const auto& member : group.members) {
            const auto result = resultOf.find(member.id);
            if (result != resultOf.end() && result->second->volume) members.emplace(member.id, *result->second->volume);
        }
        const bool allRead = members.size() == group.members.size();
        const auto last = core->groupVolumes.find(group.coordinator);
        if (allRead && last != core->groupVolumes.end() && last->second.members == members) {
            coordinator->second->group.groupVolume = last->second.volume;
            groupVolumes.insert(*last);
            continue;
        }
        const std::optional<SpeakerAddress> address = core->addressOf(group.coordinator);
        if (!address) continue;
        groupVolumeReads.push_back(readGroupVolume(core, *address, coordinator->second));
        if (allRead) askedFor.emplace_back(group.coordinator, std::move(members));
    }
    for (auto& task : groupVolumeReads) co_await task;
    if (isStopped(*core, stop)) co_return false;
    for (auto& [id, members] : askedFor) {
        if (auto volume = resultOf.at(id)->group.groupVolume) groupVolumes.insert_or_assign(id, GroupVolumeReading{std::move(members), *volume});
    }

    // Fold the readings into what the household remembers.
    std::set<SpeakerUUID> answered;
    for (const auto& [id, address] : state.addresses) {
        if (address == found->answeredBy) answered.insert(id);
    }
    for (const auto& [id, result] : results) {
        if (result->answered) answered.insert(id);
        if (result->description) core->descriptions.insert_or_assign(id, *result->description);
        if (result->battery) core->batteries.insert_or_assign(id, *result->battery);
        if (result->radio) {
            core->radio.insert_or_assign(id, *result->radio);
            ++core->radioVersion;
        }
        core->noteReached(id, !result->unreached);
    }
    for (const auto& [id, read] : satellites) {
        if (read->description) core->descriptions.insert_or_assign(id, *read->description);
        core->noteReached(id, !read->unreached);
    }
    // Only this sweep's coordinators, and only readings no command may have overtaken.
    std::map<SpeakerUUID, GroupReadings> groupReadings;
    if (core->commandsStarted == commandsBefore) {
        for (const auto& [id, result] : results) {
            if (result->groupComplete) groupReadings.emplace(id, result->group);
        }
    }
    core->groupReadings = std::move(groupReadings);
    if (core->commandsStarted != commandsBefore) groupVolumes.clear();
    core->groupVolumes = std::move(groupVolumes);
    if (telemetryDue) {
        core->lastTelemetryAt = startedAt;
        core->roomsAtTelemetry = rooms.size();
    }
    if (properties->presets && properties->presetsVersion == core->presetsVersion) core->presets = properties->presets;
    if (properties->networkName && properties->networkNameVersion == core->networkNameVersion) {
        core->networkName = *properties->networkName;
        core->networkNameRead = true;
    }

    if (core->commandsStarted != commandsBefore) {
        ++core->completedSweeps;
        co_return true;
    }

    // Assemble.
    const Date now = core->clock.now();
    std::map<SpeakerUUID, Speaker> listed;
    std::map<SpeakerUUID, const RoomResult*> byRoom;
    for (const auto& [id, result] : results) byRoom[id] = result.get();
    for (const ZoneGroupMember* room : rooms) {
        RoomReadings readings;
        if (auto it = core->descriptions.find(room->id); it != core->descriptions.end()) readings.description = it->second;
        if (auto it = core->batteries.find(room->id); it != core->batteries.end()) readings.battery = it->second;
        if (auto it = core->radio.find(room->id); it != core->radio.end()) readings.radio = it->second;
        if (auto it = byRoom.find(room->id); it != byRoom.end()) readings.volume = it->second->volume;
        const auto remembered = core->memory.find(room->id);
        const Speaker* previous = remembered == core->memory.end() ? nullptr : &remembered->second.speaker;
        const auto ip = roomIPs.find(room->id);
        listed.emplace(room->id, roomSpeaker(*room, ip == roomIPs.end() ? std::string() : ip->second, readings,
                                             core->descriptions, previous));
    }

    HouseholdSnapshot::StatusMap statuses;
    for (const auto& group : state.groups) {
        const GroupID id(group.coordinator);
        std::optional<GroupStatus> status;
        if (auto it = byRoom.find(group.coordinator); it != byRoom.end()) {
            const auto coordinator = listed.find(group.coordinator);
            status = groupStatus(it->second->group, coordinator == listed.end() ? DiscreteVolume() : coordinator->second.volume);
        }
        if (!status) {
            // A coordinator that did not answer keeps showing what it played last.
            if (auto last = core->lastStatus.find(id); last != core->lastStatus.end()) status = last->second;
        }
        if (status) statuses.insert_or_assign(id, *status);
    }
    core->lastStatus = statuses;

    std::set<SpeakerUUID> roomIDs;
    for (const ZoneGroupMember* room : rooms) roomIDs.insert(room->id);
    ReconciledSpeakers speakers = reconcileSpeakers(listed, answered, core->memory, now, core->clock.monotonicNow(),
                                                    core->configuration.offlineAfter);
    HouseholdSnapshot snapshot(now, std::move(speakers.speakers), state.topology, std::move(statuses),
                               core->radioMatrixOf(roomIDs), core->publishedPresets(), core->networkName);
    core->publishIfChanged(std::move(snapshot).markingNotAnswering(std::move(speakers.notAnswering)));
    ++core->completedSweeps;
    co_return false;
}

QCoro::Task<> sweepLoop(std::shared_ptr<Core> core, CancellationToken stop) {
    while (!isStopped(*core, stop)) {
        const Clock::Instant passStart = core->clock.monotonicNow();
        bool overtaken = false;
        if (core->commandDepth == 0) {
            auto sweeping = sweep(core, stop);
            overtaken = co_await std::move(sweeping);
            if (isStopped(*core, stop)) break;
        }
        // A sweep that a command overtook published nothing: the next one follows soon.
        const std::chrono::nanoseconds pace = core->commandDepth > 0 || overtaken ? core->environment.busyPace
                                                                                   : core->configuration.sweepInterval;
        // The sleep ends early when the loop is stopped or a command starts, so a command's
        // faster pace begins at once.
        CancellationSource pass(stop);
        CancellationSource* passSource = &pass;
        const CancellationRegistration wake = core->commandStarted.token().onCancel([passSource] { passSource->cancel(); });
        const Clock::Instant wakeAt = passStart + pace;
        auto sleeping = sleepUntil(core->clock, wakeAt, pass.token());
        co_await std::move(sleeping);
    }
}

}  // namespace orvel::household
