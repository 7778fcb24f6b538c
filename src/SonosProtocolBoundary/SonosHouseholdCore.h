#pragma once

// The household controller's shared state, behind SonosHousehold. Every coroutine of the
// controller (the sweep loop, each command) holds the core by shared pointer, so the clients,
// caches and lanes stay alive until the last of its work has finished, even when the
// controller itself is gone. Everything runs on the thread that created the controller.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QCoroTask>

#include "OrvelDomain/CommandOutcome.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "SonosProtocolBoundary/Discovery.h"
#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SonosHouseholdAssembly.h"
#include "SonosProtocolBoundary/SonosHouseholdConfiguration.h"
#include "SonosProtocolBoundary/SonosHouseholdLog.h"
#include "SonosProtocolBoundary/SonosHouseholdSubscribers.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "SonosProtocolBoundary/StoredPresetList.h"
#include "SonosProtocolBoundary/TelemetryService.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "Support/CancellationToken.h"
#include "Support/Clock.h"
#include "Support/SerialLane.h"

namespace orvel::household {

using CommandResult = std::expected<CommandOutcome, SonosCommandError>;

class Core;

struct PositionReply {
    SpeakerAddress address;
    SOAPResponse reply;
    PositionInfo position;
};

// A coordinator's last reply to the up-next browse and the entries read from it.
struct BrowseReply {
    SpeakerAddress address;
    std::int64_t start = 0;
    SOAPResponse reply;
    std::vector<QueueItem> items;
};

struct GroupVolumeReading {
    std::map<SpeakerUUID, DiscreteVolume> members;
    DiscreteVolume volume;
};

// Reads the zone group state for discovery with the controller's own limits and logging.
class CoreTopologySource final : public TopologySource {
public:
    explicit CoreTopologySource(Core& core) : core_(core) {}
    QCoro::Task<std::optional<ZoneGroupState>> zoneGroupState(SpeakerAddress speaker) override;

private:
    Core& core_;
};

class Core {
public:
    Core(std::vector<std::string> seedIPs, SonosHouseholdConfiguration configuration, QString dataFolder,
         SonosHouseholdEnvironment environment);
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // --- talking to speakers ---

    // A SOAP call that logs its failure.
    QCoro::Task<SOAPResult> call(SpeakerAddress address, SOAPRequest request, HttpLimits limits);
    // `path` names a constant of the services: it outlives the request.
    QCoro::Task<HttpResult> get(SpeakerAddress address, std::string_view path, HttpLimits limits);
    // The zone group state from one speaker; none when it does not give a usable one. One that
    // lists too many speakers sets `topologyTooLargeAt`; a usable one clears it.
    QCoro::Task<std::optional<ZoneGroupState>> readZoneGroupState(SpeakerAddress address, HttpLimits limits);

    // Addresses to ask for the topology, best first: the speaker that answered last, every
    // speaker the household listed or remembers, then the seeds. No repeats.
    std::vector<SpeakerAddress> knownAddresses() const;
    // The speaker's address as last listed or remembered, and the speaker at an address.
    std::optional<SpeakerAddress> addressOf(const SpeakerUUID& speaker) const;
    std::optional<SpeakerUUID> speakerAt(const SpeakerAddress& address) const;
    // The zone group state from the known addresses, in order, without discovery; it updates
    // the cached state when one answers.
    QCoro::Task<std::optional<ZoneGroupState>> refreshTopology(HttpLimits limits);

    // --- the sweep loop ---

    void startSweeping(const std::shared_ptr<Core>& self);
    void stopSweeping();
    // Wakes a sleeping sweep loop so it takes up the pace of a running command at once.
    void wakeSweepLoop();
    void publishIfChanged(HouseholdSnapshot snapshot);
    HouseholdSnapshot emptySnapshot(Date now) const;
    // What the household keeps while it is lost: the speaker memory (for the offline form of
    // known speakers) but not its values, which are read again from whatever answers next.
    void forgetHouseholdValues();
    // The radio matrix of `rooms` from the radio readings; made again only when the readings or
    // the rooms changed, since the readings come about once a minute and sweeps every 2 s.
    RFPeerMatrix radioMatrixOf(const std::set<SpeakerUUID>& rooms);
    // The presets a snapshot shows: the readable ones of the stored list, none while unread.
    std::optional<std::vector<PresetPill>> publishedPresets() const;
    // The limits of a speaker's reads in a sweep: short for a speaker its last sweep did not
    // reach, so that one speaker that hangs never holds up the sweep of all the others.
    HttpLimits readLimitsFor(const SpeakerUUID& speaker) const;
    // Whether this sweep's reads reached the speaker.
    void noteReached(const SpeakerUUID& speaker, bool reached);

    // --- state ---

    const SonosHouseholdConfiguration configuration;
    const SonosHouseholdEnvironment environment;
    Clock& clock;
    HouseholdDebugLog log;
    HttpClient http;
    SOAPClient soap;

    std::shared_ptr<NetworkInterfaces> interfaces;
    std::shared_ptr<SSDPSearcher> ssdp;
    std::shared_ptr<ConnectProber> prober;
    CoreTopologySource topologySource;
    Discovery discovery;
    std::vector<SpeakerAddress> seeds;

