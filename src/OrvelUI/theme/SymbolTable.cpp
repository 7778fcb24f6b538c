#include "OrvelUI/theme/SymbolTable.h"

#include <algorithm>
#include <array>

namespace orvel {

namespace {

// Sorted by name so a lookup is a binary search. Each glyph is named in the comment as the
// font names it.
constexpr std::array<SymbolGlyph, 47> glyphs{{
    {"arrow.counterclockwise", 0xe042},          // replay
    {"arrow.triangle.2.circlepath", 0xe627},     // sync
    {"arrow.up.right.circle.fill", 0xe89e},      // open_in_new
    {"arrow.up.right.square", 0xe89e},           // open_in_new
    {"backward.fill", 0xe020},                   // fast_rewind
    // The font's battery fills in six bars above a bottom wall as thick as one: with the wall, one,
    // three and five bars read as a quarter, a half and three quarters full.
    {"battery.0percent", 0xebdc},                // battery_0_bar
    {"battery.100percent", 0xe1a4},              // battery_full
    {"battery.100percent.bolt", 0xe1a3},         // battery_charging_full
    {"battery.25percent", 0xebd9},               // battery_1_bar
    {"battery.50percent", 0xebdd},               // battery_3_bar
    {"battery.75percent", 0xebd4},               // battery_5_bar
    {"bookmark.fill", 0xe866},                   // bookmark
    {"checkmark", 0xe5ca},                       // check
    {"checkmark.circle.fill", 0xe86c},           // check_circle
    {"chevron.left", 0xe5cb},                    // chevron_left
    {"chevron.up.chevron.down", 0xe5d7},         // unfold_more
    {"circle", 0xe836},                          // radio_button_unchecked
    {"dot.radiowaves.left.and.right", 0xe1e2},   // wifi_tethering
    {"forward.fill", 0xe01f},                    // fast_forward
    {"gearshape.fill", 0xe8b8},                  // settings
    {"hifispeaker.2.fill", 0xe32e},              // speaker_group
    {"hifispeaker.fill", 0xe32d},                // speaker
    {"house", 0xe88a},                           // home
    {"house.fill", 0xe88a},                      // home
    {"link", 0xe157},                            // link
    {"list.bullet", 0xe896},                     // list
    {"map.fill", 0xe55b},                        // map
    {"minus", 0xe15b},                           // remove
    {"minus.circle", 0xe15d},                    // remove_circle_outline
    {"music.note.list", 0xe03d},                 // queue_music
    {"opticaldisc.fill", 0xe019},                // album
    {"pause.fill", 0xe034},                      // pause
    {"pencil", 0xe3c9},                          // edit
    {"play.circle", 0xe039},                     // play_circle_outline
    {"play.fill", 0xe037},                       // play_arrow
    {"plus", 0xe145},                            // add
    {"plus.circle", 0xe148},                     // add_circle_outline
    {"radio", 0xe03e},                           // radio
    {"speaker.minus.fill", 0xe15c},              // remove_circle
    {"speaker.plus.fill", 0xe147},               // add_circle
    {"speaker.slash.fill", 0xe04f},              // volume_off
    {"speaker.wave.2.fill", 0xe04d},             // volume_down
    {"speaker.wave.3.fill", 0xe050},             // volume_up
    {"trash", 0xe872},                           // delete
    {"unlink", 0xe16f},                          // link_off
    {"xmark", 0xe5cd},                           // close
    {"xmark.circle", 0xe5c9},                    // cancel
}};

constexpr bool sortedByName() {
    for (std::size_t i = 1; i < glyphs.size(); ++i) {
        if (!(glyphs[i - 1].name < glyphs[i].name)) return false;
    }
    return true;
}
static_assert(sortedByName(), "the symbol table must stay sorted by name, without repeats");

}  // namespace

std::span<const SymbolGlyph> SymbolTable::all() { return glyphs; }

std::optional<char32_t> SymbolTable::codePoint(std::string_view name) {
    const auto found = std::lower_bound(glyphs.begin(), glyphs.end(), name,
                                        [](const SymbolGlyph& g, std::string_view n) { return g.name < n; });
    if (found == glyphs.end() || found->name != name) return std::nullopt;
    return found->codePoint;
}

bool SymbolTable::isVertical(std::string_view name) { return name.starts_with("battery."); }

}  // namespace orvel
