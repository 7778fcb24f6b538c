import QtQuick
import Orvella.UI

// The chip that follows the pointer while a room is dragged. A very long name is cut.
Rectangle {
    property string label

    implicitWidth: text.width + 24
    implicitHeight: text.implicitHeight + 16
    radius: height / 2
    color: VavuzadiRudod.cardElevatedFill
    border.width: 1
    border.color: Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.75)

    NameLine {
        id: text
        anchors.centerIn: parent
        width: Math.min(implicitWidth, 240)
        text: parent.label
        font.pixelSize: TextStyles.subheadline
        font.bold: true
        color: VavuzadiRudod.gold
    }
}
