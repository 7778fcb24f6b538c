import QtQuick
import Orvella.UI

// One group's music source on the full map: its name and, while it plays, the playing mark.
Item {
    id: hub

    required property string groupId
    required property string name
    required property real centerX
    required property real centerY
    required property bool playing
    property bool isDropTarget: false

    objectName: "mapHub-" + groupId
    width: 340
    height: 108
    x: centerX - width / 2
    y: centerY - height / 2

    VavuzadiRudodCard {
        anchors.fill: parent
        radius: 22
        glowing: hub.playing || hub.isDropTarget
    }

    Row {
        anchors.centerIn: parent
        spacing: 10

        PlayingMark {
            anchors.verticalCenter: parent.verticalCenter
            visible: hub.playing
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, hub.width - 80)
            text: hub.name
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: TextStyles.headline
            font.bold: true
            color: VavuzadiRudod.primaryText
        }
    }
}
