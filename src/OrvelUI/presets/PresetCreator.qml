import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The preset creator: quick save of a current group, or a name and ticked rooms, the first
// ticked room leading. Both saves end with `dismissed`.
ScrollView {
    id: creator

    property ViewStore store
    signal dismissed()
    readonly property alias presenter: presenter

    implicitWidth: 340
    implicitHeight: Math.min(480, column.implicitHeight + 32)
    contentWidth: availableWidth
    clip: true

    function takeKeyboard() {
        nameField.forceActiveFocus()
    }

    PresetCreatorPresenter {
        id: presenter
        store: creator.store
        onDismissed: creator.dismissed()
    }

    ColumnLayout {
        id: column
        x: 16
        y: 16
        width: creator.availableWidth - 32
        spacing: 14

        ColumnLayout {
            visible: presenter.multiRoom.length > 0
            Layout.fillWidth: true
            spacing: 8

            Repeater {
                model: presenter.multiRoom
                PressableStyle {
                    id: groupRow
                    required property var modelData
                    objectName: "creator.saveGroup." + modelData.groupId
                    Layout.fillWidth: true
                    focusPolicy: Qt.NoFocus
                    onClicked: presenter.saveGroup(modelData.groupId)
                    contentItem: Item {
                        implicitHeight: groupLine.implicitHeight + 20
                        Rectangle {
                            anchors.fill: parent
                            radius: 12
                            color: VavuzadiRudod.subtleFill
                        }
                        RowLayout {
                            id: groupLine
                            anchors.fill: parent
                            anchors.leftMargin: 12
                            anchors.rightMargin: 12
                            spacing: 8
                            Text {
                                Layout.fillWidth: true
                                text: groupRow.modelData.displayName
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                font.pixelSize: TextStyles.body
                                font.bold: true
                                color: VavuzadiRudod.primaryText
                            }
                            Rectangle {
                                implicitWidth: saveText.implicitWidth + 16
                                implicitHeight: saveText.implicitHeight + 8
                                radius: height / 2
                                color: VavuzadiRudod.gold
                                Text {
                                    id: saveText
                                    anchors.centerIn: parent
                                    text: qsTr("Save")
                                    font.pixelSize: TextStyles.caption
                                    font.bold: true
                                    color: VavuzadiRudod.ink
                                }
                            }
                        }
                    }
                }
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                color: VavuzadiRudod.cardBorder
            }
        }

        TextField {
            id: nameField
            objectName: "creator.name"
            Layout.fillWidth: true
            placeholderText: qsTr("Preset Name")
            placeholderTextColor: VavuzadiRudod.secondaryText
            text: presenter.draftName
            onTextEdited: presenter.draftName = text
            // Return saves the composed preset when the button below is enabled; otherwise the
            // presenter leaves the draft as it is.
            onAccepted: presenter.savePreset()
            color: VavuzadiRudod.primaryText
            padding: 10
            font.pixelSize: TextStyles.body
            background: Rectangle {
                radius: 10
                color: VavuzadiRudod.subtleFill
                border.width: 1
                border.color: VavuzadiRudod.cardBorder
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 6

            Repeater {
                model: presenter.rooms
                PressableStyle {
                    id: roomRow
                    required property string speakerId
                    required property string title
                    required property bool online
                    required property bool picked
                    required property bool coordinator
                    objectName: "creator.room." + speakerId
                    Layout.fillWidth: true
                    focusPolicy: Qt.NoFocus
                    onClicked: presenter.toggle(speakerId)
                    contentItem: RowLayout {
                        spacing: 8
                        Symbol {
                            Layout.topMargin: 4
                            Layout.bottomMargin: 4
                            name: roomRow.picked ? "checkmark.circle.fill" : "circle"
                            pixelSize: 16
                            color: roomRow.coordinator ? VavuzadiRudod.gold : VavuzadiRudod.secondaryText
                        }
                        Text {
                            Layout.fillWidth: true
                            text: roomRow.title
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pixelSize: TextStyles.body
                            color: VavuzadiRudod.primaryText
                        }
                        OfflinePill { visible: !roomRow.online }
                    }
                }
            }
        }

        PressableStyle {
            objectName: "creator.savePreset"
            Layout.fillWidth: true
            enabled: presenter.canCreate
            focusPolicy: Qt.NoFocus
            onClicked: presenter.savePreset()
            contentItem: Item {
                implicitHeight: saveLabel.implicitHeight + 20
                Rectangle {
                    anchors.fill: parent
                    radius: 12
                    color: presenter.canCreate ? VavuzadiRudod.gold : VavuzadiRudod.subtleFill
                }
                Text {
                    id: saveLabel
                    anchors.centerIn: parent
                    text: qsTr("Save Preset")
                    font.pixelSize: TextStyles.body
                    font.bold: true
                    color: presenter.canCreate ? VavuzadiRudod.ink : VavuzadiRudod.secondaryText
                }
            }
        }
    }
}
