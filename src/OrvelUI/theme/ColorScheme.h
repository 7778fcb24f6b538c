#pragma once

// The two appearances a window can be drawn in.

namespace orvel {

enum class ColorScheme { light, dark };

}  // namespace orvel
