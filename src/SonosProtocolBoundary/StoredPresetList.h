#pragma once

// The preset list as the speakers hold it, read so that nothing in it is lost. Every controller
// of the household shares this one text, so an entry this controller cannot read (damaged, or
// written by something else) is no reason to hide the others, nor to drop it on the next save:
// the readable presets are shown, and every other entry is kept as its exact JSON text at its
// place, after the readable preset it followed, and written back unchanged by every save.
//
// Whether the text is JSON, and where its entries begin and end, is the JSON grammar's to say
// (RFC 8259), as every reader of the list would: an entry the JSON parser refuses on its own
// though the grammar takes it (a name cut between the halves of a surrogate pair, "\ud83d", or a
// number such as 1e400) is one unreadable entry like any other, kept byte for byte.
//
// A stored text that is not a JSON list at all is kept the same way, as the list's first entry:
// as it stands when it is some other JSON value (a preset when it reads as one), as a JSON
// string holding it when it is not JSON. A save then writes a list again without losing it, and
// what it writes is always JSON that reads back as the list it reports; what it writes of its
// own (presets, the string of a text that was no JSON) is valid UTF-8 with no lone surrogate.
// Byte order marks before the text, however many, are dropped.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/PresetPill.h"

namespace orvel {

class StoredPresetList {
public:
    // An entry that is not a readable preset.
    struct Unreadable {
        // How many readable presets came before it.
        std::size_t after = 0;
        // Its JSON text exactly as stored.
        std::string json;
        friend bool operator==(const Unreadable&, const Unreadable&) = default;
    };

    // What the stored presets missing from a save's list are: presets the caller deleted, or
    // presets it never saw (the list was read only for this save).
    enum class Missing { deleted, unseen };

    // What a save writes, and the list the speakers then hold.
    struct Save;

    // A preset nests three levels; an entry nesting deeper is never read as one, and is kept as
    // text without being parsed, so hostile nesting costs nothing.
    static constexpr std::size_t deepestEntry = 16;

    StoredPresetList() = default;

    // Never fails: whatever cannot be read is kept as unreadable. Empty or blank text is an
    // empty list.
    static StoredPresetList read(std::string_view text);

    const std::vector<PresetPill>& presets() const { return presets_; }
    const std::vector<Unreadable>& unreadable() const { return unreadable_; }
    // Why the first unreadable entry could not be read, for the debug log; empty when none.
    const std::string& problem() const { return problem_; }

    // The list with `wanted` as its presets, in that order. Each unreadable entry stays after
    // the preset it followed, or after the nearest one before that which is still wanted.
    // Stored presets missing from `wanted` are left out when `deleted`, kept at their place
    // when `unseen`.
    Save saving(const std::vector<PresetPill>& wanted, Missing missing) const;

    // Roughly how many bytes of text the list stands for, to judge what is worth a worker thread.
    std::size_t approximateTextBytes() const;
    static std::size_t approximateTextBytes(const std::vector<PresetPill>& presets);

    friend bool operator==(const StoredPresetList&, const StoredPresetList&) = default;

private:
    std::vector<PresetPill> presets_;
    std::vector<Unreadable> unreadable_;
    std::string problem_;
};

struct StoredPresetList::Save {
    std::string text;
    StoredPresetList list;
};

}  // namespace orvel
