#include <gtest/gtest.h>

#include "OrvelUI/theme/SpeakerBatteryBadge.h"
#include "OrvelUI/theme/SymbolTable.h"

using namespace orvel;

// The names the views draw; a view that starts using a new one adds it here.
TEST(SymbolTable, EveryNameTheViewsUseHasAGlyph) {
    const std::string_view used[] = {
        "play.fill", "pause.fill", "forward.fill", "backward.fill", "hifispeaker.fill", "hifispeaker.2.fill",
        "speaker.wave.2.fill", "speaker.wave.3.fill", "speaker.slash.fill", "speaker.plus.fill",
        "speaker.minus.fill", "xmark", "xmark.circle", "plus", "plus.circle", "minus.circle", "checkmark",
        "checkmark.circle.fill", "trash", "pencil", "house", "house.fill", "map.fill", "gearshape.fill",
        "music.note.list", "opticaldisc.fill", "bookmark.fill", "list.bullet", "radio", "play.circle",
        "dot.radiowaves.left.and.right", "arrow.triangle.2.circlepath", "arrow.up.right.circle.fill",
        "arrow.up.right.square", "arrow.counterclockwise", "chevron.up.chevron.down", "circle",
    };
    for (std::string_view name : used) EXPECT_TRUE(SymbolTable::codePoint(name)) << name;
    for (int level : {0, 20, 40, 70, 100}) {
        for (bool charging : {false, true}) {
            const std::string_view name = SpeakerBatteryBadge::symbolName(level, charging);
            EXPECT_TRUE(SymbolTable::codePoint(name)) << name;
            EXPECT_TRUE(SymbolTable::isVertical(name)) << name;
        }
    }
    EXPECT_FALSE(SymbolTable::codePoint("play"));
    EXPECT_FALSE(SymbolTable::codePoint("play.fill.extra"));
}
