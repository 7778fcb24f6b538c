#pragma once

// The painted layers of the full map, drawn on the canvas's own coordinates: the floor-band
// panels under the acoustic links, the dashed drag preview and the round pill of a tether's
// sever button. Each reads its values (from the map presenter or its own properties) and
// repaints only when they change. The links' travelling highlight is not painted: see
// AcousticHighlightLayer.

#include <QPainterPath>
#include <QPointF>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/theme/ThemedPaintedItem.h"

namespace orvel {

// Base of the layers that follow the presenter.
class MapPresenterLayer : public ThemedPaintedItem {
    Q_OBJECT
    Q_PROPERTY(orvel::FloorplanMapPresenter* presenter READ presenter WRITE setPresenter NOTIFY presenterChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;
    FloorplanMapPresenter* presenter() const { return presenter_; }
    void setPresenter(FloorplanMapPresenter* presenter);

signals:
    void presenterChanged();

protected:
    // The presenter signals after which this layer repaints.
    virtual void follow(FloorplanMapPresenter& presenter);
    QPointer<FloorplanMapPresenter> presenter_;
};

// A layer over the canvas that covers only what the scroller shows (`visibleArea`, in canvas
// coordinates; left unset, the whole canvas), placing itself and painting in canvas
// coordinates, so what it draws is where it would be on a canvas-wide layer.
class MapCanvasLayer : public MapPresenterLayer {
    Q_OBJECT
    Q_PROPERTY(QRectF visibleArea READ visibleArea WRITE setVisibleArea NOTIFY visibleAreaChanged)

public:
    using MapPresenterLayer::MapPresenterLayer;
    QRectF visibleArea() const { return visibleArea_; }
    void setVisibleArea(QRectF area);

signals:
    void visibleAreaChanged();

protected:
    void follow(FloorplanMapPresenter& presenter) override;
    void componentComplete() override;
    // Moves the painter's origin to the canvas's.
    void toCanvas(QPainter& painter) const;

private:
    void place();
    QRectF visibleArea_;
};

// The floor-band panels and the still links over them, in one picture: two canvas layers would
// hold two.
class AcousticLinkLayerView : public MapCanvasLayer {
    Q_OBJECT
    QML_NAMED_ELEMENT(AcousticLinkLayer)

public:
    using MapCanvasLayer::MapCanvasLayer;

protected:
    void follow(FloorplanMapPresenter& presenter) override;
    void paintContent(QPainter& painter) override;
};

// Covers only its line's bounds (placed by its own geometry, in its parent's coordinates).
class DragPreviewTetherView : public ThemedPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(DragPreviewTether)
    Q_PROPERTY(QPointF from READ from WRITE setFrom NOTIFY lineChanged)
    Q_PROPERTY(QPointF to READ to WRITE setTo NOTIFY lineChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;
    QPointF from() const { return from_; }
    void setFrom(QPointF p) {
        if (assign(from_, p)) lineMoved();
    }
    QPointF to() const { return to_; }
    void setTo(QPointF p) {
        if (assign(to_, p)) lineMoved();
    }

signals:
    void lineChanged();

protected:
    void paintContent(QPainter& painter) override;

private:
    void lineMoved();
    QPointF from_;
    QPointF to_;
};

// The 22-point disc with its cross; `inverted` swaps to an ink cross on a gold disc.
class TetherSeverPillView : public ThemedPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(TetherSeverPill)
    Q_PROPERTY(bool inverted READ inverted WRITE setInverted NOTIFY invertedChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;
    bool inverted() const { return inverted_; }
    void setInverted(bool v) {
        if (assign(inverted_, v)) emit invertedChanged();
    }

signals:
    void invertedChanged();

protected:
    void paintContent(QPainter& painter) override;

private:
    bool inverted_ = false;
};

}  // namespace orvel
