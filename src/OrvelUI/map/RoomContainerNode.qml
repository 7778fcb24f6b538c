import QtQuick
import Orvella.UI

// A room's card, as both maps draw it: its name, its speaker, one status chip and its bonded
// satellites. What the chip shows and every flag come from the presenter's row; the card
// only lays out and animates. Every part is placed by hand on the card itself: a map holds a
// card per room, and each item more is drawn and walked on every frame.
Rectangle {
    id: node

    property string name
    property string speakerModel
    property bool isOnline: true
    property bool playing: false
    property bool connectedToHub: false
    property bool isHovered: false
    property bool isSelected: false
    property bool dropTarget: false
    // Fills the width offered (compact tiles) instead of the canvas's fixed width.
    property bool flexibleWidth: false
    property bool hasSatellites: false
    // "connect", "battery", "offline" or "volume".
    property string chip: "volume"
    property string volumeText
    property int batteryLevel
    property bool batteryOnCharger
    property var satellites: []

    // The name's line, the speaker, the chip's row and, for a room with satellites, their strip,
    // 6 points apart.
    readonly property real contentHeight: 12 + 6 + 46 + 6 + 18 + (hasSatellites ? 6 + strip.height : 0)
    // The parts stand centred as one block.
    readonly property real contentTop: (height - contentHeight) / 2

    // A flexible card takes the width it is given; 136 is the narrowest column that offers.
    // On the canvas a card keeps within the size the layout spaces cards for (MapCardSizes.h):
    // 138 x 108, or 196 x at most 150 with satellites.
    implicitWidth: flexibleWidth ? 136 : (hasSatellites ? 196 : 138)
    implicitHeight: Math.min(contentHeight + 20, hasSatellites ? 150 : 108)
    scale: dropTarget ? 1.04 : (isHovered ? 1.015 : 1.0)
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.18); easing.type: Motion.springEasing } }

    radius: 16
    color: VavuzadiRudod.roomEnclosureFill
    border.width: dropTarget ? 2.0 : (connectedToHub || isSelected ? 1.25 : 1.0)
    border.color: dropTarget ? VavuzadiRudod.gold
                : connectedToHub || isSelected ? Qt.alpha(VavuzadiRudod.gold, 0.68)
                : isHovered ? Qt.alpha(VavuzadiRudod.gold, 0.45)
                : VavuzadiRudod.roomEnclosureBorder

    // One line of fixed height: a name of any length or script (combining marks pile up above
    // and below a line) stays inside its card.
    Text {
        id: roomName
        objectName: "mapRoomName"
        readonly property real available: node.width - 28
        // A long name first shrinks a little (to 0.85), then elides. The name is laid out once,
        // at the widest it may take (the whole line at 0.85), and then only scaled: fitting the
        // font size, or a width that follows the scale, or asking for the unconstrained width
        // would lay it out again, and a name of colour emoji decodes each emoji's picture again
        // every time.
        scale: contentWidth > available ? available / contentWidth : 1
        x: 14 + (available - width) / 2
        y: node.contentTop
        width: available / 0.85
        height: 12
        // Only a name that needs it is clipped: clipping every card costs every frame.
        clip: implicitHeight > height + 4
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: node.name
        textFormat: Text.PlainText
        maximumLineCount: 1
        elide: Text.ElideRight
        font.pixelSize: TextStyles.caption
        font.bold: true
        color: node.connectedToHub || node.isSelected ? VavuzadiRudod.gold
                                                      : Qt.alpha(VavuzadiRudod.primaryText, 0.9)
    }

    SpeakerSilhouetteView {
        x: (node.width - width) / 2
        y: node.contentTop + 18
        width: 46
        height: 46
        size: 46
        model: node.speakerModel
        isOnline: node.isOnline
        isPlaying: node.playing
        isGrouped: node.connectedToHub
    }

    // Every chip stands in one row of 18 points, so a card does not change size as its chip does.
    Loader {
        id: chipLoader
        objectName: "mapRoomChip-" + node.chip
        x: (node.width - width) / 2
        y: node.contentTop + 70 + (18 - height) / 2
        sourceComponent: node.chip === "connect" ? connectChip
                       : node.chip === "battery" ? batteryChip
                       : node.chip === "offline" ? offlineChip : volumeChip
    }

    // Made only for a room with satellites: most rooms have none.
    Loader {
        id: strip
        x: (node.width - width) / 2
        y: node.contentTop + 94
        visible: node.hasSatellites
        active: node.hasSatellites
        sourceComponent: BondedSatellitesMapStrip {
            availableWidth: node.width - 12
            satellites: node.satellites
            isPlaying: node.playing
        }
    }

    Component {
        id: connectChip
        Rectangle {
            implicitWidth: connectText.implicitWidth + 14
            implicitHeight: connectText.implicitHeight + 4
            radius: height / 2
            color: VavuzadiRudod.gold
            Text {
                id: connectText
                anchors.centerIn: parent
                text: qsTr("Connect")
                font.pixelSize: TextStyles.caption2
                font.bold: true
                color: VavuzadiRudod.ink
            }
        }
    }
    Component {
        id: batteryChip
        SpeakerBatteryBadge {
            levelPercent: node.batteryLevel
            isOnCharger: node.batteryOnCharger
        }
    }
    Component {
        id: offlineChip
        OfflinePill {}
    }
    Component {
        id: volumeChip
        Text {
            text: node.volumeText
            font.pixelSize: TextStyles.caption2
            color: VavuzadiRudod.secondaryText
        }
    }
}
