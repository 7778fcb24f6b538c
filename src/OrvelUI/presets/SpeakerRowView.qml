import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One room in full: silhouette, short name, model, battery and offline badges, its own volume,
// the hover-revealed "Disconnect" when it may leave its group, and its bonded satellites.
// Bind the row's roles from a SpeakerRowListModel.
ColumnLayout {
    id: row

    required property string speakerId
    required property string shortName
    required property string modelName
    required property string modelKey
    required property bool online
    required property int volume
    required property bool hasBattery
    required property int batteryPercent
    required property bool batteryCharging
    required property bool playing
    required property bool canRemove
    required property var satellites

    signal removeRequested()
    signal volumeChosen(int percent)
    // A right click: the owner opens the room's context menu.
    signal menuRequested()

    objectName: "speakerRow." + speakerId
    spacing: 10

    HoverHandler { id: hover }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: row.menuRequested()
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 16

        SpeakerSilhouetteView {
            Layout.preferredWidth: 46
            Layout.preferredHeight: 46
            size: 46
            model: row.modelKey
            isOnline: row.online
            isPlaying: row.playing
            isGrouped: row.canRemove
        }

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                Layout.minimumHeight: 22
                spacing: 8

                // Name and model take what they need (whole points: a layout rounds a fraction
                // down, which would cut the last letter) and are cut short when the row has less.
                Text {
                    objectName: row.objectName + ".name"
                    Layout.fillWidth: true
                    Layout.preferredWidth: Math.ceil(implicitWidth)
                    Layout.maximumWidth: Math.ceil(implicitWidth)
                    text: row.shortName
                    textFormat: Text.PlainText
                    clip: true
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    font.pixelSize: TextStyles.headline
                    font.bold: true
                    color: VavuzadiRudod.primaryText
                }
                Text {
                    Layout.fillWidth: true
                    Layout.preferredWidth: Math.ceil(implicitWidth)
                    Layout.maximumWidth: Math.ceil(implicitWidth)
                    // A long name gives way first: the model keeps a readable share.
                    Layout.minimumWidth: Math.min(Math.ceil(implicitWidth), 110)
                    text: "· " + row.modelName
                    textFormat: Text.PlainText
                    clip: true
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    font.pixelSize: TextStyles.caption
                    color: VavuzadiRudod.secondaryText
                }
                SpeakerBatteryBadge {
                    visible: row.hasBattery
                    levelPercent: row.batteryPercent
                    isOnCharger: row.batteryCharging
                }
                OfflinePill { visible: !row.online }
                Item { Layout.fillWidth: true; Layout.minimumWidth: 4 }

                // A plain button: it does not shrink when pressed. It springs in from its trailing
                // edge, growing from 0.94 as it fades in, and goes the same way.
                Button {
                    id: remove
                    objectName: row.objectName + ".remove"
                    readonly property bool shown: row.canRemove && hover.hovered
                    readonly property color red: VavuzadiRudod.systemRed
                    visible: row.canRemove && (hover.hovered || opacity > 0)
                    opacity: shown ? 1 : 0
                    scale: shown ? 1 : 0.94
                    transformOrigin: Item.Right
                    Behavior on opacity { NumberAnimation { duration: Motion.springDuration(0.18); easing.type: Motion.springEasing } }
                    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.18); easing.type: Motion.springEasing } }
                    flat: true
                    padding: 0
                    focusPolicy: Qt.NoFocus
                    Accessible.name: qsTr("Disconnect %1").arg(row.shortName)
                    ToolTip.visible: hovered
                    ToolTip.text: qsTr("Disconnect %1 from group").arg(row.shortName)
                    onClicked: row.removeRequested()
                    background: Item {}
                    contentItem: Item {
                        implicitWidth: removeLabel.implicitWidth + 18
                        implicitHeight: removeLabel.implicitHeight + 8
                        Rectangle {
                            anchors.fill: parent
                            radius: height / 2
                            color: Qt.rgba(remove.red.r, remove.red.g, remove.red.b, 0.12)
                            border.width: 0.85
                            border.color: Qt.rgba(remove.red.r, remove.red.g, remove.red.b, 0.28)
                        }
                        Row {
                            id: removeLabel
                            anchors.centerIn: parent
                            spacing: 4
                            Symbol {
                                anchors.verticalCenter: parent.verticalCenter
                                name: "xmark"
                                pixelSize: 9
                                font.bold: true
                                color: Qt.rgba(remove.red.r, remove.red.g, remove.red.b, 0.88)
                            }
                            Text {
                                anchors.verticalCenter: parent.verticalCenter
                                text: qsTr("Disconnect")
                                font.pixelSize: TextStyles.caption2
                                font.bold: true
                                color: Qt.rgba(remove.red.r, remove.red.g, remove.red.b, 0.88)
                            }
                        }
                    }
                }
            }

            DiscreteVolumeControlView {
                objectName: row.objectName + ".volume"
                Layout.fillWidth: true
                volume: row.volume
                owner: "speaker:" + row.speakerId
                onChange: percent => row.volumeChosen(percent)
            }
        }
    }

    Item {
        visible: row.satellites.length > 0
        Layout.fillWidth: true
        implicitHeight: satelliteList.implicitHeight

        // The guide line under the name column.
        Rectangle {
            x: 50
            y: 4
            width: 2
            height: Math.max(0, parent.height - 8)
            radius: 1
            color: VavuzadiRudod.cardBorder
            opacity: 0.75
        }

        ColumnLayout {
            id: satelliteList
            x: 62
            width: parent.width - 62
            spacing: 4
            Repeater {
                model: row.satellites
                BondedSatelliteRow {
                    required property var modelData
                    Layout.fillWidth: true
                    objectName: "satelliteRow." + modelData.id
                    satellite: modelData
                    isPlaying: row.playing
                }
            }
        }
    }
}
