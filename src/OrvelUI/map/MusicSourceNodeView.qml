import QtQuick
import QtQuick.Controls
import Orvella.UI

// A group's music-source card: its artwork, what it plays and a line under it, and a play
// button. The texts come from the presenter's row; the owner handles the two signals.
Item {
    id: hub

    property string groupId
    property string title
    property string subtitle
    property string artworkUrl
    property string playHelp
    property bool isPlaying: false
    property bool isDropTarget: false
    property bool flexibleWidth: false
    readonly property bool isHovered: hover.hovered

    signal togglePlay()
    signal openDetail()

    implicitWidth: 340
    implicitHeight: flexibleWidth ? Math.max(artwork.height, texts.implicitHeight) + 24 : 108
    scale: isDropTarget ? 1.05 : (isHovered ? 1.015 : 1.0)
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.18); easing.type: Motion.springEasing } }

    HoverHandler { id: hover }

    Rectangle {
        anchors.fill: parent
        radius: 20
        color: VavuzadiRudod.cardElevatedFill
        border.width: hub.isDropTarget ? 2.2 : 1.5
        border.color: hub.isDropTarget ? VavuzadiRudod.gold : Qt.alpha(VavuzadiRudod.gold, hub.isHovered ? 0.96 : 0.84)
    }

    Item {
        id: detailArea
        objectName: "mapHubOpen-" + hub.groupId
        anchors.left: parent.left
        anchors.leftMargin: 14
        anchors.right: playButton.left
        anchors.rightMargin: 14
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        // Titles from outside (combining marks pile up above and below a line) stay inside.
        clip: true

        AlbumArtworkView {
            id: artwork
            anchors.verticalCenter: parent.verticalCenter
            url: hub.artworkUrl
            size: hub.flexibleWidth ? 64 : 80
            cornerRadius: 14
            width: size
            height: size
        }

        Column {
            id: texts
            anchors.left: artwork.right
            anchors.leftMargin: 14
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4

            Text {
                objectName: "mapHubTitle"
                width: parent.width
                text: hub.title
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
                font.pixelSize: hub.flexibleWidth ? 15 : 16
                font.bold: true
                color: VavuzadiRudod.primaryText
            }
            Text {
                objectName: "mapHubSubtitle"
                width: parent.width
                text: hub.subtitle
                textFormat: Text.PlainText
                elide: Text.ElideRight
                font.pixelSize: hub.flexibleWidth ? 12.5 : 13.5
                color: VavuzadiRudod.secondaryText
            }
        }

        TapHandler {
            gesturePolicy: TapHandler.ReleaseWithinBounds
            onTapped: hub.openDetail()
        }
    }

    PressableStyle {
        id: playButton
        objectName: "mapHubPlay-" + hub.groupId
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        height: 40
        focusPolicy: Qt.NoFocus
        onClicked: hub.togglePlay()
        Accessible.name: hub.isPlaying ? qsTr("Pause") : qsTr("Play")
        ToolTip.visible: hovered
        ToolTip.text: hub.playHelp
        ToolTip.delay: 600

        contentItem: Symbol {
            name: hub.isPlaying ? "pause.fill" : "play.fill"
            pixelSize: 14
            font.bold: true
            color: hub.isPlaying ? VavuzadiRudod.ink : VavuzadiRudod.gold
        }
        background: Rectangle {
            radius: width / 2
            color: hub.isPlaying ? VavuzadiRudod.gold : VavuzadiRudod.subtleFill
            border.color: Qt.alpha(VavuzadiRudod.gold, 0.75)
            border.width: 1.2
        }
    }
}
