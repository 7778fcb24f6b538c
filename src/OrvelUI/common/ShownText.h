#pragma once

// Text from outside (room, group, preset and track names) as every view hands it to QML: one
// rule for the sidebar, the dock, the menus, the map, the group page and the presets. A name is
// cut to what a view could ever show before it reaches text layout, so a hostile name (20,000
// emoji, a letter under a pile of combining marks, an endless joiner chain) costs what a long
// plain one does; the views then elide or clip it within their rows.
//
// Cuts fall between user-perceived characters only, so an emoji sequence, a flag or a letter
// with its marks never breaks. The bound is 64 columns, a wide character (emoji, flag, CJK)
// taking two: wider than the widest one-line place shows at its text size (the dock title, a
// map card, a sidebar row) and two or three lines of the group page's wrapped title. Counting
// width rather than characters keeps a name of emoji as wide as a plain one, and its cost too:
// Qt 6.4 decodes a colour emoji's picture again every time a text holding it is laid out.
// Up to 4 combining marks stay on a letter: enough for every script's real stacks
// (Vietnamese, Hebrew with points and accents, Tibetan) and for emoji, whose variation
// selector and keycap are marks too; a pile of hundreds is no character anyone writes. 16
// code points per character hold the longest emoji sequence (10) whole.

#include <string>
#include <string_view>

#include <QString>

#include "OrvelDomain/GraphemeCut.h"

namespace orvel {

inline constexpr GraphemeLimits shownTextLimits{.columns = 64, .marksPerCluster = 4, .codePointsPerCluster = 16};

// `text` within the limits, ending in "…" when characters were left out.
std::string shownName(std::string_view text, const GraphemeLimits& limits = shownTextLimits);
QString shownText(std::string_view text, const GraphemeLimits& limits = shownTextLimits);

// A room as the views name it: its short name (without " Speaker" or " Soundbar"), cut as above.
std::string shownRoomName(const std::string& roomName);
QString shownRoomText(const std::string& roomName);

}  // namespace orvel
