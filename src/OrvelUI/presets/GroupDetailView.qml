import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The page of one group: its name with Add Room, Ungroup All and Play, then a card with the
// group volume and one row per room, coordinator first.
ScrollView {
    id: page

    property ViewStore store
    property string groupId
    readonly property alias presenter: presenter
    // A right click on a member row, which opens the room's context menu.
    signal memberMenuRequested(string groupId, string speakerId)

    onMemberMenuRequested: (groupId, speakerId) => memberMenu.popupWith(page.store.memberMenu(groupId, speakerId))

    objectName: "groupDetail"
    contentWidth: availableWidth
    // The page's 28 points of padding below the card scroll into view as well as those above.
    contentHeight: column.implicitHeight + 2 * column.y
    clip: true

    SpeakerGroupContextMenuView {
        id: memberMenu
        objectName: "groupMemberMenu"
        onChosen: (key) => page.store.chooseMemberMenuEntry(key)
    }

    GroupDetailPresenter {
        id: presenter
        store: page.store
        groupId: page.groupId
    }

    component HeaderPill: PressableStyle {
        id: headerPill
        property string symbol
        property string label
        focusPolicy: Qt.NoFocus
        contentItem: Item {
            implicitWidth: pillRow.implicitWidth + 24
            implicitHeight: pillRow.implicitHeight + 14
            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: VavuzadiRudod.cardFill
                border.width: 1
                border.color: VavuzadiRudod.cardBorder
            }
            Row {
                id: pillRow
                anchors.centerIn: parent
                spacing: 6
                Symbol {
                    anchors.verticalCenter: parent.verticalCenter
                    name: headerPill.symbol
                    pixelSize: 13
                    color: VavuzadiRudod.primaryText
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: headerPill.label
                    font.pixelSize: TextStyles.subheadline
                    color: VavuzadiRudod.primaryText
                }
            }
        }
    }

    ColumnLayout {
        id: column
        visible: presenter.exists
        x: 28
        y: 28
        width: Math.min(page.availableWidth, 880) - 56
        spacing: 20

        RowLayout {
            Layout.fillWidth: true
            spacing: 12

            Text {
                objectName: "groupDetail.title"
                Layout.fillWidth: true
                Layout.minimumWidth: 40
                text: presenter.displayName
                textFormat: Text.PlainText
                // No line limit: a long name wraps rather than being cut beside the buttons.
                wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                font.pixelSize: TextStyles.largeTitle
                font.family: "DejaVu Serif"
                font.bold: true
                color: VavuzadiRudod.primaryText
            }

            HeaderPill {
                id: addRoom
                objectName: "groupDetail.addRoom"
                visible: presenter.addRoomEntries.length > 0
                symbol: "plus.circle"
                label: qsTr("Add Room")
                onClicked: addRoomMenu.openUnder(addRoom)

                PresetEntryMenu {
                    id: addRoomMenu
                    namePrefix: "groupDetail.addRoom"
                    entriesProvider: () => presenter.addRoomEntries
                    onChosen: entry => presenter.addRoom(entry.speakerId)
                }
            }

            HeaderPill {
                objectName: "groupDetail.ungroupAll"
                visible: presenter.showsUngroupAll
                symbol: "xmark.circle"
                label: qsTr("Ungroup All")
                onClicked: presenter.ungroupAll()
            }

            PressableStyle {
                objectName: "groupDetail.play"
                visible: presenter.showsPlay
                focusPolicy: Qt.NoFocus
                onClicked: presenter.play()
                contentItem: Item {
                    implicitWidth: playRow.implicitWidth + 32
                    implicitHeight: playRow.implicitHeight + 16
                    Rectangle {
                        anchors.fill: parent
                        anchors.margins: -3
                        radius: height / 2
                        color: VavuzadiRudod.gold
                        opacity: 0.2
                    }
                    Rectangle {
                        anchors.fill: parent
                        radius: height / 2
                        color: VavuzadiRudod.gold
                    }
                    Row {
                        id: playRow
                        anchors.centerIn: parent
                        spacing: 8
                        Symbol {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "play.fill"
                            pixelSize: 12
                            font.bold: true
                            color: VavuzadiRudod.ink
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: qsTr("Play")
                            font.pixelSize: TextStyles.subheadline
                            font.bold: true
                            color: VavuzadiRudod.ink
                        }
                    }
                }
            }
        }

        VavuzadiRudodCard {
            Layout.fillWidth: true
            Layout.preferredHeight: section.implicitHeight + 32
            radius: 18

            ColumnLayout {
                id: section
                x: 16
                y: 16
                width: parent.width - 32
                spacing: 14

                RowLayout {
                    visible: presenter.showsUngroupAll
                    Layout.fillWidth: true
                    spacing: 14
                    Row {
                        spacing: 6
                        Symbol {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "speaker.wave.3.fill"
                            pixelSize: 13
                            color: VavuzadiRudod.gold
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: qsTr("Group Volume")
                            font.pixelSize: TextStyles.subheadline
                            font.bold: true
                            color: VavuzadiRudod.gold
                        }
                    }
                    DiscreteVolumeControlView {
                        objectName: "groupDetail.groupVolume"
                        Layout.fillWidth: true
                        volume: presenter.groupVolume
                        owner: "group:" + page.groupId
                        onChange: percent => presenter.setGroupVolume(percent)
                    }
                }
                Rectangle {
                    visible: presenter.showsUngroupAll
                    Layout.fillWidth: true
                    Layout.preferredHeight: 1
                    color: VavuzadiRudod.cardBorder
                    opacity: 0.65
                }

                Repeater {
                    model: presenter.members
                    ColumnLayout {
                        id: entry
                        required property var model
                        required property string speakerId
                        required property bool dividerAbove
                        Layout.fillWidth: true
                        spacing: 12

                        Rectangle {
                            visible: entry.dividerAbove
                            Layout.fillWidth: true
                            Layout.preferredHeight: 1
                            color: VavuzadiRudod.cardBorder
                            opacity: 0.5
                        }
                        SpeakerRowView {
                            Layout.fillWidth: true
                            speakerId: entry.speakerId
                            shortName: entry.model.shortName
                            modelName: entry.model.modelName
                            modelKey: entry.model.modelKey
                            online: entry.model.online
                            volume: entry.model.volume
                            hasBattery: entry.model.hasBattery
                            batteryPercent: entry.model.batteryPercent
                            batteryCharging: entry.model.batteryCharging
                            playing: entry.model.playing
                            canRemove: entry.model.canRemove
                            satellites: entry.model.satellites
                            onRemoveRequested: presenter.removeSpeaker(entry.speakerId)
                            onVolumeChosen: percent => presenter.setSpeakerVolume(entry.speakerId, percent)
                            onMenuRequested: page.memberMenuRequested(page.groupId, entry.speakerId)
                        }
                    }
                }
            }
        }
    }
}
