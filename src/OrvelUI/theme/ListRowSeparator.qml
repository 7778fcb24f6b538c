import QtQuick
import Orvella.UI

// The hairline above a list row that follows another, from the row's content edge to its end.
Rectangle {
    property real inset: 14

    x: inset
    width: parent ? parent.width - inset : 0
    height: 1
    color: VavuzadiRudod.cardBorder
}
