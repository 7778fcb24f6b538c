#include "StoredPresetList.h"

#include <algorithm>
#include <deque>
#include <map>
#include <variant>

#include "OrvelDomain/Json.h"
#include "SonosProtocolBoundary/ProtocolLog.h"

namespace orvel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

Decoded<PresetPill> readEntry(const json::OutlineEntry& entry) {
    if (entry.depth > StoredPresetList::deepestEntry) {
        return std::unexpected(DecodingError::dataCorrupted("nests too deeply"));
    }
    auto value = json::parse(entry.text);
    // The entry is grammatical JSON: the parser refuses it only for what it takes no part in.
    if (!value) {
        return std::unexpected(
            DecodingError::dataCorrupted("holds a lone surrogate escape or a number beyond the range of a double"));
    }
    return PresetPill::fromJson(*value);
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
    // Checked and cut by the JSON grammar, without building a document, so every entry is one
    // JSON value: each is read on its own, and what one holds costs no other.
    const std::optional<json::Outline> outline = json::outline(text);
    if (!outline) {
        // As a JSON string the text survives every save, inside a list every controller reads.
        list.unreadable_.push_back({0, Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace)});
        list.problem_ = "the stored text is not JSON";
        qCDebug(lcProtocol) << "Stored preset list kept as one text entry: it is not JSON";
        return list;
    }
    for (std::size_t i = 0; i < outline->entries.size(); ++i) {
        const json::OutlineEntry& entry = outline->entries[i];
        auto preset = readEntry(entry);
        if (preset) {
            list.presets_.push_back(std::move(*preset));
            continue;
        }
        list.unreadable_.push_back({list.presets_.size(), std::string(entry.text)});
        const std::string problem = outline->isArray ? shortened("entry " + std::to_string(i + 1) + ": " + preset.error().message())
                                                     : std::string("the stored text is not a JSON list");
        qCDebug(lcProtocol) << "Stored preset kept as it stands:" << QString::fromStdString(problem);
        if (list.problem_.empty()) list.problem_ = problem;
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
    auto put = [&](const Kept& kept) {
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
    for (const auto& kept : leading) put(kept);
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        put(&wanted[w]);
        for (const auto& kept : trailing[w]) put(kept);
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
