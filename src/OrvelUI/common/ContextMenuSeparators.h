#pragma once

// A menu's sections each bring their own separator, and a section can be empty: left alone, two
// would meet, or one would open or close the menu. Linux menus draw every separator they are
// given, so the menu is tidied before it is shown.

#include <vector>

#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

// The entries with no separator first, last or after another one, in submenus too.
std::vector<ContextMenuEntry> withoutStraySeparators(std::vector<ContextMenuEntry> entries);

}  // namespace orvel
