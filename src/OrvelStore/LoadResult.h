#pragma once

// What loading one file of the store came to: its content, the name under which an unreadable
// copy was set aside, or nothing (no file, or a disposable one that was unreadable and deleted).

#include <string>
#include <utility>
#include <variant>

#include "OrvelDomain/Overloaded.h"

namespace orvel {

template <class T>
class LoadResult {
public:
    struct Loaded {
        T value;
        friend bool operator==(const Loaded&, const Loaded&) = default;
    };
    struct Quarantined {
        std::string fileName;
        friend bool operator==(const Quarantined&, const Quarantined&) = default;
    };
    struct Missing {
        friend bool operator==(const Missing&, const Missing&) = default;
    };

    static LoadResult loaded(T value) { return LoadResult(Loaded{std::move(value)}); }
    static LoadResult quarantined(std::string fileName) { return LoadResult(Quarantined{std::move(fileName)}); }
    static LoadResult missing() { return LoadResult(Missing{}); }

    bool isLoaded() const { return std::holds_alternative<Loaded>(value_); }
    bool isQuarantined() const { return std::holds_alternative<Quarantined>(value_); }
    bool isMissing() const { return std::holds_alternative<Missing>(value_); }
    const Loaded* asLoaded() const { return std::get_if<Loaded>(&value_); }
    const Quarantined* asQuarantined() const { return std::get_if<Quarantined>(&value_); }

    friend bool operator==(const LoadResult&, const LoadResult&) = default;

private:
    explicit LoadResult(std::variant<Loaded, Quarantined, Missing> value) : value_(std::move(value)) {}
    std::variant<Loaded, Quarantined, Missing> value_;

public:
    // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
    ORVEL_EXHAUSTIVE_VISIT(value_)
};

}  // namespace orvel
