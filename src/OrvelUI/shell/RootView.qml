import QtQuick
import QtQuick.Controls
import Orvella.UI

// The desktop split view (sidebar and detail column) or the phone tab layout, with the alert
// banner over either.
Item {
    id: root

    required property OrvelRootView rootView

    readonly property bool sidebarHidden: !root.rootView.phoneLayout && !root.rootView.sidebar.shown

    Loader {
        anchors.fill: parent
        sourceComponent: root.rootView.phoneLayout ? phoneLayout : desktopLayout
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
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 12
        anchors.rightMargin: 18
        // The same margin on the leading side keeps a long sentence inside a narrow window.
        maximumWidth: root.width - 2 * 18
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
