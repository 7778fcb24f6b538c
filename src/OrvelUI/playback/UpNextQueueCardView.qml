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
                clip: true
                font.pixelSize: TextStyles.caption2
                font.bold: true
                color: VavuzadiRudod.secondaryText
                elide: Text.ElideRight
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
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            spacing: 10
            Symbol {
                name: "music.note.list"
                pixelSize: 14
                font.bold: true
                color: VavuzadiRudod.secondaryText
            }
            Text {
                objectName: "upNext.empty"
                Layout.fillWidth: true
                text: card.presenter.emptyText
                textFormat: Text.PlainText
                clip: true
                maximumLineCount: 1
                elide: Text.ElideRight
                font.pixelSize: TextStyles.caption
                color: VavuzadiRudod.secondaryText
            }
        }

        Flickable {
            id: list
            readonly property bool scrolls: card.maxHeight >= 0 && contentHeight > card.maxHeight
            visible: !card.presenter.isEmpty
            Layout.fillWidth: true
            Layout.preferredHeight: scrolls ? card.maxHeight : contentHeight
            contentWidth: width
            contentHeight: rows.implicitHeight
            interactive: scrolls
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: list.scrolls ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }

            Column {
                id: rows
                width: list.width

                Repeater {
                    model: card.presenter.items

                    delegate: UpNextRowView {
                        width: rows.width
                        onTapped: card.presenter.selectQueueItem(itemId, position)
                    }
                }
            }
        }
    }
}
