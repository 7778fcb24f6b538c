#include "Discovery.h"

#include <algorithm>
#include <memory>
#include <set>


namespace orvel {

QCoro::Task<std::optional<ZoneGroupState>> SOAPTopologySource::zoneGroupState(SpeakerAddress speaker) {
    auto callTask = client_.call(speaker, TopologyService::zoneGroupStateRequest(), HttpLimits::sweepRead());
    const SOAPResult reply = co_await std::move(callTask);
    if (!reply) co_return std::nullopt;
    auto parsing = TopologyService::parseZoneGroupStateOffTheLoop(*reply);
    auto state = co_await std::move(parsing);
    if (!state) co_return std::nullopt;
    co_return std::move(*state);
}

Discovery::Discovery(NetworkInterfaces& interfaces, SSDPSearcher& ssdp, ConnectProber& prober, TopologySource& topology,
                     DiscoveryConfiguration configuration)
    : interfaces_(interfaces), ssdp_(ssdp), prober_(prober), topology_(topology), configuration_(configuration) {
    configuration_.sweepConcurrency = std::clamp(configuration_.sweepConcurrency, 1, 254);
}

QByteArray Discovery::searchRequest() {
    return "M-SEARCH * HTTP/1.1\r\n"
           "HOST: 239.255.255.250:1900\r\n"
           "MAN: \"ssdp:discover\"\r\n"
           "MX: 1\r\n"
           "ST: urn:schemas-upnp-org:device:ZonePlayer:1\r\n"
           "\r\n";
}

std::optional<SpeakerAddress> Discovery::addressFromSSDPReply(const SSDPReply& reply) {
    const QList<QByteArray> lines = reply.datagram.split('\n');
    if (lines.isEmpty() || !lines.front().trimmed().startsWith("HTTP/1.1 200")) return std::nullopt;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || line.left(colon).trimmed().toLower() != "location") continue;
        const QByteArray value = line.mid(colon + 1).trimmed();
        auto address = speakerAddressFromLocation(std::string_view(value.constData(), static_cast<std::size_t>(value.size())));
        if (!address || address->toIPv4() != reply.sender) return std::nullopt;
        return address;
    }
    return std::nullopt;
}

std::vector<SpeakerAddress> Discovery::sweepTargets(const std::vector<InterfaceAddress>& interfaces) {
    std::vector<SpeakerAddress> out;
    std::set<std::uint32_t> seen;
    std::set<std::uint32_t> own;
    for (const auto& interface : interfaces) own.insert(interface.ip);
    for (const auto& interface : interfaces) {
        if (interface.isLoopback || (interface.ip >> 24) == 127) continue;
        if (interface.prefixLength < 0 || interface.prefixLength > 32) continue;
        const int prefix = std::max(interface.prefixLength, 24);
        const std::uint32_t mask = prefix == 32 ? 0xFFFFFFFFu : ~(0xFFFFFFFFu >> prefix);
        const std::uint32_t network = interface.ip & mask;
        const std::uint32_t broadcast = network | ~mask;
        for (std::uint64_t host = network; host <= broadcast; ++host) {
            const auto ip = static_cast<std::uint32_t>(host);
            // A /31 has no network or broadcast address; a /32 has no other host.
            if (prefix <= 30 && (ip == network || ip == broadcast)) continue;
            if (own.contains(ip) || !seen.insert(ip).second) continue;
            if (auto address = SpeakerAddress::fromIPv4(ip)) out.push_back(*address);
        }
    }
    return out;
}

QCoro::Task<std::vector<SpeakerAddress>> Discovery::ssdpCandidates() {
    auto searchTask = ssdp_.search(searchRequest(), configuration_.ssdpWindow);
    const std::vector<SSDPReply> replies = co_await std::move(searchTask);
    std::vector<SpeakerAddress> out;
    for (const auto& reply : replies) {
        auto address = addressFromSSDPReply(reply);
        if (address && std::find(out.begin(), out.end(), *address) == out.end()) out.push_back(*address);
    }
    co_return out;
}

namespace {

struct SweepState {
    std::vector<SpeakerAddress> targets;
    std::size_t next = 0;
    std::vector<SpeakerAddress> open;
};

// One of the sweep's workers: probes targets until none are left. The state is shared, and the
// event loop runs one worker at a time, so no lock is needed.
QCoro::Task<> sweepWorker(std::shared_ptr<SweepState> state, ConnectProber& prober, std::uint16_t port,
                          std::chrono::milliseconds timeout) {
    while (state->next < state->targets.size()) {
        const SpeakerAddress target = state->targets[state->next++];
        auto probing = prober.canConnect(target, port, timeout);
        if (co_await std::move(probing)) state->open.push_back(target);
    }
}

}  // namespace

QCoro::Task<std::vector<SpeakerAddress>> Discovery::sweepCandidates() {
    auto state = std::make_shared<SweepState>();
    state->targets = sweepTargets(interfaces_.ipv4Addresses());
    const std::size_t workers = std::min<std::size_t>(static_cast<std::size_t>(configuration_.sweepConcurrency),
                                                      state->targets.size());
    std::vector<QCoro::Task<>> running;
    running.reserve(workers);
    for (std::size_t i = 0; i < workers; ++i) {
        running.push_back(sweepWorker(state, prober_, configuration_.port, configuration_.probeTimeout));
    }
    for (auto& worker : running) co_await worker;
    std::sort(state->open.begin(), state->open.end());
    co_return std::move(state->open);
}

QCoro::Task<Discovery::Attempt> Discovery::tryEach(std::vector<SpeakerAddress> candidates,
                                                   DiscoveryResult::Phase phase, std::vector<SpeakerAddress> tried) {
    for (const auto& candidate : candidates) {
        if (std::find(tried.begin(), tried.end(), candidate) != tried.end()) continue;
        tried.push_back(candidate);
        auto zoneGroupStateTask = topology_.zoneGroupState(candidate);
        auto state = co_await std::move(zoneGroupStateTask);
        if (state) co_return Attempt{DiscoveryResult{phase, candidate, std::move(*state)}, std::move(tried)};
    }
    co_return Attempt{std::nullopt, std::move(tried)};
}

QCoro::Task<std::optional<DiscoveryResult>> Discovery::findHousehold(std::vector<std::string> seeds) {
    std::vector<SpeakerAddress> seedAddresses;
    for (const auto& seed : seeds) {
        if (auto address = SpeakerAddress::make(seed)) seedAddresses.push_back(*address);
    }
    auto trySeeds = tryEach(std::move(seedAddresses), DiscoveryResult::Phase::seed, {});
    Attempt seeded = co_await std::move(trySeeds);
    if (seeded.found) co_return std::move(seeded.found);
    auto searching = ssdpCandidates();
    std::vector<SpeakerAddress> answered = co_await std::move(searching);
    auto trySearched = tryEach(std::move(answered), DiscoveryResult::Phase::ssdp, std::move(seeded.tried));
    Attempt searched = co_await std::move(trySearched);
    if (searched.found) co_return std::move(searched.found);
    auto sweeping = sweepCandidates();
    std::vector<SpeakerAddress> open = co_await std::move(sweeping);
    auto trySwept = tryEach(std::move(open), DiscoveryResult::Phase::sweep, std::move(searched.tried));
    Attempt swept = co_await std::move(trySwept);
    co_return std::move(swept.found);
}

}  // namespace orvel
