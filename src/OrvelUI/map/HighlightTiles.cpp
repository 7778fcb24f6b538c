#include "HighlightTiles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include <QImage>
#include <QLineF>
#include <QTransform>
#include <QVarLengthArray>

namespace orvel {

namespace {

// How far past a stroke's edge antialiasing may touch a pixel.
constexpr double antialiasing = 1.5;

QPointF unit(QPointF from, QPointF to) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    return length > 0 ? d / length : QPointF();
}

// How far from the joint at `b` the stroke reaches: half the width, or the tip of the miter
// between a→b and b→c (never past the limit, where the join is cut back).
double jointReach(QPointF a, QPointF b, QPointF c, double half, double miterLimit) {
    const QPointF in = unit(a, b);
    const QPointF out = unit(b, c);
    if (in.isNull() || out.isNull()) return half;
    const double cosHalfTurn = std::sqrt(std::max((1 + QPointF::dotProduct(in, out)) / 2, 0.0));
    const double miter = cosHalfTurn > 0 ? half / cosHalfTurn : std::numeric_limits<double>::infinity();
    return std::max(half, std::min(miter, miterLimit * 2 * half));
}

// The part of the segment p→q inside the rectangle, as the range of its parameter (0 at p, 1
// at q), if any (Liang-Barsky).
std::optional<std::pair<double, double>> insidePart(QPointF p, QPointF q, const QRectF& rect) {
    double t0 = 0;
    double t1 = 1;
    const double dx = q.x() - p.x();
    const double dy = q.y() - p.y();
    const double edges[4][2] = {{-dx, p.x() - rect.left()},
                                {dx, rect.right() - p.x()},
                                {-dy, p.y() - rect.top()},
                                {dy, rect.bottom() - p.y()}};
    for (const auto& [towards, room] : edges) {
        if (towards == 0) {
            if (room < 0) return std::nullopt;
            continue;
        }
        const double t = room / towards;
        if (towards < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return std::nullopt;
    }
    return std::pair(t0, t1);
}

// The polyline cut to the rectangle: the parts inside it, each a polyline of its own.
void appendClipped(std::vector<QPolygonF>& out, const QPolygonF& line, const QRectF& rect) {
    QPolygonF part;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        const QPointF p = line[i];
        const QPointF q = line[i + 1];
        const auto inside = insidePart(p, q, rect);
        if (!inside) continue;
        const QPointF from = inside->first > 0 ? p + (q - p) * inside->first : p;
        const QPointF to = inside->second < 1 ? p + (q - p) * inside->second : q;
        if (part.isEmpty() || part.constLast() != from) {
            if (part.size() > 1) out.push_back(std::move(part));
            part = QPolygonF{from};
        }
        part << to;
    }
    if (part.size() > 1) out.push_back(std::move(part));
}

}  // namespace

std::vector<HighlightTile> highlightTiles(const std::vector<QPolygonF>& pieces, double width, double miterLimit,
                                          double tileSize, const QRectF& shown, const std::vector<double>& strengths) {
    std::vector<HighlightTile> tiles;
    if (!(tileSize > 0) || !std::isfinite(tileSize)) return tiles;
    const double half = width / 2;
    // Every (cell, piece, segment) where a segment's stroke reaches a cell, in cell order.
    struct Reach {
        int row;
        int column;
        std::size_t piece;
        qsizetype segment;
        auto operator<=>(const Reach&) const = default;
    };
    std::vector<Reach> reaches;
    // The farthest any segment of a piece reaches from its centre line.
    std::vector<double> pieceReach(pieces.size(), half + antialiasing);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const QPolygonF& piece = pieces[k];
        const qsizetype segments = piece.size() - 1;
        for (qsizetype i = 0; i < segments; ++i) {
            const QPointF p = piece[i];
            const QPointF q = piece[i + 1];
            if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(q.x()) || !std::isfinite(q.y())) continue;
            const double atStart = i > 0 ? jointReach(piece[i - 1], p, q, half, miterLimit) : half;
            const double atEnd = i + 1 < segments ? jointReach(p, q, piece[i + 2], half, miterLimit) : half;
            const double reach = std::max(atStart, atEnd) + antialiasing;
            pieceReach[k] = std::max(pieceReach[k], reach);
            QRectF box = QRectF(p, q).normalized().adjusted(-reach, -reach, reach, reach);
            if (!shown.isNull()) {
                box = box.intersected(shown);
                if (box.isEmpty()) continue;
            }
            // The cells the box overlaps (one it only touches along an edge is not one of them).
            const int firstColumn = int(std::floor(box.left() / tileSize));
            const int lastColumn = int(std::ceil(box.right() / tileSize)) - 1;
            const int firstRow = int(std::floor(box.top() / tileSize));
            const int lastRow = int(std::ceil(box.bottom() / tileSize)) - 1;
            for (int row = firstRow; row <= lastRow; ++row) {
                for (int column = firstColumn; column <= lastColumn; ++column) {
                    const QRectF cell(column * tileSize, row * tileSize, tileSize, tileSize);
                    if (insidePart(p, q, cell.adjusted(-reach, -reach, reach, reach))) {
                        reaches.push_back({row, column, k, i});
                    }
                }
            }
        }
    }
    std::sort(reaches.begin(), reaches.end());
    for (std::size_t r = 0; r < reaches.size();) {
        const Reach& first = reaches[r];
        HighlightTile tile{QPoint(first.column, first.row),
                           QRectF(first.column * tileSize, first.row * tileSize, tileSize, tileSize), {}, {}};
        while (r < reaches.size() && reaches[r].row == first.row && reaches[r].column == first.column) {
            // The first and the last segment of this piece that reach the cell.
            const std::size_t k = reaches[r].piece;
            const qsizetype lowest = reaches[r].segment;
            qsizetype highest = lowest;
            for (; r < reaches.size() && reaches[r].row == first.row && reaches[r].column == first.column &&
                   reaches[r].piece == k;
                 ++r) {
                highest = reaches[r].segment;
            }
            const QPolygonF& piece = pieces[k];
            // One segment more at each end, so the joins at the run's ends are the whole
            // stroke's; then cut where nothing drawn can reach the tile any more, so the stroke
            // is as long as the tile, not as the run's segments.
            const qsizetype from = std::max<qsizetype>(lowest - 1, 0);
            const qsizetype to = std::min<qsizetype>(highest + 1, piece.size() - 2);
            const double pad = pieceReach[k];
            const std::size_t before = tile.runs.size();
            appendClipped(tile.runs, piece.mid(from, to - from + 2), tile.rect.adjusted(-pad, -pad, pad, pad));
            const double strength = k < strengths.size() ? strengths[k] : 1.0;
            if (strength != 1 || !tile.strengths.empty()) {
                tile.strengths.resize(before, 1.0);
                tile.strengths.resize(tile.runs.size(), strength);
            }
        }
        tiles.push_back(std::move(tile));
    }
    return tiles;
}

