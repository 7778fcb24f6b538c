import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The up-next card over its presenter. Rows are named "upNext.row.<position>"; a tapped row
// hands its entry's id and position back to the presenter.
Item {
    id: card

    required property UpNextQueueCard presenter
    // Negative: the list takes its full height; otherwise it scrolls within this height.
    property real maxHeight: -1

    readonly property real padding: presenter.embedded ? 0 : 16
    implicitWidth: 360
    implicitHeight: column.implicitHeight + 2 * padding

    VavuzadiRudodCard {
        anchors.fill: parent
        visible: !card.presenter.embedded
        radius: 18
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: card.padding
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: card.presenter.embedded ? 4 : 2
            Layout.rightMargin: Layout.leftMargin
            spacing: 6

            Text {
                text: "Up Next"
                font.pixelSize: TextStyles.subheadline
                font.bold: true
                color: VavuzadiRudod.gold
            }
            Text {
                visible: card.presenter.sourceBadge.length > 0
                text: card.presenter.sourceBadge
                textFormat: Text.PlainText
                font.pixelSize: TextStyles.caption2
                font.bold: true
                color: VavuzadiRudod.secondaryText
                elide: Text.ElideRight
                Layout.fillWidth: false
            }
            Item { Layout.fillWidth: true }
            Text {
                objectName: "upNext.count"
                text: card.presenter.countText
                font.pixelSize: TextStyles.caption2
                color: VavuzadiRudod.secondaryText
            }
        }

        RowLayout {
            visible: card.presenter.isEmpty
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            spacing: 10
            Symbol {
                name: "music.note.list"
                pixelSize: 14
                color: VavuzadiRudod.secondaryText
            }
            Text {
                objectName: "upNext.empty"
                text: card.presenter.emptyText
                textFormat: Text.PlainText
                font.pixelSize: TextStyles.caption
                color: VavuzadiRudod.secondaryText
            }
        }

        ListView {
            id: list
            visible: !card.presenter.isEmpty
            Layout.fillWidth: true
            Layout.preferredHeight: card.maxHeight >= 0 ? Math.min(contentHeight, card.maxHeight) : contentHeight
            interactive: card.maxHeight >= 0 && contentHeight > card.maxHeight
            clip: true
            model: card.presenter.items
            ScrollBar.vertical: ScrollBar { policy: list.interactive ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }

            delegate: Item {
                id: entry
                required property string itemId
                required property int position
                required property string title
                required property string subtitle
                required property string lengthText
                required property string artworkUrl

                objectName: "upNext.row." + position
                width: ListView.view.width
                height: rowBox.height + (position > 0 ? 1 : 0)

                Rectangle {
                    visible: entry.position > 0
                    x: 66
                    width: parent.width - x
                    height: 1
                    color: VavuzadiRudod.cardBorder
                    opacity: 0.45
                }

                Rectangle {
                    id: rowBox
                    y: entry.position > 0 ? 1 : 0
                    width: parent.width
                    height: content.implicitHeight + 10
                    radius: 8
                    color: hover.hovered ? VavuzadiRudod.subtleFill : "transparent"

                    HoverHandler { id: hover }
                    TapHandler { onTapped: card.presenter.selectQueueItem(entry.itemId, entry.position) }

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
                                visible: hover.hovered
                                name: "play.fill"
                                pixelSize: 10
                                color: VavuzadiRudod.gold
                            }
                            Text {
                                anchors.centerIn: parent
                                visible: !hover.hovered
                                text: entry.position + 1
                                font.pixelSize: TextStyles.caption2
                                color: VavuzadiRudod.secondaryText
                            }
                        }

                        Rectangle {
                            objectName: "upNext.artwork." + entry.position
                            property string artworkUrl: entry.artworkUrl
                            Layout.preferredWidth: 32
                            Layout.preferredHeight: 32
                            radius: 6
                            color: VavuzadiRudod.subtleFill
                            border.color: VavuzadiRudod.cardBorder
                            border.width: 0.75
                        }

                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 1
                            Text {
                                Layout.fillWidth: true
                                text: entry.title
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                font.pixelSize: TextStyles.subheadline
                                color: hover.hovered ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
                            }
                            Text {
                                Layout.fillWidth: true
                                visible: entry.subtitle.length > 0
                                text: entry.subtitle
                                textFormat: Text.PlainText
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
        }
    }
}
