#pragma once

// The outer inputs of the map's geometry made safe: a viewport or pointer value that is not a
// finite number counts as 0, and every value is kept within a range far beyond any screen, so
// the layout and the memo key never see infinities, NaN or integers out of range.

#include "OrvelDomain/Geometry.h"

namespace orvel::MapCanvasValues {

// Canvas coordinates beyond this many points are clamped.
inline constexpr double limit = 1.0e9;

double sanitised(double value);
// Also never negative.
Size sanitisedSize(Size size);
Point sanitisedPoint(Point point);

}  // namespace orvel::MapCanvasValues
