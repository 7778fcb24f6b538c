#pragma once

// The travelling highlight cut along a grid of square tiles, for the software renderer, which
// redraws a node's whole bounding rectangle when the node changes: a long diagonal stretch in
// one node would redraw the square it spans, a stretch in tiles only the tiles it crosses.
//
// Each tile gets the runs of the pieces that can paint into it: every segment whose stroke,
// miter joins included, reaches the tile, joined from the first such segment to the last, with
// one segment more at each end so the joins at the run's ends are drawn as the whole stroke
// draws them, and cut off where nothing they draw can reach the tile any more. Stroking each
// tile's runs as one path, clipped to the tile, paints exactly what stroking all the pieces as
// one path paints there. A tile the stretch lies across keeps the
// same runs from frame to frame, so it need not be drawn again.

#include <vector>

#include <QPainterPath>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>

namespace orvel {

struct HighlightTile {
    // Column and row of the grid.
    QPoint cell;
    QRectF rect;
    std::vector<QPolygonF> runs;
};

// The runs as one path, to be stroked at once as the whole highlight is.
QPainterPath runsPath(const std::vector<QPolygonF>& runs);

// The tiles the pieces, stroked `width` wide with round caps and miter joins of limit
// `miterLimit`, paint into, in row-major order of their cells; only those that meet `shown`
// when it is not null (what a scroller shows: the rest would be drawn for nobody). None for
// no pieces.
std::vector<HighlightTile> highlightTiles(const std::vector<QPolygonF>& pieces, double width, double miterLimit,
                                          double tileSize, const QRectF& shown = {});

}  // namespace orvel
