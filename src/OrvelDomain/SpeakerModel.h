#pragma once

// The hardware model of a player: 20 known models, two of them portable with an optional
// battery reading, and `unrecognized` keeping what the speaker reported.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "BatteryTelemetry.h"
#include "Json.h"
#include "Overloaded.h"

namespace orvel {

struct BondedSatellite;

class SpeakerModel {
public:
    // The cases in declaration order; also the order of the variant's alternatives.
    enum class Kind : std::uint8_t {
        arc, beam, ray, playbar, playbase, era100, era300, one, five, play1, play3,
        move, roam, sub, subMini, symfoniskBookshelf, symfoniskLamp, symfoniskFrame, amp, port,
        unrecognized,
    };

    struct Arc { friend bool operator==(const Arc&, const Arc&) = default; };
    struct Beam { friend bool operator==(const Beam&, const Beam&) = default; };
    struct Ray { friend bool operator==(const Ray&, const Ray&) = default; };
    struct Playbar { friend bool operator==(const Playbar&, const Playbar&) = default; };
    struct Playbase { friend bool operator==(const Playbase&, const Playbase&) = default; };
    struct Era100 { friend bool operator==(const Era100&, const Era100&) = default; };
    struct Era300 { friend bool operator==(const Era300&, const Era300&) = default; };
    struct One { friend bool operator==(const One&, const One&) = default; };
    struct Five { friend bool operator==(const Five&, const Five&) = default; };
    struct Play1 { friend bool operator==(const Play1&, const Play1&) = default; };
    struct Play3 { friend bool operator==(const Play3&, const Play3&) = default; };
    struct Move {
        std::optional<BatteryTelemetry> battery;
        friend bool operator==(const Move&, const Move&) = default;
    };
    struct Roam {
        std::optional<BatteryTelemetry> battery;
        friend bool operator==(const Roam&, const Roam&) = default;
    };
    struct Sub { friend bool operator==(const Sub&, const Sub&) = default; };
    struct SubMini { friend bool operator==(const SubMini&, const SubMini&) = default; };
    struct SymfoniskBookshelf { friend bool operator==(const SymfoniskBookshelf&, const SymfoniskBookshelf&) = default; };
    struct SymfoniskLamp { friend bool operator==(const SymfoniskLamp&, const SymfoniskLamp&) = default; };
    struct SymfoniskFrame { friend bool operator==(const SymfoniskFrame&, const SymfoniskFrame&) = default; };
    struct Amp { friend bool operator==(const Amp&, const Amp&) = default; };
    struct Port { friend bool operator==(const Port&, const Port&) = default; };
    // Both texts exactly as reported: neither trimmed nor case-folded.
    struct Unrecognized {
        std::string modelNumber;
        std::string displayName;
        friend bool operator==(const Unrecognized&, const Unrecognized&) = default;
    };

    static SpeakerModel arc() { return SpeakerModel(Arc{}); }
    static SpeakerModel beam() { return SpeakerModel(Beam{}); }
    static SpeakerModel ray() { return SpeakerModel(Ray{}); }
    static SpeakerModel playbar() { return SpeakerModel(Playbar{}); }
    static SpeakerModel playbase() { return SpeakerModel(Playbase{}); }
    static SpeakerModel era100() { return SpeakerModel(Era100{}); }
    static SpeakerModel era300() { return SpeakerModel(Era300{}); }
    static SpeakerModel one() { return SpeakerModel(One{}); }
    static SpeakerModel five() { return SpeakerModel(Five{}); }
    static SpeakerModel play1() { return SpeakerModel(Play1{}); }
    static SpeakerModel play3() { return SpeakerModel(Play3{}); }
    static SpeakerModel move(std::optional<BatteryTelemetry> battery = std::nullopt) {
        return SpeakerModel(Move{std::move(battery)});
    }
    static SpeakerModel roam(std::optional<BatteryTelemetry> battery = std::nullopt) {
        return SpeakerModel(Roam{std::move(battery)});
    }
    static SpeakerModel sub() { return SpeakerModel(Sub{}); }
    static SpeakerModel subMini() { return SpeakerModel(SubMini{}); }
    static SpeakerModel symfoniskBookshelf() { return SpeakerModel(SymfoniskBookshelf{}); }
    static SpeakerModel symfoniskLamp() { return SpeakerModel(SymfoniskLamp{}); }
    static SpeakerModel symfoniskFrame() { return SpeakerModel(SymfoniskFrame{}); }
    static SpeakerModel amp() { return SpeakerModel(Amp{}); }
    static SpeakerModel port() { return SpeakerModel(Port{}); }
    static SpeakerModel unrecognized(std::string modelNumber, std::string displayName) {
        return SpeakerModel(Unrecognized{std::move(modelNumber), std::move(displayName)});
    }
    // What stands for the model of a speaker whose description could not be read: unrecognized,
    // with neither number nor name. It tells nothing, so a model known from before beats it.
    static SpeakerModel unread() { return unrecognized("", ""); }

