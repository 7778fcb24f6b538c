import QtQuick
import QtQuick.Controls
import Orvella.UI

// A room's bonded satellites on its map card: one small chip per satellite, each with its
// silhouette, its role's letter and its short model name, always on one line at their natural
// size. Chips that do not fit the card's width side by side go on to a second row (a home
// theatre's left, right and sub take two); anything past two rows is cut off, and every chip's
// help text still names its model.
Item {
    id: strip

    // Maps from the presenter: id, roleLetter, modelText, helpText, modelKey, isOnline.
    property var satellites: []
    property bool isPlaying: false
    // The width the card offers.
    property real availableWidth: Infinity
    readonly property int spacing: 4
    readonly property int maximumRows: 2
    // Chip indexes per row, filled in order.
    readonly property var rows: {
        const out = []
        let row = []
        let width = 0
        for (let i = 0; i < measure.count; ++i) {
            const item = measure.itemAt(i)
            const w = item ? item.implicitWidth : 0
            if (row.length > 0 && width + strip.spacing + w > strip.availableWidth) {
                out.push(row)
                row = []
                width = 0
            }
            width += (row.length > 0 ? strip.spacing : 0) + w
            row.push(i)
        }
        if (row.length > 0) out.push(row)
        return out.slice(0, strip.maximumRows)
    }

    implicitWidth: Math.min(lines.implicitWidth, availableWidth)
    implicitHeight: lines.implicitHeight
    clip: lines.implicitWidth > availableWidth

    // The chips at their natural size, never shown: only measured.
    Item {
        width: 0
        height: 0
        visible: false
        Repeater {
            id: measure
            model: strip.satellites
            SatelliteChip {
                required property var modelData
                chip: modelData
                isPlaying: strip.isPlaying
            }
        }
    }

    Column {
        id: lines
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 2

        Repeater {
            model: strip.rows
            Row {
                id: line
                required property var modelData
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: strip.spacing

                Repeater {
                    model: line.modelData
                    SatelliteChip {
                        required property int modelData
                        chip: strip.satellites[modelData]
                        isPlaying: strip.isPlaying
                    }
                }
            }
        }
    }

    component SatelliteChip: Rectangle {
        id: chipItem
        property var chip
        property bool isPlaying: false
        objectName: "mapSatellite-" + (chip ? chip.id : "")
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
                model: chipItem.chip ? chipItem.chip.modelKey : ""
                isOnline: chipItem.chip ? chipItem.chip.isOnline : true
                isPlaying: chipItem.isPlaying
                isGrouped: true
            }
            // The role's letter and the model, one line at their natural size: 8.5 pixels, which
            // a whole-pixel size cannot say (points at the desktop's 96 dots an inch).
            Row {
                anchors.verticalCenter: parent.verticalCenter
                Text {
                    text: chipItem.chip ? chipItem.chip.roleLetter : ""
                    font.pointSize: 8.5 * 72 / 96
                    font.bold: true
                    color: VavuzadiRudod.primaryText
                }
                Text {
                    objectName: "mapSatelliteModel"
                    text: chipItem.chip ? chipItem.chip.modelText : ""
                    textFormat: Text.PlainText
                    maximumLineCount: 1
                    font.pointSize: 8.5 * 72 / 96
                    color: VavuzadiRudod.secondaryText
                }
            }
        }

        HoverHandler { id: chipHover }
        ToolTip.visible: chipHover.hovered
        ToolTip.text: chipItem.chip ? chipItem.chip.helpText : ""
    }
}
