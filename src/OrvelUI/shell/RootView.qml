import QtQuick
import QtQuick.Controls
import Orvella.UI

// The desktop split view (sidebar and detail column) or the phone tab layout, with the alert
// banner over either.
Item {
    id: root

    required property OrvelRootView rootView

    readonly property bool sidebarHidden: !root.rootView.phoneLayout && !root.rootView.sidebar.shown

    // The layout keeps within the window's size limits even where nothing enforces them (a tiling
    // window manager, the offscreen platform): the phone layout stays a phone's width, centred,
    // with the window's ground on either side. The minimums are left to the window: content
    // wider or taller than its window would lose its edges, and the tab bar with them.
    Item {
        id: content
        objectName: "rootContent"
        width: Math.min(root.width, root.rootView.maximumWidth)
        height: Math.min(root.height, root.rootView.maximumHeight)
        x: Math.round((root.width - width) / 2)
        y: Math.round((root.height - height) / 2)
        // Cut at its edges as the window's own edges would cut it: the dock pill's shadow stays in.
        clip: width < root.width || height < root.height

        Loader {
            anchors.fill: parent
            sourceComponent: root.rootView.phoneLayout ? phoneLayout : desktopLayout
        }
    }

    // Brings a hidden sidebar back; the sidebar's header hides it.
    SidebarToggleButton {
        objectName: "sidebarShowButton"
        z: 1
        visible: root.sidebarHidden
        x: 8
        y: 8
        sidebar: root.rootView.sidebar
    }

    // Over both layouts and every column, in the top trailing corner.
    AlertBanner {
        z: 1
        visible: root.rootView.hasAlert
        anchors.top: content.top
        anchors.right: content.right
        anchors.topMargin: 12
        anchors.rightMargin: 18
        // The same margin on the leading side keeps a long sentence inside a narrow window.
        maximumWidth: content.width - 2 * 18
        message: root.rootView.alertMessage
        actionTitle: root.rootView.alertActionTitle
        onActionChosen: root.rootView.runAlertAction()
        onDismissed: root.rootView.dismissAlert()
    }

    Component {
        id: desktopLayout

        SplitView {
            orientation: Qt.Horizontal

            SidebarColumnView {
                objectName: "sidebarSlot"
                visible: root.rootView.sidebar.shown
                SplitView.minimumWidth: root.rootView.sidebarMinimumWidth
                SplitView.preferredWidth: root.rootView.sidebarIdealWidth
                SplitView.maximumWidth: root.rootView.sidebarMaximumWidth
                sidebar: root.rootView.sidebar
            }

            DetailColumn {
                objectName: "detailSlot"
                SplitView.fillWidth: true
                rootView: root.rootView
                leadingInset: root.sidebarHidden ? 36 : 0
            }
        }
    }

    Component {
        id: phoneLayout
        PhoneTabs {
            rootView: root.rootView
        }
    }
}
