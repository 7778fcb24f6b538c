#include "OrvelUI/sidebar/SidebarBrandHeader.h"
#include "OrvelUI/common/ShownText.h"

namespace orvel {

SidebarBrandHeader SidebarBrandHeader::of(const std::optional<std::string>& networkName,
                                          std::int64_t totalSpeakerCount, const std::string& speakerCountSummary) {
    SidebarBrandHeader header;
    if (networkName) header.networkName = shownText(*networkName);
    if (totalSpeakerCount >= 1) header.speakerCount = QString::fromStdString(speakerCountSummary);
    return header;
}

}  // namespace orvel
