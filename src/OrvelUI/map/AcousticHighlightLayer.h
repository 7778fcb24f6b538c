#pragma once

// The travelling highlight of the playing links, drawn as scene-graph nodes: a playing frame
// hands the nodes the few straight pieces the stretches now cover, and nothing is painted into
// an image. The links are flattened once, when they change; a frame only looks up where each
// stretch begins and ends. On a GPU each link is a strip of triangles with softened edges. The
// software renderer redraws a node's whole bounds when it changes, so there the highlight is
// cut into small square tiles (HighlightTiles), each stroked with the window's own painter, and
// a frame redraws only the tiles at the stretches' moving ends. A tether drawn faint (behind
// another group's hub, or fading in or out with a new grouping) carries its highlight as faint.
// Lies over the still links in canvas coordinates.

#include <map>
#include <utility>
#include <vector>

#include <QPointer>
#include <QPolygonF>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/map/AcousticPath.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"

namespace orvel {

class AcousticHighlightLayer : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(orvel::FloorplanMapPresenter* presenter READ presenter WRITE setPresenter NOTIFY presenterChanged)
    // What the scroller shows of the canvas; left unset, the whole canvas. The software
    // renderer's tiles are made only there.
    Q_PROPERTY(QRectF visibleArea READ visibleArea WRITE setVisibleArea NOTIFY visibleAreaChanged)

public:
    // Width of the lit stroke, in canvas points.
    static constexpr double lineWidth = 2.6;

    explicit AcousticHighlightLayer(QQuickItem* parent = nullptr);

    FloorplanMapPresenter* presenter() const { return presenter_; }
    void setPresenter(FloorplanMapPresenter* presenter);
    QRectF visibleArea() const { return visibleArea_; }
    void setVisibleArea(QRectF area);

    // What each link lights now: its pieces, in canvas coordinates, each as strong as its
    // tether is drawn (none for a link that does not play). One entry per link of the
    // presenter, in its order.
    const std::vector<LitStretch>& litPieces() const { return lit_; }

signals:
    void presenterChanged();
    void visibleAreaChanged();

protected:
    QSGNode* updatePaintNode(QSGNode* old, UpdatePaintNodeData* data) override;

private:
    // The links' paths flattened again (new geometry, a glide frame, playing groups changed).
    void retrack();
    // The stretches at the presenter's phase.
    void relight();
    // The software renderer's tiles under `root`, for the stretches as they are now.
    void updateTiles(QSGNode& root, QQuickWindow& window, QColor color);

    struct Track {
        FlattenedPath path;
        bool playing = false;
    };
    QPointer<FloorplanMapPresenter> presenter_;
    QRectF visibleArea_;
    std::vector<Track> tracks_;
    std::vector<LitStretch> lit_;
    // Links whose pieces changed since the nodes last took them (a GPU's strips), and whether
    // any did (the software renderer's tiles).
    std::vector<bool> changed_;
    bool dirty_ = true;
    // The software renderer's tile nodes by row and column, children of the layer's node.
    std::map<std::pair<int, int>, QSGNode*> tileNodes_;
};

}  // namespace orvel
