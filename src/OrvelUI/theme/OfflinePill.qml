import QtQuick
import Orvella.UI

Rectangle {
    implicitWidth: label.implicitWidth + 14
    implicitHeight: label.implicitHeight + 6
    radius: height / 2
    color: VavuzadiRudod.subtleFill
    border.color: VavuzadiRudod.cardBorder
    border.width: 1

    Text {
        id: label
        anchors.centerIn: parent
        text: qsTr("Offline")
        color: VavuzadiRudod.secondaryText
        font.pixelSize: TextStyles.caption2
        font.bold: true
    }
}
