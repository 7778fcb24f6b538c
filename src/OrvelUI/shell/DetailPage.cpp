#include "OrvelUI/shell/DetailPage.h"

#include <algorithm>

namespace orvel {

DetailPage resolveDetail(const std::optional<SidebarDestination>& selection, std::span<const SonosGroup> groups,
                         std::span<const Speaker> speakers) {
    if (!selection) return {};
    using D = SidebarDestination;
    return selection->visit(
        [](const D::Home&) { return DetailPage{}; },
        [&](const D::Group& group) {
            const bool known = std::ranges::any_of(groups, [&](const SonosGroup& g) { return g.id == group.id; });
            return known ? DetailPage{DetailPage::Kind::group, group.id.description()} : DetailPage{};
        },
        [&](const D::Speaker& speaker) {
            const bool known = std::ranges::any_of(speakers, [&](const Speaker& s) { return s.id == speaker.id; });
            return known ? DetailPage{DetailPage::Kind::speaker, speaker.id.rawValue()} : DetailPage{};
        });
}

}  // namespace orvel
