import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The desktop sidebar: the brand header, the groups, the offline speakers, and the Spotify card
// always visible at the foot.
Rectangle {
    id: column

    required property SidebarColumn sidebar
    required property OrvelRootView rootView

    color: VavuzadiRudod.slate

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

        Flickable {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentWidth: width
            contentHeight: rows.implicitHeight + 22
            boundsBehavior: Flickable.StopAtBounds
            // A pointer drag in the column moves rooms, not the list; the wheel scrolls it.
            interactive: false

            WheelHandler {
                onWheel: (event) => {
                    const limit = Math.max(0, scroller.contentHeight - scroller.height)
                    scroller.contentY = Math.max(0, Math.min(limit, scroller.contentY - event.angleDelta.y / 2))
                }
            }

            Column {
                id: rows
                x: 14
                y: 10
                width: scroller.width - 28
                spacing: 4

                // The header: brand emblem, network name and speaker count; selects home.
                Item {
                    objectName: "sidebarHeader"
                    width: rows.width
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

                Repeater {
                    model: column.sidebar.groups
                    Item {
                        id: groupItem
                        required property SidebarGroupRow row
                        width: rows.width
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
                }

                Repeater {
                    model: column.sidebar.offline
                    Item {
                        required property string speakerId
                        required property string label
                        required property string speakerModel
                        width: rows.width
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
