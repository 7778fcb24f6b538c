// The XML reader every speaker reply goes through.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/XMLNode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto document = orvel::fuzz::text(data, size);
    if (auto root = orvel::XMLNode::parse(document)) {
        (void)root->find("device/roomName");
        (void)root->trimmedText();
    }
    // Tight limits reach the refusals that real-sized documents never trip.
    (void)orvel::XMLNode::parse(document, orvel::XMLNode::Limits{.maxBytes = 4096, .maxDepth = 4, .maxElements = 16});
    return 0;
}
