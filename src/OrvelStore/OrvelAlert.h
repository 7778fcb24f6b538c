#pragma once

// The one alert the application shows at a time. The value says what happened; the sentence
// shown for it is chosen by the view that displays it.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <variant>

#include "OrvelDomain/Overloaded.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosCommandError.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/SpotifyBridgeError.h"

namespace orvel {

class OrvelAlert {
public:
    struct CommandFailed {
        SonosCommand command;
        SonosCommandError error;
        friend bool operator==(const CommandFailed&, const CommandFailed&) = default;
    };
    // The command ran, but the listed speakers could not be reached.
    struct PartiallyApplied {
        SonosCommand command;
        std::set<SpeakerUUID> unreachable;
        friend bool operator==(const PartiallyApplied&, const PartiallyApplied&) = default;
    };
    struct Spotify {
        SpotifyBridgeError error;
        friend bool operator==(const Spotify&, const Spotify&) = default;
    };
    // A file could not be read and was set aside under `fileName`, or could not be written.
    struct Quarantined {
        std::string fileName;
        friend bool operator==(const Quarantined&, const Quarantined&) = default;
    };

    static OrvelAlert commandFailed(SonosCommand command, SonosCommandError error) {
        return OrvelAlert(CommandFailed{std::move(command), std::move(error)});
    }
    static OrvelAlert partiallyApplied(SonosCommand command, std::set<SpeakerUUID> unreachable) {
        return OrvelAlert(PartiallyApplied{std::move(command), std::move(unreachable)});
    }
    static OrvelAlert spotify(SpotifyBridgeError error) { return OrvelAlert(Spotify{std::move(error)}); }
    static OrvelAlert quarantined(std::string fileName) { return OrvelAlert(Quarantined{std::move(fileName)}); }

    bool isCommandFailed() const { return std::holds_alternative<CommandFailed>(value_); }
    bool isPartiallyApplied() const { return std::holds_alternative<PartiallyApplied>(value_); }
    bool isSpotify() const { return std::holds_alternative<Spotify>(value_); }
    bool isQuarantined() const { return std::holds_alternative<Quarantined>(value_); }
    const CommandFailed* asCommandFailed() const { return std::get_if<CommandFailed>(&value_); }
    const PartiallyApplied* asPartiallyApplied() const { return std::get_if<PartiallyApplied>(&value_); }
    const Spotify* asSpotify() const { return std::get_if<Spotify>(&value_); }
    const Quarantined* asQuarantined() const { return std::get_if<Quarantined>(&value_); }
    std::size_t caseIndex() const { return value_.index(); }

    std::size_t hashValue() const;

    friend bool operator==(const OrvelAlert&, const OrvelAlert&) = default;

private:
    using Value = std::variant<CommandFailed, PartiallyApplied, Spotify, Quarantined>;
    explicit OrvelAlert(Value value) : value_(std::move(value)) {}
    Value value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel

template <>
struct std::hash<orvel::OrvelAlert> {
    std::size_t operator()(const orvel::OrvelAlert& alert) const noexcept { return alert.hashValue(); }
};