QPainterPath runsPath(const std::vector<QPolygonF>& runs) {
    QPainterPath path;
    for (const QPolygonF& run : runs) path.addPolygon(run);
    return path;
}

namespace {

// A translucent stroke takes the raster engine's slow road (five times the time of an opaque
// one, every frame, on every faint tile). Stroked opaque into a layer on the same device
// pixels and the layer laid down translucent, it paints the same.
void strokeFaintly(QPainter& painter, const QPainterPath& path, const QPen& pen, double opacity) {
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale || !toDevice.isInvertible()) {
        painter.setOpacity(opacity);
        painter.strokePath(path, pen);
        return;
    }
    // Where the stroke can paint: its curves grown by a miter's reach, within the clip.
    const double reach = pen.widthF() / 2 * std::max(pen.miterLimit(), 1.0) + antialiasing;
    QRectF area = path.controlPointRect().adjusted(-reach, -reach, reach, reach);
    if (painter.hasClipping()) area = area.intersected(painter.clipBoundingRect());
    const QRect pixels = toDevice.mapRect(area).toAlignedRect();
    if (pixels.isEmpty()) return;
    // One layer for every tile, grown as needed: a tile is a few dozen pixels square.
    thread_local QImage layer;
    if (layer.width() < pixels.width() || layer.height() < pixels.height()) {
        layer = QImage(std::max(layer.width(), pixels.width()), std::max(layer.height(), pixels.height()),
                       QImage::Format_ARGB32_Premultiplied);
    }
    {
        QPainter onLayer(&layer);
        onLayer.setCompositionMode(QPainter::CompositionMode_Source);
        onLayer.fillRect(QRect(QPoint(0, 0), pixels.size()), Qt::transparent);
        onLayer.setCompositionMode(QPainter::CompositionMode_SourceOver);
        onLayer.setRenderHints(painter.renderHints());
        onLayer.setTransform(toDevice * QTransform::fromTranslate(-pixels.x(), -pixels.y()));
        onLayer.strokePath(path, pen);
    }
    // Laid down on exactly the pixels it was drawn for, without saving the painter's state (its
    // clip is a region the renderer set).
    const double before = painter.opacity();
    painter.setOpacity(opacity);
    painter.drawImage(toDevice.inverted().mapRect(QRectF(pixels)), layer, QRectF(QPointF(0, 0), QSizeF(pixels.size())));
    painter.setOpacity(before);
}

}  // namespace

void strokeByStrength(QPainter& painter, const std::vector<QPolygonF>& runs, const std::vector<double>& strengths,
                      const QPen& pen) {
    auto strengthOf = [&](std::size_t i) { return i < strengths.size() ? std::min(strengths[i], 1.0) : 1.0; };
    // The strengths the runs have, faintest first: a handful at most.
    QVarLengthArray<double, 4> levels;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!levels.contains(strengthOf(i))) levels.append(strengthOf(i));
    }
    std::sort(levels.begin(), levels.end());
    const double opacity = painter.opacity();
    for (double level : levels) {
        if (!(level > 0)) continue;
        QPainterPath path;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            if (strengthOf(i) == level) path.addPolygon(runs[i]);
        }
        if (level >= 1) {
            painter.strokePath(path, pen);
        } else {
            strokeFaintly(painter, path, pen, opacity * level);
        }
    }
    painter.setOpacity(opacity);
}

}  // namespace orvel
