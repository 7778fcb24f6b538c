#pragma once

// What the desktop detail column shows for the sidebar selection: the home pane, one group's
// page or one speaker's page. A group or speaker that is no longer known shows the home pane;
// the selection itself keeps its id.

#include <optional>
#include <span>
#include <string>

#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelUI/common/SidebarDestination.h"

namespace orvel {

struct DetailPage {
    enum class Kind { home, group, speaker };

    Kind kind = Kind::home;
    // The group's coordinator id or the speaker's id; empty for the home pane.
    std::string id;

    // The preset pills sit in the column's header only over the home pane.
    bool showsHome() const { return kind == Kind::home; }

    friend bool operator==(const DetailPage&, const DetailPage&) = default;
};

// `speakers` is every known speaker, online or offline: a speaker page stays while its speaker
// is known, whatever its reachability (the offline watcher moves the selection when it returns).
DetailPage resolveDetail(const std::optional<SidebarDestination>& selection, std::span<const SonosGroup> groups,
                         std::span<const Speaker> speakers);

}  // namespace orvel
