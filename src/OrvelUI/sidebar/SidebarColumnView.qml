import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The desktop sidebar: the brand header, the groups, the offline speakers, and the Spotify card
// always visible at the foot.
Item {
    id: column

    required property SidebarColumn sidebar

    // The window's background shows through a veil, as a desktop sidebar lets what lies behind it
    // show through, set off from the detail column by a hairline.
    MidnightBackground {
        anchors.fill: parent
    }
    Rectangle {
        anchors.fill: parent
        color: VavuzadiRudod.slate
        opacity: VavuzadiRudod.dark ? 0.55 : 0.45
    }
    Rectangle {
        anchors.right: parent.right
        width: 1
        height: parent.height
        color: VavuzadiRudod.cardBorder
    }

    component RowHighlight: Rectangle {
        property bool selected
        radius: 11
        color: selected ? Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.18) : "transparent"
        border.width: selected ? 1 : 0
        border.color: Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.45)
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // The groups are made as they come into view: a household may have many. The header
        // scrolls with them, the offline speakers follow them.
        ListView {
            id: scroller
            objectName: "sidebarList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            topMargin: 10
            bottomMargin: 12
            spacing: 4
            boundsBehavior: Flickable.StopAtBounds
            // A pointer drag that starts on a room moves the room (and scrolls the list when held
            // at its top or foot); one that starts elsewhere (the header, between rows, below
            // them) moves the list, and so does the wheel.
            interactive: false
            model: column.sidebar.groups

            function scrollTo(y) {
                const top = originY - topMargin
                const bottom = Math.max(top, originY + contentHeight + bottomMargin - height)
                contentY = Math.max(top, Math.min(bottom, y))
            }

            WheelHandler {
                onWheel: (event) => scroller.scrollTo(scroller.contentY - event.angleDelta.y / 2)
            }
            DragHandler {
                id: listDrag
                objectName: "sidebarScrollDrag"
                target: null
                xAxis.enabled: false
                property real startY: 0
                onActiveChanged: if (active) startY = scroller.contentY
                onTranslationChanged: if (active) scroller.scrollTo(startY - translation.y)
            }

            // The brand emblem, network name and speaker count; selects home.
            header: Item {
                width: ListView.view.width
                // The rows' spacing after it.
                height: headerItem.height + 4

                Item {
                    id: headerItem
                    objectName: "sidebarHeader"
                    x: 14
                    width: parent.width - 28
                    height: header.implicitHeight + 12 + 6

                    RowHighlight {
                        anchors.fill: parent
                        selected: column.sidebar.headerSelected
                    }
                    RowLayout {
                        id: header
                        anchors.fill: parent
                        anchors.leftMargin: 10
                        anchors.rightMargin: 10
                        anchors.topMargin: 9
                        anchors.bottomMargin: 9
                        spacing: 10

                        OrvelBrandEmblem {
                            Layout.preferredWidth: 32
                            Layout.preferredHeight: 32
                            size: 32
                            showContainer: true
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            Layout.minimumWidth: 0
                            spacing: 1
                            NameLine {
                                objectName: "sidebarNetworkName"
                                Layout.fillWidth: true
                                visible: text !== ""
                                text: column.sidebar.networkName
                                font.pixelSize: TextStyles.body
                                font.bold: true
                                color: column.sidebar.headerSelected ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
                            }
                            Text {
                                objectName: "sidebarSpeakerCount"
                                Layout.fillWidth: true
                                visible: text !== ""
                                text: column.sidebar.speakerCount
                                textFormat: Text.PlainText
                                maximumLineCount: 1
                                font.pixelSize: TextStyles.caption2
                                color: VavuzadiRudod.secondaryText
                            }
                        }
                        SidebarToggleButton {
                            objectName: "sidebarHideButton"
                            sidebar: column.sidebar
                        }
                    }
                    TapHandler { onTapped: column.sidebar.selectHome() }
                }
            }

            delegate: Item {
                id: groupItem
                required property SidebarGroupRow row
                x: 14
                width: ListView.view.width - 28
                height: groupView.implicitHeight + 10

                RowHighlight {
                    anchors.fill: parent
                    selected: groupItem.row.isSelected
                }
                TapHandler { onTapped: column.sidebar.selectGroup(groupItem.row.groupId) }
                SidebarGroupRowView {
                    id: groupView
                    x: 10
                    y: 5
                    width: parent.width - 20
                    row: groupItem.row
                }
            }

            footer: Column {
                x: 14
                width: ListView.view.width - 28
                // The rows' spacing before the first.
                topPadding: offlineRows.count > 0 ? 4 : 0
                spacing: 4

                Repeater {
                    id: offlineRows
                    model: column.sidebar.offline
                    Item {
                        required property string speakerId
                        required property string label
                        required property string speakerModel
                        width: parent.width
                        height: offlineRow.implicitHeight + 10
                        SidebarOfflineRowView {
                            id: offlineRow
                            x: 10
                            y: 5
                            width: parent.width - 20
                            speakerId: parent.speakerId
                            label: parent.label
                            speakerModel: parent.speakerModel
                        }
                    }
                }
            }
        }

        SpotifySidebarCardView {
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.rightMargin: 14
            Layout.topMargin: 6
            Layout.bottomMargin: 16
            card: column.sidebar.spotifyCard
            inSidebarFooter: true
        }
    }
}
