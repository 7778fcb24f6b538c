#include "SOAPRequest.h"

#include "OrvelDomain/Text.h"
#include "SonosProtocolBoundary/XMLCharacters.h"

namespace orvel {

namespace {

using xml_characters::isXmlCharacter;

// Appends in place: a value can be megabytes (the preset list), so neither a decoded copy of
// it nor a temporary escaped one is made.
void appendXmlEscaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            // A run of bytes outside ASCII, decoded as a whole: no ASCII byte is ever part of a
            // multi-byte sequence, so the run decodes as the whole text would there.
            std::size_t end = i;
            while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
            std::u32string run = text::toUtf32(text.substr(i, end - i));
            std::erase_if(run, [](char32_t c) { return !isXmlCharacter(c); });
            out += text::toUtf8(run);
            i = end;
            continue;
        }
        switch (byte) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        case '\r': out += "&#13;"; break;
        default:
            if (isXmlCharacter(byte)) out.push_back(static_cast<char>(byte));
            break;
        }
        ++i;
    }
}

}  // namespace

std::string xmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    appendXmlEscaped(out, text);
    return out;
}

std::string SOAPRequest::envelope() const {
    const std::string type(upnp::serviceType(service));
    std::string body;
    body += R"(<?xml version="1.0" encoding="utf-8"?>)";
    body += R"(<s:Envelope xmlns:s="http://schemas.xmlsoap.org/soap/envelope/" )"
            R"(s:encodingStyle="http://schemas.xmlsoap.org/soap/encoding/"><s:Body>)";
    body += "<u:" + action + " xmlns:u=\"" + type + "\">";
    std::size_t valueBytes = 0;
    for (const auto& argument : arguments) valueBytes += argument.second.size();
    body.reserve(body.size() + valueBytes + valueBytes / 8 + 256);
    for (const auto& [name, value] : arguments) {
        body += "<" + name + ">";
        appendXmlEscaped(body, value);
        body += "</" + name + ">";
    }
    body += "</u:" + action + "></s:Body></s:Envelope>";
    return body;
}

std::string SOAPRequest::soapAction() const {
    return "\"" + std::string(upnp::serviceType(service)) + "#" + action + "\"";
}

}  // namespace orvel
