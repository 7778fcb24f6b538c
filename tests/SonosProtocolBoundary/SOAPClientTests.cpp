#include <gtest/gtest.h>

#include <QCoroTask>

#include "SonosProtocolBoundary/SOAPClient.h"
#include "fakes/FakeHttpServer.h"
#include "fakes/FakeSoap.h"

using namespace orvel;
using orvel::fakes::soapFault;
using orvel::fakes::soapResponse;
using orvel::fakes::FakeHttpServer;
using orvel::fakes::HttpReply;
using orvel::fakes::HttpRequest;

namespace {

const QString avTransport = QStringLiteral("urn:schemas-upnp-org:service:AVTransport:1");

SOAPResult callOnce(const char* address, SOAPRequest request) {
    HttpClient http;
    SOAPClient client(http);
    return QCoro::waitFor(client.call(*SpeakerAddress::make(address), std::move(request), HttpLimits::command()));
}

SOAPRequest seekRequest() {
    return {UPnPService::avTransport, "Seek", {{"InstanceID", "0"}, {"Unit", "REL_TIME"}, {"Target", "0:01:02"}}};
}

HttpReply xml(QByteArray body, int status = 200) { return HttpReply::withStatus(status, std::move(body), "text/xml"); }

}  // namespace

TEST(SOAPClient, SendsEnvelopeAndReadsOutputArguments) {
    FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress("127.77.1.1"), 1400)) << server.errorString().toStdString();
    server.setHandler([](const HttpRequest&) {
        return xml(soapResponse(avTransport, "GetPositionInfo", {{"Track", "3"}, {"TrackMetaData", "<DIDL-Lite>&amp;"}}));
    });
    SOAPRequest request{UPnPService::avTransport, "GetPositionInfo", {{"InstanceID", "0"}, {"Odd", "a<b & \"c\"'"}}};
    auto result = callOnce("127.77.1.1", request);
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(*result->output("Track"), "3");
    // Unescaped exactly once: an embedded document arrives as text holding its own escapes.
    EXPECT_EQ(*result->output("TrackMetaData"), "<DIDL-Lite>&amp;");
    EXPECT_EQ(result->output("Missing"), nullptr);
    EXPECT_FALSE(result->requiredOutput("Missing"));

    ASSERT_EQ(server.requestCount(), 1);
    const auto sent = server.requests().front();
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.path(), "/MediaRenderer/AVTransport/Control");
    EXPECT_EQ(sent.header("SOAPACTION"), "\"urn:schemas-upnp-org:service:AVTransport:1#GetPositionInfo\"");
    EXPECT_EQ(sent.header("Content-Type"), "text/xml; charset=\"utf-8\"");
    EXPECT_EQ(sent.body.toStdString(), request.envelope());
    EXPECT_NE(sent.body.indexOf("<InstanceID>0</InstanceID><Odd>a&lt;b &amp; &quot;c&quot;&apos;</Odd>"), -1);
}

