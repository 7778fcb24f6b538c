// The travelling highlight drawn tile by tile, as the software renderer draws it, paints the very
// pixels that stroking it whole paints, each piece as strongly as its tether is drawn; a tile
// the stretch lies across keeps its runs from one frame to the next; the stretch found on a
// flattened path is the part of its length asked for, and a faint tether lights faintly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include "OrvelUI/map/AcousticPath.h"
#include "OrvelUI/map/HighlightTiles.h"
#include "OrvelUI/map/MapPens.h"

namespace orvel::testing {
namespace {

constexpr double width = 2.6;
constexpr double tile = 32;

QImage blank() {
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage strokedWhole(const std::vector<QPolygonF>& pieces) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(runsPath(pieces), roundPen(QColor(0xe0, 0xa8, 0x40), width));
    return image;
}

// The pieces of each strength as one path at that strength, the faintest first, on a canvas
// scrolled by `offset`.
QImage strokedWhole(const std::vector<QPolygonF>& pieces, const std::vector<double>& strengths, QPointF offset) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    std::vector<double> levels = strengths;
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    for (double level : levels) {
        std::vector<QPolygonF> same;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (strengths[i] == level) same.push_back(pieces[i]);
        }
        painter.setOpacity(level);
        painter.strokePath(runsPath(same), roundPen(QColor(0xe0, 0xa8, 0x40), width));
    }
    return image;
}

QImage strokedByTiles(const std::vector<HighlightTile>& tiles, QPointF offset = {}) {
    QImage image = blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(offset);
    for (const HighlightTile& t : tiles) {
        painter.save();
        painter.setClipRect(t.rect);
        strokeByStrength(painter, t.runs, t.strengths, roundPen(QColor(0xe0, 0xa8, 0x40), width));
        painter.restore();
    }
    return image;
}

// A run cut where it can no longer reach its tile starts its outline from another point of
// the same line; the rasteriser's fixed point then puts a few pixels a few levels apart.
constexpr int rounding = 4;