    SnapshotSubscribers subscribers;
    std::optional<HouseholdSnapshot> latest;

    // The running loop's stop switch; absent while no loop runs.
    std::optional<CancellationSource> loopStop;
    // Replaced every time a command starts; a sleeping loop listens to it.
    CancellationSource commandStarted;
    Clock::Instant loopStartedAt{};
    int commandDepth = 0;
    int sweepsUnderWay = 0;
    std::uint64_t completedSweeps = 0;
    // Cancelled when the controller goes: nothing new starts, and the sweep loop ends.
    CancellationToken ownerEnded;

    // The household as last read.
    std::optional<ZoneGroupState> zoneState;
    std::optional<SpeakerAddress> topologyAnsweredBy;
    std::optional<Clock::Instant> lastTopologyAt;
    bool householdFound = false;

    std::map<SpeakerUUID, DeviceDescription> descriptions;
    std::map<SpeakerUUID, RememberedSpeaker> memory;
    std::map<SpeakerUUID, std::optional<BatteryTelemetry>> batteries;
    std::map<SpeakerUUID, RadioStatus> radio;
    // Raised whenever `radio` changes.
    std::uint64_t radioVersion = 0;
    struct RadioMatrixMemo {
        std::uint64_t radioVersion = 0;
        std::set<SpeakerUUID> rooms;
        RFPeerMatrix matrix;
    };
    std::optional<RadioMatrixMemo> radioMatrixMemo;
    std::optional<Clock::Instant> lastTelemetryAt;
    std::size_t roomsAtTelemetry = 0;
    std::map<GroupID, GroupStatus> lastStatus;
    // Each coordinator's last complete playback readings. A group that is not playing and
    // whose transport state and position read the same as then plays the same media and queue:
    // the sweep does not read those again.
    std::map<SpeakerUUID, GroupReadings> groupReadings;
    // Each coordinator's last position reply and its parsed form.
    std::map<SpeakerUUID, PositionReply> positionReplies;
    // Each coordinator's last up-next reply and its entries: a queue that did not change is
    // answered with the same reply sweep after sweep.
    std::map<SpeakerUUID, BrowseReply> browseReplies;
    // Each group's volume as last read, with the member volumes read in the same sweep.
    std::map<SpeakerUUID, GroupVolumeReading> groupVolumes;
    // Raised by every command, so a sweep that was reading while one ran keeps nothing as unchanged.
    std::uint64_t commandsStarted = 0;
    // The last zone group state read and its parsed form: an unchanged household sends the same one.
    std::optional<std::pair<SOAPResponse, ZoneGroupState>> lastZoneGroupReply;
    // The last zone group state refused as too large, so the same one is not parsed again.
    std::optional<SOAPResponse> lastTooLargeReply;
    // The speaker that last answered with a zone group state listing more speakers than are
    // taken; set until one that can be taken comes.
    std::optional<SpeakerAddress> topologyTooLargeAt;
    // Speakers (rooms and satellites) that the reads of their last sweep did not reach.
    std::set<SpeakerUUID> silent;

    // Household values kept on the speakers; absent until read. A system name that was never
    // set is read as absent, so `networkNameRead` tells "unread" from "not set". The preset
    // list is shared with the worker threads that read and write large ones.
    std::shared_ptr<const StoredPresetList> presets;
    std::optional<std::string> networkName;
    bool networkNameRead = false;
    // Raised by every command that writes a value, so a sweep's read that began before the
    // write does not put the old value back.
    std::uint64_t presetsVersion = 0;
    std::uint64_t networkNameVersion = 0;

    // Grouping commands, one at a time; household values, one at a time; and one lane for the
    // commands of each speaker.
    SerialLane topologyLane;
    SerialLane propertiesLane;
    std::map<SpeakerUUID, SerialLane> speakerLanes;
};

// One pass of the sweep loop: topology, readings, assembly, publishing. True when a command
// started while it read: it then publishes nothing, since its readings may be older than the
// command's effect.
QCoro::Task<bool> sweep(std::shared_ptr<Core> core, CancellationToken stop);
// Sweeps at the configured pace until `stop` is cancelled.
QCoro::Task<> sweepLoop(std::shared_ptr<Core> core, CancellationToken stop);

// The preset list as read. (A struct rather than a bare pointer: g++ 12 does not compile a QCoro
// task whose result is an expected of a shared_ptr.)
struct StoredPresetsRead {
    std::shared_ptr<const StoredPresetList> list;
};

// The preset list stored on the speakers, from the speaker at `address`; a large one is read on
// a worker thread. Unreadable entries are logged and kept.
QCoro::Task<std::expected<StoredPresetsRead, SOAPError>> readStoredPresets(std::shared_ptr<Core> core,
                                                                           SpeakerAddress address, HttpLimits limits);

// Carries out one command on its lane.
QCoro::Task<CommandResult> send(std::shared_ptr<Core> core, SonosCommand command);

}  // namespace orvel::household
