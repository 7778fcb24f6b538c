import QtQuick
import Orvella.UI

// The glass card behind content. It adds no padding: the caller pads what it puts inside.
Item {
    id: card

    property bool glowing: false
    property real radius: 16
    default property alias content: holder.data

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
