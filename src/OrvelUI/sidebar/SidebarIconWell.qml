import QtQuick
import Orvella.UI

// A symbol centred in a square, the icon of a multi-room group.
Item {
    property string systemName
    property bool highlighted
    property real size: 32

    implicitWidth: size
    implicitHeight: size

    Symbol {
        anchors.centerIn: parent
        name: parent.systemName
        pixelSize: parent.size * 0.54
        color: parent.highlighted ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
        opacity: parent.highlighted ? 1 : 0.82
    }
}
