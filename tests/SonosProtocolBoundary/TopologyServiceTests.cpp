#include <gtest/gtest.h>

#include "SonosProtocolBoundary/TopologyService.h"

using namespace orvel;

namespace {

SpeakerUUID id(const char* raw) { return *SpeakerUUID::make(raw); }

const char* const arc = "RINCON_000E58A0000101400";
const char* const rearL = "RINCON_000E58A0000201400";
const char* const rearR = "RINCON_000E58A0000301400";
const char* const sub = "RINCON_000E58A0000401400";
const char* const kitchenL = "RINCON_000E58B0000101400";
const char* const kitchenR = "RINCON_000E58B0000201400";
const char* const office = "RINCON_000E58C0000101400";
const char* const bedroom = "RINCON_000E58D0000101400";

std::string location(const char* ip) { return std::string("http://") + ip + ":1400/xml/device_description.xml"; }

// A household as speakers report it: a home theatre with surrounds and a sub, a stereo pair
// leading a group with the office, and a bedroom alone.
std::string household() {
    std::string doc = "<ZoneGroupState><ZoneGroups>";
    doc += std::string("<ZoneGroup Coordinator=\"") + arc + "\" ID=\"" + arc + ":57\">";
    doc += std::string("<ZoneGroupMember UUID=\"") + arc + "\" Location=\"" + location("127.0.1.10") +
           "\" ZoneName=\"Living Room\" Invisible=\"0\" SoftwareVersion=\"79.1\" HTSatChanMapSet=\"" + arc +
           ":LF,RF;" + rearL + ":LR;" + rearR + ":RR;" + sub + ":SW\">";
    doc += std::string("<Satellite UUID=\"") + rearL + "\" Location=\"" + location("127.0.1.11") +
           "\" ZoneName=\"Living Room\" Invisible=\"1\"/>";
    doc += std::string("<Satellite UUID=\"") + rearR + "\" Location=\"" + location("127.0.1.12") +
           "\" ZoneName=\"Living Room\" Invisible=\"1\"/>";
    doc += std::string("<Satellite UUID=\"") + sub + "\" Location=\"http://[::1]:1400/x\" ZoneName=\"Living Room\" Invisible=\"1\"/>";
    doc += "</ZoneGroupMember></ZoneGroup>";
    doc += std::string("<ZoneGroup Coordinator=\"") + kitchenL + "\" ID=\"" + kitchenL + ":12\">";
    doc += std::string("<ZoneGroupMember UUID=\"") + kitchenL + "\" Location=\"" + location("127.0.1.20") +
           "\" ZoneName=\"Kitchen &amp; Dining\" ChannelMapSet=\"" + kitchenL + ":LF,LF;" + kitchenR + ":RF,RF\"/>";
    doc += std::string("<ZoneGroupMember UUID=\"") + kitchenR + "\" Location=\"" + location("127.0.1.21") +
           "\" ZoneName=\"Kitchen &amp; Dining\" Invisible=\"1\" ChannelMapSet=\"" + kitchenL + ":LF,LF;" + kitchenR +
           ":RF,RF\"/>";
    doc += std::string("<ZoneGroupMember UUID=\"") + office + "\" Location=\"" + location("127.0.1.30") +
           "\" ZoneName=\"Office\"/>";
    doc += "</ZoneGroup>";
    doc += std::string("<ZoneGroup Coordinator=\"") + bedroom + "\" ID=\"" + bedroom + ":3\">";
    doc += std::string("<ZoneGroupMember UUID=\"") + bedroom + "\" Location=\"http://speaker.local:1400/x\" ZoneName=\"Bedroom\"/>";
    doc += "</ZoneGroup></ZoneGroups><VanishedDevices/></ZoneGroupState>";
    return doc;
}

BondedSatellite satellite(const char* satelliteID, const char* parent, SatelliteRole role) {
    return BondedSatellite{id(satelliteID), id(parent), role, std::nullopt, std::nullopt, true, std::nullopt};
}

}  // namespace

TEST(TopologyService, ReadsRoomsGroupsAddressesAndSatellites) {
    auto state = TopologyService::parseZoneGroupStateDocument(household());
    ASSERT_TRUE(state) << state.error().message;

    ASSERT_EQ(state->groups.size(), 3u);
    EXPECT_EQ(state->groups[0].id, std::string(arc) + ":57");
    ASSERT_EQ(state->rooms().size(), 4u);
    EXPECT_EQ(state->groups[1].members[0].roomName, "Kitchen & Dining");
    EXPECT_EQ(state->groups[1].members[1].id, id(office));

    auto expectedTopology = Topology::make({{id(arc), id(arc)},
                                            {id(kitchenL), id(kitchenL)},
                                            {id(office), id(kitchenL)},
                                            {id(bedroom), id(bedroom)}});
    EXPECT_EQ(state->topology, *expectedTopology);

    const auto* living = state->member(id(arc));
    ASSERT_NE(living, nullptr);
    EXPECT_EQ(living->satellites, (std::vector<BondedSatellite>{
                                      satellite(rearL, arc, SatelliteRole::rearLeft()),
                                      satellite(rearR, arc, SatelliteRole::rearRight()),
                                      satellite(sub, arc, SatelliteRole::subwoofer()),
                                  }));
    EXPECT_EQ(state->member(id(kitchenL))->satellites,
              (std::vector<BondedSatellite>{satellite(kitchenR, kitchenL, SatelliteRole::stereoRight())}));
    EXPECT_TRUE(state->member(id(office))->satellites.empty());
    EXPECT_EQ(state->member(id(rearL)), nullptr) << "satellites are not rooms";

    // Only plain IPv4 locations give addresses: the sub's IPv6 and the bedroom's host name do not.
    EXPECT_EQ(state->addresses.at(id(arc)).text(), "127.0.1.10");
    EXPECT_EQ(state->addresses.at(id(rearL)).text(), "127.0.1.11");
    EXPECT_EQ(state->addresses.at(id(kitchenR)).text(), "127.0.1.21");
    EXPECT_FALSE(state->addresses.contains(id(sub)));
    EXPECT_FALSE(state->addresses.contains(id(bedroom)));
    EXPECT_EQ(state->member(id(bedroom))->address, std::nullopt);
}

