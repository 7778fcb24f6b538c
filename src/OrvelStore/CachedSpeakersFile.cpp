#include "CachedSpeakersFile.h"

namespace orvel {

Json CachedSpeakersFile::toJson() const {
    Json list = Json::array();
    for (const Speaker& speaker : speakers) list.push_back(speaker.toJson());
    Json out = Json::object();
    out["speakers"] = std::move(list);
    out["rf"] = rf.toJson();
    if (networkName) out["networkName"] = *networkName;
    return out;
}

Decoded<CachedSpeakersFile> CachedSpeakersFile::fromJson(const Json& value) {
    ORVEL_TRY(const Json* object, json::expectObject(value));
    auto decodeSpeakers = [](const Json& list) { return json::decodeArray(list, Speaker::fromJson); };
    ORVEL_TRY(std::vector<Speaker> speakers, json::required(*object, "speakers", decodeSpeakers));
    ORVEL_TRY(RFPeerMatrix rf, json::required(*object, "rf", RFPeerMatrix::fromJson));
    ORVEL_TRY(std::optional<std::string> networkName, json::optionalString(*object, "networkName"));
    return CachedSpeakersFile{std::move(speakers), std::move(rf), std::move(networkName)};
}

}  // namespace orvel
