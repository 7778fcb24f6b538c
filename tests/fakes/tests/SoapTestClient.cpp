#include "SoapTestClient.h"

#include <QXmlStreamReader>

#include "HttpTestClient.h"

namespace orvel::fakes::testing {

QString ActionResult::output(const QString& name) const {
    for (const auto& [key, value] : outputs)
        if (key == name) return value;
    return {};
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

QString XmlElement::attribute(const QString& name) const {
    for (const auto& [key, value] : attributes)
        if (key == name) return value;
    return {};
}

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
