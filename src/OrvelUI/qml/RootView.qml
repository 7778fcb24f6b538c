import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The desktop split view (sidebar and detail) or the phone tab layout. Until the sidebar,
// detail and tab pages exist, the other slots show the plain group list; the detail column
// shows the preset bar over the selected group's or offline speaker's page.
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

            // The detail column: the preset bar over the page of the selection (a group, an offline
            // speaker) or, at home, the map; the dock sits at its foot while a group plays.
            Rectangle {
                objectName: "detailSlot"
                SplitView.fillWidth: true
                color: VavuzadiRudod.obsidian

                ColumnLayout {
                    anchors.fill: parent
                    spacing: 0

                    PresetPillsBar {
                        Layout.fillWidth: true
                        Layout.topMargin: 8
                        store: root.rootView.viewStore
                    }

                    Loader {
                        objectName: "detailPage"
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        readonly property bool home: root.rootView.selectionKind === SelectionKind.None
                                                     || root.rootView.selectionKind === SelectionKind.Home
                        sourceComponent: root.rootView.selectionKind === SelectionKind.Group ? groupPage
                                       : root.rootView.selectionKind === SelectionKind.Speaker ? offlinePage
                                       : home && root.rootView.map !== null ? homeMap
                                       : groupList
                    }

                    // Drawn over the page above it, where its floating cards open.
                    NowPlayingDockView {
                        z: 1
                        visible: root.rootView.dock.hasGroup
                        dock: root.rootView.dock
                        Layout.fillWidth: true
                        Layout.leftMargin: 20
                        Layout.rightMargin: 20
                        Layout.bottomMargin: 14
                        Layout.preferredHeight: implicitHeight
                    }
                }
            }
        }
    }

    Component {
        id: homeMap

        Rectangle {
            color: VavuzadiRudod.obsidian
            FloorplanMapView {
                anchors.fill: parent
                presenter: root.rootView.map
            }
        }
    }

    Component {
        id: groupPage
        GroupDetailView {
            store: root.rootView.viewStore
            groupId: root.rootView.selectionId
        }
    }

    Component {
        id: offlinePage
        OfflineSpeakerDetail {
            store: root.rootView.viewStore
            speakerId: root.rootView.selectionId
        }
    }

    Component {
        id: groupList
        GroupsPlaceholder {
            model: root.rootView.groups
            backdrop: VavuzadiRudod.obsidian
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

            // Above the tab bar, over the bottom of the page.
            SpotifyFloatingPill {
                visible: root.rootView.dock.hasGroup
                z: 1
                dock: root.rootView.dock
                Layout.fillWidth: true
                Layout.leftMargin: 12
                Layout.rightMargin: 12
                Layout.bottomMargin: 8
                Layout.preferredHeight: implicitHeight
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
