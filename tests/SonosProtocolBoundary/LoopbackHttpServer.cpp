#include "LoopbackHttpServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace orvel::testing {

namespace {

struct Connection {
    QByteArray buffer;
};

// Takes one complete request off the front of `buffer`, if there is one.
std::optional<RecordedRequest> takeRequest(QByteArray& buffer) {
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    RecordedRequest request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon < 0) continue;
        request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
    }
    const qsizetype length = request.header("content-length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length) return std::nullopt;
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return request;
}

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

void answer(QTcpSocket* socket, const ScriptedReply& reply) {
    switch (reply.mode) {
    case ScriptedReply::Mode::silent:
        return;
    case ScriptedReply::Mode::hangUp:
        socket->abort();
        return;
    case ScriptedReply::Mode::trickle: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 1000000\r\n\r\n");
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("<"); });
        timer->start(20);
        return;
    }
    case ScriptedReply::Mode::unframed:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + reply.contentType + "\r\nConnection: close\r\n\r\n");
        socket->write(reply.body);
        socket->disconnectFromHost();
        return;
    case ScriptedReply::Mode::respond: {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.statusCode) + " " + reasonPhrase(reply.statusCode) + "\r\n";
        head += "Content-Type: " + reply.contentType + "\r\n";
        head += "Content-Length: " + QByteArray::number(reply.announcedLength.value_or(reply.body.size())) + "\r\n";
        head += "\r\n";
        socket->write(head);
        socket->write(reply.body);
        return;
    }
    }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(const QString& address, quint16 port, Handler handler)
    : server_(std::make_unique<QTcpServer>()),
      requests_(std::make_shared<std::vector<RecordedRequest>>()),
      handler_(std::move(handler)) {
    server_->listen(QHostAddress(address), port);
    QTcpServer* server = server_.get();
    auto requests = requests_;
    Handler handle = handler_;
    QObject::connect(server, &QTcpServer::newConnection, server, [server, requests, handle] {
        while (QTcpSocket* socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            auto connection = std::make_shared<Connection>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, connection, requests, handle] {
                connection->buffer += socket->readAll();
                while (auto request = takeRequest(connection->buffer)) {
                    requests->push_back(*request);
                    answer(socket, handle(*request));
                }
            });
        }
    });
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

bool LoopbackHttpServer::isListening() const { return server_->isListening(); }

QByteArray soapReply(const std::string& action, const std::string& serviceType,
                     const std::vector<std::pair<std::string, std::string>>& escapedOutputs) {
    std::string body = R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
                       R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>)";
    body += "<u:" + action + "Response xmlns:u=\"" + serviceType + "\">";
    for (const auto& [name, value] : escapedOutputs) body += "<" + name + ">" + value + "</" + name + ">";
    body += "</u:" + action + "Response></s:Body></s:Envelope>";
    return QByteArray::fromStdString(body);
}

QByteArray soapFault(int errorCode) {
    return QByteArray(R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
                      R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><s:Fault>)"
                      R"(<faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>)"
                      R"(<UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>)") +
           QByteArray::number(errorCode) + "</errorCode></UPnPError></detail></s:Fault></s:Body></s:Envelope>";
}

}  // namespace orvel::testing
