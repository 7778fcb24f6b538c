#include "StoredPresetList.h"

#include <algorithm>
#include <deque>
#include <map>
#include <variant>

#include "OrvelDomain/Json.h"

namespace orvel {

namespace {

// A preset nests three levels; an entry nesting deeper is never a preset, and is kept as text
// without being parsed, so hostile nesting costs nothing.
constexpr int maxEntryDepth = 16;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

// The position of the quote that closes the string opening at `at`.
std::size_t closingQuote(std::string_view text, std::size_t at) {
    for (++at; at < text.size() && text[at] != '"'; ++at) {
        if (text[at] == '\\') ++at;
    }
    return at;
}

struct Entry {
    std::string_view text;
    int depth = 0;
};

// The value that begins at `at` (no blank there), up to the comma or closing bracket that ends
// it or the end of the text. `text` must be one JSON document, so strings and brackets pair up.
Entry valueAt(std::string_view text, std::size_t& at) {
    const std::size_t begin = at;
    int depth = 0;
    int deepest = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            at = closingQuote(text, at);
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            if (depth == 0) break;
            --depth;
        } else if (c == ',' && depth == 0) {
            break;
        }
    }
    at = std::min(at, text.size());
    std::size_t end = at;
    while (end > begin && isBlank(text[end - 1])) --end;
    return {text.substr(begin, end - begin), deepest};
}

struct Entries {
    std::vector<Entry> entries;
    bool isList = true;
};

// The entries of the list `document` holds, as slices of its text; a document that is no list
// is a list of itself alone. `document` must pass `json::isDocument`: the cuts fall where a
// JSON reader's would only because both take the same text as JSON.
Entries entriesOf(std::string_view document) {
    std::size_t at = skipBlanks(document, 0);
    if (at >= document.size() || document[at] != '[') return {{valueAt(document, at)}, false};
    Entries out;
    for (++at;;) {
        at = skipBlanks(document, at);
        if (at >= document.size() || document[at] == ']') return out;
        out.entries.push_back(valueAt(document, at));
        if (at >= document.size() || document[at] == ']') return out;
        ++at;  // past the comma
    }
}

Decoded<PresetPill> readEntry(const Entry& entry) {
    if (entry.depth > maxEntryDepth) return std::unexpected(DecodingError::dataCorrupted("nests too deeply"));
    ORVEL_TRY(Json value, json::parse(entry.text));
    return PresetPill::fromJson(value);
}

bool isBlankText(std::string_view text) { return std::all_of(text.begin(), text.end(), isBlank); }

// A reader's message can quote the entry (a bad identifier, say), which can be megabytes long;
// the log gets its start, cut on a character boundary.
std::string shortened(std::string message) {
    constexpr std::size_t longest = 240;
    if (message.size() <= longest) return message;
    std::size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(message[cut]) & 0xC0) == 0x80) --cut;
    message.resize(cut);
    return message + "\u2026";
}

std::string_view withoutLeadingMarks(std::string_view text) {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    while (text.starts_with(mark)) text.remove_prefix(mark.size());
    return text;
}

}  // namespace

StoredPresetList StoredPresetList::read(std::string_view text) {
    StoredPresetList list;
    // Byte order marks say nothing the text needs, however many writers put one before it; kept,
    // they would make the list unreadable to every controller once it is written back.
    text = withoutLeadingMarks(text);
    if (isBlankText(text)) return list;
    // Checked whole first, without building a document, so every entry is itself valid JSON.
    if (!json::isDocument(text)) {
        // As a JSON string the text survives every save, inside a list every controller reads.
        list.unreadable_.push_back({0, Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace)});
        list.problem_ = "the stored text is not JSON";
        return list;
    }
    const auto [entries, isList] = entriesOf(text);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        auto preset = readEntry(entry);
        if (preset) {
            list.presets_.push_back(std::move(*preset));
            continue;
        }
        list.unreadable_.push_back({list.presets_.size(), std::string(entry.text)});
        if (!list.problem_.empty()) continue;
        list.problem_ = isList ? shortened("entry " + std::to_string(i + 1) + ": " + preset.error().message())
                               : "the stored text is not a JSON list";
    }
    return list;
}

StoredPresetList::Save StoredPresetList::saving(const std::vector<PresetPill>& wanted, Missing missing) const {
    // Where each wanted preset stands; a stored preset takes the first place of its id that no
    // earlier one took, so repeated ids pair up in order.
    std::map<PresetID, std::deque<std::size_t>> places;
    for (std::size_t w = 0; w < wanted.size(); ++w) places[wanted[w].id()].push_back(w);

    // What the save keeps besides the wanted presets, each after a wanted one or before all.
    using Kept = std::variant<const PresetPill*, const std::string*>;
    std::vector<Kept> leading;
    std::vector<std::vector<Kept>> trailing(wanted.size());
    std::optional<std::size_t> anchor;
    auto keep = [&](Kept kept) { (anchor ? trailing[*anchor] : leading).push_back(kept); };
    std::size_t next = 0;
    for (std::size_t p = 0; p <= presets_.size(); ++p) {
        while (next < unreadable_.size() && unreadable_[next].after <= p) keep(&unreadable_[next++].json);
        if (p == presets_.size()) break;
        const PresetPill& preset = presets_[p];
        if (auto place = places.find(preset.id()); place != places.end() && !place->second.empty()) {
            anchor = place->second.front();
            place->second.pop_front();
        } else if (missing == Missing::unseen) {
            keep(&preset);
        }
    }
    while (next < unreadable_.size()) keep(&unreadable_[next++].json);

    Save save;
    save.list.problem_ = problem_;
    std::string& text = save.text;
    text = "[";
    auto separate = [&text] {
        if (text.size() > 1) text += ',';
    };
    auto emit = [&](const Kept& kept) {
        separate();
        if (const auto* preset = std::get_if<const PresetPill*>(&kept)) {
            text += presetToJsonText(**preset);
            save.list.presets_.push_back(**preset);
        } else {
            const std::string& json = *std::get<const std::string*>(kept);
            text += json;
            save.list.unreadable_.push_back({save.list.presets_.size(), json});
        }
    };
    for (const auto& kept : leading) emit(kept);
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        emit(&wanted[w]);
        for (const auto& kept : trailing[w]) emit(kept);
    }
    text += ']';
    return save;
}

std::size_t StoredPresetList::approximateTextBytes(const std::vector<PresetPill>& presets) {
    std::size_t bytes = 0;
    for (const auto& preset : presets) bytes += 120 + preset.name().size() + 27 * preset.memberUUIDs().size();
    return bytes;
}

std::size_t StoredPresetList::approximateTextBytes() const {
    std::size_t bytes = approximateTextBytes(presets_);
    for (const auto& entry : unreadable_) bytes += entry.json.size();
    return bytes;
}

}  // namespace orvel
