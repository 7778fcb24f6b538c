#include <gtest/gtest.h>

#include "OrvelUI/theme/SpeakerBatteryBadge.h"

using namespace orvel;
using Tint = SpeakerBatteryBadge::Tint;

TEST(SpeakerBatteryBadge, SymbolTintAndTooltipByLevelAndCharger) {
    struct Case {
        int level;
        bool charging;
        std::string_view symbol;
        Tint tint;
        std::string tooltip;
    };
    const Case cases[] = {
        {-3, false, "battery.0percent", Tint::low, "Battery -3%"},
        {14, false, "battery.0percent", Tint::low, "Battery 14%"},
        {15, false, "battery.25percent", Tint::low, "Battery 15%"},
        {20, false, "battery.25percent", Tint::low, "Battery 20%"},
        {21, false, "battery.25percent", Tint::normal, "Battery 21%"},
        {37, false, "battery.25percent", Tint::normal, "Battery 37%"},
        {38, false, "battery.50percent", Tint::normal, "Battery 38%"},
        {62, false, "battery.50percent", Tint::normal, "Battery 62%"},
        {63, false, "battery.75percent", Tint::normal, "Battery 63%"},
        {87, false, "battery.75percent", Tint::normal, "Battery 87%"},
        {88, false, "battery.100percent", Tint::normal, "Battery 88%"},
        {130, false, "battery.100percent", Tint::normal, "Battery 130%"},
        {5, true, "battery.100percent.bolt", Tint::charging, "Battery 5% (Charging)"},
        {100, true, "battery.100percent.bolt", Tint::charging, "Battery 100% (Charging)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SpeakerBatteryBadge::symbolName(c.level, c.charging), c.symbol) << c.level;
        EXPECT_EQ(SpeakerBatteryBadge::tint(c.level, c.charging), c.tint) << c.level;
        EXPECT_EQ(SpeakerBatteryBadge::tooltip(c.level, c.charging), c.tooltip) << c.level;
    }
    EXPECT_EQ(&SpeakerBatteryBadge::tintColor(Tint::normal), &VavuzadiRudod::secondaryText);
}
