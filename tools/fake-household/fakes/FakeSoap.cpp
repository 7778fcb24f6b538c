#include "fakes/FakeSoap.h"

#include <QXmlStreamReader>

#include "fakes/FakeDocuments.h"

namespace orvel::fakes {

namespace {

const QString kEnvelopeNamespace = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kEnvelopeOpen = QStringLiteral(
    "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
    "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"><s:Body>");
const QString kEnvelopeClose = QStringLiteral("</s:Body></s:Envelope>");

// Moves to the next start element, or fails at an end element, the end or an error.
bool nextStartElement(QXmlStreamReader& reader) {
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: return true;
        case QXmlStreamReader::EndElement: return false;
        case QXmlStreamReader::DTD: reader.raiseError(QStringLiteral("a DTD is not accepted")); return false;
        default: break;
        }
    }
    return false;
}

} // namespace

std::expected<SoapCall, QString> parseSoapCall(const QByteArray& body) {
    QXmlStreamReader reader(body);
    const auto failure = [&reader](const QString& fallback) {
        return std::unexpected(reader.hasError() ? reader.errorString() : fallback);
    };
    if (!nextStartElement(reader) || reader.name() != QLatin1String("Envelope") || reader.namespaceUri() != kEnvelopeNamespace)
        return failure(QStringLiteral("no SOAP envelope"));
    if (!nextStartElement(reader) || reader.name() != QLatin1String("Body") || reader.namespaceUri() != kEnvelopeNamespace)
        return failure(QStringLiteral("no SOAP body"));
    if (!nextStartElement(reader)) return failure(QStringLiteral("no action in the SOAP body"));

    SoapCall call;
    call.serviceType = reader.namespaceUri().toString();
    call.action = reader.name().toString();
    while (nextStartElement(reader)) {
        const QString name = reader.name().toString();
        const QString value = reader.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (reader.hasError()) return failure({});
        call.arguments.append({name, value});
    }
    // The rest must close the envelope cleanly.
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) return std::unexpected(QStringLiteral("more than one action"));
        if (token == QXmlStreamReader::DTD) return std::unexpected(QStringLiteral("a DTD is not accepted"));
    }
    if (reader.hasError()) return failure({});
    return call;
}

QByteArray soapResponse(const QString& serviceType, const QString& action, const SoapValues& outputs) {
    QString xml = kEnvelopeOpen + QStringLiteral("<u:%1Response xmlns:u=\"%2\">").arg(action, xmlEscaped(serviceType));
    for (const auto& [name, value] : outputs)
        xml += QLatin1Char('<') + name + QLatin1Char('>') + xmlEscaped(value) + QStringLiteral("</") + name + QLatin1Char('>');
    xml += QStringLiteral("</u:%1Response>").arg(action) + kEnvelopeClose;
    return xml.toUtf8();
}

QByteArray soapFault(int upnpErrorCode) {
    return (kEnvelopeOpen
            + QStringLiteral("<s:Fault><faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>"
                             "<UPnPError xmlns=\"urn:schemas-upnp-org:control-1-0\"><errorCode>%1</errorCode></UPnPError>"
                             "</detail></s:Fault>")
                  .arg(upnpErrorCode)
            + kEnvelopeClose)
        .toUtf8();
}

} // namespace orvel::fakes
