#include "PresetPill.h"

#include "HashCombine.h"
#include "Text.h"

namespace orvel {

PresetPill::PresetPill(PresetID id, std::string name, SpeakerUUID coordinatorUUID,
                       std::set<SpeakerUUID> memberUUIDs)
    : id_(std::move(id)),
      name_(std::move(name)),
      coordinatorUUID_(std::move(coordinatorUUID)),
      memberUUIDs_(std::move(memberUUIDs)) {
    memberUUIDs_.erase(coordinatorUUID_);
}

PresetPill PresetPill::capturing(const SonosGroup& group, std::optional<std::string_view> name) {
    std::string trimmed = name ? text::trimmed(*name) : std::string();
    std::set<SpeakerUUID> members;
    for (const auto& member : group.members) members.insert(member.id);
    return PresetPill(PresetID::random(), trimmed.empty() ? group.displayName : std::move(trimmed),
                      group.coordinator.id, std::move(members));
}

PresetPill PresetPill::renamed(std::string name) const {
    PresetPill copy = *this;
    copy.name_ = std::move(name);
    return copy;
}

TopologyTarget PresetPill::target() const {
    return TopologyTarget::exactGroup(coordinatorUUID_, memberUUIDs_);
}

Json PresetPill::toJson() const {
    Json members = Json::array();
    // The set iterates in identifier order, which is the order the form asks for.
    for (const auto& member : memberUUIDs_) members.push_back(member.toJson());
    Json out = Json::object();
    out["id"] = id_.toJson();
    out["name"] = name_;
    out["coordinatorUUID"] = coordinatorUUID_.toJson();
    out["memberUUIDs"] = std::move(members);
    return out;
}

Decoded<PresetPill> PresetPill::fromJson(const Json& value) {
    ORVEL_TRY(PresetID id, json::required(value, "id", PresetID::fromJson));
    ORVEL_TRY(std::string name, json::requiredString(value, "name"));
    ORVEL_TRY(SpeakerUUID coordinator, json::required(value, "coordinatorUUID", SpeakerUUID::fromJson));
    ORVEL_TRY(std::vector<SpeakerUUID> members, json::required(value, "memberUUIDs", [](const Json& array) {
                  return json::decodeArray(array, SpeakerUUID::fromJson);
              }));
    return PresetPill(std::move(id), std::move(name), std::move(coordinator), members);
}

Json presetListToJson(const std::vector<PresetPill>& presets) {
    Json out = Json::array();
    for (const auto& preset : presets) out.push_back(preset.toJson());
    return out;
}

Decoded<std::vector<PresetPill>> presetListFromJson(const Json& value) {
    return json::decodeArray(value, PresetPill::fromJson);
}

std::string presetToJsonText(const PresetPill& preset) {
    // The plain document type sorts keys; the stored text keeps the field order instead.
    nlohmann::ordered_json id = nlohmann::ordered_json::object();
    id["rawValue"] = preset.id().rawValue();
    nlohmann::ordered_json members = nlohmann::ordered_json::array();
    for (const auto& member : preset.memberUUIDs()) members.push_back(member.rawValue());
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["id"] = std::move(id);
    object["name"] = preset.name();
    object["coordinatorUUID"] = preset.coordinatorUUID().rawValue();
    object["memberUUIDs"] = std::move(members);
    // A name can hold bytes that are not UTF-8; the default handler would throw on them.
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string presetListToJsonText(const std::vector<PresetPill>& presets) {
    std::string out = "[";
    for (const auto& preset : presets) {
        if (out.size() > 1) out += ',';
        out += presetToJsonText(preset);
    }
    out += ']';
    return out;
}

Decoded<std::vector<PresetPill>> presetListFromJsonText(std::string_view text) {
    ORVEL_TRY(Json value, json::parse(text));
    return presetListFromJson(value);
}

}  // namespace orvel

std::size_t std::hash<orvel::PresetPill>::operator()(const orvel::PresetPill& preset) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, preset.id());
    orvel::hashCombine(seed, preset.name());
    orvel::hashCombine(seed, preset.coordinatorUUID());
    orvel::hashCombine(seed, preset.memberUUIDs().size());
    for (const auto& member : preset.memberUUIDs()) orvel::hashCombine(seed, member);
    return seed;
}
