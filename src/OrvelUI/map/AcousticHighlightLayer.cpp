#include "AcousticHighlightLayer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <utility>

#include <QPainter>
#include <QQuickWindow>
#include <QSGGeometryNode>
#include <QSGNode>
#include <QSGRenderNode>
#include <QSGRendererInterface>
#include <QSGVertexColorMaterial>

#include "OrvelUI/map/HighlightTiles.h"
#include "OrvelUI/map/MapPens.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

namespace {

// The software renderer redraws these squares of the canvas when the highlight moves.
constexpr double tileSize = 32;

// The software renderer draws only the node types it knows, and a custom geometry node is not
// one of them: there each tile of the highlight strokes its runs with the window's painter,
// clipped to the tile, so the renderer redraws only the tiles whose runs changed.
class PaintedTileNode final : public QSGRenderNode {
public:
    explicit PaintedTileNode(QQuickWindow* window) : window_(window) {}

    bool setTile(HighlightTile tile, QColor color) {
        if (tile.rect == rect_ && tile.runs == runs_ && tile.strengths == strengths_ && color == color_) return false;
        rect_ = tile.rect;
        runs_ = std::move(tile.runs);
        strengths_ = std::move(tile.strengths);
        color_ = color;
        // Geometry as well: the renderer then redraws where the stroke was, not only where it is.
        markDirty(QSGNode::DirtyGeometry | QSGNode::DirtyMaterial);
        return true;
    }

    void render(const RenderState* state) override {
        QSGRendererInterface* renderer = window_->rendererInterface();
        auto* painter =
            static_cast<QPainter*>(renderer->getResource(window_, QSGRendererInterface::PainterResource));
        if (painter == nullptr || runs_.empty()) return;
        // What the renderer redraws, in window coordinates (so before the node's transform):
        // nothing at all for a tile the scroller hides.
        if (const QRegion* clip = state->clipRegion()) {
            if (clip->isEmpty()) return;
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        }
        painter->setTransform(matrix()->toTransform());
        // The tiles share no pixel, wherever the canvas lies: each draws its own square only.
        painter->setClipRect(rect_, Qt::IntersectClip);
        painter->setOpacity(inheritedOpacity());
        painter->setRenderHint(QPainter::Antialiasing, true);
        strokeByStrength(*painter, runs_, strengths_, roundPen(color_, AcousticHighlightLayer::lineWidth));
    }
    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return rect_; }

private:
    QQuickWindow* window_;
    QRectF rect_;
    std::vector<QPolygonF> runs_;
    std::vector<double> strengths_;
    QColor color_;
};

struct StrokeVertex {
    QPointF at;
    // 1 inside the stroke, 0 on the outer side of its softened edge.
    float coverage;
};

QPointF unitNormal(QPointF from, QPointF to) {
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    return length > 0 ? QPointF(-d.y() / length, d.x() / length) : QPointF();
}

void addQuad(std::vector<StrokeVertex>& out, StrokeVertex a, StrokeVertex b, StrokeVertex c, StrokeVertex d) {
    out.insert(out.end(), {a, b, c, b, d, c});
}

// Half a disc at a piece's end, bulging along `away`, with the same soft rim as the sides.
void addRoundCap(std::vector<StrokeVertex>& out, QPointF centre, QPointF normal, QPointF away, double inner,
                 double outer) {
    constexpr int steps = 6;
    const auto direction = [&](int k) {
        const double angle = std::numbers::pi * k / steps;
        return normal * std::cos(angle) + away * std::sin(angle);
    };
    for (int k = 0; k < steps; ++k) {
        const QPointF a = direction(k);
        const QPointF b = direction(k + 1);
        out.insert(out.end(), {{centre, 1}, {centre + a * inner, 1}, {centre + b * inner, 1}});
        addQuad(out, {centre + a * inner, 1}, {centre + a * outer, 0}, {centre + b * inner, 1}, {centre + b * outer, 0});
    }
}

