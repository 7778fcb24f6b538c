#pragma once

// The sidebar header's two text lines: the network name and the speaker count.

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

namespace orvel {

struct SidebarBrandHeader {
    // Empty when the line is not shown.
    QString networkName;
    QString speakerCount;

    // The name shows only when set and not empty; the count only for at least one speaker.
    static SidebarBrandHeader of(const std::optional<std::string>& networkName, std::int64_t totalSpeakerCount,
                                 const std::string& speakerCountSummary);

    friend bool operator==(const SidebarBrandHeader&, const SidebarBrandHeader&) = default;
};

}  // namespace orvel
