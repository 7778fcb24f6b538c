import QtQuick
import Orvella.UI

// One line of text from outside (a room, a household, a track): shown as plain text, cut with
// an ellipsis where the line ends, and never drawn outside its line, however many combining
// marks are stacked on it. A right-to-left name starts at the leading edge like every other.
Text {
    textFormat: Text.PlainText
    elide: Text.ElideRight
    maximumLineCount: 1
    horizontalAlignment: Text.AlignLeft
    clip: true
}
