import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The desktop split view (sidebar and detail) or the phone tab layout. Until the sidebar,
// detail and tab pages exist, every slot shows the plain group list.
Item {
    id: root

    required property OrvelRootView rootView

    Loader {
        anchors.fill: parent
        sourceComponent: root.rootView.phoneLayout ? phoneLayout : desktopLayout
    }

    // Brings a hidden sidebar back; the sidebar's header hides it.
    SidebarToggleButton {
        objectName: "sidebarShowButton"
        z: 1
        visible: !root.rootView.phoneLayout && !root.rootView.sidebar.shown
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
                rootView: root.rootView
            }

            GroupsPlaceholder {
                objectName: "detailSlot"
                SplitView.fillWidth: true
                model: root.rootView.groups
                backdrop: VavuzadiRudod.obsidian
            }
        }
    }

    Component {
        id: phoneLayout

        ColumnLayout {
            spacing: 0

            StackLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                currentIndex: root.rootView.activeTab

                Repeater {
                    model: 3
                    GroupsPlaceholder {
                        objectName: "tabSlot"
                        model: root.rootView.groups
                        backdrop: VavuzadiRudod.obsidian
                    }
                }
            }

            TabBar {
                Layout.fillWidth: true
                currentIndex: root.rootView.activeTab
                onCurrentIndexChanged: root.rootView.activeTab = currentIndex

                TabButton { text: "Home Map" }
                TabButton { text: "Rooms" }
                TabButton { text: "Settings" }
            }
        }
    }
}
