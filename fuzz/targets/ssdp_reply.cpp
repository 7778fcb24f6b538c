// An SSDP reply as discovery reads it. Input: the sender's IPv4 address (four bytes, network
// order), then the datagram.

#include <QByteArray>

#include "FuzzInput.h"
#include "SonosProtocolBoundary/Discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    orvel::SSDPReply reply;
    reply.sender = std::uint32_t(data[0]) << 24 | std::uint32_t(data[1]) << 16 | std::uint32_t(data[2]) << 8 | data[3];
    reply.datagram = QByteArray(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    (void)orvel::Discovery::addressFromSSDPReply(reply);
    return 0;
}
