#pragma once

// What "cached-speakers.json" holds: the speakers last known, the radio matrix and the
// household's name, so the map can show the household before the network answers.
//
// JSON: {"speakers": [speaker, ...], "rf": matrix, "networkName"?: text}. Reading is strict:
// a bad identifier, a volume outside 0...100, a missing member or a wrong type fails the whole
// file.

#include <optional>
#include <string>
#include <vector>

#include "OrvelDomain/Json.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/Speaker.h"

namespace orvel {

struct CachedSpeakersFile {
    // In the order written (ascending identifier when the state writes them). A hand-edited
    // file may repeat an identifier; whoever keys them by identifier keeps the last.
    std::vector<Speaker> speakers;
    RFPeerMatrix rf;
    std::optional<std::string> networkName;

    Json toJson() const;
    static Decoded<CachedSpeakersFile> fromJson(const Json& value);

    friend bool operator==(const CachedSpeakersFile&, const CachedSpeakersFile&) = default;
};

}  // namespace orvel
