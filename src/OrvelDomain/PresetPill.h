#pragma once

// A saved grouping: a coordinator and the speakers that should follow it, under a name. The
// member set never holds the coordinator: every way of making a preset removes it.
//
// JSON: {"id": {"rawValue": UUID}, "name": text, "coordinatorUUID": id, "memberUUIDs": [ids]},
// members written in ascending identifier order. The household keeps its preset list on the
// speakers as the JSON text of an array of these, so the reader is strict: it fails as a whole
// on a missing key, a wrong type, a malformed UUID or an invalid speaker identifier.

#include <concepts>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Json.h"
#include "PresetID.h"
#include "SonosGroup.h"
#include "SpeakerUUID.h"
#include "TopologyTarget.h"

namespace orvel {

template <class R>
concept SpeakerUUIDRange =
    std::ranges::input_range<R> && std::convertible_to<std::ranges::range_reference_t<R>, const SpeakerUUID&>;

class PresetPill {
public:
    // Members in any order, with duplicates or the coordinator among them.
    template <SpeakerUUIDRange R>
    PresetPill(PresetID id, std::string name, SpeakerUUID coordinatorUUID, R&& memberUUIDs)
        : PresetPill(std::move(id), std::move(name), std::move(coordinatorUUID), collect(memberUUIDs)) {}
    PresetPill(PresetID id, std::string name, SpeakerUUID coordinatorUUID,
               std::initializer_list<SpeakerUUID> memberUUIDs)
        : PresetPill(std::move(id), std::move(name), std::move(coordinatorUUID),
                     std::set<SpeakerUUID>(memberUUIDs)) {}
    PresetPill(PresetID id, std::string name, SpeakerUUID coordinatorUUID, std::set<SpeakerUUID> memberUUIDs);

    // A new preset from a live group, under a fresh random id. The name is trimmed of white
    // space and line breaks; absent or blank, it is the group's display name as it stands.
    static PresetPill capturing(const SonosGroup& group, std::optional<std::string_view> name = std::nullopt);

    const PresetID& id() const { return id_; }
    const std::string& name() const { return name_; }
    const SpeakerUUID& coordinatorUUID() const { return coordinatorUUID_; }
    const std::set<SpeakerUUID>& memberUUIDs() const { return memberUUIDs_; }

    // The name is taken as given: callers trim and reject blanks where the user typed it.
    PresetPill renamed(std::string name) const;
    template <SpeakerUUIDRange R>
    PresetPill updated(SpeakerUUID coordinatorUUID, R&& memberUUIDs) const {
        return PresetPill(id_, name_, std::move(coordinatorUUID), std::forward<R>(memberUUIDs));
    }
    PresetPill updated(SpeakerUUID coordinatorUUID, std::initializer_list<SpeakerUUID> memberUUIDs) const {
        return PresetPill(id_, name_, std::move(coordinatorUUID), memberUUIDs);
    }

    // The grouping that applying the preset asks for.
    TopologyTarget target() const;

    Json toJson() const;
    static Decoded<PresetPill> fromJson(const Json& value);

    friend bool operator==(const PresetPill&, const PresetPill&) = default;

private:
    template <class R>
    static std::set<SpeakerUUID> collect(R&& ids) {
        std::set<SpeakerUUID> out;
        for (const SpeakerUUID& id : ids) out.insert(id);
        return out;
    }

    PresetID id_;
    std::string name_;
    SpeakerUUID coordinatorUUID_;
    std::set<SpeakerUUID> memberUUIDs_;
};

// The preset list as the speakers store it: a JSON array of presets. The text form writes each
// preset's keys in the order id, name, coordinatorUUID, memberUUIDs; text that is not valid
// UTF-8 is written with replacement characters rather than failing. The list's text is its
// presets' texts, comma-separated, in brackets, without white space.
std::string presetToJsonText(const PresetPill& preset);
Json presetListToJson(const std::vector<PresetPill>& presets);
Decoded<std::vector<PresetPill>> presetListFromJson(const Json& value);
std::string presetListToJsonText(const std::vector<PresetPill>& presets);
Decoded<std::vector<PresetPill>> presetListFromJsonText(std::string_view text);

}  // namespace orvel

template <>
struct std::hash<orvel::PresetPill> {
    std::size_t operator()(const orvel::PresetPill& preset) const noexcept;
};
