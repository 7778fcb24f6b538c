#include <gtest/gtest.h>

#include <string>

#include <QCoroTask>

#include "SonosProtocolBoundary/HostileDocuments.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/XMLNode.h"

using namespace orvel;

namespace {

XMLNode::Limits smallAttributeLimits() {
    XMLNode::Limits limits;
    limits.maxAttributesPerElement = 3;
    limits.maxAttributes = 6;
    limits.maxNamespaceDeclarations = 2;
    return limits;
}

}  // namespace

TEST(CostlyReplies, AttributeCountsAreBoundedBeforeParsing) {
    struct Case {
        const char* name;
        std::string document;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"as many per element as allowed", R"(<a x="1" y="2" z="3"/>)", true},
        {"one more than allowed on an element", R"(<a w="0" x="1" y="2" z="3"/>)", false},
        {"signs and brackets inside values", R"(<a x="=>=" y='"=' z="a=b"><b/></a>)", true},
        {"signs in text, comments and sections", R"(<a x="1">a=b=c=d<!-- e=f=g=h --><![CDATA[i=j=k=l]]><?p q=r=s=t?></a>)", true},
        {"as many in all as allowed", R"(<a x="1" y="2" z="3"><b x="1" y="2" z="3"/></a>)", true},
        {"one more than allowed in all", R"(<a x="1" y="2" z="3"><b x="1" y="2" z="3"/><c x="1"/></a>)", false},
        {"namespaces as allowed", R"(<a xmlns="urn:a" xmlns:p="urn:p"><p:b xmlnsx="1"/></a>)", true},
        {"one namespace too many", R"(<a xmlns="urn:a" xmlns:p="urn:p"><b xmlns:q="urn:q"/></a>)", false},
        {"spaced default namespace counted", R"(<a xmlns = "urn:a" xmlns:p="urn:p"><b xmlns ="urn:b"/></a>)", false},
    };
    for (const Case& c : cases) {
        const auto parsed = XMLNode::parse(c.document, smallAttributeLimits());
        EXPECT_EQ(parsed.has_value(), c.accepted) << c.name << (parsed ? "" : ": " + parsed.error().message);
    }
    // The speed of the refusal is a benchmark's (bench/reply_parsing); here only that it comes.
    EXPECT_FALSE(XMLNode::parse(hostile::deviceDescriptionWithAttributes(60'000))) << "the default limits";
}

TEST(CostlyReplies, ZoneGroupStatesAreBoundedInSpeakers) {
    // Each generated state lists twice as many speakers as rooms.
    for (const auto& [rooms, accepted] : std::vector<std::pair<std::size_t, bool>>{{64, true}, {65, false}}) {
        const auto state = TopologyService::parseZoneGroupStateDocument(hostile::zoneGroupStateWithSatellites(rooms));
        ASSERT_EQ(state.has_value(), accepted) << rooms << (state ? "" : ": " + state.error().message);
        if (!accepted) {
            EXPECT_TRUE(state.error().isTooLarge()) << "refused for its size, not as malformed";
            continue;
        }
        ASSERT_EQ(state->rooms().size(), rooms);
        const auto& satellites = state->rooms().front()->satellites;
        ASSERT_EQ(satellites.size(), rooms);
        EXPECT_EQ(satellites.back().id.rawValue(), hostile::speakerID('B', rooms - 1));
    }
}

TEST(CostlyReplies, LargeZoneGroupStatesParseOffTheLoopAlike) {
    // Below and above the size that is parsed on a worker thread: the largest household taken,
    // with room names as long as the speakers' other attributes make a real member.
    for (std::size_t rooms : {std::size_t{2}, std::size_t{64}}) {
        SOAPResponse response;
        response.outputs.emplace_back("ZoneGroupState", hostile::zoneGroupStateWithSatellites(rooms, std::string(1200, 'R')));
        EXPECT_EQ(response.outputs.back().second.size() > 64 * 1024, rooms > 2);
        const auto direct = TopologyService::parseZoneGroupState(response);
        ASSERT_TRUE(direct) << rooms;
        const auto detached = QCoro::waitFor(TopologyService::parseZoneGroupStateOffTheLoop(response));
        EXPECT_EQ(detached, direct) << rooms;
    }
}
