#pragma once

// The window's selection as the sidebar column reads and writes it. The selection lives with
// the window's navigation, above the sidebar; whoever puts the window together hands the column
// these and tells it when the selection changed.

#include <functional>

#include <QString>

#include "OrvelUI/common/SelectionKind.h"
#include "OrvelUI/common/SidebarDestination.h"

namespace orvel {

struct SidebarSelection {
    std::function<SelectionKind::Kind()> kind;
    // The selected group's or offline speaker's id; empty otherwise.
    std::function<QString()> id;
    std::function<void(SidebarDestination)> select;
};

}  // namespace orvel
