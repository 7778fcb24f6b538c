import QtQuick
import Orvella.UI

// The chip that follows the pointer while a room is dragged.
Rectangle {
    property string label

    implicitWidth: text.implicitWidth + 24
    implicitHeight: text.implicitHeight + 16
    radius: height / 2
    color: VavuzadiRudod.cardElevatedFill
    border.width: 1
    border.color: Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.75)

    Text {
        id: text
        anchors.centerIn: parent
        text: parent.label
        textFormat: Text.PlainText
        font.pixelSize: TextStyles.subheadline
        font.bold: true
        color: VavuzadiRudod.gold
    }
}
