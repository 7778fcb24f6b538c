#pragma once

// The window-size option ORVELLA_WINDOW_SIZE ("1024x700"): a content size applied to the
// application's windows shortly after the window is first shown. Used for screenshots and
// scripted runs.

#include <optional>
#include <string_view>

namespace orvel {

struct WindowSize {
    double width = 0;
    double height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// Splits at every lower-case "x", dropping empty fields, and reads each field as a decimal
// floating-point number. A field that does not parse, or that is not finite and greater than
// zero, is dropped; a size exists only when exactly two numbers remain (width, then height).
std::optional<WindowSize> parseWindowSizeOption(std::string_view value);

}  // namespace orvel
