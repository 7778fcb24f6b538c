import QtQuick
import QtQuick.Layouts
import Orvella.UI

// One satellite bonded to a room, as a compact line under the room's row.
RowLayout {
    id: line

    // A map from the row presenter: id, roleLabel, modelLabel, modelKey, online.
    required property var satellite
    property bool isPlaying

    spacing: 8

    SpeakerSilhouetteView {
        Layout.topMargin: 2
        Layout.bottomMargin: 2
        Layout.preferredWidth: 22
        Layout.preferredHeight: 22
        size: 22
        model: line.satellite.modelKey
        isOnline: line.satellite.online
        isPlaying: line.isPlaying
        isGrouped: true
    }
    Row {
        spacing: 5
        Text {
            text: line.satellite.roleLabel
            font.pixelSize: TextStyles.subheadline
            font.bold: true
            color: VavuzadiRudod.primaryText
        }
        Text {
            text: "· " + line.satellite.modelLabel
            textFormat: Text.PlainText
            font.pixelSize: TextStyles.caption
            color: VavuzadiRudod.secondaryText
        }
    }
    Item { Layout.fillWidth: true; Layout.minimumWidth: 8 }
    OfflinePill { visible: !line.satellite.online }
}
