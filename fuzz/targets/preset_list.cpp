// The preset list kept on the speakers (a system property any controller may have written).
// Whatever the speakers held, a save of what was read is JSON every reader takes, reads back as
// what was read (nothing lost or moved), and a second save writes the same text again. Text the
// JSON grammar takes is what the parser takes once lone surrogates and numbers beyond a double
// are mended, and when it is a list, each of its entries is a preset or one unreadable entry,
// and no unreadable entry the reader could take on its own was set aside.

#include <algorithm>
#include <optional>

#include "FuzzInput.h"
#include "OrvelDomain/Json.h"
#include "OrvelDomain/PresetPill.h"
#include "SonosProtocolBoundary/StoredPresetList.h"

namespace {

using orvel::StoredPresetList;

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The grammar, checked against the parser: after mending, it takes the same texts, except at the
// edges where the parser is lenient (it skips a leading byte order mark and ends the text at a
// NUL). The entries the parser then finds in a list.
std::optional<std::size_t> entryCount(std::string_view text) {
    const bool grammatical = orvel::json::isDocument(text);
    const auto parsed = orvel::json::parseReply(text);
    if (!text.starts_with(byteOrderMark) && text.find('\0') == std::string_view::npos &&
        grammatical != parsed.has_value()) {
        __builtin_trap();
    }
    if (!grammatical) return std::nullopt;
    return parsed->value.is_array() ? parsed->value.size() : 1;
}

bool isJsonList(std::string_view text) {
    const auto outline = orvel::json::outline(text);
    return outline && outline->isArray;
}

// How deep brackets nest in a JSON text, strings skipped.
std::size_t nesting(std::string_view json) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

bool readsAsPreset(std::string_view json) {
    if (nesting(json) > StoredPresetList::deepestEntry) return false;
    const auto value = orvel::json::parse(json);
    return value && orvel::PresetPill::fromJson(*value).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = orvel::fuzz::text(data, size);
    const StoredPresetList read = StoredPresetList::read(text);

    while (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    if (const auto entries = entryCount(text)) {
        if (read.presets().size() + read.unreadable().size() != *entries) __builtin_trap();
        for (const auto& entry : read.unreadable()) {
            if (readsAsPreset(entry.json)) __builtin_trap();
        }
    }

    const StoredPresetList::Save save = read.saving(read.presets(), StoredPresetList::Missing::deleted);
    if (!isJsonList(save.text)) __builtin_trap();
    if (entryCount(save.text) != read.presets().size() + read.unreadable().size()) __builtin_trap();
    if (save.list.presets() != read.presets() || save.list.unreadable() != read.unreadable()) __builtin_trap();
    const StoredPresetList again = StoredPresetList::read(save.text);
    if (again.presets() != read.presets() || again.unreadable() != read.unreadable()) __builtin_trap();
    if (again.saving(again.presets(), StoredPresetList::Missing::deleted).text != save.text) __builtin_trap();
    return 0;
}