// Triangles covering each piece stroked `width` wide with round caps, their edges softened over
// `fringe` (one device pixel) as the painter's antialiasing would.
std::vector<StrokeVertex> strokeTriangles(const std::vector<QPolygonF>& pieces, double width, double fringe) {
    std::vector<StrokeVertex> out;
    const double inner = std::max(width / 2 - fringe / 2, 0.0);
    const double outer = width / 2 + fringe / 2;
    for (const QPolygonF& piece : pieces) {
        const auto n = static_cast<std::size_t>(piece.size());
        if (n < 2) continue;
        // Each segment's normal; a segment of no length borrows its neighbour's.
        std::vector<QPointF> normals(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i) normals[i] = unitNormal(piece[qsizetype(i)], piece[qsizetype(i + 1)]);
        for (std::size_t i = 1; i < normals.size(); ++i) {
            if (normals[i].isNull()) normals[i] = normals[i - 1];
        }
        for (std::size_t i = normals.size() - 1; i > 0; --i) {
            if (normals[i - 1].isNull()) normals[i - 1] = normals[i];
        }
        if (normals.front().isNull()) continue;
        // At a joint the sides meet on the bisector, lengthened so the stroke keeps its width
        // (at most twice, as a miter limit would).
        std::vector<QPointF> sides(n);
        for (std::size_t i = 0; i < n; ++i) {
            const QPointF before = normals[i > 0 ? i - 1 : 0];
            const QPointF after = normals[std::min(i, n - 2)];
            const QPointF sum = before + after;
            const double length = std::hypot(sum.x(), sum.y());
            if (!(length > 0)) {
                sides[i] = after;
                continue;
            }
            const QPointF bisector = sum / length;
            sides[i] = bisector / std::max(QPointF::dotProduct(bisector, after), 0.5);
        }
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const QPointF p = piece[qsizetype(i)];
            const QPointF q = piece[qsizetype(i + 1)];
            const QPointF sp = sides[i];
            const QPointF sq = sides[i + 1];
            addQuad(out, {p + sp * outer, 0}, {p + sp * inner, 1}, {q + sq * outer, 0}, {q + sq * inner, 1});
            addQuad(out, {p + sp * inner, 1}, {p - sp * inner, 1}, {q + sq * inner, 1}, {q - sq * inner, 1});
            addQuad(out, {p - sp * inner, 1}, {p - sp * outer, 0}, {q - sq * inner, 1}, {q - sq * outer, 0});
        }
        // A normal (-dy, dx) turns back into its direction (dx, dy): the caps bulge backwards at
        // the start and forwards at the end.
        const QPointF start = normals.front();
        const QPointF end = normals.back();
        addRoundCap(out, piece.front(), start, QPointF(-start.y(), start.x()), inner, outer);
        addRoundCap(out, piece.back(), end, QPointF(end.y(), -end.x()), inner, outer);
    }
    return out;
}

// Elsewhere the stroke is plain geometry: a few hundred coloured vertices a link.
class StripStrokeNode final : public QSGGeometryNode {
public:
    StripStrokeNode() : geometry_(QSGGeometry::defaultAttributes_ColoredPoint2D(), 0) {
        geometry_.setDrawingMode(QSGGeometry::DrawTriangles);
        setGeometry(&geometry_);
        setMaterial(&material_);
    }

    void setPieces(const LitStretch& lit, QColor color, double fringe) {
        std::vector<StrokeVertex> vertices;
        std::vector<float> strengths;
        for (std::size_t i = 0; i < lit.pieces.size(); ++i) {
            const std::size_t before = vertices.size();
            const std::vector<StrokeVertex> piece = strokeTriangles({lit.pieces[i]}, AcousticHighlightLayer::lineWidth, fringe);
            vertices.insert(vertices.end(), piece.begin(), piece.end());
            const double strength = i < lit.strengths.size() ? std::clamp(lit.strengths[i], 0.0, 1.0) : 1.0;
            strengths.resize(strengths.size() + (vertices.size() - before), float(strength));
        }
        geometry_.allocate(static_cast<int>(vertices.size()));
        QSGGeometry::ColoredPoint2D* data = geometry_.vertexDataAsColoredPoint2D();
        const QColor rgb = color.toRgb();
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            // Premultiplied, as the material blends.
            const float alpha = float(rgb.alphaF()) * vertices[i].coverage * strengths[i];
            const auto channel = [alpha](float value) { return static_cast<uchar>(std::lround(value * alpha * 255)); };
            data[i].set(float(vertices[i].at.x()), float(vertices[i].at.y()), channel(float(rgb.redF())),
                        channel(float(rgb.greenF())), channel(float(rgb.blueF())), channel(1));
        }
        markDirty(QSGNode::DirtyGeometry);
    }

private:
    QSGGeometry geometry_;
    QSGVertexColorMaterial material_;
};

bool paintsWithSoftware(const QQuickWindow* window) {
    return window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
}

}  // namespace

AcousticHighlightLayer::AcousticHighlightLayer(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents, true);
    connect(VavuzadiRudodTheme::shared(), &VavuzadiRudodTheme::appearanceChanged, this, [this] {
        changed_.assign(lit_.size(), true);
        dirty_ = true;
        update();
    });
}

void AcousticHighlightLayer::setPresenter(FloorplanMapPresenter* presenter) {
    if (presenter_ == presenter) return;
    if (presenter_) disconnect(presenter_, nullptr, this, nullptr);
    presenter_ = presenter;
    if (presenter_) {
        connect(presenter_, &FloorplanMapPresenter::geometryChanged, this, &AcousticHighlightLayer::retrack);
        connect(presenter_, &FloorplanMapPresenter::linksChanged, this, &AcousticHighlightLayer::retrack);
        connect(presenter_, &FloorplanMapPresenter::animatingChanged, this, &AcousticHighlightLayer::retrack);
        connect(presenter_, &FloorplanMapPresenter::phaseChanged, this, &AcousticHighlightLayer::relight);
    }
    retrack();
    emit presenterChanged();
}

