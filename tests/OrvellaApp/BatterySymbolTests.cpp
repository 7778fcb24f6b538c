// The battery badge's symbols drawn from the icon font: each reads as the level it stands for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include "OrvelUI/theme/SpeakerBatteryBadge.h"
#include "OrvelUI/theme/SymbolTable.h"

using namespace orvel;

namespace {

// How full an upright battery glyph looks: down its middle, the share of the body below the
// inner edge of its top wall that is drawn dark, as an eye takes it in (the bottom wall counts).
double readFill(const QRawFont& font, char32_t codePoint) {
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&codePoint, 1));
    if (glyphs.size() != 1) return -1;
    const QPainterPath path = font.pathForGlyph(glyphs.front());
    const QRectF bounds = path.boundingRect();
    QImage image(int(std::ceil(bounds.width())) + 4, int(std::ceil(bounds.height())) + 4, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(2 - bounds.left(), 2 - bounds.top());
    painter.fillPath(path, Qt::black);
    painter.end();

    // The dark runs down the middle column: the cap with the top wall first, the fill with the
    // bottom wall last.
    struct Run {
        int from;
        int to;
    };
    std::vector<Run> runs;
    const int x = image.width() / 2;
    for (int y = 0; y < image.height(); ++y) {
        if (qGray(image.pixel(x, y)) >= 128) continue;
        if (!runs.empty() && runs.back().to == y) {
            runs.back().to = y + 1;
        } else {
            runs.push_back({y, y + 1});
        }
    }
    if (runs.size() == 1) return 1.0;
    if (runs.size() != 2) return -1;
    return double(runs.back().to - runs.back().from) / double(runs.back().to - runs.front().to);
}

}  // namespace

TEST(BatterySymbols, EachLevelShowsTheGlyphThatReadsNearestToIt) {
    const QRawFont font(QString::fromUtf8(SymbolTable::fontFile.data(), qsizetype(SymbolTable::fontFile.size())), 200);
    ASSERT_TRUE(font.isValid()) << "the Material Icons font is not installed";
    // battery_0_bar to battery_6_bar and battery_full: every fill the font draws.
    const char32_t fills[] = {0xebdc, 0xebd9, 0xebe0, 0xebdd, 0xebe2, 0xebd4, 0xebd2, 0xe1a4};
    std::vector<double> read;
    for (char32_t fill : fills) {
        read.push_back(readFill(font, fill));
        ASSERT_GE(read.back(), 0) << std::hex << uint(fill);
    }
    for (const int level : {0, 25, 50, 75, 100}) {
        const std::string_view name = SpeakerBatteryBadge::symbolName(level, false);
        const std::optional<char32_t> shown = SymbolTable::codePoint(name);
        ASSERT_TRUE(shown) << name;
        const double target = level / 100.0;
        const auto nearest = std::ranges::min_element(read, {}, [&](double r) { return std::abs(r - target); });
        EXPECT_EQ(uint(*shown), uint(fills[nearest - read.begin()]))
            << name << " reads " << readFill(font, *shown) << ", the font has one that reads " << *nearest;
    }
}
