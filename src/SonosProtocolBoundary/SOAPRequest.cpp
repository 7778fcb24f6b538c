#include "SOAPRequest.h"

#include "OrvelDomain/Text.h"

namespace orvel {

namespace {

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

std::string xmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char32_t c : text::toUtf32(text)) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (isXmlCharacter(c)) out += text::toUtf8(std::u32string_view(&c, 1));
            break;
        }
    }
    return out;
}

std::string SOAPRequest::envelope() const {
    const std::string type(upnp::serviceType(service));
    std::string body;
    body += R"(<?xml version="1.0" encoding="utf-8"?>)";
    body += R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
            R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>)";
    body += "<u:" + action + " xmlns:u=\"" + type + "\">";
    for (const auto& [name, value] : arguments) {
        body += "<" + name + ">" + xmlEscaped(value) + "</" + name + ">";
    }
    body += "</u:" + action + "></s:Body></s:Envelope>";
    return body;
}

std::string SOAPRequest::soapAction() const {
    return "\"" + std::string(upnp::serviceType(service)) + "#" + action + "\"";
}

}  // namespace orvel
