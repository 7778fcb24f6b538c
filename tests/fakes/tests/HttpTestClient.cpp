#include "HttpTestClient.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace orvel::fakes::testing {

QByteArray FetchResult::header(QByteArrayView name) const {
    for (const auto& [key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

FetchResult fetch(const QUrl& url, const FetchOptions& options) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    for (const auto& [name, value] : options.headers) request.setRawHeader(name, value);
    if (options.transferTimeout.count() > 0) request.setTransferTimeout(static_cast<int>(options.transferTimeout.count()));
    QNetworkReply* reply = manager.sendCustomRequest(request, options.method, options.body);
    FetchResult result;
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kWaitBound, &loop, &QEventLoop::quit);
        loop.exec();
    }
    result.finished = reply->isFinished();
    result.error = reply->error();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->isOpen()) result.body = reply->readAll();
    result.headers = reply->rawHeaderPairs();
    reply->abort();
    delete reply;
    return result;
}

RawExchange rawExchange(const QHostAddress& address, quint16 port, const QByteArray& bytes,
                        const std::function<bool(const QByteArray&)>& until) {
    RawExchange exchange;
    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { exchange.received += socket.readAll(); });
    QObject::connect(&socket, &QTcpSocket::disconnected, [&] { exchange.closedByServer = true; });
    socket.connectToHost(address, port);
    const int bound = static_cast<int>(kWaitBound.count());
    exchange.connected = QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; }, bound);
    if (!exchange.connected) return exchange;
    socket.write(bytes);
    static_cast<void>(QTest::qWaitFor([&] { return exchange.closedByServer || (until && until(exchange.received)); }, bound));
    exchange.received += socket.readAll();
    // Closing our end below must not count as the server closing.
    QObject::disconnect(&socket, nullptr, nullptr, nullptr);
    return exchange;
}

QByteArray soapEnvelope(const QString& serviceType, const QString& action,
                        const QList<std::pair<QString, QString>>& arguments) {
    QString args;
    for (const auto& [name, value] : arguments)
        args += QStringLiteral("<%1>%2</%1>").arg(name, value.toHtmlEscaped().replace(QLatin1Char('\''), QStringLiteral("&apos;")));
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
               "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
               "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body>"
               "<u:%1 xmlns:u=\"%2\">%3</u:%1></s:Body></s:Envelope>")
        .arg(action, serviceType, args)
        .toUtf8();
}

} // namespace orvel::fakes::testing
