#pragma once

// The travelling highlight cut along a grid of square tiles, for the software renderer, which
// redraws a node's whole bounding rectangle when the node changes: a long diagonal stretch in
// one node would redraw the square it spans, a stretch in tiles only the tiles it crosses.
//
// Each tile gets the runs of the pieces that can paint into it: every segment whose stroke,
// miter joins included, reaches the tile, joined from the first such segment to the last, with
// one segment more at each end so the joins at the run's ends are drawn as the whole stroke
// draws them, and cut off where nothing they draw can reach the tile any more. Each piece is
// drawn at its own strength (a faint tether carries a faint highlight): stroking a tile's runs
// of each strength as one path at that strength, clipped to the tile, paints exactly what
// stroking all the pieces of that strength as one path paints there. A tile the stretch lies
// across keeps the same runs from frame to frame, so it need not be drawn again.

#include <vector>

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygonF>
#include <QRectF>

namespace orvel {

struct HighlightTile {
    // Column and row of the grid.
    QPoint cell;
    QRectF rect;
    std::vector<QPolygonF> runs;
    // For each run, the strength of the piece it belongs to; empty when every run is drawn
    // fully, as most are (a tile is made anew on every frame).
    std::vector<double> strengths;
};

// The runs as one path, to be stroked at once as the whole highlight is.
QPainterPath runsPath(const std::vector<QPolygonF>& runs);
// Strokes the runs of each strength (1 for a run without one) as one path with `pen`, at that
// strength times the painter's opacity, fainter ones first.
void strokeByStrength(QPainter& painter, const std::vector<QPolygonF>& runs, const std::vector<double>& strengths,
                      const QPen& pen);

// The tiles the pieces, stroked `width` wide with round caps and miter joins of limit
// `miterLimit`, paint into, in row-major order of their cells; only those that meet `shown`
// when it is not null (what a scroller shows: the rest would be drawn for nobody). None for
// no pieces. `strengths` holds each piece's strength; a piece without one is drawn fully.
std::vector<HighlightTile> highlightTiles(const std::vector<QPolygonF>& pieces, double width, double miterLimit,
                                          double tileSize, const QRectF& shown = {},
                                          const std::vector<double>& strengths = {});

}  // namespace orvel
