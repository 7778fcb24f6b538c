import QtQuick
import QtQuick.Layouts
import Orvella.UI

// One up-next entry: number (a play symbol while hovered), artwork, title and subtitle, length.
// The whole row, spacer included, takes the tap. A divider sits above every row but the first.
Item {
    id: entry

    required property string itemId
    required property int position
    required property string title
    required property string subtitle
    required property string lengthText
    required property string artworkUrl
    signal tapped()

    readonly property bool hovered: hover.hovered
    objectName: "upNext.row." + position
    implicitHeight: box.height + (position > 0 ? 1 : 0)

    Rectangle {
        visible: entry.position > 0
        x: 66
        width: parent.width - x
        height: 1
        color: VavuzadiRudod.cardBorder
        opacity: 0.45
    }

    Rectangle {
        id: box
        y: entry.position > 0 ? 1 : 0
        width: parent.width
        height: content.implicitHeight + 10
        radius: 8
        color: entry.hovered ? VavuzadiRudod.subtleFill : "transparent"

        HoverHandler { id: hover }
        TapHandler { onTapped: entry.tapped() }

        RowLayout {
            id: content
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            spacing: 10

            Item {
                Layout.preferredWidth: 18
                Layout.preferredHeight: 18
                Symbol {
                    anchors.centerIn: parent
                    visible: entry.hovered
                    name: "play.fill"
                    pixelSize: 10
                    font.bold: true
                    color: VavuzadiRudod.gold
                }
                Text {
                    anchors.centerIn: parent
                    visible: !entry.hovered
                    text: entry.position + 1
                    font.pixelSize: TextStyles.caption2
                    color: VavuzadiRudod.secondaryText
                }
            }

            AlbumArtworkView {
                objectName: "upNext.artwork." + entry.position
                url: entry.artworkUrl
                size: 32
                cornerRadius: 6
                Layout.preferredWidth: 32
                Layout.preferredHeight: 32
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 1
                Text {
                    Layout.fillWidth: true
                    text: entry.title
                    textFormat: Text.PlainText
                    clip: true
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pixelSize: TextStyles.subheadline
                    color: entry.hovered ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
                }
                Text {
                    Layout.fillWidth: true
                    visible: entry.subtitle.length > 0
                    text: entry.subtitle
                    textFormat: Text.PlainText
                    clip: true
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pixelSize: TextStyles.caption
                    color: VavuzadiRudod.secondaryText
                }
            }

            Text {
                Layout.leftMargin: 8
                visible: entry.lengthText.length > 0
                text: entry.lengthText
                font.pixelSize: TextStyles.caption2
                color: VavuzadiRudod.secondaryText
            }
        }
    }
}
