#include "SealedClientStore.h"

#include <algorithm>
#include <cstdlib>

#include <unicode/utf8.h>

namespace orvel {

// The pad is arbitrary; with no registered client id the table equals it, so they unmask to
// zero bytes, the empty id.
const SealedClientStore::Table SealedClientStore::builtInPad = {
    0x5a, 0x1f, 0xc3, 0x08, 0x97, 0x6e, 0x21, 0xb4, 0x4d, 0xe0, 0x73, 0x19, 0xaa, 0x35, 0x8c, 0x62,
    0x0b, 0xd7, 0x46, 0xf1, 0x3e, 0x92, 0x58, 0xcd, 0x17, 0x6a, 0xb9, 0x04, 0xe5, 0x2f, 0x81, 0x7c};
const SealedClientStore::Table SealedClientStore::builtInTable = SealedClientStore::builtInPad;

void SealedClientStore::unmask(const Table& table, const Table& pad, Table& out) {
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = table[i] ^ pad[i];
}

SealedClientStore::Table SealedClientStore::mask(std::string_view id, const Table& pad) {
    Table out = pad;
    for (std::size_t i = 0; i < std::min(id.size(), out.size()); ++i) {
        out[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(id[i]) ^ pad[i]);
    }
    return out;
}

std::string SealedClientStore::decodeID(std::span<const std::uint8_t, 32> bytes) {
    auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const auto length = static_cast<std::int32_t>(end - bytes.begin());
    std::string out;
    out.reserve(static_cast<std::size_t>(length) * 3);  // never reallocates, so no stray copy is left
    std::int32_t i = 0;
    while (i < length) {
        UChar32 c = 0;
        U8_NEXT(bytes.data(), i, length, c);
        if (c < 0) c = 0xFFFD;
        std::uint8_t encoded[4];
        std::int32_t n = 0;
        U8_APPEND_UNSAFE(encoded, n, c);
        out.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(n));
        secret::wipe(encoded, sizeof encoded);
    }
    return out;
}

std::optional<std::string> SealedClientStore::processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace orvel
