#include "TestHousehold.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

#include <type_traits>

namespace orvel::fakes::testing {

namespace {
template <class Pairs>
auto valueOf(const Pairs& pairs, const auto& name) -> std::remove_cvref_t<decltype(pairs.front().second)> {
    for (const auto& [key, value] : pairs)
        if (key == name) return value;
    return {};
}
} // namespace

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
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(kWaitBound, &loop, &QEventLoop::quit);
        loop.exec();
    }
    FetchResult result;
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

QByteArray soapEnvelope(const QString& serviceType, const QString& action, const QList<std::pair<QString, QString>>& arguments) {
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

QString ActionResult::output(const QString& name) const { return valueOf(outputs, name); }

ActionResult callAction(const FakeHousehold& household, const QString& uuid, const QString& serviceAndAction,
                        const SoapValues& arguments) {
    const QString serviceName = serviceAndAction.section(QLatin1Char('#'), 0, 0);
    const QString action = serviceAndAction.section(QLatin1Char('#'), 1);
    const FakeService* service = nullptr;
    for (const FakeService& candidate : fakeServices())
        if (candidate.name == serviceName) service = &candidate;
    ActionResult result;
    if (!service) return result;

    FetchOptions options;
    options.method = "POST";
    options.body = soapEnvelope(service->type, action, arguments);
    options.headers = {{"Content-Type", "text/xml; charset=\"utf-8\""},
                       {"SOAPACTION", "\"" + (service->type + QLatin1Char('#') + action).toUtf8() + "\""}};
    const FetchResult fetched = fetch(household.baseUrl(uuid).resolved(QUrl(service->controlPath)), options);
    result.finished = fetched.finished && (fetched.error == QNetworkReply::NoError || fetched.status >= 400);
    result.status = fetched.status;
    result.body = fetched.body;

    QXmlStreamReader reader(fetched.body);
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement) continue;
        ++depth;
        if (reader.name() == QLatin1String("errorCode")) {
            result.faultCode = reader.readElementText().toInt();
            --depth;
        } else if (depth == 4 && result.status == 200) {
            const QString name = reader.name().toString();
            result.outputs.append({name, reader.readElementText()});
            --depth;
        }
    }
    return result;
}

QString XmlElement::attribute(const QString& name) const { return valueOf(attributes, name); }

QList<XmlElement> parseElements(const QString& xml, bool* wellFormed) {
    QList<XmlElement> elements;
    QList<qsizetype> open;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            XmlElement element;
            element.name = reader.qualifiedName().toString();
            for (const QXmlStreamAttribute& attribute : reader.attributes())
                element.attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
            element.depth = int(open.size());
            open.append(elements.size());
            elements.append(element);
        } else if (token == QXmlStreamReader::Characters && !open.isEmpty()) {
            elements[open.back()].text += reader.text();
        } else if (token == QXmlStreamReader::EndElement && !open.isEmpty()) {
            open.removeLast();
        }
    }
    if (wellFormed) *wellFormed = !reader.hasError();
    return elements;
}

QList<XmlElement> elementsNamed(const QList<XmlElement>& elements, const QString& name) {
    QList<XmlElement> out;
    for (const XmlElement& element : elements)
        if (element.name == name) out << element;
    return out;
}

} // namespace orvel::fakes::testing
