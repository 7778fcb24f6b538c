import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// Queue, previous, play/pause, next and, for a group of several rooms, ungroup.
RowLayout {
    id: row

    required property NowPlayingDock dock

    spacing: 8

    DockQueueButton {
        visible: row.dock.showsQueueButton
        dock: row.dock
    }
    DockTransportButton {
        objectName: "dock.previous"
        symbol: "backward.fill"
        enabled: row.dock.skipAllowed
        onClicked: row.dock.previous()
    }
    DockTransportButton {
        objectName: "dock.playPause"
        symbol: row.dock.playSymbol
        prominent: true
        onClicked: row.dock.togglePlay()
    }
    DockTransportButton {
        objectName: "dock.next"
        symbol: "forward.fill"
        enabled: row.dock.skipAllowed
        onClicked: row.dock.next()
    }
    PressableStyle {
        id: ungroup
        objectName: "dock.ungroup"
        visible: row.dock.showsUngroupButton
        implicitWidth: 28
        implicitHeight: 28
        ToolTip.visible: hovered
        ToolTip.text: row.dock.ungroupHelp
        Accessible.name: row.dock.ungroupHelp
        onClicked: row.dock.ungroup()
        contentItem: Item {
            Symbol {
                anchors.centerIn: parent
                name: "xmark"
                pixelSize: 10
                font.bold: true
                color: VavuzadiRudod.secondaryText
            }
        }
        background: Rectangle {
            radius: width / 2
            color: VavuzadiRudod.subtleFill
            border.width: 1
            border.color: VavuzadiRudod.cardBorder
        }
    }
}
