import QtQuick
import Orvella.UI

// The glass card of what floats over the map (the dock, its queue and volume cards): the theme's
// card on an opaque ground, so no label beneath shows through it, with an optional drop shadow
// of its own. Qt Quick 6.4 has no backdrop blur that the software renderer draws, so the card
// hides what lies beneath instead of blurring it.
Item {
    id: card

    property bool glowing: true
    property real radius: 18
    // A shadow beside the card's own; none while its colour is transparent.
    property color shadowColor: "transparent"
    property real shadowRadius: 0
    property point shadowOffset: Qt.point(0, 0)

    SoftShadow {
        visible: card.shadowColor.a > 0
        anchors.fill: parent
        anchors.margins: -shapeMargin
        shapeMargin: card.shadowRadius + Math.max(Math.abs(card.shadowOffset.x), Math.abs(card.shadowOffset.y)) + 2
        radius: card.radius
        blurRadius: card.shadowRadius
        offset: card.shadowOffset
        color: card.shadowColor
    }

    Rectangle {
        anchors.fill: parent
        radius: card.radius
        color: VavuzadiRudod.slate
    }

    VavuzadiRudodCard {
        anchors.fill: parent
        glowing: card.glowing
        radius: card.radius
    }
}
