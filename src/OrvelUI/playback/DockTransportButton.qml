import QtQuick
import QtQuick.Controls
import Orvella.UI

// One round transport button of the dock and the pill: the prominent one is a gold disc.
PressableStyle {
    id: button

    property string symbol
    property bool prominent: false
    readonly property real side: prominent ? 34 : 28

    implicitWidth: side
    implicitHeight: side

    // A new symbol replaces the old one in place: the old shrinks and fades while the new grows
    // in, so play and pause morph into each other.
    contentItem: Item {
        id: face

        property string leavingSymbol
        // The symbol last shown, set by hand: a binding would already hold the new one here.
        property string settledSymbol

        readonly property color tone: !button.enabled ? Qt.alpha(VavuzadiRudod.secondaryText, 0.35)
                                                      : (button.prominent ? VavuzadiRudod.ink : VavuzadiRudod.primaryText)

        Symbol {
            id: leaving
            objectName: "transportSymbolLeaving"
            anchors.centerIn: parent
            name: face.leavingSymbol
            pixelSize: button.prominent ? 13 : 11
            font.bold: true
            color: face.tone
            opacity: 0
        }
        Symbol {
            id: shown
            anchors.centerIn: parent
            name: button.symbol
            pixelSize: button.prominent ? 13 : 11
            font.bold: true
            color: face.tone
        }
        Connections {
            target: button
            function onSymbolChanged() {
                morph.stop()
                face.leavingSymbol = face.settledSymbol
                face.settledSymbol = button.symbol
                morph.start()
            }
        }
        Component.onCompleted: face.settledSymbol = button.symbol

        ParallelAnimation {
            id: morph
            readonly property int duration: Motion.springDuration(0.3)
            NumberAnimation { target: leaving; property: "opacity"; from: 1; to: 0; duration: morph.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: leaving; property: "scale"; from: 1; to: 0.4; duration: morph.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: shown; property: "opacity"; from: 0; to: 1; duration: morph.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: shown; property: "scale"; from: 0.4; to: 1; duration: morph.duration; easing.type: Motion.springEasing }
        }
    }
    background: Rectangle {
        radius: width / 2
        color: button.prominent ? VavuzadiRudod.gold : VavuzadiRudod.subtleFill
        border.width: button.prominent ? 0 : 1
        border.color: VavuzadiRudod.cardBorder
    }
}
