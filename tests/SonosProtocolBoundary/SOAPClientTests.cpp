#include <gtest/gtest.h>

#include <QCoroTask>

#include "LoopbackHttpServer.h"
#include "SonosProtocolBoundary/SOAPClient.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

const std::string avTransport = "urn:schemas-upnp-org:service:AVTransport:1";

SOAPResult callOnce(const char* address, SOAPRequest request, HttpLimits limits = HttpLimits::command()) {
    HttpClient http;
    SOAPClient client(http);
    return QCoro::waitFor(client.call(*SpeakerAddress::make(address), std::move(request), limits));
}

SOAPRequest seekRequest() {
    return {UPnPService::avTransport, "Seek", {{"InstanceID", "0"}, {"Unit", "REL_TIME"}, {"Target", "0:01:02"}}};
}

}  // namespace

TEST(SOAPClient, SendsEnvelopeAndReadsOutputArguments) {
    LoopbackHttpServer server("127.77.1.1", 1400, [](const RecordedRequest&) {
        return ScriptedReply::ok(soapReply("GetPositionInfo", avTransport,
                                           {{"Track", "3"}, {"TrackMetaData", "&lt;DIDL-Lite&gt;&amp;amp;"}}));
    });
    ASSERT_TRUE(server.isListening());
    SOAPRequest request{UPnPService::avTransport, "GetPositionInfo", {{"InstanceID", "0"}, {"Odd", "a<b & \"c\"'"}}};
    auto result = callOnce("127.77.1.1", request);
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(*result->output("Track"), "3");
    // Unescaped exactly once: an embedded document arrives as text holding its own escapes.
    EXPECT_EQ(*result->output("TrackMetaData"), "<DIDL-Lite>&amp;");
    EXPECT_EQ(result->output("Missing"), nullptr);
    EXPECT_FALSE(result->requiredOutput("Missing"));

    ASSERT_EQ(server.requests().size(), 1u);
    const auto& sent = server.requests()[0];
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path, "/MediaRenderer/AVTransport/Control");
    EXPECT_EQ(sent.header("soapaction"), "\"urn:schemas-upnp-org:service:AVTransport:1#GetPositionInfo\"");
    EXPECT_EQ(sent.header("content-type"), "text/xml; charset=\"utf-8\"");
    EXPECT_EQ(sent.body.toStdString(), request.envelope());
    EXPECT_NE(sent.body.indexOf("<InstanceID>0</InstanceID><Odd>a&lt;b &amp; &quot;c&quot;&apos;</Odd>"), -1);
}

TEST(SOAPClient, FailuresAreKeptApart) {
    struct Case {
        const char* name;
        const char* address;
        bool serve;
        ScriptedReply reply;
        std::function<bool(const SOAPError&)> expected;
    };
    auto transportKind = [](TransportError::Kind kind) {
        return [kind](const SOAPError& e) { return e.isTransport() && e.asTransport().kind == kind; };
    };
    const std::vector<Case> cases = {
        {"fault with code", "127.77.2.1", true, ScriptedReply::status(500, soapFault(701)),
         [](const SOAPError& e) { return e.isFaultWithCode(701) && e.asFault().detail() == "UPnP error 701"; }},
        {"500 without a fault", "127.77.2.2", true, ScriptedReply::status(500, "<html/>"),
         [](const SOAPError& e) { return e.isUnexpectedStatus() && e.asUnexpectedStatus() == 500; }},
        {"404", "127.77.2.3", true, ScriptedReply::status(404),
         [](const SOAPError& e) { return e.isUnexpectedStatus() && e.asUnexpectedStatus() == 404; }},
        {"200 with garbage", "127.77.2.4", true, ScriptedReply::ok("<s:Envelope"),
         [](const SOAPError& e) { return e.isMalformedReply(); }},
        {"200 with another action's response", "127.77.2.5", true,
         ScriptedReply::ok(soapReply("Play", avTransport, {})), [](const SOAPError& e) { return e.isMalformedReply(); }},
        {"refused", "127.77.2.6", false, {}, transportKind(TransportError::Kind::connectionRefused)},
        {"no answer", "127.77.2.7", true, ScriptedReply::silent(), transportKind(TransportError::Kind::timedOut)},
        {"trickles forever", "127.77.2.8", true, ScriptedReply::trickle(),
         transportKind(TransportError::Kind::timedOut)},
        {"hangs up", "127.77.2.9", true, ScriptedReply::hangUp(), transportKind(TransportError::Kind::networkFailure)},
        {"announces too much", "127.77.2.10", true,
         [] {
             auto reply = ScriptedReply::ok("x");
             reply.announcedLength = 64 * 1024 * 1024;
             return reply;
         }(),
         transportKind(TransportError::Kind::bodyTooLarge)},
        {"sends too much", "127.77.2.11", true, ScriptedReply::unframed(QByteArray(5 * 1024 * 1024, 'x')),
         transportKind(TransportError::Kind::bodyTooLarge)},
    };
    for (const auto& c : cases) {
        std::unique_ptr<LoopbackHttpServer> server;
        if (c.serve) {
            server = std::make_unique<LoopbackHttpServer>(c.address, 1400, [reply = c.reply](const RecordedRequest&) {
                return reply;
            });
            ASSERT_TRUE(server->isListening()) << c.name;
        }
        // Short limits keep the time-out cases quick; the deadline is what stops the trickle.
        HttpLimits limits{300ms, 600ms};
        auto result = callOnce(c.address, seekRequest(), limits);
        ASSERT_FALSE(result) << c.name;
        EXPECT_TRUE(c.expected(result.error())) << c.name << ": " << result.error().message();
    }
}
