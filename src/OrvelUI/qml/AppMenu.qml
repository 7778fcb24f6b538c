import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu of the menu bar, on the same opaque surface as the context menus.
Menu {
    topPadding: 5
    bottomPadding: 5
    leftPadding: 5
    rightPadding: 5

    background: Rectangle {
        // Wide enough for the longest title beside its keys (Qt 6.4 menus do not size to their items).
        implicitWidth: 330
        radius: 8
        color: VavuzadiRudod.slate
        border.width: 1
        border.color: VavuzadiRudod.cardBorder
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: parent.radius - 1
            color: VavuzadiRudod.cardElevatedFill
        }
    }
}
