// The preset list kept on the speakers (a system property any controller may have written).
// Whatever the speakers held, a save of what was read is JSON every reader takes, reads back as
// what was read (nothing lost or moved), and a second save writes the same text again.

#include <nlohmann/json.hpp>

#include "FuzzInput.h"
#include "SonosProtocolBoundary/StoredPresetList.h"

namespace {

// Checked without the project's own notion of JSON, which is under test: the parser skips a
// leading byte order mark and ends the text at a NUL, so neither may be in it.
bool isStrictJsonList(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF") || text.find('\0') != std::string_view::npos) return false;
    const nlohmann::json value = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    return !value.is_discarded() && value.is_array();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvel::StoredPresetList;
    const StoredPresetList read = StoredPresetList::read(orvel::fuzz::text(data, size));
    const StoredPresetList::Save save = read.saving(read.presets(), StoredPresetList::Missing::deleted);
    if (!isStrictJsonList(save.text)) __builtin_trap();
    if (save.list.presets() != read.presets() || save.list.unreadable() != read.unreadable()) __builtin_trap();
    const StoredPresetList again = StoredPresetList::read(save.text);
    if (again.presets() != read.presets() || again.unreadable() != read.unreadable()) __builtin_trap();
    if (again.saving(again.presets(), StoredPresetList::Missing::deleted).text != save.text) __builtin_trap();
    return 0;
}
