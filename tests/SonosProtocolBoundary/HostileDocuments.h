#pragma once

// Generated replies that are well formed but built to be expensive: each stays within the
// reply size cap and aims at a cost that grows faster than its size.

#include <cstddef>
#include <cstdio>
#include <string>

namespace orvel::hostile {

inline std::string speakerID(char kind, std::size_t n) {
    char text[32];
    std::snprintf(text, sizeof text, "RINCON_%c%011zX01400", kind, n);
    return text;
}

// A device description whose <device> carries `count` attributes.
inline std::string deviceDescriptionWithAttributes(std::size_t count) {
    std::string doc = "<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device";
    for (std::size_t i = 0; i < count; ++i) doc += " a" + std::to_string(i) + "=\"\"";
    doc += "><roomName>Den</roomName></device></root>";
    return doc;
}

// The same number of attributes, a handful on each of many elements.
inline std::string deviceDescriptionWithSpreadAttributes(std::size_t count) {
    std::string doc = "<root><device>";
    for (std::size_t i = 0; i < count; i += 4) doc += "<x a=\"\" b=\"\" c=\"\" d=\"\"/>";
    doc += "</device></root>";
    return doc;
}

// Elements each declaring a namespace, nested so that all stay in scope.
inline std::string nestedNamespaceDeclarations(std::size_t count) {
    std::string doc;
    for (std::size_t i = 0; i < count; ++i) doc += "<e xmlns:p" + std::to_string(i) + "=\"urn:x\">";
    for (std::size_t i = 0; i < count; ++i) doc += "</e>";
    return doc;
}

// One group of `rooms` rooms; the first holds `rooms` satellites, each named in its channel map.
inline std::string zoneGroupStateWithSatellites(std::size_t rooms, const std::string& roomName = "R") {
    const std::string first = speakerID('A', 0);
    std::string doc = "<ZoneGroupState><ZoneGroups><ZoneGroup Coordinator=\"" + first + "\">";
    doc += "<ZoneGroupMember UUID=\"" + first + "\" ZoneName=\"" + roomName + "\" HTSatChanMapSet=\"";
    for (std::size_t i = 0; i < rooms; ++i) doc += speakerID('B', i) + ":SW;";
    doc += "\">";
    for (std::size_t i = 0; i < rooms; ++i) doc += "<Satellite UUID=\"" + speakerID('B', i) + "\"/>";
    doc += "</ZoneGroupMember>";
    for (std::size_t i = 1; i < rooms; ++i) {
        doc += "<ZoneGroupMember UUID=\"" + speakerID('A', i) + "\" ZoneName=\"" + roomName + "\"/>";
    }
    doc += "</ZoneGroup></ZoneGroups></ZoneGroupState>";
    return doc;
}

// Many small elements with text, up to about `bytes` in all: the most an ordinary reply can cost.
inline std::string manySmallElements(std::size_t bytes) {
    std::string doc = "<root>";
    while (doc.size() + 64 < bytes) doc += "<item id=\"1\" kind=\"a\"><title>Song</title></item>";
    doc += "</root>";
    return doc;
}

// `count` elements with a little text each, under one root.
inline std::string manyTextElements(std::size_t count) {
    std::string doc = "<root>";
    for (std::size_t i = 1; i < count; ++i) doc += "<title>A song of some length</title>";
    doc += "</root>";
    return doc;
}

// Text of nothing but characters XML cannot carry, up to about `bytes`: each raw control byte
// reads as the three bytes of U+FFFD, so the document the reader sees is three times as large.
inline std::string controlCharacters(std::size_t bytes) { return "<a>" + std::string(bytes - 7, '\x01') + "</a>"; }

}  // namespace orvel::hostile
