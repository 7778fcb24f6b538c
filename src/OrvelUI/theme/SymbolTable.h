#pragma once

// The symbols the views draw, by the names the design uses ("play.fill", "xmark", ...), as
// code points of the Material Icons font.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace orvel {

struct SymbolGlyph {
    std::string_view name;
    char32_t codePoint;
};

struct SymbolTable {
    static constexpr std::string_view fontFamily = "Material Icons";
    static constexpr std::string_view fontFile = "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

    static std::span<const SymbolGlyph> all();
    static std::optional<char32_t> codePoint(std::string_view name);
    // Battery glyphs of the font stand upright; the views turn them to lie like the design's.
    static bool isVertical(std::string_view name);
};

}  // namespace orvel
