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

// One odd element listed among the good ones of household(): a group after the kitchen's, a
// member at the end of the kitchen group, a satellite after the living room's own.
struct Odd {
    std::string group = {};
    std::string kitchenMember = {};
    std::string livingSatellite = {};
};

// A household as speakers report it: a home theatre with surrounds and a sub, a stereo pair
// leading a group with the office, and a bedroom alone.
std::string household(const Odd& odd = {}) {
    const std::string living = "ZoneName=\"Living Room\" Invisible=\"1\"";
    const std::string kitchen = "ZoneName=\"Kitchen &amp; Dining\" ChannelMapSet=\"" + std::string(kitchenL) + ":LF,LF;" + kitchenR + ":RF,RF\"";
    return "<ZoneGroupState><ZoneGroups>" +
           group(arc, tag("ZoneGroupMember", arc,
                          at("127.0.1.10") + "ZoneName=\"Living Room\" HTSatChanMapSet=\"" + arc + ":LF,RF;" + rearL + ":LR;" + rearR +
                              ":RR;" + sub + ":SW\"",
                          tag("Satellite", rearL, at("127.0.1.11") + living) + tag("Satellite", rearR, at("127.0.1.12") + living) +
                              tag("Satellite", sub, "Location=\"http://[::1]:1400/x\" " + living) + odd.livingSatellite)) +
           group(kitchenL, tag("ZoneGroupMember", kitchenL, at("127.0.1.20") + kitchen) +
                               tag("ZoneGroupMember", kitchenR, at("127.0.1.21") + kitchen + " Invisible=\"1\"") +
                               tag("ZoneGroupMember", office, at("127.0.1.30") + "ZoneName=\"Office\"") + odd.kitchenMember) +
           odd.group +
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
    std::string crowd;
    for (std::size_t i = 0; i <= TopologyService::maxSpeakers; ++i) crowd += member;
    struct Case {
        const char* name;
        std::string document;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"truncated", household().substr(0, household().size() / 2), "malformed XML"},
        {"wrong root", "<Groups/>", "root <Groups>"},
        {"state without groups", "<ZoneGroupState/>", "lacks <ZoneGroups>"},
        {"doctype", "<!DOCTYPE ZoneGroups><ZoneGroups/>", "document type declaration"},
        {"more speakers than are taken", groups(group(bedroom, crowd)), "more than 128"},
    };
    for (const auto& c : cases) {
        auto result = TopologyService::parseZoneGroupStateDocument(c.document);
        ASSERT_FALSE(result) << c.name;
        EXPECT_NE(result.error().message.find(c.reason), std::string::npos) << c.name << ": " << result.error().message;
    }
}

namespace {

const char* const study = "RINCON_000E58E0000101400";
const char* const guest = "RINCON_000E58F0000101400";

std::string studyGroup(const std::string& coordinatorAttribute, const std::string& more = "") {
    return "<ZoneGroup " + coordinatorAttribute + " ID=\"" + study + ":7\">" +
           tag("ZoneGroupMember", study, at("127.0.1.50") + "ZoneName=\"Study\"") + more + "</ZoneGroup>";
}

}  // namespace

// Each odd element hides only itself: the document reads as the household without it (or, for a
// group led by none of its rooms, as the same group led by its first room).
TEST(TopologyService, AnOddElementHidesOnlyItself) {
    const auto led = [](const std::string& by) { return "Coordinator=\"" + by + "\""; };
    const auto room = [](const char* uuid, const char* ip, const char* name) {
        return tag("ZoneGroupMember", uuid, at(ip) + "ZoneName=\"" + name + "\"");
    };
    const std::string studyLed = studyGroup(led(study));
    const std::string guestMember = tag("ZoneGroupMember", guest, at("127.0.1.51") + "ZoneName=\"Study\" Invisible=\"1\"");
    const std::string extender = "<ZoneGroup " + led(guest) + " ID=\"" + guest + ":12\">" +
                                 tag("ZoneGroupMember", guest, at("127.0.1.51") + "ZoneName=\"BOOST\" Invisible=\"1\"") +
                                 "</ZoneGroup>";
    const std::string unnamedWithSatellite =
        tag("ZoneGroupMember", study, at("127.0.1.50"), tag("Satellite", guest, at("127.0.1.51") + "Invisible=\"1\""));
    const char* const lowerCase = "RINCON_000e58e0000101400";
    const char* const short23 = "RINCON_000E58A000050140";
    struct Case {
        const char* name;
        Odd odd;
        Odd readsAs;
    };
    const std::vector<Case> cases = {
        {"a group whose only member is invisible", {.group = extender}, {}},
        {"a group led by a speaker it does not list", {.group = studyGroup(led(guest))}, {.group = studyLed}},
        {"a group led by its invisible member", {.group = studyGroup(led(guest), guestMember)},
         {.group = studyGroup(led(study), guestMember)}},
        {"a malformed Coordinator", {.group = studyGroup(led(lowerCase))}, {.group = studyLed}},
        {"no Coordinator", {.group = studyGroup("")}, {.group = studyLed}},
        {"a room listed again in a later group", {.group = group(office, room(office, "127.0.1.99", "Office"))}, {}},
        {"a room listed again in its group", {.kitchenMember = room(office, "127.0.1.99", "Office")}, {}},
        {"a room without ZoneName, with its satellite", {.kitchenMember = unnamedWithSatellite}, {}},
        {"a member id outside the form", {.kitchenMember = room("RINCON_xyz", "127.0.1.50", "Study")}, {}},
        {"a member without an id", {.kitchenMember = "<ZoneGroupMember ZoneName=\"Study\"/>"}, {}},
        {"a satellite id outside the form",
         {.livingSatellite = tag("Satellite", short23, at("127.0.1.13") + "Invisible=\"1\"")}, {}},
    };
    for (const auto& c : cases) {
        const auto expected = TopologyService::parseZoneGroupStateDocument(household(c.readsAs));
        ASSERT_TRUE(expected) << c.name << ": " << expected.error().message;
        const auto state = TopologyService::parseZoneGroupStateDocument(household(c.odd));
        if (!state) {
            ADD_FAILURE() << c.name << ": " << state.error().message;
            continue;
        }
        EXPECT_EQ(*state, *expected) << c.name;
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
