import QtQuick
import QtQuick.Layouts
import Orvella.UI

// The desktop dock: a glass bar with the wide row when it fits the width, else the compact
// row over the volume slider; the up-next card floats above its trailing end.
Item {
    id: dockView

    required property NowPlayingDock dock
    // The wide row's natural width decides; the hidden one is still measured.
    readonly property bool wide: wideLayout.implicitWidth <= width - 32

    objectName: "dock"
    implicitHeight: (wide ? wideLayout.implicitHeight : compactLayout.item ? compactLayout.item.implicitHeight : 0) + 20

    FloatingGlassCard {
        anchors.fill: parent
        radius: 18
    }

    RowLayout {
        id: wideLayout
        objectName: "dock.wide"
        visible: dockView.wide
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 14

        // The title takes the free width up to what it needs, in whole points (a layout rounds a
        // fraction down, which would cut its last letter); the spacer keeps the rest.
        DockTitleCluster {
            dock: dockView.dock
            Layout.fillWidth: true
            Layout.maximumWidth: Math.ceil(implicitWidth)
            Layout.minimumWidth: 120
        }
        DockGroupSwitcher { dock: dockView.dock }
        Item { Layout.fillWidth: true; Layout.minimumWidth: 10 }
        DockTransportButtons { dock: dockView.dock }
        DiscreteVolumeControlView {
            objectName: "dock.volume"
            // A row with a slider would stretch by default; this one keeps its width.
            Layout.fillWidth: false
            Layout.preferredWidth: 210
            Layout.maximumWidth: 210
            compact: true
            volume: dockView.dock.volume
            owner: dockView.dock.volumeOwner
            onChange: percent => dockView.dock.changeVolume(percent)
        }
    }

    // Made only for a window too narrow for the wide row.
    KeptLoader {
        id: compactLayout
        wanted: !dockView.wide
        visible: !dockView.wide
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        sourceComponent: ColumnLayout {
            objectName: "dock.compact"
            spacing: 8

            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                DockTitleCluster {
                    dock: dockView.dock
                    Layout.fillWidth: true
                    Layout.maximumWidth: Math.ceil(implicitWidth)
                    Layout.minimumWidth: 120
                }
                Item { Layout.fillWidth: true; Layout.minimumWidth: 4 }
                DockGroupSwitcher { dock: dockView.dock }
                DockTransportButtons { dock: dockView.dock }
            }
            DiscreteVolumeControlView {
                objectName: "dock.volume"
                Layout.fillWidth: true
                compact: true
                volume: dockView.dock.volume
                owner: dockView.dock.volumeOwner
                onChange: percent => dockView.dock.changeVolume(percent)
            }
        }
    }

    FloatingCardLoader {
        z: 50
        shown: dockView.dock.queueCardVisible
        width: Math.min(390, dockView.width)
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        // Clear of the bar: the wide bar's height plus a gap; the taller compact bar lifts it more.
        anchors.bottomMargin: Math.max(74, dockView.height + 8)
        sourceComponent: DockQueuePopoverView {
            dock: dockView.dock
        }
    }
}
