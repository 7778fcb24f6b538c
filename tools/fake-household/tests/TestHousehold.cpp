#include "TestHousehold.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QTimer>
#include <QXmlStreamReader>

namespace orvel::fakes::testing {

FetchResult fetch(const QUrl& url, const FetchOptions& options) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    for (const auto& [name, value] : options.headers) request.setRawHeader(name, value);
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
    reply->abort();
    delete reply;
    return result;
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
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("errorCode"))
            result.faultCode = reader.readElementText().toInt();
    }
    return result;
}

} // namespace orvel::fakes::testing
