import QtQuick
import Orvella.UI

// A button with no press feedback of its own, for areas that open something (the dock's title,
// the pill's open button): everything of the pressable style but its shrink and fade.
PressableStyle {
    scale: 1.0
    opacity: 1.0
}