    // Decides by the reported model number first and only then by the model name; anything no
    // rule knows becomes `unrecognized` with both texts as passed. The battery reading is kept
    // only for the portable models. `satellites` does not affect the result: a room's model is
    // its own player's, whatever is bonded to it.
    static SpeakerModel classify(std::string_view modelName, std::string_view modelNumber,
                                 const std::vector<BondedSatellite>& satellites,
                                 std::optional<BatteryTelemetry> battery);
    // Whether the number is a portable player's code; a name never makes a model portable here,
    // so the battery page is only fetched from players that report one of these codes.
    static bool isBatteryCapable(std::string_view modelNumber);

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    // The JSON member name of the case ("arc", "symfoniskFrame", "unrecognized", ...).
    std::string_view caseName() const;
    std::string displayName() const;
    std::string shortName() const;
    // The reading of `move` and `roam` (which may be absent); absent for every other case.
    std::optional<BatteryTelemetry> battery() const;

    bool isArc() const { return kind() == Kind::arc; }
    bool isBeam() const { return kind() == Kind::beam; }
    bool isRay() const { return kind() == Kind::ray; }
    bool isPlaybar() const { return kind() == Kind::playbar; }
    bool isPlaybase() const { return kind() == Kind::playbase; }
    bool isEra100() const { return kind() == Kind::era100; }
    bool isEra300() const { return kind() == Kind::era300; }
    bool isOne() const { return kind() == Kind::one; }
    bool isFive() const { return kind() == Kind::five; }
    bool isPlay1() const { return kind() == Kind::play1; }
    bool isPlay3() const { return kind() == Kind::play3; }
    bool isMove() const { return kind() == Kind::move; }
    bool isRoam() const { return kind() == Kind::roam; }
    bool isSub() const { return kind() == Kind::sub; }
    bool isSubMini() const { return kind() == Kind::subMini; }
    bool isSymfoniskBookshelf() const { return kind() == Kind::symfoniskBookshelf; }
    bool isSymfoniskLamp() const { return kind() == Kind::symfoniskLamp; }
    bool isSymfoniskFrame() const { return kind() == Kind::symfoniskFrame; }
    bool isAmp() const { return kind() == Kind::amp; }
    bool isPort() const { return kind() == Kind::port; }
    bool isUnrecognized() const { return kind() == Kind::unrecognized; }
    bool isUnread() const {
        const Unrecognized* reported = asUnrecognized();
        return reported != nullptr && reported->modelNumber.empty() && reported->displayName.empty();
    }
    const Move* asMove() const { return std::get_if<Move>(&value_); }
    const Roam* asRoam() const { return std::get_if<Roam>(&value_); }
    const Unrecognized* asUnrecognized() const { return std::get_if<Unrecognized>(&value_); }

    // Equality, except that the sample times of two battery readings are ignored: re-reading an
    // unchanged battery is no change for the user.
    bool isSemanticallyEquivalent(const SpeakerModel& to) const;

    // {"<case>": {...}}: the battery under "battery" (left out when absent) for the portable
    // models, "modelNumber" and "displayName" for `unrecognized`, the empty object otherwise.
    Json toJson() const;
    static Decoded<SpeakerModel> fromJson(const Json& value);

    friend bool operator==(const SpeakerModel&, const SpeakerModel&) = default;

private:
    using Value = std::variant<Arc, Beam, Ray, Playbar, Playbase, Era100, Era300, One, Five, Play1,
                               Play3, Move, Roam, Sub, SubMini, SymfoniskBookshelf, SymfoniskLamp,
                               SymfoniskFrame, Amp, Port, Unrecognized>;
    explicit SpeakerModel(Value value) : value_(std::move(value)) {}
    static SpeakerModel withoutPayload(Kind kind);
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::SpeakerModel> {
    std::size_t operator()(const orvel::SpeakerModel& model) const noexcept;
};