TEST(TopologyService, AcceptsTheOlderRootAndTheEscapedReply) {
    std::string older = household();
    older = older.substr(std::string("<ZoneGroupState>").size());
    older = older.substr(0, older.find("<VanishedDevices/>"));
    auto fromOlder = TopologyService::parseZoneGroupStateDocument(older);
    ASSERT_TRUE(fromOlder) << fromOlder.error().message;
    EXPECT_EQ(*fromOlder, *TopologyService::parseZoneGroupStateDocument(household()));

    SOAPResponse reply{{{"ZoneGroupState", household()}}};
    auto fromReply = TopologyService::parseZoneGroupState(reply);
    ASSERT_TRUE(fromReply);
    EXPECT_EQ(fromReply->rooms().size(), 4u);
    EXPECT_FALSE(TopologyService::parseZoneGroupState(SOAPResponse{}));
    const std::string broken = household().substr(0, household().size() / 2);
    EXPECT_FALSE(TopologyService::parseZoneGroupState(SOAPResponse{{{"ZoneGroupState", broken}}})) << "a broken embedded document";

    auto empty = TopologyService::parseZoneGroupStateDocument("<ZoneGroupState><ZoneGroups/></ZoneGroupState>");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->topology.isEmpty());
}

TEST(TopologyService, BadDocumentsAreErrors) {
    const std::string member = std::string("<ZoneGroupMember UUID=\"") + bedroom + "\" ZoneName=\"Bedroom\"/>";
    auto group = [](const std::string& coordinator, const std::string& members) {
        return "<ZoneGroups><ZoneGroup Coordinator=\"" + coordinator + "\" ID=\"x\">" + members + "</ZoneGroup></ZoneGroups>";
    };
    struct Case {
        const char* name;
        std::string document;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"truncated", household().substr(0, household().size() / 2), "malformed XML"},
        {"wrong root", "<Groups/>", "root <Groups>"},
        {"state without groups", "<ZoneGroupState/>", "lacks <ZoneGroups>"},
        {"coordinator missing", "<ZoneGroups><ZoneGroup ID=\"x\">" + member + "</ZoneGroup></ZoneGroups>", "lacks Coordinator"},
        {"coordinator not a member", group(office, member), "none of its rooms"},
        {"coordinator only a satellite", group(office, member + "<ZoneGroupMember UUID=\"" + office +
                                                           "\" ZoneName=\"Office\" Invisible=\"1\"/>"),
         "none of its rooms"},
        {"bad member id", group(bedroom, member + "<ZoneGroupMember UUID=\"RINCON_xyz\" ZoneName=\"Office\"/>"),
         "not a speaker id"},
        {"room without a name", group(bedroom, member + "<ZoneGroupMember UUID=\"" + office + "\"/>"), "lacks ZoneName"},
        {"room in two groups", "<ZoneGroups><ZoneGroup Coordinator=\"" + std::string(bedroom) + "\">" + member +
                                   "</ZoneGroup><ZoneGroup Coordinator=\"" + bedroom + "\">" + member +
                                   "</ZoneGroup></ZoneGroups>",
         "listed in two groups"},
        {"satellite with a bad id", group(bedroom, "<ZoneGroupMember UUID=\"" + std::string(bedroom) +
                                                       "\" ZoneName=\"Bedroom\"><Satellite UUID=\"nope\"/></ZoneGroupMember>"),
         "not a speaker id"},
        {"doctype", "<!DOCTYPE ZoneGroups><ZoneGroups/>", "document type declaration"},
        {"non-UTF-8 room name", group(bedroom, std::string("<ZoneGroupMember UUID=\"") + bedroom + "\" ZoneName=\"B\xFF\"/>"),
         "not valid UTF-8"},
    };
    for (const auto& c : cases) {
        auto result = TopologyService::parseZoneGroupStateDocument(c.document);
        ASSERT_FALSE(result) << c.name;
        EXPECT_NE(result.error().message.find(c.reason), std::string::npos) << c.name << ": " << result.error().message;
    }
}

TEST(TopologyService, SatellitesWithoutATellableRoleAreLeftOut) {
    std::string doc = std::string("<ZoneGroups><ZoneGroup Coordinator=\"") + arc + "\"><ZoneGroupMember UUID=\"" + arc +
                      "\" ZoneName=\"Living Room\" HTSatChanMapSet=\"" + arc + ":LF,RF;garbage;" + rearL +
                      ":LR;RINCON_bad:RR;" + sub + ":XX\"><Satellite UUID=\"" + rearL + "\"/><Satellite UUID=\"" +
                      sub + "\"/><Satellite UUID=\"" + rearR + "\"/></ZoneGroupMember></ZoneGroup></ZoneGroups>";
    auto state = TopologyService::parseZoneGroupStateDocument(doc);
    ASSERT_TRUE(state) << state.error().message;
    EXPECT_EQ(state->member(id(arc))->satellites,
              (std::vector<BondedSatellite>{satellite(rearL, arc, SatelliteRole::rearLeft())}));
}
