#include <gtest/gtest.h>

#include <map>
#include <set>

#include <QCoroTask>
#include <QTimer>
#include <qcoro/qcorosignal.h>

#include "SonosProtocolBoundary/Discovery.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

// Interfaces and sweeps use addresses outside loopback, as discovery skips loopback: they are
// only computed here, the SSDP searcher and the prober are fakes, and nothing is ever sent.
std::uint32_t ip(const char* text) { return SpeakerAddress::make(text)->toIPv4(); }
SpeakerAddress address(const char* text) { return *SpeakerAddress::make(text); }

class FakeInterfaces final : public NetworkInterfaces {
public:
    std::vector<InterfaceAddress> addresses;
    std::vector<InterfaceAddress> ipv4Addresses() const override { return addresses; }
};

class FakeSSDP final : public SSDPSearcher {
public:
    std::vector<SSDPReply> replies;
    std::vector<QByteArray> requests;
    QCoro::Task<std::vector<SSDPReply>> search(QByteArray request, std::chrono::milliseconds) override {
        requests.push_back(request);
        co_return replies;
    }
};

// Answers after a turn of the event loop, so probes really overlap and the bound shows.
class FakeProber final : public ConnectProber {
public:
    std::set<SpeakerAddress> open;
    std::vector<SpeakerAddress> probed;
    int inFlight = 0;
    int maxInFlight = 0;
    QCoro::Task<bool> canConnect(SpeakerAddress target, std::uint16_t port, std::chrono::milliseconds) override {
        EXPECT_EQ(port, 1400);
        probed.push_back(target);
        maxInFlight = std::max(maxInFlight, ++inFlight);
        QTimer turn;
        turn.setSingleShot(true);
        turn.start(0);
        co_await qCoro(&turn, &QTimer::timeout);
        --inFlight;
        co_return open.contains(target);
    }
};

ZoneGroupState household(const char* room) {
    auto member = *SpeakerUUID::make("RINCON_000E58A0000101400");
    ZoneGroupState state;
    state.groups.push_back({"g", member, {{member, room, std::nullopt, {}}}});
    state.topology = *Topology::make({{member, member}});
    return state;
}

class FakeTopology final : public TopologySource {
public:
    std::map<SpeakerAddress, ZoneGroupState> answers;
    std::vector<SpeakerAddress> asked;
    QCoro::Task<std::optional<ZoneGroupState>> zoneGroupState(SpeakerAddress speaker) override {
        asked.push_back(speaker);
        auto it = answers.find(speaker);
        if (it == answers.end()) co_return std::nullopt;
        co_return it->second;
    }
};

SSDPReply ssdpReply(const char* location, const char* sender) {
    return {QByteArray("HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age = 1800\r\nEXT:\r\nLOCATION: ") + location +
                "\r\nSERVER: Linux UPnP/1.0 Sonos/79.1\r\nST: urn:schemas-upnp-org:device:ZonePlayer:1\r\n\r\n",
            ip(sender)};
}

struct Rig {
    FakeInterfaces interfaces;
    FakeSSDP ssdp;
    FakeProber prober;
    FakeTopology topology;
    Discovery discovery{interfaces, ssdp, prober, topology, DiscoveryConfiguration{1500ms, 500ms, 8, 1400}};

    std::optional<DiscoveryResult> find(std::vector<std::string> seeds) {
        return QCoro::waitFor(discovery.findHousehold(std::move(seeds)));
    }
};

}  // namespace

namespace orvel {
inline void PrintTo(const SpeakerAddress& address, std::ostream* os) { *os << address.text(); }
}  // namespace orvel

