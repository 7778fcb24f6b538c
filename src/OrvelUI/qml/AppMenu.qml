import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu of the menu bar, on the same opaque surface as the context menus.
Menu {
    background: Rectangle {
        implicitWidth: 250
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
