import QtQuick
import QtQuick.Controls
import Orvella.UI

// The row of preset pills: "Everywhere", one pill per saved preset, and the add button that
// opens the preset creator. In the toolbar the pills are compact and the row does not scroll.
Item {
    id: bar

    property ViewStore store
    property bool inToolbar: false

    implicitHeight: pillsRow.implicitHeight + (inToolbar ? 4 : 16)
    implicitWidth: pillsRow.implicitWidth + (inToolbar ? 8 : 40)

    PresetPillsBarPresenter {
        id: presenter
        store: bar.store
    }

    Flickable {
        anchors.fill: parent
        contentWidth: pillsRow.implicitWidth + (bar.inToolbar ? 8 : 40)
        contentHeight: height
        interactive: !bar.inToolbar && contentWidth > width
        flickableDirection: Flickable.HorizontalFlick
        clip: true

        Row {
            id: pillsRow
            x: bar.inToolbar ? 4 : 20
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6

            PressableStyle {
                id: everywhere
                objectName: "presetBar.everywhere"
                visible: presenter.showsEverywhere
                focusPolicy: Qt.NoFocus
                contentItem: PresetPillLabel {
                    title: qsTr("Everywhere")
                    systemImage: "house.fill"
                    active: presenter.everywhereActive
                    compact: bar.inToolbar
                    isHovered: everywhere.hovered
                }
                onClicked: presenter.clickEverywhere()
                TapHandler {
                    acceptedButtons: Qt.RightButton
                    onTapped: everywhereMenu.openHere()
                }
                PresetEntryMenu {
                    id: everywhereMenu
                    namePrefix: "presetBar.everywhere.menu"
                    entriesProvider: () => presenter.everywhereMenu()
                    onChosen: entry => presenter.choose(entry)
                }
            }

            Repeater {
                model: presenter.pills

                PressableStyle {
                    id: pill
                    required property string presetId
                    required property string name
                    required property bool active
                    objectName: "presetBar.pill." + presetId
                    focusPolicy: Qt.NoFocus
                    contentItem: PresetPillLabel {
                        title: pill.name
                        active: pill.active
                        compact: bar.inToolbar
                        isHovered: pill.hovered
                    }
                    onClicked: presenter.clickPreset(presetId)
                    TapHandler {
                        acceptedButtons: Qt.RightButton
                        onTapped: pillMenu.openHere()
                    }
                    PresetEntryMenu {
                        id: pillMenu
                        namePrefix: "presetBar.pill." + pill.presetId + ".menu"
                        entriesProvider: () => presenter.presetMenu(pill.presetId)
                        onChosen: entry => presenter.choose(entry)
                    }
                }
            }

            PressableStyle {
                id: addButton
                objectName: "presetBar.add"
                focusPolicy: Qt.NoFocus
                Accessible.name: qsTr("Add preset")
                contentItem: Item {
                    implicitWidth: addRow.implicitWidth + (presenter.hasPresets ? 18 : 22)
                    implicitHeight: bar.inToolbar ? 28 : 32
                    Rectangle {
                        anchors.fill: parent
                        radius: height / 2
                        color: VavuzadiRudod.cardFill
                        border.width: 1
                        border.color: VavuzadiRudod.cardBorder
                    }
                    Row {
                        id: addRow
                        anchors.centerIn: parent
                        spacing: 5
                        Symbol {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "plus"
                            pixelSize: 11.5
                            font.bold: true
                            color: VavuzadiRudod.gold
                        }
                        Text {
                            visible: !presenter.hasPresets
                            anchors.verticalCenter: parent.verticalCenter
                            text: qsTr("New Preset")
                            font.pixelSize: TextStyles.caption
                            font.bold: true
                            color: VavuzadiRudod.gold
                        }
                    }
                }
                onClicked: creatorPopup.open()

                Popup {
                    id: creatorPopup
                    objectName: "presetBar.creatorPopup"
                    y: addButton.height + 6
                    x: 0
                    width: 340
                    padding: 0
                    background: VavuzadiRudodCard { radius: 14 }
                    contentItem: Loader {
                        // Created anew at every opening, so the name and the ticks start empty.
                        active: creatorPopup.opened || creatorPopup.visible
                        sourceComponent: PresetCreator {
                            store: bar.store
                            onDismissed: creatorPopup.close()
                        }
                    }
                }
            }
        }
    }

    Dialog {
        id: renameDialog
        objectName: "presetBar.renameDialog"
        title: qsTr("Rename Preset")
        width: 280
        visible: presenter.renaming
        modal: true
        anchors.centerIn: Overlay.overlay
        standardButtons: Dialog.NoButton
        onClosed: presenter.endRename()

        contentItem: Column {
            spacing: 12
            TextField {
                objectName: "presetBar.renameField"
                width: 240
                placeholderText: qsTr("Name")
                text: presenter.renameText
                onTextEdited: presenter.renameText = text
                onAccepted: presenter.saveRename()
            }
            Row {
                spacing: 8
                x: 240 - width
                Button {
                    objectName: "presetBar.renameCancel"
                    text: qsTr("Cancel")
                    onClicked: presenter.endRename()
                }
                Button {
                    objectName: "presetBar.renameSave"
                    text: qsTr("Save")
                    onClicked: presenter.saveRename()
                }
            }
        }
    }
}
