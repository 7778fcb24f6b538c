// The household's preset list as the speakers store it: read whole, nothing dropped.

#include <utility>

#include "SonosProtocolBoundary/LargeReplyParsing.h"
#include "SonosProtocolBoundary/SonosHouseholdCore.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"

namespace orvel::household {

std::optional<std::vector<PresetPill>> Core::publishedPresets() const {
    if (!presets) return std::nullopt;
    return presets->presets();
}

QCoro::Task<std::expected<StoredPresetsRead, SOAPError>> readStoredPresets(std::shared_ptr<Core> core,
                                                                           SpeakerAddress address, HttpLimits limits) {
    auto reading =
        core->call(address, SystemPropertiesService::getStringRequest(SystemPropertiesService::presetsVariable), limits);
    SOAPResult reply = co_await std::move(reading);
    auto value = SystemPropertiesService::stringValue(std::move(reply));
    if (!value) co_return std::unexpected(std::move(value).error());
    const std::size_t bytes = *value ? (*value)->size() : 0;
    // Held by pointer, so the list a worker thread made is not copied again on the way back.
    auto job = [text = std::move(*value).value_or(std::string())] {
        return std::make_shared<const StoredPresetList>(StoredPresetList::read(text));
    };
    auto parsing = parseOffTheLoopWhenLarge(bytes, std::move(job));
    std::shared_ptr<const StoredPresetList> list = co_await std::move(parsing);
    if (!list->unreadable().empty()) {
        const std::size_t entries = list->presets().size() + list->unreadable().size();
        core->log.write("Presets stored on the speakers are unreadable in " + std::to_string(list->unreadable().size()) +
                        " of " + std::to_string(entries) + (entries == 1 ? " entry" : " entries") +
                        ", kept as stored: " + list->problem());
    }
    co_return StoredPresetsRead{std::move(list)};
}

}  // namespace orvel::household
