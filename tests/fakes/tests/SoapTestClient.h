#pragma once

// Sends control actions to a fake speaker the way a controller does and reads the reply.

#include <QString>

#include "fakes/FakeHousehold.h"

namespace orvel::fakes::testing {

struct ActionResult {
    bool finished = false;
    int status = 0;
    SoapValues outputs;
    int faultCode = 0;  // the UPnP error code of a fault; 0 otherwise
    QByteArray body;

    bool ok() const { return finished && status == 200 && faultCode == 0; }
    QString output(const QString& name) const;
};

ActionResult callAction(const FakeHousehold& household, const QString& uuid, const QString& serviceAndAction,
                        const SoapValues& arguments);

// The escaped document a reply carried, parsed: element names with their attributes, in
// document order, for quick assertions on topology and DIDL-Lite.
struct XmlElement {
    QString name;  // qualified as written ("dc:title")
    QList<std::pair<QString, QString>> attributes;
    QString text;  // direct text, when the element has no children
    int depth = 0;

    QString attribute(const QString& name) const;
};
QList<XmlElement> parseElements(const QString& xml, bool* wellFormed = nullptr);
QList<XmlElement> elementsNamed(const QList<XmlElement>& elements, const QString& name);

} // namespace orvel::fakes::testing
