#include "OrvelAlert.h"

#include "OrvelDomain/HashCombine.h"

namespace orvel {

std::size_t OrvelAlert::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, caseIndex());
    std::visit(
        [&seed](const auto& payload) {
            using T = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<T, CommandFailed>) {
                hashCombine(seed, payload.command);
                hashCombine(seed, payload.error);
            } else if constexpr (std::is_same_v<T, PartiallyApplied>) {
                hashCombine(seed, payload.command);
                for (const auto& id : payload.unreachable) hashCombine(seed, id);
            } else if constexpr (std::is_same_v<T, Spotify>) {
                hashCombine(seed, payload.error);
            } else {
                hashCombine(seed, payload.fileName);
            }
        },
        value_);
    return seed;
}

}  // namespace orvel