TEST(Discovery, SweepTargetsStayWithinTheLocalSlash24) {
    struct Case {
        const char* name;
        std::vector<InterfaceAddress> interfaces;
        std::size_t count;
        std::optional<const char*> first, last;
    };
    // Pure subnet arithmetic: these addresses are computed with, never sent to.
    const std::vector<Case> cases = {
        {"a /24", {{ip("203.0.113.7"), 24, false}}, 253, "203.0.113.1", "203.0.113.254"},
        {"a /16 sweeps only its own /24", {{ip("198.51.100.9"), 16, false}}, 253, "198.51.100.1", "198.51.100.254"},
        {"a /28", {{ip("203.0.113.20"), 28, false}}, 13, "203.0.113.17", "203.0.113.30"},
        {"a /32", {{ip("203.0.113.20"), 32, false}}, 0, std::nullopt, std::nullopt},
        {"loopback by flag", {{ip("198.18.2.7"), 24, true}}, 0, std::nullopt, std::nullopt},
        {"loopback by address", {{ip("127.0.0.1"), 8, false}}, 0, std::nullopt, std::nullopt},
        {"two addresses in one /24", {{ip("198.18.2.7"), 24, false}, {ip("198.18.2.8"), 24, false}}, 252, "198.18.2.1",
         "198.18.2.254"},
        {"two networks in interface order",
         {{ip("198.51.100.9"), 24, false}, {ip("127.0.0.1"), 8, true}, {ip("198.18.2.7"), 24, false}},
         506, "198.51.100.1", "198.18.2.254"},
        {"a nonsense prefix", {{ip("198.18.2.7"), 40, false}}, 0, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        auto targets = Discovery::sweepTargets(c.interfaces);
        ASSERT_EQ(targets.size(), c.count) << c.name;
        if (c.first) {
            EXPECT_EQ(targets.front().text(), *c.first) << c.name;
            EXPECT_EQ(targets.back().text(), *c.last) << c.name;
        }
        for (const auto& target : targets) {
            EXPECT_FALSE(target.isLoopback()) << c.name;
            for (const auto& own : c.interfaces) EXPECT_NE(target.toIPv4(), own.ip) << c.name;
        }
    }
}

TEST(Discovery, SSDPRepliesGiveOnlyTheirSendersAddress) {
    struct Case { const char* name; SSDPReply reply; std::optional<std::string> address; };
    const std::vector<Case> cases = {
        {"a speaker", ssdpReply("http://127.0.9.30:1400/xml/device_description.xml", "127.0.9.30"), "127.0.9.30"},
        {"lower-case header", {"HTTP/1.1 200 OK\r\nlocation: http://127.0.9.31:1400/x\r\n\r\n", ip("127.0.9.31")}, "127.0.9.31"},
        {"points elsewhere", ssdpReply("http://127.0.9.1:1400/xml/device_description.xml", "127.0.9.30"), std::nullopt},
        {"host name", ssdpReply("http://speaker.local:1400/x", "127.0.9.30"), std::nullopt},
        {"not http", ssdpReply("https://127.0.9.30:1400/x", "127.0.9.30"), std::nullopt},
        {"credentials in the URL", ssdpReply("http://user@127.0.9.30:1400/x", "127.0.9.30"), std::nullopt},
        {"no location", {"HTTP/1.1 200 OK\r\nST: x\r\n\r\n", ip("127.0.9.30")}, std::nullopt},
        {"garbage", {QByteArray("\xFF\x00\x01", 3), ip("127.0.9.30")}, std::nullopt},
    };
    for (const auto& c : cases) {
        auto found = Discovery::addressFromSSDPReply(c.reply);
        EXPECT_EQ(found ? std::optional(found->text()) : std::nullopt, c.address) << c.name;
    }
}

TEST(Discovery, SeedsComeFirst) {
    Rig rig;
    rig.interfaces.addresses = {{ip("198.18.2.7"), 24, false}};  // a fake interface: nothing is sent
    rig.topology.answers.emplace(address("127.0.8.3"), household("Kitchen"));
    auto found = rig.find({"not an address", "127.0.8.2", "127.0.8.3", "127.0.8.4"});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->phase, DiscoveryResult::Phase::seed);
    EXPECT_EQ(found->answeredBy.text(), "127.0.8.3");
    EXPECT_EQ(found->state.groups[0].members[0].roomName, "Kitchen");
    EXPECT_EQ(rig.topology.asked, (std::vector<SpeakerAddress>{address("127.0.8.2"), address("127.0.8.3")}));
    EXPECT_TRUE(rig.ssdp.requests.empty());
    EXPECT_TRUE(rig.prober.probed.empty());
}

TEST(Discovery, ThenSSDPThenTheSweep) {
    // Fake interfaces, SSDP replies and probes: the sweep needs a network outside loopback, and
    // nothing is ever sent to it.
    Rig rig;
    rig.interfaces.addresses = {{ip("127.0.0.1"), 8, true}, {ip("198.18.2.7"), 24, false}};
    rig.ssdp.replies = {
        ssdpReply("http://198.18.2.40:1400/xml/device_description.xml", "198.18.2.40"),
        ssdpReply("http://198.18.2.40:1400/xml/device_description.xml", "198.18.2.40"),
    };
    rig.prober.open = {address("198.18.2.200"), address("198.18.2.40"), address("198.18.2.150")};
    rig.topology.answers.emplace(address("198.18.2.200"), household("Office"));

    auto found = rig.find({"127.0.8.2"});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->phase, DiscoveryResult::Phase::sweep);
    EXPECT_EQ(found->answeredBy.text(), "198.18.2.200");

    ASSERT_EQ(rig.ssdp.requests.size(), 1u);
    EXPECT_EQ(rig.ssdp.requests[0],
              "M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\nMAN: \"ssdp:discover\"\r\nMX: 1\r\n"
              "ST: urn:schemas-upnp-org:device:ZonePlayer:1\r\n\r\n");
    // Each address is asked once: the SSDP answer that failed is not asked again after the sweep.
    EXPECT_EQ(rig.topology.asked, (std::vector<SpeakerAddress>{address("127.0.8.2"), address("198.18.2.40"),
                                                               address("198.18.2.150"), address("198.18.2.200")}));
    EXPECT_EQ(rig.prober.probed.size(), 253u);
    EXPECT_EQ(rig.prober.maxInFlight, 8) << "the sweep keeps its concurrency bound";
}

TEST(Discovery, NothingAnswers) {
    Rig rig;
    rig.interfaces.addresses = {{ip("203.0.113.20"), 30, false}};  // a fake interface and prober: nothing is sent
    EXPECT_FALSE(rig.find({}));
    EXPECT_EQ(rig.prober.probed.size(), 2u);
}
