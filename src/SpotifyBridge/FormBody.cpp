#include "FormBody.h"

#include <algorithm>
#include <vector>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "SpotifyBridge/Secret.h"

namespace orvel {

namespace {
bool isUnreserved(UChar32 c) {
    if (c == '-' || c == '.' || c == '_' || c == '~') return true;
    return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

void appendEscaped(std::string& out, std::uint8_t byte) {
    static constexpr char hex[] = "0123456789ABCDEF";
    out.push_back('%');
    out.push_back(hex[byte >> 4]);
    out.push_back(hex[byte & 0x0F]);
}
}  // namespace

namespace {
// Appends in place, so no temporary copy of a secret value is left behind unwiped.
void appendPercentEncoded(std::string& out, std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t i = 0;
    while (i < length) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c >= 0 && isUnreserved(c)) {
            out.append(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
        } else {
            for (std::int32_t k = start; k < i; ++k) appendEscaped(out, bytes[k]);
        }
    }
}
}  // namespace

std::string formPercentEncoded(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    appendPercentEncoded(out, text);
    return out;
}

std::string formBody(const std::map<std::string, std::string>& fields) {
    std::vector<std::string> pieces;
    pieces.reserve(fields.size());
    for (const auto& [key, value] : fields) {
        std::string& piece = pieces.emplace_back();
        piece.reserve((key.size() + value.size()) * 3 + 1);
        appendPercentEncoded(piece, key);
        piece.push_back('=');
        appendPercentEncoded(piece, value);
    }
    std::sort(pieces.begin(), pieces.end());
    std::size_t total = 0;
    for (const auto& piece : pieces) total += piece.size() + 1;
    std::string body;
    body.reserve(total);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) body.push_back('&');
        body += pieces[i];
    }
    // The pieces hold the same secrets as the body (refresh token, verifier).
    for (auto& piece : pieces) secret::wipe(piece);
    return body;
}

}  // namespace orvel