void AcousticHighlightLayer::setVisibleArea(QRectF area) {
    if (area == visibleArea_) return;
    visibleArea_ = area;
    dirty_ = true;
    update();
    emit visibleAreaChanged();
}

void AcousticHighlightLayer::retrack() {
    tracks_.clear();
    if (presenter_) {
        for (const auto& link : presenter_->links()) {
            tracks_.push_back(Track{flattenedLink(link.segments, link.opacities), link.phase.has_value()});
        }
    }
    relight();
}

void AcousticHighlightLayer::relight() {
    const std::optional<PathStretch> stretch =
        presenter_ && presenter_->animating() ? highlightStretch(presenter_->phase()) : std::nullopt;
    // Links that went away take their stretches with them.
    bool any = lit_.size() != tracks_.size();
    lit_.resize(tracks_.size());
    changed_.resize(tracks_.size(), true);
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        LitStretch pieces;
        if (stretch && tracks_[i].playing) pieces = litStretch(tracks_[i].path, *stretch);
        // A link that stays dark stays untouched.
        if (pieces.pieces.empty() && lit_[i].pieces.empty()) continue;
        lit_[i] = std::move(pieces);
        changed_[i] = true;
        any = true;
    }
    if (any) {
        dirty_ = true;
        update();
    }
}

QSGNode* AcousticHighlightLayer::updatePaintNode(QSGNode* old, UpdatePaintNodeData*) {
    QQuickWindow* shown = window();
    if (shown == nullptr) {
        delete old;
        tileNodes_.clear();
        return nullptr;
    }
    // A transform node, not a plain one: the software renderer places and clips a node added
    // later by the state it recorded for its parent, and it records none for a plain node (the
    // tile would be drawn at the window's origin, unclipped).
    auto* root = old != nullptr ? old : new QSGTransformNode;
    // A new root: the last one went with its tiles.
    if (old == nullptr) {
        tileNodes_.clear();
        dirty_ = true;
    }
    const QColor gold = VavuzadiRudodTheme::shared()->gold();
    if (paintsWithSoftware(shown)) {
        updateTiles(*root, *shown, gold);
        return root;
    }
    // One strip of triangles per link, in link order.
    while (root->childCount() > static_cast<int>(lit_.size())) {
        QSGNode* last = root->lastChild();
        root->removeChildNode(last);
        delete last;
    }
    while (root->childCount() < static_cast<int>(lit_.size())) {
        root->appendChildNode(new StripStrokeNode);
        changed_[static_cast<std::size_t>(root->childCount() - 1)] = true;
    }
    const double fringe = 1 / std::max(shown->effectiveDevicePixelRatio(), 1.0);
    QSGNode* child = root->firstChild();
    for (std::size_t i = 0; i < lit_.size() && child != nullptr; ++i, child = child->nextSibling()) {
        if (!changed_[i]) continue;
        changed_[i] = false;
        static_cast<StripStrokeNode*>(child)->setPieces(lit_[i], gold, fringe);
    }
    return root;
}

void AcousticHighlightLayer::updateTiles(QSGNode& root, QQuickWindow& window, QColor color) {
    if (!std::exchange(dirty_, false)) return;
    changed_.assign(changed_.size(), false);
    std::vector<QPolygonF> pieces;
    std::vector<double> strengths;
    for (const auto& link : lit_) {
        pieces.insert(pieces.end(), link.pieces.begin(), link.pieces.end());
        strengths.insert(strengths.end(), link.strengths.begin(), link.strengths.end());
    }
    // A tile keeps its node while it stays lit: a tile the stretch lies across unchanged is not
    // redrawn, only those at its moving ends.
    std::map<std::pair<int, int>, QSGNode*> kept;
    for (HighlightTile& tile : highlightTiles(pieces, lineWidth, mapMiterLimit, tileSize, visibleArea_, strengths)) {
        const std::pair cell(tile.cell.y(), tile.cell.x());
        auto found = tileNodes_.find(cell);
        PaintedTileNode* node = nullptr;
        if (found != tileNodes_.end()) {
            node = static_cast<PaintedTileNode*>(found->second);
            tileNodes_.erase(found);
        } else {
            node = new PaintedTileNode(&window);
            root.appendChildNode(node);
        }
        node->setTile(std::move(tile), color);
        kept.emplace(cell, node);
    }
    // What is left went dark.
    for (const auto& [cell, node] : tileNodes_) {
        root.removeChildNode(node);
        delete node;
    }
    tileNodes_ = std::move(kept);
}

}  // namespace orvel
