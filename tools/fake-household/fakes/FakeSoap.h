#pragma once

// SOAP 1.1 as the fake speakers speak it: reading a control request's envelope and writing
// replies and UPnP faults.

#include <expected>

#include <QByteArray>
#include <QString>

#include "fakes/FakeHouseholdModel.h"

namespace orvel::fakes {

struct SoapCall {
    QString serviceType;  // the namespace of the action element
    QString action;
    SoapValues arguments;  // in the order sent, text unescaped once
};

// The action and arguments of a request envelope; an error text for anything else (not XML,
// a DTD, no Envelope or Body, no action, an argument holding elements).
std::expected<SoapCall, QString> parseSoapCall(const QByteArray& body);

QByteArray soapResponse(const QString& serviceType, const QString& action, const SoapValues& outputs);
QByteArray soapFault(int upnpErrorCode);

} // namespace orvel::fakes
