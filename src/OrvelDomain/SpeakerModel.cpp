#include "SpeakerModel.h"

#include <array>
#include <utility>

#include "HashCombine.h"
#include "Text.h"

namespace orvel {

namespace {

using Kind = SpeakerModel::Kind;

constexpr std::size_t caseCount = 21;

struct CaseLabels {
    std::string_view name;
    std::string_view displayName;
    std::string_view shortName;
};

// Indexed by Kind. The labels of `unrecognized` are derived from its payload instead.
constexpr std::array<CaseLabels, caseCount> cases{{
    {"arc", "Sonos Arc", "Arc"},
    {"beam", "Sonos Beam", "Beam"},
    {"ray", "Sonos Ray", "Ray"},
    {"playbar", "Sonos Playbar", "Playbar"},
    {"playbase", "Sonos Playbase", "Playbase"},
    {"era100", "Sonos Era 100", "Era 100"},
    {"era300", "Sonos Era 300", "Era 300"},
    {"one", "Sonos One", "One"},
    {"five", "Sonos Five", "Five"},
    {"play1", "Sonos Play:1", "Play:1"},
    {"play3", "Sonos Play:3", "Play:3"},
    {"move", "Sonos Move", "Move"},
    {"roam", "Sonos Roam", "Roam"},
    {"sub", "Sonos Sub", "Sub"},
    {"subMini", "Sonos Sub Mini", "Sub Mini"},
    {"symfoniskBookshelf", "Symfonisk Bookshelf", "Symfonisk"},
    {"symfoniskLamp", "Symfonisk Lamp", "Lamp"},
    {"symfoniskFrame", "Symfonisk Picture Frame", "Frame"},
    {"amp", "Sonos Amp", "Amp"},
    {"port", "Sonos Port", "Port"},
    {"unrecognized", "", ""},
}};

const CaseLabels& labels(Kind kind) { return cases[static_cast<std::size_t>(kind)]; }

struct ModelCode {
    std::string_view code;
    Kind kind;
};

// "S23" is missing on purpose: that code is shared by two models and decided by the name.
constexpr ModelCode modelCodes[] = {
    {"S19", Kind::arc}, {"S45", Kind::arc},
    {"S14", Kind::beam}, {"S31", Kind::beam},
    {"S36", Kind::ray},
    {"S9", Kind::playbar},
    {"S11", Kind::playbase},
    {"S39", Kind::era100},
    {"S41", Kind::era300},
    {"S13", Kind::one}, {"S18", Kind::one}, {"S22", Kind::one}, {"S38", Kind::one},
    {"S5", Kind::five}, {"S6", Kind::five},
    {"S1", Kind::play1}, {"S12", Kind::play1},
    {"S3", Kind::play3},
    {"S17", Kind::move}, {"S44", Kind::move},
    {"S27", Kind::roam}, {"S35", Kind::roam}, {"S43", Kind::roam},
    {"S10", Kind::sub}, {"S15", Kind::sub}, {"S24", Kind::sub}, {"S37", Kind::sub},
    {"S42", Kind::sub}, {"SUB", Kind::sub},
    {"S34", Kind::subMini},
    {"S21", Kind::symfoniskBookshelf}, {"S33", Kind::symfoniskBookshelf},
    {"S20", Kind::symfoniskLamp}, {"S29", Kind::symfoniskLamp}, {"S40", Kind::symfoniskLamp},
    {"S30", Kind::symfoniskFrame},
    {"S16", Kind::amp}, {"ZP100", Kind::amp}, {"ZP120", Kind::amp},
    {"ZP80", Kind::port}, {"ZP90", Kind::port},
};

bool contains(std::string_view key, std::string_view text) { return key.find(text) != std::string_view::npos; }

template <class... Texts>
bool containsAny(std::string_view key, Texts... texts) {
    return (contains(key, texts) || ...);
}

std::optional<Kind> kindForNumber(std::string_view numberKey, std::string_view nameKey) {
    if (numberKey == "S23") {
        return containsAny(nameKey, "five", "play:5", "play 5") ? Kind::five : Kind::port;
    }
    for (const auto& entry : modelCodes) {
        if (entry.code == numberKey) return entry.kind;
    }
    return std::nullopt;
}

// The order of the tests matters: a name that passes several of them takes the first.
std::optional<Kind> kindForName(std::string_view key) {
    if (contains(key, "arc")) return Kind::arc;
    if (contains(key, "beam")) return Kind::beam;
    if (contains(key, "ray")) return Kind::ray;
    if (contains(key, "playbar")) return Kind::playbar;
    if (contains(key, "playbase")) return Kind::playbase;
    if (containsAny(key, "era 100", "era100")) return Kind::era100;
    if (containsAny(key, "era 300", "era300")) return Kind::era300;
    if (contains(key, "sub mini")) return Kind::subMini;
    if (key == "sub" || contains(key, "sonos sub") || key.starts_with("sub ") || key.ends_with(" sub")) {
        return Kind::sub;
    }
    if (contains(key, "move")) return Kind::move;
    if (contains(key, "roam")) return Kind::roam;
    if (containsAny(key, "symfonisk", "bookshelf", "picture frame", "table lamp", "floor lamp")) {
        if (contains(key, "lamp")) return Kind::symfoniskLamp;
        if (contains(key, "frame")) return Kind::symfoniskFrame;
        return Kind::symfoniskBookshelf;
    }
    if (containsAny(key, "play:5", "play 5", "sonos five") || key == "five") return Kind::five;
    if (containsAny(key, "play:3", "play 3")) return Kind::play3;
    if (containsAny(key, "play:1", "play 1")) return Kind::play1;
    if (containsAny(key, "sonos one", "one sl") || key == "one") return Kind::one;
    if (containsAny(key, "connect:amp", "sonos amp") || key == "amp") return Kind::amp;
    if (contains(key, "sonos port") || key == "port") return Kind::port;
    if (contains(key, "sonos connect") || key == "connect") return Kind::port;
    return std::nullopt;
}

std::string numberKey(std::string_view modelNumber) { return text::uppercased(text::trimmed(modelNumber)); }

}  // namespace

SpeakerModel SpeakerModel::withoutPayload(Kind kind) {
    static_assert(std::variant_size_v<Value> == caseCount);
    // Builds the alternative whose index is the kind; every alternative is default-constructible.
    return [kind]<std::size_t... I>(std::index_sequence<I...>) {
        Value value;
        ((static_cast<std::size_t>(kind) == I ? (value.emplace<I>(), true) : false) || ...);
        return SpeakerModel(std::move(value));
    }(std::make_index_sequence<caseCount>{});
}

SpeakerModel SpeakerModel::classify(std::string_view modelName, std::string_view modelNumber,
                                    const std::vector<BondedSatellite>& /*satellites*/,
                                    std::optional<BatteryTelemetry> battery) {
    std::string number = numberKey(modelNumber);
    std::string name = text::lowercased(text::trimmed(modelName));
    std::optional<Kind> kind = kindForNumber(number, name);
    if (!kind) kind = kindForName(name);
    if (!kind) return unrecognized(std::string(modelNumber), std::string(modelName));
    if (*kind == Kind::move) return move(std::move(battery));
    if (*kind == Kind::roam) return roam(std::move(battery));
    return withoutPayload(*kind);
}

bool SpeakerModel::isBatteryCapable(std::string_view modelNumber) {
    std::string number = numberKey(modelNumber);
    return number == "S17" || number == "S44" || number == "S27" || number == "S35" || number == "S43";
}

std::string_view SpeakerModel::caseName() const { return labels(kind()).name; }

std::string SpeakerModel::displayName() const {
    if (const auto* other = asUnrecognized()) {
        std::string name = text::trimmed(other->displayName);
        if (!name.empty()) return name;
        if (other->modelNumber.empty()) return "Sonos Speaker";
        return "Sonos (" + other->modelNumber + ")";
    }
    return std::string(labels(kind()).displayName);
}

std::string SpeakerModel::shortName() const {
    if (const auto* other = asUnrecognized()) {
        std::string name = text::trimmed(other->displayName);
        if (!name.empty()) return name;
        if (!other->modelNumber.empty()) return other->modelNumber;
        return "Sonos";
    }
    return std::string(labels(kind()).shortName);
}

std::optional<BatteryTelemetry> SpeakerModel::battery() const {
    if (const auto* m = asMove()) return m->battery;
    if (const auto* r = asRoam()) return r->battery;
    return std::nullopt;
}

bool SpeakerModel::isSemanticallyEquivalent(const SpeakerModel& to) const {
    if ((isMove() && to.isMove()) || (isRoam() && to.isRoam())) {
        auto mine = battery();
        auto theirs = to.battery();
        if (!mine || !theirs) return mine.has_value() == theirs.has_value();
        return mine->isSemanticallyEquivalent(*theirs);
    }
    return *this == to;
}

Json SpeakerModel::toJson() const {
    Json payload = Json::object();
    if (auto reading = battery()) payload["battery"] = reading->toJson();
    if (const auto* other = asUnrecognized()) {
        payload["modelNumber"] = other->modelNumber;
        payload["displayName"] = other->displayName;
    }
    return json::tagged(caseName(), std::move(payload));
}

Decoded<SpeakerModel> SpeakerModel::fromJson(const Json& value) {
    ORVEL_TRY(json::TaggedCase tagged, [&]<std::size_t... I>(std::index_sequence<I...>) {
        return json::decodeTagged(value, {cases[I].name...});
    }(std::make_index_sequence<caseCount>{}));
    std::size_t index = 0;
    while (cases[index].name != tagged.name) ++index;
    auto kind = static_cast<Kind>(index);
    const Json& payload = *tagged.payload;

    auto withCase = [&](const DecodingError& error) { return std::unexpected(error.at(tagged.name)); };
    switch (kind) {
    case Kind::move:
    case Kind::roam: {
        auto reading = json::optional(payload, "battery", BatteryTelemetry::fromJson);
        if (!reading) return withCase(reading.error());
        return kind == Kind::move ? move(std::move(*reading)) : roam(std::move(*reading));
    }
    case Kind::unrecognized: {
        auto number = json::requiredString(payload, "modelNumber");
        if (!number) return withCase(number.error());
        auto name = json::requiredString(payload, "displayName");
        if (!name) return withCase(name.error());
        return unrecognized(std::move(*number), std::move(*name));
    }
    default:
        return withoutPayload(kind);
    }
}

}  // namespace orvel

std::size_t std::hash<orvel::SpeakerModel>::operator()(const orvel::SpeakerModel& model) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, static_cast<std::size_t>(model.kind()));
    orvel::hashCombine(seed, model.battery());
    if (const auto* other = model.asUnrecognized()) {
        orvel::hashCombine(seed, other->modelNumber);
        orvel::hashCombine(seed, other->displayName);
    }
    return seed;
}
