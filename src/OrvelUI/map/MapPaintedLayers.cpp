#include "MapPaintedLayers.h"

#include <map>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "OrvelUI/map/AcousticPath.h"
#include "OrvelUI/map/FloorBandsBackdrop.h"
#include "OrvelUI/map/MapLayerRegion.h"
#include "OrvelUI/map/MapPens.h"
#include "OrvelUI/theme/PaintGeometry.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

namespace {

QRectF toQt(const Rect& r) { return {r.minX(), r.minY(), r.width(), r.height()}; }

void paintFloorBands(QPainter& painter, const FloorplanMapPresenter& presenter, const VavuzadiRudodTheme& theme) {
    painter.save();
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    for (const auto& panel : FloorBandsBackdrop::panels(presenter.geometry().bands)) {
        const QRectF frame = toQt(panel.frame);
        const QPainterPath fill = roundedRectPath(frame, CornerRadii::uniform(FloorBandsBackdrop::cornerRadius));
        painter.fillPath(fill, theme.floorBandFill());
        painter.setPen(QPen(theme.floorBandBorder(), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(roundedRectPath(insetForStroke(frame, 1),
                                         CornerRadii::uniform(radiusInsetForStroke(FloorBandsBackdrop::cornerRadius, 1))));
        painter.setPen(theme.secondaryText());
        const QFontMetricsF metrics(font);
        painter.drawText(QPointF(panel.titleOrigin.x, panel.titleOrigin.y + metrics.ascent()),
                         QString::fromStdString(panel.title));
    }
    painter.restore();
}

// A scroll of this many points repaints a canvas layer once; the layer is at most twice this
// taller and wider than the scroller.
constexpr double canvasLayerStep = 128;

}  // namespace

void MapPresenterLayer::setPresenter(FloorplanMapPresenter* presenter) {
    if (presenter_ == presenter) return;
    if (presenter_) disconnect(presenter_, nullptr, this, nullptr);
    presenter_ = presenter;
    if (presenter_) follow(*presenter_);
    update();
    emit presenterChanged();
}

void MapPresenterLayer::follow(FloorplanMapPresenter& presenter) {
    connect(&presenter, &FloorplanMapPresenter::geometryChanged, this, [this] { update(); });
}

void MapCanvasLayer::setVisibleArea(QRectF area) {
    if (visibleArea_ == area) return;
    visibleArea_ = area;
    place();
    emit visibleAreaChanged();
}

void MapCanvasLayer::follow(FloorplanMapPresenter& presenter) {
    MapPresenterLayer::follow(presenter);
    connect(&presenter, &FloorplanMapPresenter::geometryChanged, this, [this] { place(); });
    place();
}

void MapCanvasLayer::componentComplete() {
    MapPresenterLayer::componentComplete();
    place();
}

void MapCanvasLayer::place() {
    const QSizeF canvas = presenter_ ? QSizeF(presenter_->canvasWidth(), presenter_->canvasHeight()) : QSizeF();
    const QRectF region = paintedCanvasRegion(visibleArea_, canvas, canvasLayerStep);
    // Painted in canvas coordinates: a move needs a new picture even at the same size.
    if (region.topLeft() != position()) update();
    setPosition(region.topLeft());
    setSize(region.size());
}

void MapCanvasLayer::toCanvas(QPainter& painter) const { painter.translate(-position()); }

void AcousticLinkLayerView::follow(FloorplanMapPresenter& presenter) {
    MapCanvasLayer::follow(presenter);
    connect(&presenter, &FloorplanMapPresenter::linksChanged, this, [this] { update(); });
}

namespace {

// One group's tethers drawn at one opacity: glow dots at both ends, a soft glow and the line.
void paintLink(QPainter& painter, const std::vector<AcousticCurveSegment>& segments, double opacity,
               const VavuzadiRudodTheme& theme) {
    if (segments.empty() || !(opacity > 0)) return;
    const QColor gold = theme.gold();
    const QColor copper = theme.copper();
    painter.save();
    painter.setOpacity(std::min(opacity, 1.0));
    painter.setPen(Qt::NoPen);
    for (const auto& segment : segments) {
        for (const Point& p : {segment.start, segment.end}) {
            QRadialGradient glow(QPointF(p.x, p.y), 28);
            glow.setColorAt(0, withAlpha(gold, 0.32));
            glow.setColorAt(1, withAlpha(copper, 0));
            painter.setBrush(glow);
            painter.drawEllipse(QPointF(p.x, p.y), 28, 28);
        }
    }
    const QPainterPath path = acousticPath(segments);
    if (!path.isEmpty()) {
        painter.setBrush(Qt::NoBrush);
        // The blur of the glow is stood in for by two wider, fainter strokes.
        painter.strokePath(path, roundPen(withAlpha(copper, 0.08), 13));
        painter.strokePath(path, roundPen(withAlpha(copper, 0.2), 7));
        const QRectF bounds = path.boundingRect();
        QLinearGradient line(bounds.topLeft(), bounds.topRight());
        line.setColorAt(0, copper);
        line.setColorAt(1, gold);
        painter.strokePath(path, roundPen(line, 2.2));
    }
    painter.restore();
}

}  // namespace

void AcousticLinkLayerView::paintContent(QPainter& painter) {
    if (!presenter_) return;
    toCanvas(painter);
    paintFloorBands(painter, *presenter_, theme());
    for (const auto& link : presenter_->links()) {
        // The tethers of one strength as one path, as a link is drawn: the link at full
        // strength, its faint and its fading tethers apart.
        std::map<double, std::vector<AcousticCurveSegment>> byOpacity;
        for (std::size_t i = 0; i < link.segments.size(); ++i) {
            byOpacity[i < link.opacities.size() ? std::min(link.opacities[i], 1.0) : 1.0].push_back(link.segments[i]);
        }
        for (const auto& [opacity, segments] : byOpacity) paintLink(painter, segments, opacity, theme());
    }
}

void DragPreviewTetherView::lineMoved() {
    // Room for the pen's half width and its round caps, on whole points so the dashes fall on
    // the same pixels wherever the box is.
    const QRect box = QRectF(from_, to_).normalized().adjusted(-3, -3, 3, 3).toAlignedRect();
    setPosition(box.topLeft());
    setSize(box.size());
    emit lineChanged();
}

void DragPreviewTetherView::paintContent(QPainter& painter) {
    painter.translate(-position());
    QPen pen = roundPen(theme().gold(), 2.5);
    // Qt's dash lengths are in units of the pen's width.
    pen.setDashPattern({6 / 2.5, 5 / 2.5});
    painter.setPen(pen);
    painter.drawLine(from_, to_);
}

void TetherSeverPillView::paintContent(QPainter& painter) {
    const QRectF disc = QRectF(0, 0, width(), height()).adjusted(0.6, 0.6, -0.6, -0.6);
    painter.setBrush(inverted_ ? theme().gold() : theme().badgeBackground());
    painter.setPen(QPen(withAlpha(theme().gold(), 0.88), 1.2));
    painter.drawEllipse(disc);
    const double arm = std::min(width(), height()) * 0.16;
    const QPointF c = disc.center();
    painter.setPen(roundPen(inverted_ ? theme().ink() : theme().gold(), 1.8));
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
}

}  // namespace orvel
