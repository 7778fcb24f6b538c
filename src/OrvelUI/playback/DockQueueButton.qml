import QtQuick
import QtQuick.Controls
import Orvella.UI

// Opens and closes the floating up-next card; gold while the card is open.
PressableStyle {
    id: button

    required property NowPlayingDock dock
    readonly property bool open: dock.showingQueuePopover

    objectName: "dock.queueButton"
    implicitWidth: 28
    implicitHeight: 28
    ToolTip.visible: hovered
    ToolTip.text: "Up Next Queue"
    Accessible.name: "Up Next Queue"
    onClicked: dock.toggleQueuePopover()

    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: "list.bullet"
            pixelSize: 11
            font.bold: true
            color: button.open ? VavuzadiRudod.gold : VavuzadiRudod.primaryText
        }
    }
    background: Rectangle {
        radius: width / 2
        color: button.open ? Qt.alpha(VavuzadiRudod.gold, 0.18) : VavuzadiRudod.subtleFill
        border.width: 1
        border.color: button.open ? Qt.alpha(VavuzadiRudod.gold, 0.65) : VavuzadiRudod.cardBorder
    }
}
