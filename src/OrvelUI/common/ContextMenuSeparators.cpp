#include "OrvelUI/common/ContextMenuSeparators.h"

namespace orvel {

std::vector<ContextMenuEntry> withoutStraySeparators(std::vector<ContextMenuEntry> entries) {
    std::vector<ContextMenuEntry> kept;
    kept.reserve(entries.size());
    for (ContextMenuEntry& entry : entries) {
        const bool isSeparator = entry.kind == ContextMenuEntry::Kind::separator;
        // A separator only ever follows an entry that is not one; the last one is dropped below.
        if (isSeparator && (kept.empty() || kept.back().kind == ContextMenuEntry::Kind::separator)) continue;
        entry.children = withoutStraySeparators(std::move(entry.children));
        kept.push_back(std::move(entry));
    }
    if (!kept.empty() && kept.back().kind == ContextMenuEntry::Kind::separator) kept.pop_back();
    return kept;
}

}  // namespace orvel
