import QtQuick
import QtQuick.Controls
import Orvella.UI

// The row of preset pills: "Everywhere", one pill per saved preset, and the add button that
// opens the preset creator. In the toolbar the pills are compact and the row does not scroll:
// the presets it has no room for are listed by the overflow button before the add button.
Item {
    id: bar

    property ViewStore store
    property bool inToolbar: false

    readonly property real pillHeight: inToolbar ? 28 : 32
    readonly property real sidePadding: inToolbar ? 4 : 20

    // No implicit width from the pills: the row is always given its width, and a width that followed
    // the list's content would make the list build every pill to measure it.
    implicitHeight: pillHeight + (inToolbar ? 4 : 16)

    PresetPillsBarPresenter {
        id: presenter
        store: bar.store
        compact: bar.inToolbar
        // In the header the row fits its width and lists the rest in the overflow button; inline
        // it scrolls.
        availableWidth: bar.inToolbar ? Math.max(0, pills.width) : -1
    }

    // One menu for every preset pill, made the first time one opens and filled when it opens
    // for the pill clicked.
    Loader {
        id: pillMenu
        active: false
        sourceComponent: PresetEntryMenu {
            onChosen: entry => presenter.choose(entry)
        }
    }

    function openPillMenu(presetId) {
        pillMenu.active = true
        pillMenu.item.namePrefix = "presetBar.pill." + presetId + ".menu"
        pillMenu.item.entriesProvider = () => presenter.presetMenu(presetId)
        pillMenu.item.openHere()
    }

    // The pills are made as they come into view: a household may keep a thousand presets.
    ListView {
        id: pills
        objectName: "presetBar.pills"
        anchors.fill: parent
        anchors.leftMargin: bar.sidePadding
        anchors.rightMargin: bar.sidePadding
        orientation: ListView.Horizontal
        spacing: presenter.spacing
        model: presenter.pills
        interactive: !bar.inToolbar && contentWidth > width
        boundsBehavior: Flickable.StopAtBounds
        // The header row fits by measure and needs no clip; a scrolling row does.
        clip: !bar.inToolbar

        header: Item {
            width: presenter.showsEverywhere ? everywhere.width + pills.spacing : 0
            height: pills.height

            Binding {
                target: presenter
                property: "everywhereWidth"
                value: presenter.showsEverywhere ? everywhere.implicitWidth : 0
            }

            PressableStyle {
                id: everywhere
                objectName: "presetBar.everywhere"
                anchors.verticalCenter: parent.verticalCenter
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
                RightClickArea {
                    onClicked: {
                        everywhereMenu.active = true
                        everywhereMenu.item.openHere()
                    }
                }
                Loader {
                    id: everywhereMenu
                    active: false
                    sourceComponent: PresetEntryMenu {
                        namePrefix: "presetBar.everywhere.menu"
                        entriesProvider: () => presenter.everywhereMenu()
                        onChosen: entry => presenter.choose(entry)
                    }
                }
            }
        }

        delegate: PressableStyle {
            id: pill
            required property string presetId
            required property string name
            required property bool active
            required property real pillWidth
            objectName: "presetBar.pill." + presetId
            y: (pills.height - height) / 2
            // Exactly the measured width: the style's side padding would take from the name.
            width: pillWidth
            height: bar.pillHeight
            horizontalPadding: 0
            focusPolicy: Qt.NoFocus
            contentItem: PresetPillLabel {
                title: pill.name
                active: pill.active
                compact: bar.inToolbar
                isHovered: pill.hovered
                maximumWidth: presenter.maximumPillWidth
            }
            onClicked: presenter.clickPreset(presetId)
            RightClickArea { onClicked: bar.openPillMenu(pill.presetId) }
        }

        footer: Item {
            readonly property real leading: pills.count > 0 ? pills.spacing : 0
            width: leading + trailing.width
            height: pills.height

            Binding { target: presenter; property: "overflowButtonWidth"; value: overflowButton.implicitWidth }
            Binding { target: presenter; property: "addButtonWidth"; value: addButton.implicitWidth }

            Row {
                id: trailing
                x: parent.leading
                anchors.verticalCenter: parent.verticalCenter
                spacing: pills.spacing

                PresetOverflowButton {
                    id: overflowButton
                    visible: presenter.showsOverflow
                    barPresenter: presenter
                    height: bar.pillHeight
                    onMenuRequested: presetId => bar.openPillMenu(presetId)
                }

                PressableStyle {
                    id: addButton
                    objectName: "presetBar.add"
                    focusPolicy: Qt.NoFocus
                    Accessible.name: qsTr("Add preset")
                    contentItem: Item {
                        implicitWidth: addRow.implicitWidth + (presenter.hasPresets ? 18 : 22)
                        implicitHeight: bar.pillHeight
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
                    onClicked: {
                        creator.active = true
                        creator.item.open()
                    }

                    // Made the first time it opens.
                    Loader {
                        id: creator
                        active: false
                        sourceComponent: Popup {
                            id: creatorPopup
                            objectName: "presetBar.creatorPopup"
                            y: addButton.height + 6
                            x: 0
                            width: 340
                            // Kept inside the window when the button sits near its edge.
                            margins: 8
                            padding: 0
                            // The keyboard goes to the name field, so a name can be typed at once.
                            focus: true
                            onOpened: if (creatorContent.item) creatorContent.item.takeKeyboard()
                            // Glass on an opaque ground: the map's labels must not show through.
                            background: FloatingGlassCard { glowing: false; radius: 14 }
                            contentItem: Loader {
                                id: creatorContent
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
        }
    }

    // Made the first time a preset is renamed.
    KeptLoader {
        wanted: presenter.renaming
        sourceComponent: Dialog {
            id: renameDialog
            objectName: "presetBar.renameDialog"
            title: qsTr("Rename Preset")
            width: 280
            visible: presenter.renaming
            modal: true
            // As an alert with a text field does: the keyboard goes to the field, its name
            // selected, so typing replaces it, Return saves and Escape cancels.
            focus: true
            anchors.centerIn: Overlay.overlay
            standardButtons: Dialog.NoButton
            onOpened: {
                renameField.forceActiveFocus()
                renameField.selectAll()
            }
            onClosed: presenter.endRename()

            contentItem: Column {
                spacing: 12
                TextField {
                    id: renameField
                    objectName: "presetBar.renameField"
                    focus: true
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
}
