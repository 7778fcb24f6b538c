import QtQuick
import QtQuick.Controls
import Orvella.UI

// A room's bonded satellites on its map card: one small chip per satellite, each with its
// silhouette, its role's letter and its short model name.
Item {
    id: strip

    // Maps from the presenter: id, roleLetter, modelText, helpText, modelKey, isOnline.
    property var satellites: []
    property bool isPlaying: false
    // The width the card offers. When the chips with their model names do not fit, they show
    // only their role letters; the help text still names each model.
    property real availableWidth: Infinity
    readonly property bool showsModels: measure.implicitWidth <= availableWidth
    readonly property int spacing: 4

    implicitWidth: chips.implicitWidth
    implicitHeight: chips.implicitHeight

    // The chips as they would be with their model names, never shown: only measured.
    Item {
        width: 0
        height: 0
        opacity: 0
        Row {
            id: measure
            spacing: strip.spacing
            Repeater {
                model: strip.satellites
                Text {
                    required property var modelData
                    // Silhouette, spacings and padding of a chip around its two texts.
                    leftPadding: 14 + 3 + 3 + 10
                    text: modelData.roleLetter + modelData.modelText
                    font.pixelSize: 9
                    font.bold: true
                }
            }
        }
    }

    Row {
        id: chips
        spacing: strip.spacing

        Repeater {
            model: strip.satellites

            Rectangle {
                id: chip
                required property var modelData
                objectName: "mapSatellite-" + modelData.id
                implicitWidth: chipRow.implicitWidth + 10
                implicitHeight: chipRow.implicitHeight + 4
                radius: height / 2
                color: VavuzadiRudod.subtleFill
                border.color: VavuzadiRudod.cardBorder
                border.width: 0.75

                Row {
                    id: chipRow
                    anchors.centerIn: parent
                    spacing: 3

                    SpeakerSilhouetteView {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 14
                        height: 14
                        size: 14
                        model: chip.modelData.modelKey
                        isOnline: chip.modelData.isOnline
                        isPlaying: strip.isPlaying
                        isGrouped: true
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: chip.modelData.roleLetter
                        font.pixelSize: 9
                        font.bold: true
                        color: VavuzadiRudod.primaryText
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        visible: strip.showsModels
                        leftPadding: -3
                        text: chip.modelData.modelText
                        textFormat: Text.PlainText
                        font.pixelSize: 9
                        color: VavuzadiRudod.secondaryText
                    }
                }

                HoverHandler { id: chipHover }
                ToolTip.visible: chipHover.hovered
                ToolTip.text: chip.modelData.helpText
            }
        }
    }
}
