import QtQuick
import Orvella.UI

// One symbol of the icon font, by the design's name. Battery glyphs stand upright in the font
// and are turned to lie on their side.
Text {
    property string name
    property real pixelSize: TextStyles.body

    text: Symbols.glyph(name)
    font.family: Symbols.fontFamily
    font.pixelSize: pixelSize
    rotation: Symbols.isVertical(name) ? 90 : 0
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