// The largest difference of any channel of any pixel inside `within`.
int largestDifference(const QImage& a, const QImage& b, const QRect& within) {
    int largest = 0;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

std::vector<QPolygonF> curve(Point from, Point control, Point to, PathStretch stretch) {
    return stretchPieces(flattenedPath(acousticPath({{from, control, to}})), stretch);
}

TEST(HighlightTiles, TileByTileDrawsWhatTheWholeStrokeDraws) {
    struct Case {
        std::string name;
        std::vector<QPolygonF> pieces;
        QRectF shown;
    };
    const QPolygonF zigzag{{20, 150}, {60, 20}, {64, 150}, {110, 30}, {112, 31}, {180, 160}};
    const Case cases[] = {
        {"a lit stretch of a tether", curve({10, 190}, {30, 0}, {190, 60}, {0.3, 0.5}), {}},
        {"the whole curve", curve({10, 190}, {30, 0}, {190, 60}, {0, 1}), {}},
        {"two stretches crossing", {QPolygonF{{10, 40}, {190, 160}}, QPolygonF{{20, 170}, {170, 10}}}, {}},
        {"sharp turns, short segments", {zigzag}, {}},
        // The miter of a sharp turn pokes into a row of tiles no segment comes near.
        {"a sharp tip into the next row", {QPolygonF{{40, 160}, {60, 68}, {80, 160}}}, {}},
        {"along the tiles' edges", {QPolygonF{{5, 64}, {96, 64}, {96, 160}, {150, 160}}}, {}},
        {"a run that leaves a tile and comes back", {QPolygonF{{10, 50}, {60, 50}, {60, 110}, {20, 110}, {20, 52}}}, {}},
    };
    for (const Case& c : cases) {
        const auto tiles = highlightTiles(c.pieces, width, mapMiterLimit, tile, c.shown);
        EXPECT_FALSE(tiles.empty()) << c.name;
        EXPECT_LE(largestDifference(strokedWhole(c.pieces), strokedByTiles(tiles), QRect(0, 0, 200, 200)), rounding) << c.name;
    }
    EXPECT_TRUE(highlightTiles({}, width, mapMiterLimit, tile).empty());
}

// A faint tether's piece is drawn faint in every tile it crosses, also where it crosses a
// fully drawn one.
TEST(HighlightTiles, EachPieceKeepsItsStrengthTileByTile) {
    const std::vector<QPolygonF> pieces{QPolygonF{{10, 40}, {190, 160}}, QPolygonF{{20, 170}, {170, 10}},
                                        QPolygonF{{10, 100}, {190, 100}}};
    const std::vector<double> strengths{1, 0.35, 0.5};
    const auto tiles = highlightTiles(pieces, width, mapMiterLimit, tile, {}, strengths);
    ASSERT_FALSE(tiles.empty());
    // Left empty when every run is drawn fully.
    for (const HighlightTile& t : tiles) EXPECT_TRUE(t.strengths.empty() || t.strengths.size() == t.runs.size());
    // Wherever the canvas lies on the pixels.
    for (QPointF offset : {QPointF(0, 0), QPointF(0.3, 0.6), QPointF(-7.5, 3.25)}) {
        EXPECT_LE(largestDifference(strokedWhole(pieces, strengths, offset), strokedByTiles(tiles, offset),
                                    QRect(0, 0, 200, 200)),
                  rounding)
            << offset.x() << "," << offset.y();
    }
    // Drawn at full strength, the faint picture differs: the strengths are really applied.
    EXPECT_GT(largestDifference(strokedWhole(pieces), strokedByTiles(tiles), QRect(0, 0, 200, 200)), 60);
}

// The scroller shows a part of the canvas: only tiles there are made, and they draw it right.
TEST(HighlightTiles, OnlyWhatTheScrollerShowsIsTiled) {
    const auto pieces = curve({10, 190}, {30, 0}, {190, 60}, {0, 1});
    const QRectF shown(0, 96, 200, 64);
    const auto tiles = highlightTiles(pieces, width, mapMiterLimit, tile, shown);
    ASSERT_FALSE(tiles.empty());
    for (const HighlightTile& t : tiles) EXPECT_TRUE(t.rect.intersects(shown)) << t.cell.x() << "," << t.cell.y();
    EXPECT_LE(largestDifference(strokedWhole(pieces), strokedByTiles(tiles), shown.toRect()), rounding);
}

// From one frame to the next the stretch moves on: the tiles it lies across keep their runs (so
// they are not drawn again), only those at its two ends change.
TEST(HighlightTiles, TheTilesInTheMiddleOfAStretchStayTheSameAsItMoves) {
    const FlattenedPath path = flattenedPath(acousticPath({{{10, 190}, {30, 0}, {190, 60}}}));
    const auto before = highlightTiles(stretchPieces(path, {0.10, 0.80}), width, mapMiterLimit, tile);
    const auto after = highlightTiles(stretchPieces(path, {0.11, 0.81}), width, mapMiterLimit, tile);
    int same = 0;
    for (const HighlightTile& t : after) {
        for (const HighlightTile& u : before) same += t.cell == u.cell && t.runs == u.runs;
    }
    EXPECT_GE(same, int(after.size()) - 4);
    EXPECT_GT(same, 0);
}

TEST(AcousticPath, TheLitPiecesCoverTheStretchOfTheLengthAskedFor) {
    struct Case {
        std::string name;
        PathStretch stretch;
        std::size_t pieces;
        double length;
    };
    // Two subpaths of 100 each, the second with a point repeated.
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(100, 0);
    path.moveTo(0, 50);
    path.lineTo(50, 50);
    path.lineTo(50, 50);
    path.lineTo(100, 50);
    const FlattenedPath flat = flattenedPath(path);
    ASSERT_DOUBLE_EQ(flat.length, 200);
    const Case cases[] = {
        {"inside the first", {0.1, 0.3}, 1, 40},
        {"across the break", {0.4, 0.6}, 2, 40},
        {"from exactly the break", {0.5, 0.7}, 1, 40},
        {"up to the end", {0.9, 1}, 1, 20},
        {"nothing", {0.6, 0.6}, 0, 0},
    };
    for (const Case& c : cases) {
        const auto pieces = stretchPieces(flat, c.stretch);
        double length = 0;
        for (const QPolygonF& piece : pieces) {
            for (qsizetype i = 1; i < piece.size(); ++i) length += QLineF(piece[i - 1], piece[i]).length();
        }
        EXPECT_EQ(pieces.size(), c.pieces) << c.name;
        EXPECT_NEAR(length, c.length, 1e-9) << c.name;
    }
}

// The highlight of a link travels its tethers in order as one path; each tether lights as
// strongly as it is drawn: a faint one (behind another hub, fading in or out) faintly, one
// faded out not at all.
TEST(AcousticPath, EachTetherLightsAsStronglyAsItIsDrawn) {
    auto line = [](Point from, Point to) {
        return AcousticCurveSegment{from, {(from.x + to.x) / 2, (from.y + to.y) / 2}, to};
    };
    struct Case {
        std::string name;
        std::vector<AcousticCurveSegment> segments;
        std::vector<double> opacities;
        std::vector<double> lit;
    };
    const Case cases[] = {
        {"apart", {line({0, 0}, {100, 0}), line({0, 50}, {100, 50}), line({0, 90}, {100, 90})}, {1, 0.35, 0.5}, {1, 0.35, 0.5}},
        {"joined end to start, unequal", {line({0, 0}, {100, 0}), line({100, 0}, {200, 0})}, {1, 0.35}, {1, 0.35}},
        {"joined end to start, equal", {line({0, 0}, {100, 0}), line({100, 0}, {200, 0})}, {0.35, 0.35}, {0.35}},
        {"faded out", {line({0, 0}, {100, 0}), line({0, 50}, {100, 50})}, {0, 1}, {1}},
        {"without opacities", {line({0, 0}, {100, 0})}, {}, {1}},
    };
    for (const Case& c : cases) {
        const FlattenedPath link = flattenedLink(c.segments, c.opacities);
        // The same way as the link's one path, so the highlight travels as it did.
        EXPECT_NEAR(link.length, flattenedPath(acousticPath(c.segments)).length, 1e-9) << c.name;
        const LitStretch lit = litStretch(link, {0, 1});
        EXPECT_EQ(lit.strengths, c.lit) << c.name;
        EXPECT_EQ(lit.pieces.size(), lit.strengths.size()) << c.name;
    }
}

}  // namespace
}  // namespace orvel::testing
