import QtQuick
import QtQuick.Controls
import Orvella.UI

// The first page of the phone's "Rooms" tab: one row per group, which opens the group's page,
// then the speakers that do not answer under "Offline".
Flickable {
    id: list

    required property OrvelRootView rootView
    // How much of the list's foot the dock covers.
    property real bottomInset: 0

    objectName: "roomsList"
    clip: true
    contentWidth: width
    contentHeight: rows.implicitHeight + 16 + bottomInset
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    Column {
        id: rows
        x: 16
        y: 8
        width: list.width - 32
        spacing: 8

        ListSection {
            width: rows.width
            visible: groupRows.count > 0

            Repeater {
                id: groupRows
                model: list.rootView.sidebar.groups
                Item {
                    id: card
                    required property int index
                    required property SidebarGroupRow row
                    objectName: "roomsRow." + row.groupId
                    width: rows.width
                    height: rowView.implicitHeight + 16
                    ListRowSeparator {
                        visible: card.index > 0
                        inset: 12
                    }
                    TapHandler { onTapped: list.rootView.openGroup(1, card.row.groupId) }
                    SidebarGroupRowView {
                        id: rowView
                        x: 12
                        y: 8
                        width: parent.width - 24
                        row: card.row
                    }
                }
            }
        }

        Text {
            objectName: "roomsOfflineHeader"
            visible: list.rootView.sidebar.offline.count > 0
            topPadding: 10
            leftPadding: 4
            text: qsTr("Offline")
            font.pixelSize: TextStyles.subheadline
            font.bold: true
            color: VavuzadiRudod.secondaryText
        }

        ListSection {
            width: rows.width
            visible: list.rootView.sidebar.offline.count > 0

            Repeater {
                model: list.rootView.sidebar.offline
                Item {
                    required property int index
                    required property string speakerId
                    required property string label
                    required property string speakerModel
                    width: rows.width
                    height: offlineRow.implicitHeight + 16
                    ListRowSeparator {
                        visible: parent.index > 0
                        inset: 12
                    }
                    SidebarOfflineRowView {
                        id: offlineRow
                        x: 12
                        y: 8
                        width: parent.width - 24
                        speakerId: parent.speakerId
                        label: parent.label
                        speakerModel: parent.speakerModel
                    }
                }
            }
        }
    }
}
