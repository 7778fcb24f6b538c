import QtQuick
import Orvella.UI

// The glass card behind content. It adds no padding: the caller pads what it puts inside.
Item {
    id: card

    property bool glowing: false
    property real radius: 16
    // The card's fill lets through what lies below it. One that lies over text (a banner, a
    // panel) sits on the opaque slate, as the menus do.
    property bool opaque: false
    default property alias content: holder.data

    Rectangle {
        visible: card.opaque
        anchors.fill: parent
        radius: card.radius
        color: VavuzadiRudod.slate
    }
    VavuzadiRudodCardSurface {
        anchors.fill: parent
        anchors.margins: -shadowMargin
        glowing: card.glowing
        radius: card.radius
    }

    Item {
        id: holder
        anchors.fill: parent
    }
}
