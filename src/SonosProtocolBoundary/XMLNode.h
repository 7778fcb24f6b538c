#pragma once

// A parsed XML element: its local name, attributes (by local name), child elements in document
// order and the character data directly inside it. Built only by `parse`, which reads UTF-8 with
// QXmlStreamReader and refuses anything a speaker never sends: a document type declaration
// (and with it every entity definition), an undeclared entity, more than `Limits` allow, or
// markup that is not well formed. A character XML cannot carry (a control character, a byte
// that is not UTF-8, a reference to a surrogate or to U+FFFE) costs only itself: it reads as
// U+FFFD (see XMLCharacters.h).

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SonosProtocolBoundary/ProtocolParseError.h"

namespace orvel {

struct XMLNode {
    struct Limits {
        // Replies larger than this are refused before parsing (the HTTP helper's cap).
        std::size_t maxBytes = 4 * 1024 * 1024;
        // Real replies nest fewer than ten levels; the bound keeps recursion over the tree
        // (comparison, destruction) shallow.
        std::size_t maxDepth = 48;
        std::size_t maxElements = 20'000;
        // Qt's stream reader checks each attribute against the element's others, so its cost
        // grows with the square of an element's attribute count; these bounds are checked on
        // the raw bytes before the reader starts. Real replies carry a few dozen per element.
        std::size_t maxAttributesPerElement = 128;
        std::size_t maxAttributes = 50'000;
        // Every prefix is resolved against all declarations in scope.
        std::size_t maxNamespaceDeclarations = 64;
    };

    std::string name;
    std::map<std::string, std::string> attributes;
    std::vector<XMLNode> children;
    std::string text;

    // The first child with this local name, or nullptr.
    const XMLNode* child(std::string_view childName) const;
    std::vector<const XMLNode*> childrenNamed(std::string_view childName) const;
    // Follows child names separated by "/" ("device/roomName"); nullptr when any step is missing.
    const XMLNode* find(std::string_view path) const;
    std::optional<std::string> attribute(std::string_view attributeName) const;
    // The text with white space and line breaks removed at both ends.
    std::string trimmedText() const;

    static Parsed<XMLNode> parse(std::string_view document, const Limits& limits);
    static Parsed<XMLNode> parse(std::string_view document) { return parse(document, Limits{}); }

    friend bool operator==(const XMLNode&, const XMLNode&) = default;
};

}  // namespace orvel
