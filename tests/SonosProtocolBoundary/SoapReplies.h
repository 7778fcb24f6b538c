#pragma once

// Reply bodies as speakers send them, for tests that serve SOAP from a fake server.

#include <string>
#include <utility>
#include <vector>

#include <QByteArray>

namespace orvel::soap_replies {

// A 200 reply body for `action` with the given outputs, whose values are already escaped.
inline QByteArray soapReply(const std::string& action, const std::string& serviceType,
                            const std::vector<std::pair<std::string, std::string>>& escapedOutputs) {
    std::string body = R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
                       R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>)";
    body += "<u:" + action + "Response xmlns:u=\"" + serviceType + "\">";
    for (const auto& [name, value] : escapedOutputs) body += "<" + name + ">" + value + "</" + name + ">";
    body += "</u:" + action + "Response></s:Body></s:Envelope>";
    return QByteArray::fromStdString(body);
}

// A 500 reply body: a SOAP fault carrying a UPnP error code.
inline QByteArray soapFault(int errorCode) {
    return QByteArray(R"(<?xml version="1.0"?><s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
                      R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body><s:Fault>)"
                      R"(<faultcode>s:Client</faultcode><faultstring>UPnPError</faultstring><detail>)"
                      R"(<UPnPError xmlns="urn:schemas-upnp-org:control-1-0"><errorCode>)") +
           QByteArray::number(errorCode) + "</errorCode></UPnPError></detail></s:Fault></s:Body></s:Envelope>";
}

}  // namespace orvel::soap_replies
