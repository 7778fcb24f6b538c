#pragma once

// The painted layers of the full map, drawn on the canvas's own coordinates: the floor-band
// panels, the acoustic links with their travelling highlight, the dashed drag preview and the
// round pill of a tether's sever button. Each reads its values (from the map presenter or its
// own properties) and repaints only when they change.

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

class FloorBandsBackdropView : public MapPresenterLayer {
    Q_OBJECT
    QML_NAMED_ELEMENT(FloorBandsBackdrop)

public:
    using MapPresenterLayer::MapPresenterLayer;

protected:
    void paintContent(QPainter& painter) override;
};

class AcousticLinkLayerView : public MapPresenterLayer {
    Q_OBJECT
    QML_NAMED_ELEMENT(AcousticLinkLayer)

public:
    using MapPresenterLayer::MapPresenterLayer;

protected:
    void follow(FloorplanMapPresenter& presenter) override;
    void paintContent(QPainter& painter) override;
};

// The travelling highlight alone, over the still links. It repaints on every frame, so it
// covers only the bounding box of the highlighted stretches: a frame repaints and recomposes
// a small rectangle, not the whole canvas. Placed by its own geometry in canvas coordinates.
class AcousticHighlightLayerView : public MapPresenterLayer {
    Q_OBJECT
    QML_NAMED_ELEMENT(AcousticHighlightLayer)

public:
    using MapPresenterLayer::MapPresenterLayer;

protected:
    void follow(FloorplanMapPresenter& presenter) override;
    void paintContent(QPainter& painter) override;

private:
    void place();
    // In canvas coordinates.
    QPainterPath highlight_;
};

class DragPreviewTetherView : public ThemedPaintedItem {
    Q_OBJECT
    QML_NAMED_ELEMENT(DragPreviewTether)
    Q_PROPERTY(QPointF from READ from WRITE setFrom NOTIFY lineChanged)
    Q_PROPERTY(QPointF to READ to WRITE setTo NOTIFY lineChanged)

public:
    using ThemedPaintedItem::ThemedPaintedItem;
    QPointF from() const { return from_; }
    void setFrom(QPointF p) {
        if (assign(from_, p)) emit lineChanged();
    }
    QPointF to() const { return to_; }
    void setTo(QPointF p) {
        if (assign(to_, p)) emit lineChanged();
    }

signals:
    void lineChanged();

protected:
    void paintContent(QPainter& painter) override;

private:
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
