#include "SonosHouseholdCore.h"

#include <algorithm>
#include <utility>

#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/UPnPService.h"

namespace orvel::household {

namespace {

std::vector<SpeakerAddress> validSeeds(const std::vector<std::string>& seedIPs) {
    std::vector<SpeakerAddress> out;
    for (const auto& seed : seedIPs) {
        auto address = SpeakerAddress::make(seed);
        if (address && std::find(out.begin(), out.end(), *address) == out.end()) out.push_back(*address);
    }
    return out;
}

DiscoveryConfiguration discoveryOn(DiscoveryConfiguration configuration, std::uint16_t port) {
    configuration.port = port;
    return configuration;
}

// "GetString" without a value is how the speakers say a household value was never set.
bool isExpectedRefusal(const SOAPRequest& request, const SOAPError& error) {
    return request.action == "GetString" && error.isFaultWithCode(SystemPropertiesService::variableNotFound);
}

}  // namespace

QCoro::Task<std::optional<ZoneGroupState>> CoreTopologySource::zoneGroupState(SpeakerAddress speaker) {
    // Every speaker of a household answers with the same state: one refused as too large is
    // not asked for again of the others.
    if (core_.topologyTooLargeAt) co_return std::nullopt;
    auto reading = core_.readZoneGroupState(speaker, core_.environment.sweepReadLimits);
    co_return co_await std::move(reading);
}

Core::Core(std::vector<std::string> seedIPs, SonosHouseholdConfiguration configuration, QString dataFolder,
           SonosHouseholdEnvironment environment)
    : configuration(configuration),
      environment(std::move(environment)),
      clock(this->environment.clock != nullptr ? *this->environment.clock : Clock::system()),
      log(std::move(dataFolder), clock, this->environment.bundleIdentifier),
      // Time-outs run on the controller's clock too, so a speaker that hangs is timed out on it.
      http(clock),
      soap(http, this->environment.port),
      interfaces(this->environment.interfaces ? this->environment.interfaces
                                              : std::make_shared<SystemNetworkInterfaces>()),
      ssdp(this->environment.ssdp ? this->environment.ssdp : std::make_shared<UdpSSDPSearcher>()),
      prober(this->environment.prober ? this->environment.prober : std::make_shared<TcpConnectProber>()),
      topologySource(*this),
      discovery(*interfaces, *ssdp, *prober, topologySource, discoveryOn(this->environment.discovery, this->environment.port)),
      seeds(validSeeds(seedIPs)) {}

QCoro::Task<SOAPResult> Core::call(SpeakerAddress address, SOAPRequest request, HttpLimits limits) {
    auto calling = soap.call(address, request, limits);
    SOAPResult result = co_await std::move(calling);
    if (!result && !isExpectedRefusal(request, result.error())) {
        log.write("SOAP " + std::string(upnp::name(request.service)) + "#" + request.action + " to " + address.text() +
                  " failed: " + result.error().message());
    }
    co_return result;
}

QCoro::Task<HttpResult> Core::get(SpeakerAddress address, std::string_view path, HttpLimits limits) {
    const QUrl url = address.url(path, environment.port);
    auto getting = http.get(url, limits);
    HttpResult result = co_await std::move(getting);
    co_return result;
}

QCoro::Task<std::optional<ZoneGroupState>> Core::readZoneGroupState(SpeakerAddress address, HttpLimits limits) {
    auto calling = call(address, TopologyService::zoneGroupStateRequest(), limits);
    const SOAPResult reply = co_await std::move(calling);
    if (!reply) co_return std::nullopt;
    if (lastZoneGroupReply && lastZoneGroupReply->first == *reply) {
        topologyTooLargeAt.reset();
        co_return ZoneGroupState(lastZoneGroupReply->second);
    }
    if (lastTooLargeReply == *reply) {
        topologyTooLargeAt = address;
        co_return std::nullopt;
    }
    auto parsing = TopologyService::parseZoneGroupStateOffTheLoop(*reply);
    auto state = co_await std::move(parsing);
    if (!state) {
        log.write("Zone group state from " + address.text() + " is unusable: " + state.error().message);
        if (state.error().isTooLarge()) {
            topologyTooLargeAt = address;
            lastTooLargeReply = *reply;
        }
        co_return std::nullopt;
    }
    topologyTooLargeAt.reset();
    lastTooLargeReply.reset();
    lastZoneGroupReply.emplace(*reply, *state);
    co_return std::move(*state);
}

std::vector<SpeakerAddress> Core::knownAddresses() const {
    std::vector<SpeakerAddress> out;
    auto add = [&out](const SpeakerAddress& address) {
        if (std::find(out.begin(), out.end(), address) == out.end()) out.push_back(address);
    };
    if (topologyAnsweredBy) add(*topologyAnsweredBy);
    if (zoneState) {
        for (const auto* room : zoneState->rooms()) {
            if (room->address) add(*room->address);
        }
    }
    for (const auto& [id, remembered] : memory) {
        if (auto address = SpeakerAddress::make(remembered.speaker.reachability.ip())) add(*address);
    }
    for (const auto& seed : seeds) add(seed);
    return out;
}

std::optional<SpeakerAddress> Core::addressOf(const SpeakerUUID& speaker) const {
    if (zoneState) {
        if (auto it = zoneState->addresses.find(speaker); it != zoneState->addresses.end()) return it->second;
    }
    if (auto it = memory.find(speaker); it != memory.end()) {
        return SpeakerAddress::make(it->second.speaker.reachability.ip());
    }
    return std::nullopt;
}

std::optional<SpeakerUUID> Core::speakerAt(const SpeakerAddress& address) const {
    if (zoneState) {
        for (const auto& [id, known] : zoneState->addresses) {
            if (known == address) return id;
        }
    }
    for (const auto& [id, remembered] : memory) {
        if (remembered.speaker.reachability.ip() == address.text()) return id;
    }
    return std::nullopt;
}

QCoro::Task<std::optional<ZoneGroupState>> Core::refreshTopology(HttpLimits limits) {
    for (const auto& address : knownAddresses()) {
        auto reading = readZoneGroupState(address, limits);
        auto state = co_await std::move(reading);
        if (!state) continue;
        zoneState = *state;
        topologyAnsweredBy = address;
        co_return state;
    }
    co_return std::nullopt;
}

void Core::startSweeping(const std::shared_ptr<Core>& self) {
    if (ownerEnded.isCancelled() || loopStop) return;
    loopStop.emplace(ownerEnded);
    loopStartedAt = clock.monotonicNow();
    sweepLoop(self, loopStop->token());
}

void Core::stopSweeping() {
    if (!loopStop) return;
    // Moved out before cancelling: the loop may resume inside cancel() and finish there.
    auto stop = std::move(*loopStop);
    loopStop.reset();
    stop.cancel();
}

void Core::wakeSweepLoop() {
    auto started = std::exchange(commandStarted, CancellationSource());
    started.cancel();
}

void Core::publishIfChanged(HouseholdSnapshot snapshot) {
    if (latest && latest->isSemanticallyEquivalent(snapshot)) return;
    latest = snapshot;
    subscribers.publish(snapshot);
}

HouseholdSnapshot Core::emptySnapshot(Date now) const {
    return HouseholdSnapshot(now, {}, Topology::empty(), {}, RFPeerMatrix::empty(), std::nullopt, std::nullopt);
}

RFPeerMatrix Core::radioMatrixOf(const std::set<SpeakerUUID>& rooms) {
    if (!radioMatrixMemo || radioMatrixMemo->radioVersion != radioVersion || radioMatrixMemo->rooms != rooms) {
        radioMatrixMemo = RadioMatrixMemo{radioVersion, rooms, radioMatrix(radio, rooms)};
    }
    return radioMatrixMemo->matrix;
}

HttpLimits Core::readLimitsFor(const SpeakerUUID& speaker) const {
    return silent.contains(speaker) ? environment.silentSpeakerReadLimits : environment.sweepReadLimits;
}

void Core::noteReached(const SpeakerUUID& speaker, bool reached) {
    if (reached) {
        silent.erase(speaker);
    } else {
        silent.insert(speaker);
    }
}

void Core::forgetHouseholdValues() {
    zoneState.reset();
    topologyAnsweredBy.reset();
    presets.reset();
    networkName.reset();
    networkNameRead = false;
    lastTelemetryAt.reset();
    lastStatus.clear();
}

}  // namespace orvel::household
