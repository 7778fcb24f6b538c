// The protocol layer against the shared fake household where the household tests do not reach:
// the older topology form, every kind of broken answer, and discovery from one seed.
#include <gtest/gtest.h>

#include <QCoroTask>

#include "SonosProtocolBoundary/Discovery.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "fakes/FakeHousehold.h"
#include "SonosProtocolBoundary/DiscoveryStubs.h"

using namespace orvel;
using orvel::testing::NoInterfaces;
using orvel::testing::NoProbes;
using orvel::testing::NoSSDP;
using namespace std::chrono_literals;
using fakes::FakeHousehold;
using fakes::FakeTarget;
using fakes::Malformation;

namespace {


// Six rooms on 127.77.<block>.2 and up: a Beam with a Five bonded as its sub, grouped with the
// kitchen and playing a queue; a paused radio in the bedroom; a Roam with a battery. Every test
// takes its own block, since ctest runs the tests of this binary side by side.
class Rig {
public:
    explicit Rig(int block) : household_(QHostAddress(QStringLiteral("127.77.%1.2").arg(block)), 6) {
        household_.seedDemoContent();
        household_.model().bond(id(0), id(5), fakes::SatelliteRole::Subwoofer);
        started_ = household_.start();
    }

    bool started() const { return started_; }
    QString id(int index) const { return household_.speakerId(index); }
    SpeakerAddress address(int index) const {
        return *SpeakerAddress::make(household_.address(id(index)).toString().toStdString());
    }
    SOAPResult call(int index, SOAPRequest request) {
        return QCoro::waitFor(soap_.call(address(index), std::move(request), HttpLimits::sweepRead()));
    }

    FakeHousehold household_;
    HttpClient http_;
    SOAPClient soap_{http_};

private:
    bool started_ = false;
};

#define START_RIG(name, block)                                              \
    Rig name(block);                                                        \
    ASSERT_TRUE(name.started()) << name.household_.errorString().toStdString()

}  // namespace

TEST(FakeHousehold, OlderSpeakersTopologyReadsTheSame) {
    START_RIG(rig, 30);
    auto current = TopologyService::parseZoneGroupState(*rig.call(3, TopologyService::zoneGroupStateRequest()));
    ASSERT_TRUE(current) << current.error().message;
    EXPECT_EQ(current->rooms().size(), 5u) << "the bonded sub is no room";
    rig.household_.model().setLegacyTopologyRoot(true);
    auto legacy = TopologyService::parseZoneGroupState(*rig.call(0, TopologyService::zoneGroupStateRequest()));
    ASSERT_TRUE(legacy) << legacy.error().message;
    EXPECT_EQ(*legacy, *current);
}

TEST(FakeHousehold, BadAnswersAreTypedFailuresNeverCrashes) {
    START_RIG(rig, 33);
    const QString zgs = "ZoneGroupTopology#GetZoneGroupState";
    using Arrange = std::function<void(FakeHousehold&, const QString&)>;
    const auto malformed = [&](Malformation m) -> Arrange {
        return [&zgs, m](FakeHousehold& h, const QString& s) { h.malformReplies(FakeTarget::action(zgs, s), m); };
    };
    const auto unreachable = [](fakes::Reachability r) -> Arrange {
        return [r](FakeHousehold& h, const QString& s) { h.setReachability(s, r); };
    };
    const auto unreadable = [](const SOAPResult& r) {
        return (!r && r.error().isMalformedReply()) || (r && !TopologyService::parseZoneGroupState(*r));
    };
    const auto transport = [](std::optional<TransportError::Kind> kind) {
        return [kind](const SOAPResult& r) {
            return !r && r.error().isTransport() && (!kind || r.error().asTransport().kind == *kind);
        };
    };
    struct Case { const char* name; Arrange arrange; std::function<bool(const SOAPResult&)> expected; };
    const std::vector<Case> cases = {
        {"fault", [&](FakeHousehold& h, const QString& s) { h.failRequests(FakeTarget::action(zgs, s), 701); },
         [](const SOAPResult& r) { return !r && r.error().isFaultWithCode(701); }},
        {"truncated", malformed(Malformation::Truncated), unreadable},
        {"not XML", malformed(Malformation::NotXml), unreadable},
        {"empty", malformed(Malformation::Empty), unreadable},
        {"broken embedded document", malformed(Malformation::BrokenEmbeddedDocument), unreadable},
        {"oversized", malformed(Malformation::Oversized), transport(TransportError::Kind::bodyTooLarge)},
        {"refused", unreachable(fakes::Reachability::Refused), transport(TransportError::Kind::connectionRefused)},
        {"dropping", unreachable(fakes::Reachability::Dropping), transport(std::nullopt)},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const QString speaker = rig.id(static_cast<int>(i % 5));
        rig.household_.clearTrouble();
        for (int k = 0; k < 5; ++k) rig.household_.setReachability(rig.id(k), fakes::Reachability::Reachable);
        cases[i].arrange(rig.household_, speaker);
        const int index = rig.household_.speakerIds().indexOf(speaker);
        auto result = rig.call(index, TopologyService::zoneGroupStateRequest());
        EXPECT_TRUE(cases[i].expected(result)) << cases[i].name << ": " << (result ? "answered" : result.error().message());
    }

    rig.household_.clearTrouble();
    rig.household_.setReachability(rig.id(3), fakes::Reachability::Silent);
    auto silent = QCoro::waitFor(rig.soap_.call(rig.address(3), TopologyService::zoneGroupStateRequest(), HttpLimits{200ms, 400ms}));
    ASSERT_FALSE(silent);
    EXPECT_EQ(silent.error().asTransport().kind, TransportError::Kind::timedOut);
}

TEST(FakeHousehold, OneSeedFindsTheWholeHousehold) {
    START_RIG(rig, 34);
    NoInterfaces interfaces;
    NoSSDP ssdp;
    NoProbes prober;
    SOAPTopologySource topology(rig.soap_);
    Discovery discovery(interfaces, ssdp, prober, topology);
    rig.household_.setReachability(rig.id(1), fakes::Reachability::Refused);

    auto found = QCoro::waitFor(discovery.findHousehold({rig.address(1).text(), rig.address(4).text()}));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->answeredBy, rig.address(4));
    EXPECT_EQ(found->state.rooms().size(), 5u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(found->state.addresses.at(*SpeakerUUID::make(rig.id(i).toStdString())), rig.address(i)) << i;
    }
    EXPECT_EQ(ssdp.searches, 0);
}
