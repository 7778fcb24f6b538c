import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The floating card over the dock: the current track, then what plays next. Choosing an entry
// closes the card before the entry is played.
Item {
    id: card

    required property NowPlayingDock dock

    objectName: "dock.queueCard"
    implicitWidth: 390
    implicitHeight: column.implicitHeight + 28

    FloatingGlassCard {
        anchors.fill: parent
        radius: 18
        shadowColor: Qt.rgba(0, 0, 0, 0.55)
        shadowRadius: 24
        shadowOffset: Qt.point(0, 10)
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 14
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 4
            Layout.rightMargin: 4
            Layout.topMargin: 2
            spacing: 10

            AlbumArtworkView {
                url: card.dock.artworkURL
                size: 40
                cornerRadius: 8
                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Text {
                    visible: text.length > 0
                    Layout.fillWidth: true
                    text: card.dock.queueHeaderSource
                    textFormat: Text.PlainText
                    clip: true
                    font.pixelSize: TextStyles.caption2
                    font.bold: true
                    color: VavuzadiRudod.gold
                    elide: Text.ElideRight
                }
                Text {
                    objectName: "dock.queueCard.title"
                    Layout.fillWidth: true
                    text: card.dock.queueHeaderTitle
                    textFormat: Text.PlainText
                    clip: true
                    font.pixelSize: TextStyles.subheadline
                    font.bold: true
                    color: VavuzadiRudod.primaryText
                    elide: Text.ElideRight
                }
                Text {
                    visible: text.length > 0
                    Layout.fillWidth: true
                    text: card.dock.queueHeaderArtist
                    textFormat: Text.PlainText
                    clip: true
                    font.pixelSize: TextStyles.caption
                    color: VavuzadiRudod.secondaryText
                    elide: Text.ElideRight
                }
            }
            PressableStyle {
                objectName: "dock.queueCard.close"
                implicitWidth: 24
                implicitHeight: 24
                onClicked: card.dock.closeQueuePopover()
                contentItem: Item {
                    Symbol {
                        anchors.centerIn: parent
                        name: "xmark"
                        pixelSize: 10
                        font.bold: true
                        color: VavuzadiRudod.secondaryText
                    }
                }
                background: Rectangle { radius: width / 2; color: VavuzadiRudod.subtleFill }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: VavuzadiRudod.cardBorder
        }

        UpNextQueueCardView {
            Layout.fillWidth: true
            Layout.preferredHeight: implicitHeight
            presenter: card.dock.queue
            maxHeight: 300
        }
    }
}
