#pragma once

// The JSON grammar (RFC 8259), checked on the text itself without building a document. Other
// JSON readers take what this grammar takes, and it is wider than the library's parser in two
// ways other writers use: a `\u` escape of any code unit (a lone surrogate, left by a writer
// that cut a name between the two halves of a pair) and a number of any size (1e400) are
// grammatical. At the edges it is stricter than that parser: a byte order mark is no blank and
// a NUL ends nothing, so text holding either is no document.
//
// Linear in the text, with no recursion: nesting of any depth costs one bit a level on the
// heap, never stack. The text is never copied.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace orvel::json {

// One value one level into a document: an element of the outermost array, or the document's
// one value when that is no array.
struct OutlineEntry {
    // Its text, without the blanks around it.
    std::string_view text;
    // How deep arrays and objects nest in it, its own brackets counted: 0 for a scalar.
    std::size_t depth = 0;
    friend bool operator==(const OutlineEntry&, const OutlineEntry&) = default;
};

struct Outline {
    bool isArray = false;
    std::vector<OutlineEntry> entries;
    friend bool operator==(const Outline&, const Outline&) = default;
};

// Whether `text` is exactly one JSON value with only blanks around it: what every reader takes.
bool isDocument(std::string_view text);

// The entries of `text` when it is a document; nothing when it is not.
std::optional<Outline> outline(std::string_view text);

}  // namespace orvel::json
