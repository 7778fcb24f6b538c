import QtQuick
import QtQuick.Controls
import Orvella.UI

// A plain list of the household's groups: each group's name and its rooms.
Rectangle {
    id: placeholder

    property alias model: list.model
    property color backdrop: VavuzadiRudod.obsidian

    color: backdrop

    ListView {
        id: list

        anchors.fill: parent
        anchors.margins: 16
        spacing: 12
        clip: true

        delegate: Column {
            id: row

            required property string displayName
            required property var roomNames

            width: ListView.view.width
            spacing: 2

            Text {
                objectName: "groupName"
                width: parent.width
                text: row.displayName
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: VavuzadiRudod.primaryText
                font.pixelSize: 15
                font.bold: true
            }

            Text {
                objectName: "groupRooms"
                width: parent.width
                text: row.roomNames.join(", ")
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                color: VavuzadiRudod.secondaryText
                font.pixelSize: 13
            }
        }
    }

    Text {
        anchors.centerIn: parent
        visible: list.count === 0
        text: "Looking for speakers…"
        color: VavuzadiRudod.secondaryText
        font.pixelSize: 13
    }
}