// What XML 1.0 cannot carry is dropped, bytes that are not UTF-8 become U+FFFD, and every
// other character passes whole, next to ASCII or not.
TEST(SOAPRequest, ArgumentValuesAreEscapedForXml) {
    struct Case {
        const char* name;
        std::string value;
        std::string escaped;
    };
    const std::vector<Case> cases = {
        {"markup", "a<b & \"c\"'>\r", "a&lt;b &amp; &quot;c&quot;&apos;&gt;&#13;"},
        {"controls", std::string("x\x01y\0z\t\n", 8), "xyz\t\n"},
        {"characters of every length", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5!", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB5!"},
        {"a sequence cut by ASCII", "\xE2\x82<", "\xEF\xBF\xBD\xEF\xBF\xBD&lt;"},
        {"stray and overlong bytes", "\x80\xC0\xAF" "a", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD" "a"},
        {"noncharacters", "\xEF\xBF\xBE\xEF\xBF\xBF" "b", "b"},
    };
    for (const auto& c : cases) EXPECT_EQ(xmlEscaped(c.value), c.escaped) << c.name;
}

TEST(SOAPClient, FailuresAreKeptApart) {
    auto transportKind = [](TransportError::Kind kind) {
        return [kind](const SOAPError& e) { return e.isTransport() && e.asTransport().kind == kind; };
    };
    HttpReply unframed = HttpReply::raw("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n" +
                                        QByteArray(5 * 1024 * 1024, 'x'));

    struct Case {
        const char* name;
        const char* address;
        std::optional<HttpReply> reply;  // none: nothing listens there
        std::function<bool(const SOAPError&)> expected;
    };
    // Framing, caps and time-outs are the HTTP client's; one of each kind shows they come through.
    const std::vector<Case> cases = {
        {"fault with code", "127.77.2.1", xml(soapFault(701), 500),
         [](const SOAPError& e) { return e.isFaultWithCode(701) && e.asFault().detail() == "UPnP error 701"; }},
        {"500 without a fault", "127.77.2.2", xml("<html/>", 500),
         [](const SOAPError& e) { return e.isUnexpectedStatus() && e.asUnexpectedStatus() == 500; }},
        {"404", "127.77.2.3", HttpReply::withStatus(404),
         [](const SOAPError& e) { return e.isUnexpectedStatus() && e.asUnexpectedStatus() == 404; }},
        {"200 with garbage", "127.77.2.4", xml("<s:Envelope"), [](const SOAPError& e) { return e.isMalformedReply(); }},
        {"200 with another action's response", "127.77.2.5", xml(soapResponse(avTransport, "Play", {})),
         [](const SOAPError& e) { return e.isMalformedReply(); }},
        {"refused", "127.77.2.6", std::nullopt, transportKind(TransportError::Kind::connectionRefused)},
        {"hangs up", "127.77.2.9", HttpReply::drop(), transportKind(TransportError::Kind::networkFailure)},
        {"sends too much", "127.77.2.11", unframed, transportKind(TransportError::Kind::bodyTooLarge)},
    };
    for (const auto& c : cases) {
        FakeHttpServer server;
        if (c.reply) {
            ASSERT_TRUE(server.listen(QHostAddress(c.address), 1400)) << c.name;
            server.setHandler([reply = *c.reply](const HttpRequest&) { return reply; });
        }
        auto result = callOnce(c.address, seekRequest());
        ASSERT_FALSE(result) << c.name;
        EXPECT_TRUE(c.expected(result.error())) << c.name << ": " << result.error().message();
    }
}

TEST(SOAPClient, OnlyARepeatedAnswerToTheSameReadGoesUnparsed) {
    FakeHttpServer server;
    ASSERT_TRUE(server.listen(QHostAddress("127.77.3.1"), 1400)) << server.errorString().toStdString();
    QByteArray track = "3";
    server.setHandler([&track](const HttpRequest& request) {
        const QByteArray soapAction = request.header("SOAPACTION");
        const QByteArray action = soapAction.mid(soapAction.indexOf('#') + 1).chopped(1);
        return xml(soapResponse(avTransport, action, {{"Track", QString::fromLatin1(track)}}));
    });
    const SOAPRequest position{UPnPService::avTransport, "GetPositionInfo", {{"InstanceID", "0"}}};
    const SOAPRequest otherInstance{UPnPService::avTransport, "GetPositionInfo", {{"InstanceID", "1"}}};
    struct Step {
        const char* name;
        SOAPRequest request;
        QByteArray track;  // what the speaker answers
        std::uint64_t parsed;
        std::uint64_t repeated;
    };
    const Step steps[] = {
        {"first answer", position, "3", 1, 0},
        {"the same bytes again", position, "3", 1, 1},
        {"a changed answer to the same read", position, "4", 2, 1},
        {"the same bytes to another read", otherInstance, "4", 3, 1},
        {"a command", seekRequest(), "4", 4, 1},
        {"the same command again", seekRequest(), "4", 5, 1},
    };
    HttpClient http;
    SOAPClient client(http);
    for (const auto& step : steps) {
        track = step.track;
        auto result = QCoro::waitFor(client.call(*SpeakerAddress::make("127.77.3.1"), step.request, HttpLimits::command()));
        ASSERT_TRUE(result) << step.name << ": " << result.error().message();
        EXPECT_EQ(*result->output("Track"), step.track.toStdString()) << step.name;
        EXPECT_EQ(client.parsedReplies(), step.parsed) << step.name;
        EXPECT_EQ(client.repeatedReplies(), step.repeated) << step.name;
    }
}
