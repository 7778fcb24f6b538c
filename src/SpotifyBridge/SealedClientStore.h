#pragma once

// Where the client id of the music service comes from for one use: an explicit id, then the
// environment variables SPOTIFY_CLIENT_ID and ORVELLA_SPOTIFY_CLIENT_ID, then the id built
// into the program. The built-in id is carried as two masked 32-byte tables and unmasked into
// a buffer that is wiped as soon as the use ends, on every path out. The resolved id is never
// kept anywhere.
//
// This build carries no registered client id: the built-in id is empty, so a user links with
// an id of their own through SPOTIFY_CLIENT_ID.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "OrvelDomain/Text.h"
#include "SpotifyBridge/Secret.h"

namespace orvel {

class SealedClientStore {
public:
    using Table = std::array<std::uint8_t, 32>;
    using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

    static constexpr const char* primaryVariable = "SPOTIFY_CLIENT_ID";
    static constexpr const char* secondaryVariable = "ORVELLA_SPOTIFY_CLIENT_ID";

    // The program's own tables; they combine to the built-in id.
    static const Table builtInTable;
    static const Table builtInPad;

    // Runs `body` with the resolved id and returns what it returns.
    template <class F>
    static decltype(auto) withEphemeralClientID(std::string_view override, F&& body) {
        return withEphemeralClientID(override, processEnvironment, builtInTable, builtInPad, std::forward<F>(body));
    }

    template <class F>
    static decltype(auto) withEphemeralClientID(std::string_view override, const EnvironmentLookup& environment,
                                                const Table& table, const Table& pad, F&& body) {
        std::string explicitID = text::trimmed(override);
        if (!explicitID.empty()) return std::invoke(std::forward<F>(body), std::as_const(explicitID));
        for (const char* variable : {primaryVariable, secondaryVariable}) {
            if (auto value = environment(variable)) {
                std::string trimmed = text::trimmed(*value);
                if (!trimmed.empty()) return std::invoke(std::forward<F>(body), std::as_const(trimmed));
            }
        }
        Table buffer{};
        return withUnmasked(table, pad, buffer, std::forward<F>(body));
    }

    // Unmasks into `buffer`, runs `body` with the id, and wipes `buffer` and every copy of the
    // id text before returning or letting an exception through.
    template <class F>
    static decltype(auto) withUnmasked(const Table& table, const Table& pad, Table& buffer, F&& body) {
        secret::WipeOnExit wipeBuffer(buffer);
        unmask(table, pad, buffer);
        std::string id = decodeID(buffer);
        secret::WipeOnExit wipeID(id);
        return std::invoke(std::forward<F>(body), std::as_const(id));
    }

    // table XOR pad, byte by byte.
    static void unmask(const Table& table, const Table& pad, Table& out);
    // The table that `pad` unmasks to `id` (at most 32 bytes; shorter ids end at a zero byte).
    static Table mask(std::string_view id, const Table& pad);
    // The bytes before the first zero byte, as UTF-8 with invalid sequences replaced by U+FFFD.
    static std::string decodeID(std::span<const std::uint8_t, 32> bytes);

    static std::optional<std::string> processEnvironment(const char* name);
};

}  // namespace orvel
