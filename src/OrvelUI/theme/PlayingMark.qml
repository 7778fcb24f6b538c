import QtQuick
import Orvella.UI

// A gold disc with the play symbol; static on purpose.
Item {
    implicitWidth: 18
    implicitHeight: 18

    SoftShadow {
        anchors.fill: disc
        anchors.margins: -shapeMargin
        shapeMargin: 6
        radius: disc.radius
        blurRadius: 5
        color: Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.55)
    }

    Rectangle {
        id: disc
        anchors.fill: parent
        radius: width / 2
        color: VavuzadiRudod.gold

        Symbol {
            anchors.centerIn: parent
            name: "play.fill"
            pixelSize: 11
            color: VavuzadiRudod.ink
        }
    }
}
