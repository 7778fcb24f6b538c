#pragma once

// Text from outside (room, group, preset and track names) as the views hand it to QML. A name
// of any length is cut to what a row could ever show, ended with "…", so a hostile name of
// tens of thousands of characters costs no more text layout than a long one; the views then
// elide and clip it within their rows.

#include <cstddef>
#include <string_view>

#include <QString>

namespace orvel {

// More characters than the widest row shows at the smallest text style.
inline constexpr std::size_t shownTextCharacters = 160;

// At most `characters` Unicode scalar values of `text` (never a split UTF-8 sequence), with
// "…" added when something was cut. Invalid UTF-8 shows as QString shows it.
QString shownText(std::string_view text, std::size_t characters = shownTextCharacters);

}  // namespace orvel
