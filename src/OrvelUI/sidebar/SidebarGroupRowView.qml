import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One group in the sidebar: its icon, name and what it plays, a battery badge or artwork, its
// rooms below it, the drop target for rooms dragged onto it, and the group menu.
Item {
    id: groupRow

    required property SidebarGroupRow row
    property bool targeted: drop.containsDrag

    objectName: "sidebarGroupRow." + row.groupId
    implicitHeight: content.implicitHeight + 6
    implicitWidth: content.implicitWidth

    ColumnLayout {
        id: content
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.topMargin: 3
        spacing: 6

        RowLayout {
            Layout.fillWidth: true
            spacing: 10

            Item {
                Layout.preferredWidth: 32
                Layout.preferredHeight: 32

                SidebarIconWell {
                    visible: groupRow.row.isMultiRoom
                    systemName: "speaker.wave.3.fill"
                    highlighted: true
                    size: 32
                }
                SpeakerSilhouetteView {
                    visible: !groupRow.row.isMultiRoom
                    anchors.fill: parent
                    size: 32
                    model: groupRow.row.model
                    isOnline: groupRow.row.isOnline
                    isPlaying: groupRow.row.silhouetteHighlighted
                    isGrouped: false
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.minimumWidth: 0
                spacing: 1

                NameLine {
                    objectName: "sidebarGroupTitle." + groupRow.row.groupId
                    Layout.fillWidth: true
                    // The row gives the name what is left (see SidebarMemberRowView).
                    Layout.preferredWidth: 0
                    text: groupRow.row.title
                    font.pixelSize: TextStyles.body
                    font.bold: groupRow.row.isSelected
                    color: groupRow.row.isSelected ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
                }
                Text {
                    objectName: "sidebarGroupSubtitle." + groupRow.row.groupId
                    Layout.fillWidth: true
                    visible: groupRow.row.subtitleKind !== "none"
                    text: groupRow.row.subtitle
                    textFormat: Text.PlainText
                    horizontalAlignment: Text.AlignLeft
                    // A track's title comes from the speakers: kept to its lines.
                    clip: true
                    elide: groupRow.row.subtitleKind === "surround" ? Text.ElideNone : Text.ElideRight
                    wrapMode: groupRow.row.subtitleKind === "surround" ? Text.WordWrap : Text.NoWrap
                    // The surround line has no line limit; a track line is one line.
                    maximumLineCount: groupRow.row.subtitleKind === "surround" ? 2147483647 : 1
                    font.pixelSize: groupRow.row.subtitleKind === "surround" ? 10 : 10.5
                    color: groupRow.row.subtitleKind === "playingTrack" ? VavuzadiRudod.gold : VavuzadiRudod.secondaryText
                }
            }

            // Each made only for the rows that show it.
            Loader {
                active: groupRow.row.hasBattery
                visible: active
                sourceComponent: SpeakerBatteryBadge {
                    levelPercent: groupRow.row.batteryPercent
                    isOnCharger: groupRow.row.batteryOnCharger
                }
            }
            Loader {
                active: groupRow.row.mark === "artwork"
                visible: active
                Layout.preferredWidth: 22
                Layout.preferredHeight: 22
                sourceComponent: AlbumArtworkView {
                    url: groupRow.row.artworkUrl
                    size: 22
                    cornerRadius: 5
                }
            }
            Loader {
                active: groupRow.row.mark === "playing"
                visible: active
                sourceComponent: PlayingMark {}
            }
        }

        // The rooms, coordinator first, with a thin guide along their leading edge.
        Item {
            Layout.fillWidth: true
            visible: groupRow.row.isMultiRoom
            implicitHeight: members.implicitHeight

            Rectangle {
                x: 15
                y: 3
                width: 2
                height: Math.max(0, parent.height - 6)
                radius: 1
                color: Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.45)
            }

            Column {
                id: members
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.leftMargin: 16
                spacing: 4

                // Keyed by room: a change to one room changes its row in place.
                Repeater {
                    model: groupRow.row.members
                    SidebarMemberRowView {
                        width: members.width
                        playing: groupRow.row.playing
                        onRemoveRequested: groupRow.row.removeMember(speakerId)
                    }
                }
            }
        }
    }

    // The row carries its coordinator; each member row carries its own room.
    SidebarDragSource {
        z: -1
        payload: groupRow.row.coordinatorId
        label: groupRow.row.coordinatorLabel
    }

    DropArea {
        id: drop
        objectName: "sidebarGroupDrop." + groupRow.row.groupId
        anchors.fill: parent
        keys: ["text/plain"]
        onDropped: (event) => {
            // An in-window drag names its room on its source; text from elsewhere comes as text.
            const texts = event.source && event.source.dragPayload !== undefined ? [event.source.dragPayload]
                        : (event.hasText ? [event.text] : [])
            if (groupRow.row.acceptDrop(texts)) event.acceptProposedAction()
        }
    }

    // The drop ring, drawn inside the row's own edge.
    Rectangle {
        objectName: "sidebarGroupDropRing." + groupRow.row.groupId
        anchors.fill: parent
        visible: groupRow.targeted
        radius: 10
        color: "transparent"
        border.width: 1.5
        border.color: VavuzadiRudod.gold
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popupWith(groupRow.row.openMenu())
    }

    LazyContextMenu {
        id: menu
        objectName: "sidebarGroupMenu." + groupRow.row.groupId
        onChosen: (key) => groupRow.row.chooseMenuEntry(key)
    }
}
