#pragma once

// A small HTTP/1.1 server on one loopback address for the tests of this folder: it records every
// request and answers from a handler, or misbehaves on purpose (never answers, trickles bytes
// forever, hangs up). Every test binds its own 127.x.y.z address so suites run in parallel.

#include <functional>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QHostAddress>

class QTcpServer;

namespace orvel::testing {

struct RecordedRequest {
    QByteArray method;
    QByteArray path;
    std::map<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray& lowerCaseName) const {
        auto it = headers.find(lowerCaseName);
        return it == headers.end() ? QByteArray() : it->second;
    }
};

struct ScriptedReply {
    // unframed: no Content-Length, the connection closes after the body.
    enum class Mode { respond, unframed, silent, trickle, hangUp };
    Mode mode = Mode::respond;
    int statusCode = 200;
    QByteArray body;
    QByteArray contentType = "text/xml; charset=\"utf-8\"";
    // When set, announced instead of the body's real length.
    std::optional<qint64> announcedLength;

    static ScriptedReply make(Mode mode, int statusCode = 200, QByteArray body = {}) {
        ScriptedReply reply;
        reply.mode = mode;
        reply.statusCode = statusCode;
        reply.body = std::move(body);
        return reply;
    }
    static ScriptedReply ok(QByteArray body) { return make(Mode::respond, 200, std::move(body)); }
    static ScriptedReply status(int code, QByteArray body = {}) { return make(Mode::respond, code, std::move(body)); }
    static ScriptedReply unframed(QByteArray body) { return make(Mode::unframed, 200, std::move(body)); }
    static ScriptedReply silent() { return make(Mode::silent); }
    static ScriptedReply trickle() { return make(Mode::trickle); }
    static ScriptedReply hangUp() { return make(Mode::hangUp); }
};

class LoopbackHttpServer {
public:
    using Handler = std::function<ScriptedReply(const RecordedRequest&)>;

    LoopbackHttpServer(const QString& address, quint16 port, Handler handler);
    ~LoopbackHttpServer();

    bool isListening() const;
    const std::vector<RecordedRequest>& requests() const { return *requests_; }

private:
    std::unique_ptr<QTcpServer> server_;
    std::shared_ptr<std::vector<RecordedRequest>> requests_;
    Handler handler_;
};

// The fixed body of a SOAP 1.1 reply for `action` with the given (already escaped) outputs.
QByteArray soapReply(const std::string& action, const std::string& serviceType,
                     const std::vector<std::pair<std::string, std::string>>& escapedOutputs);
// A SOAP fault with the given UPnP error code.
QByteArray soapFault(int errorCode);

}  // namespace orvel::testing
