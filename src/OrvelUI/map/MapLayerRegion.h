#pragma once

// Which part of the map's canvas a canvas-wide painted layer covers. A layer over the whole
// canvas holds a picture of the whole canvas, and the canvas grows with the household (about
// 5 MiB per layer at 32 rooms); only the part the scroller shows is ever seen.

#include <QRectF>
#include <QSizeF>

namespace orvel {

// The visible area (canvas coordinates) grown outward to multiples of `step` and kept within
// the canvas, so a layer repaints only after a scroll of `step` points, not on every move.
// A null visible area (a view that does not say) means the whole canvas; so does a step of 0.
QRectF paintedCanvasRegion(QRectF visible, QSizeF canvas, double step);

}  // namespace orvel
