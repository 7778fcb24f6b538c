#include <gtest/gtest.h>

#include "SonosProtocolBoundary/XMLNode.h"

using namespace orvel;

TEST(XMLNode, Smoke) {
    auto node = XMLNode::parse("<a x=\"1\"><b>t&amp;</b></a>");
    ASSERT_TRUE(node) << node.error().message;
}
