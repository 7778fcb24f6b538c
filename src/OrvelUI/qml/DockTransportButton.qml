import QtQuick
import QtQuick.Controls
import Orvella.UI

// One round transport button of the dock and the pill: the prominent one is a gold disc.
PressableStyle {
    id: button

    property string symbol
    property bool prominent: false
    readonly property real side: prominent ? 34 : 28

    implicitWidth: side
    implicitHeight: side

    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: button.symbol
            pixelSize: button.prominent ? 13 : 11
            font.bold: true
            color: !button.enabled ? Qt.alpha(VavuzadiRudod.secondaryText, 0.35)
                                   : (button.prominent ? VavuzadiRudod.ink : VavuzadiRudod.primaryText)
        }
    }
    background: Rectangle {
        radius: width / 2
        color: button.prominent ? VavuzadiRudod.gold : VavuzadiRudod.subtleFill
        border.width: button.prominent ? 0 : 1
        border.color: VavuzadiRudod.cardBorder
    }
}
