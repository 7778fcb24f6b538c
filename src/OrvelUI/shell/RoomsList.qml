import QtQuick
import QtQuick.Controls
import Orvella.UI

// The first page of the phone's "Rooms" tab: one row per group, which opens the group's page,
// then the speakers that do not answer under "Offline". The group rows are made as they come
// into view: a household may have many.
ListView {
    id: list

    required property OrvelRootView rootView
    // How much of the list's foot the dock covers.
    property real bottomInset: 0

    objectName: "roomsList"
    clip: true
    topMargin: 8
    bottomMargin: 8 + bottomInset
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
    model: rootView.sidebar.groups

    // Each row draws its part of the section's card: the rounded top on the first, the rounded
    // foot on the last, square edges where rows meet.
    delegate: Item {
        id: card
        required property int index
        required property SidebarGroupRow row
        readonly property bool first: index === 0
        readonly property bool last: index === ListView.view.count - 1
        objectName: "roomsRow." + row.groupId
        x: 16
        width: ListView.view.width - 32
        height: rowView.implicitHeight + 16
        clip: true

        Rectangle {
            y: card.first ? 0 : -radius
            width: parent.width
            height: parent.height + (card.first ? 0 : radius) + (card.last ? 0 : radius)
            radius: 10
            color: VavuzadiRudod.cardFill
        }
        ListRowSeparator {
            visible: !card.first
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

    footer: Column {
        x: 16
        width: ListView.view.width - 32
        // The sections' spacing before the offline one.
        topPadding: list.count > 0 ? 8 : 0
        spacing: 8
        visible: list.rootView.sidebar.offline.count > 0
        height: visible ? implicitHeight : 0

        Text {
            objectName: "roomsOfflineHeader"
            topPadding: 10
            leftPadding: 4
            text: qsTr("Offline")
            font.pixelSize: TextStyles.subheadline
            font.bold: true
            color: VavuzadiRudod.secondaryText
        }

        ListSection {
            width: parent.width

            Repeater {
                model: list.rootView.sidebar.offline
                Item {
                    required property int index
                    required property string speakerId
                    required property string label
                    required property string speakerModel
                    width: parent.width
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
