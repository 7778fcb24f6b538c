import QtQuick
import Orvella.UI

// The narrow map: the household floor by floor, top floor first. Each floor's card holds its
// header with the room count, its groups' music sources and a two-column grid of room tiles.
// A tile dragged onto another groups the two rooms; a click on a tile opens its group.
Flickable {
    id: compact

    required property FloorplanMapPresenter presenter
    // Room left below the last floor for what the window draws over the view's foot.
    property real bottomInset: 0

    objectName: "compactMap"
    clip: true
    contentWidth: width
    contentHeight: floors.implicitHeight
    bottomMargin: bottomInset
    boundsBehavior: Flickable.StopAtBounds
    interactive: contentHeight + bottomMargin > height

    Column {
        id: floors
        x: 4
        width: compact.width - 8
        topPadding: 6
        bottomPadding: 6
        spacing: 14

        Repeater {
            model: compact.presenter.compact.floors

            Rectangle {
                id: floor
                required property string levelId
                required property string title
                required property string countText
                required property MapHubListModel hubs
                required property MapRoomListModel rooms

                objectName: "compactFloor-" + levelId
                width: floors.width
                height: section.implicitHeight + 28
                radius: 22
                color: VavuzadiRudod.floorBandFill
                border.color: VavuzadiRudod.floorBandBorder
                border.width: 1

                Column {
                    id: section
                    x: 14
                    y: 14
                    width: floor.width - 28
                    spacing: 12

                    Item {
                        width: parent.width
                        height: Math.max(floorTitle.implicitHeight, floorCount.implicitHeight)
                        Text {
                            id: floorTitle
                            x: 4
                            anchors.verticalCenter: parent.verticalCenter
                            width: parent.width - floorCount.implicitWidth - 16
                            text: floor.title
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font.pixelSize: TextStyles.headline
                            font.bold: true
                            color: VavuzadiRudod.secondaryText
                        }
                        Text {
                            id: floorCount
                            objectName: "compactFloorCount"
                            anchors.right: parent.right
                            anchors.rightMargin: 4
                            anchors.verticalCenter: parent.verticalCenter
                            text: floor.countText
                            font.pixelSize: TextStyles.caption2
                            color: VavuzadiRudod.secondaryText
                        }
                    }

                    Repeater {
                        model: floor.hubs
                        Item {
                            id: hubRow
                            required property string groupId
                            required property string title
                            required property string subtitle
                            required property string artworkUrl
                            required property string playHelp
                            required property bool playing
                            objectName: "compactHub-" + groupId
                            width: section.width
                            height: hubCard.implicitHeight

                            MusicSourceNodeView {
                                id: hubCard
                                anchors.fill: parent
                                flexibleWidth: true
                                groupId: hubRow.groupId
                                title: hubRow.title
                                subtitle: hubRow.subtitle
                                artworkUrl: hubRow.artworkUrl
                                playHelp: hubRow.playHelp
                                isPlaying: hubRow.playing
                                onTogglePlay: compact.presenter.togglePlay(hubRow.groupId)
                                onOpenDetail: compact.presenter.openGroup(hubRow.groupId)
                            }
                        }
                    }

                    Grid {
                        id: grid
                        readonly property int columnCount: width >= 2 * 136 + 10 ? 2 : 1
                        width: parent.width
                        columns: columnCount
                        columnSpacing: 10
                        verticalItemAlignment: Grid.AlignVCenter
                        rowSpacing: 10

                        Repeater {
                            model: floor.rooms
                            CompactRoomTile {
                                width: (grid.width - (grid.columnCount - 1) * grid.columnSpacing) / grid.columnCount
                                presenter: compact.presenter
                            }
                        }
                    }
                }
            }
        }
    }
}
