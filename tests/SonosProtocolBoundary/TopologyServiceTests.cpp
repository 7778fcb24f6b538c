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

std::string at(const char* ip) { return std::string("Location=\"http://") + ip + ":1400/xml/device_description.xml\" "; }
std::string tag(const char* element, const char* uuid, const std::string& attributes, const std::string& inner = "") {
    const std::string open = std::string("<") + element + " UUID=\"" + uuid + "\" " + attributes;
    return inner.empty() ? open + "/>" : open + ">" + inner + "</" + element + ">";
}
std::string group(const char* coordinator, const std::string& members) {
    return std::string("<ZoneGroup Coordinator=\"") + coordinator + "\" ID=\"" + coordinator + ":5\">" + members + "</ZoneGroup>";
}

// A household as speakers report it: a home theatre with surrounds and a sub, a stereo pair
// leading a group with the office, and a bedroom alone.
std::string household() {
    const std::string living = "ZoneName=\"Living Room\" Invisible=\"1\"";
    const std::string kitchen = "ZoneName=\"Kitchen &amp; Dining\" ChannelMapSet=\"" + std::string(kitchenL) + ":LF,LF;" + kitchenR + ":RF,RF\"";
    return "<ZoneGroupState><ZoneGroups>" +
           group(arc, tag("ZoneGroupMember", arc,
                          at("127.0.1.10") + "ZoneName=\"Living Room\" HTSatChanMapSet=\"" + arc + ":LF,RF;" + rearL + ":LR;" + rearR +
                              ":RR;" + sub + ":SW\"",
                          tag("Satellite", rearL, at("127.0.1.11") + living) + tag("Satellite", rearR, at("127.0.1.12") + living) +
                              tag("Satellite", sub, "Location=\"http://[::1]:1400/x\" " + living))) +
           group(kitchenL, tag("ZoneGroupMember", kitchenL, at("127.0.1.20") + kitchen) +
                               tag("ZoneGroupMember", kitchenR, at("127.0.1.21") + kitchen + " Invisible=\"1\"") +
                               tag("ZoneGroupMember", office, at("127.0.1.30") + "ZoneName=\"Office\"")) +
           group(bedroom, tag("ZoneGroupMember", bedroom, "Location=\"http://speaker.local:1400/x\" ZoneName=\"Bedroom\"")) +
           "</ZoneGroups><VanishedDevices/></ZoneGroupState>";
}

BondedSatellite satellite(const char* satelliteID, const char* parent, SatelliteRole role) {
    return BondedSatellite{id(satelliteID), id(parent), role, std::nullopt, std::nullopt, true, std::nullopt};
}

}  // namespace

TEST(TopologyService, ReadsRoomsGroupsAddressesAndSatellites) {
    auto state = TopologyService::parseZoneGroupStateDocument(household());
    ASSERT_TRUE(state) << state.error().message;

    ASSERT_EQ(state->groups.size(), 3u);
    EXPECT_EQ(state->groups[0].id, std::string(arc) + ":5");
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
    const std::string member = tag("ZoneGroupMember", bedroom, "ZoneName=\"Bedroom\"");
    auto groups = [](const std::string& inner) { return "<ZoneGroups>" + inner + "</ZoneGroups>"; };
    struct Case {
        const char* name;
        std::string document;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"truncated", household().substr(0, household().size() / 2), "malformed XML"},
        {"wrong root", "<Groups/>", "root <Groups>"},
        {"state without groups", "<ZoneGroupState/>", "lacks <ZoneGroups>"},
        {"coordinator missing", groups("<ZoneGroup ID=\"x\">" + member + "</ZoneGroup>"), "lacks Coordinator"},
        {"coordinator not a member", groups(group(office, member)), "none of its rooms"},
        {"coordinator only a satellite",
         groups(group(office, member + tag("ZoneGroupMember", office, "ZoneName=\"Office\" Invisible=\"1\""))), "none of its rooms"},
        {"bad member id", groups(group(bedroom, member + tag("ZoneGroupMember", "RINCON_xyz", "ZoneName=\"Office\""))),
         "not a speaker id"},
        {"room without a name", groups(group(bedroom, member + tag("ZoneGroupMember", office, ""))), "lacks ZoneName"},
        {"room in two groups", groups(group(bedroom, member) + group(bedroom, member)), "listed in two groups"},
        {"satellite with a bad id",
         groups(group(bedroom, tag("ZoneGroupMember", bedroom, "ZoneName=\"Bedroom\"", tag("Satellite", "nope", "")))),
         "not a speaker id"},
        {"doctype", "<!DOCTYPE ZoneGroups><ZoneGroups/>", "document type declaration"},
    };
    for (const auto& c : cases) {
        auto result = TopologyService::parseZoneGroupStateDocument(c.document);
        ASSERT_FALSE(result) << c.name;
        EXPECT_NE(result.error().message.find(c.reason), std::string::npos) << c.name << ": " << result.error().message;
    }
}

// A room name with a character XML cannot carry costs only that character, not the household,
// whether it stands in the embedded document's bytes or as a reference.
TEST(TopologyService, AnOddCharacterInARoomNameCostsOnlyThatCharacter) {
    const std::string fffd = "\xEF\xBF\xBD";
    struct Case { const char* name; std::string odd; };
    const std::vector<Case> cases = {
        {"a byte that is not UTF-8", "\xFF"},
        {"a reference to a control character", "&#x1;"},
    };
    const auto good = TopologyService::parseZoneGroupStateDocument(household());
    ASSERT_TRUE(good);
    for (const auto& c : cases) {
        std::string document = household();
        const std::string office = "ZoneName=\"Office\"";
        document.replace(document.find(office), office.size(), "ZoneName=\"Off" + c.odd + "ice\"");
        auto state = TopologyService::parseZoneGroupState(SOAPResponse{{{"ZoneGroupState", document}}});
        ASSERT_TRUE(state) << c.name << ": " << state.error().message;
        auto expected = *good;
        expected.groups[1].members[1].roomName = "Off" + fffd + "ice";
        EXPECT_EQ(*state, expected) << c.name;
    }
}

TEST(TopologyService, SatellitesWithoutATellableRoleAreLeftOut) {
    const std::string doc =
        "<ZoneGroups>" +
        group(arc, tag("ZoneGroupMember", arc,
                       "ZoneName=\"Living Room\" HTSatChanMapSet=\"" + std::string(arc) + ":LF,RF;garbage;" + rearL +
                           ":LR;RINCON_bad:RR;" + sub + ":XX\"",
                       tag("Satellite", rearL, "") + tag("Satellite", sub, "") + tag("Satellite", rearR, ""))) +
        "</ZoneGroups>";
    auto state = TopologyService::parseZoneGroupStateDocument(doc);
    ASSERT_TRUE(state) << state.error().message;
    EXPECT_EQ(state->member(id(arc))->satellites,
              (std::vector<BondedSatellite>{satellite(rearL, arc, SatelliteRole::rearLeft())}));
}
