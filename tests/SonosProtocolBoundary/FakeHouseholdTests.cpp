// Every reader against the shared fake household: what the fake speakers answer must read back
// into the values the household controller uses.
#include <gtest/gtest.h>

#include <QCoroTask>

#include "OrvelDomain/NowPlaying.h"
#include "OrvelDomain/NowPlayingTrack.h"
#include "OrvelDomain/PresetPill.h"
#include "SonosProtocolBoundary/Discovery.h"
#include "SonosProtocolBoundary/QueueService.h"
#include "SonosProtocolBoundary/SpotifyOnSonos.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"
#include "SonosProtocolBoundary/TelemetryService.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "SonosProtocolBoundary/VolumeService.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;
using namespace std::chrono_literals;
using fakes::FakeHousehold;
using fakes::FakeTarget;
using fakes::Malformation;

namespace {

class NoInterfaces final : public NetworkInterfaces {
public:
    std::vector<InterfaceAddress> ipv4Addresses() const override { return {}; }
};
class NoSSDP final : public SSDPSearcher {
public:
    int searches = 0;
    QCoro::Task<std::vector<SSDPReply>> search(QByteArray, std::chrono::milliseconds) override {
        ++searches;
        co_return {};
    }
};
class NoProbes final : public ConnectProber {
public:
    QCoro::Task<bool> canConnect(SpeakerAddress, std::uint16_t, std::chrono::milliseconds) override { co_return false; }
};

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
    HttpResult get(int index, std::string_view path) {
        return QCoro::waitFor(http_.get(address(index).url(path), HttpLimits::sweepRead()));
    }
    static std::string body(const HttpResponse& response) { return response.body.toStdString(); }

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

TEST(FakeHousehold, TopologyAndGrouping) {
    START_RIG(rig, 30);
    auto reply = rig.call(3, TopologyService::zoneGroupStateRequest());
    ASSERT_TRUE(reply) << reply.error().message();
    auto state = TopologyService::parseZoneGroupState(*reply);
    ASSERT_TRUE(state) << state.error().message;
    EXPECT_EQ(state->rooms().size(), 5u) << "the bonded sub is no room";
    const auto living = *SpeakerUUID::make(rig.id(0).toStdString());
    const auto kitchen = *SpeakerUUID::make(rig.id(1).toStdString());
    const auto office = *SpeakerUUID::make(rig.id(3).toStdString());
    EXPECT_EQ(state->topology.group(kitchen), GroupID(living));
    ASSERT_EQ(state->member(living)->satellites.size(), 1u);
    EXPECT_EQ(state->member(living)->satellites[0].role, SatelliteRole::subwoofer());
    EXPECT_EQ(state->member(living)->satellites[0].id.rawValue(), rig.id(5).toStdString());
    EXPECT_EQ(state->addresses.at(office), rig.address(3));

    // Each grouping step goes to the speaker it names first; the speakers carry it out and report it.
    auto regroup = [&](const TopologyStep& step) {
        const int index = rig.household_.speakerIds().indexOf(QString::fromStdString(step.firstSpeaker().rawValue()));
        auto sent = rig.call(index, TopologyService::stepRequest(step));
        EXPECT_TRUE(sent) << step.description() << ": " << (sent ? "" : sent.error().message());
        rig.household_.applyPendingGrouping();
        auto read = TopologyService::parseZoneGroupState(*rig.call(0, TopologyService::zoneGroupStateRequest()));
        EXPECT_TRUE(read);
        return read ? read->topology : Topology();
    };
    EXPECT_EQ(regroup(TopologyStep::join(office, living)).group(office), GroupID(living));
    auto delegated = regroup(TopologyStep::delegateCoordination(living, kitchen, true));
    EXPECT_EQ(delegated.group(living), GroupID(kitchen));
    EXPECT_EQ(delegated.group(office), GroupID(kitchen));
    auto after = regroup(TopologyStep::makeStandalone(office));
    EXPECT_EQ(after.group(office), GroupID(office));

    rig.household_.model().setLegacyTopologyRoot(true);
    auto legacy = TopologyService::parseZoneGroupState(*rig.call(0, TopologyService::zoneGroupStateRequest()));
    ASSERT_TRUE(legacy) << legacy.error().message;
    EXPECT_EQ(legacy->topology, after);
}

TEST(FakeHousehold, PlaybackVolumeAndQueue) {
    START_RIG(rig, 31);
    const Date at = Date::sinceReferenceDate(10);
    auto playbackOf = [&](int index) {
        auto transport = TransportService::parseTransportInfo(*rig.call(index, TransportService::transportInfoRequest()));
        auto position =
            TransportService::parsePositionInfo(*rig.call(index, TransportService::positionInfoRequest()), rig.address(index));
        auto media = TransportService::parseMediaInfo(*rig.call(index, TransportService::mediaInfoRequest()), rig.address(index));
        EXPECT_TRUE(transport && position && media);
        return transport && position && media ? TransportService::playbackState(*transport, *position, *media, at)
                                              : PlaybackState::stopped();
    };
    auto playback = playbackOf(0);
    ASSERT_TRUE(playback.isPlaying());
    EXPECT_EQ(playback.asPlaying()->elapsed, Duration::seconds(std::int64_t{65}));
    const auto& track = playback.nowPlaying()->asTrack()->track;
    EXPECT_EQ(track.title(), "Kitchen Radio");
    EXPECT_EQ(track.artist(), "Ada & The Tiles");
    EXPECT_EQ(track.queuePosition(), 2);
    EXPECT_TRUE(track.spotifyURI().has_value());
    EXPECT_EQ(track.artworkURL().value_or("").rfind("http://" + rig.address(0).text() + ":1400/getaa?", 0), 0u);
    auto radio = playbackOf(2);
    ASSERT_TRUE(radio.isPaused() && radio.nowPlaying()->isStream());
    EXPECT_EQ(radio.nowPlaying()->asStream()->title, "Harbour Lights - Low Tide");

    EXPECT_EQ(VolumeService::parseVolume(*rig.call(1, VolumeService::volumeRequest()))->rawValue(),
              rig.household_.model().speaker(rig.id(1)).volume);
    ASSERT_TRUE(rig.call(0, VolumeService::snapshotGroupVolumeRequest()));
    ASSERT_TRUE(rig.call(0, VolumeService::setGroupVolumeRequest(*DiscreteVolume::make(40))));
    EXPECT_EQ(VolumeService::parseVolume(*rig.call(0, VolumeService::groupVolumeRequest()))->rawValue(), 40);

    auto page = QueueService::parseBrowse(*rig.call(0, QueueService::browseRequest(2, 3)), 2, rig.address(0));
    ASSERT_TRUE(page) << page.error().message;
    EXPECT_EQ(page->totalMatches, 6);
    ASSERT_EQ(page->items.size(), 3u);
    EXPECT_EQ(page->items[0].queueNumber(), 3);
    EXPECT_EQ(page->items[1].title(), "Café Noir");
    EXPECT_EQ(page->items[1].duration(), Duration::seconds(std::int64_t{198}));

    // Commands are accepted as the speakers check them (service, action, arguments in order).
    rig.household_.clearRequests();
    const auto living = *SpeakerUUID::make(rig.id(0).toStdString());
    for (const auto& command : {TransportService::playQueueRequest(living), TransportService::seekToTrackRequest(4),
                                TransportService::playRequest(), TransportService::nextRequest(),
                                TransportService::previousRequest(), TransportService::seekRequest(Duration::seconds(std::int64_t{30})),
                                VolumeService::setVolumeRequest(*DiscreteVolume::make(12)), TransportService::pauseRequest()}) {
        auto result = rig.call(0, command);
        EXPECT_TRUE(result) << command.action << ": " << (result ? "" : result.error().message());
    }
    EXPECT_EQ(rig.household_.requestLog(rig.id(0)),
              (QStringList{"AVTransport#SetAVTransportURI", "AVTransport#Seek", "AVTransport#Play", "AVTransport#Next",
                           "AVTransport#Previous", "AVTransport#Seek", "RenderingControl#SetVolume", "AVTransport#Pause"}));
    EXPECT_EQ(VolumeService::parseVolume(*rig.call(0, VolumeService::volumeRequest()))->rawValue(), 12);
    EXPECT_EQ(TransportService::parseTransportInfo(*rig.call(0, TransportService::transportInfoRequest())), TransportState::paused);
}

TEST(FakeHousehold, PagesAccountsAndStrings) {
    START_RIG(rig, 32);
    auto description = rig.get(4, TelemetryService::deviceDescriptionPath);
    ASSERT_TRUE(description);
    auto device = TelemetryService::parseDeviceDescription(Rig::body(*description));
    ASSERT_TRUE(device) << device.error().message;
    EXPECT_EQ(device->roomName, "Bathroom");
    EXPECT_EQ(device->id, SpeakerUUID::make(rig.id(4).toStdString()));
    EXPECT_TRUE(SpeakerModel::isBatteryCapable(device->modelNumber));

    auto batteryPage = rig.get(4, TelemetryService::batteryStatusPath);
    ASSERT_TRUE(batteryPage);
    auto battery = TelemetryService::parseBatteryStatus(Rig::body(*batteryPage), Date::sinceReferenceDate(5));
    ASSERT_TRUE(battery) << battery.error().message;
    EXPECT_EQ(battery->levelPercent, rig.household_.model().speaker(rig.id(4)).battery->level);
    EXPECT_FALSE(battery->isOnCharger);
    EXPECT_TRUE(device->model(*battery).isRoam());
    auto noBattery = rig.get(1, TelemetryService::batteryStatusPath);
    ASSERT_TRUE(noBattery);
    EXPECT_EQ(noBattery->statusCode, 404);

    auto radioPage = rig.get(1, TelemetryService::radioStatusPath);
    ASSERT_TRUE(radioPage);
    auto radio = TelemetryService::parseRadioStatus(Rig::body(*radioPage));
    EXPECT_EQ(radio.noiseFloor, -95);
    EXPECT_GE(radio.peers.size(), 4u);
    const std::string kitchenPeer = std::string(SpeakerUUID::make(rig.id(0).toStdString())->macHex());
    bool heardLivingRoom = false;
    for (const auto& peer : radio.peers) heardLivingRoom = heardLivingRoom || (peer.hardwareAddress == kitchenPeer && peer.from == 38);
    EXPECT_TRUE(heardLivingRoom);

    auto accountsPage = rig.get(0, SpotifyOnSonos::accountsPath);
    ASSERT_TRUE(accountsPage);
    auto account = SpotifyOnSonos::parseAccounts(Rig::body(*accountsPage));
    ASSERT_TRUE(account) << account.error().message;
    EXPECT_EQ(*account, (SpotifyAccountOnSonos{3079, "2"}));

    auto name = SystemPropertiesService::stringValue(
        rig.call(1, SystemPropertiesService::getStringRequest(SystemPropertiesService::systemNameVariable)));
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "Fake Household");
    auto presets = SystemPropertiesService::stringValue(
        rig.call(1, SystemPropertiesService::getStringRequest(SystemPropertiesService::presetsVariable)));
    ASSERT_TRUE(presets) << presets.error().message();
    EXPECT_EQ(*presets, std::nullopt) << "never set";
    const std::vector<PresetPill> stored{PresetPill(PresetID::random(), "Downstairs & Kitchen",
                                                    *SpeakerUUID::make(rig.id(0).toStdString()),
                                                    {*SpeakerUUID::make(rig.id(1).toStdString())})};
    ASSERT_TRUE(rig.call(2, SystemPropertiesService::setPresetsRequest(stored)));
    auto text = SystemPropertiesService::stringValue(
        rig.call(0, SystemPropertiesService::getStringRequest(SystemPropertiesService::presetsVariable)));
    ASSERT_TRUE(text && *text);
    EXPECT_EQ(SystemPropertiesService::parsePresetList(**text), stored);

    // The enqueue request is one the speakers accept.
    auto item = *SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
    auto added = rig.call(0, SpotifyOnSonos::addToQueueRequest(item, {"Song", "Band", std::nullopt, std::nullopt, std::nullopt},
                                                           **account, 3));
    ASSERT_TRUE(added) << added.error().message();
    EXPECT_EQ(SpotifyOnSonos::parseAddToQueue(*added), 3);
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
