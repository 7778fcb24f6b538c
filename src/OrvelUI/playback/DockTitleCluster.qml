import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// Artwork, title, subtitle and source line; a click anywhere on it opens the group. It asks for
// the width of its longest text and, given less, cuts its texts short.
PlainButton {
    id: button

    required property NowPlayingDock dock

    objectName: "dock.title"
    onClicked: dock.open()

    contentItem: RowLayout {
        spacing: 12

        AlbumArtworkView {
            url: button.dock.artworkURL
            size: 46
            cornerRadius: 9
            Layout.preferredWidth: 46
            Layout.preferredHeight: 46
        }

        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true

            Text {
                objectName: "dock.primaryTitle"
                Layout.fillWidth: true
                text: button.dock.primaryTitle
                textFormat: Text.PlainText
                clip: true
                font.pixelSize: TextStyles.subheadline
                font.bold: true
                color: VavuzadiRudod.primaryText
                elide: Text.ElideRight
            }
            Text {
                objectName: "dock.subtitle"
                Layout.fillWidth: true
                text: button.dock.subtitle
                textFormat: Text.PlainText
                clip: true
                font.pixelSize: TextStyles.caption
                color: VavuzadiRudod.gold
                elide: Text.ElideRight
            }
            RowLayout {
                visible: button.dock.sourceLine.length > 0
                spacing: 4
                Symbol {
                    name: "dot.radiowaves.left.and.right"
                    pixelSize: 8.5
                    font.bold: true
                    color: VavuzadiRudod.secondaryText
                }
                Text {
                    objectName: "dock.sourceLine"
                    Layout.fillWidth: true
                    text: button.dock.sourceLine
                    textFormat: Text.PlainText
                    clip: true
                    font.pixelSize: 10
                    color: VavuzadiRudod.secondaryText
                    elide: Text.ElideRight
                }
            }
        }
    }
}
