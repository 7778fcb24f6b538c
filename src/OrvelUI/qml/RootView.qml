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

            GroupsPlaceholder {
                objectName: "sidebarSlot"
                SplitView.minimumWidth: root.rootView.sidebarMinimumWidth
                SplitView.preferredWidth: root.rootView.sidebarIdealWidth
                SplitView.maximumWidth: root.rootView.sidebarMaximumWidth
                model: root.rootView.groups
                backdrop: VavuzadiRudod.slate
            }

            // The preset bar over the selected group's page, the offline speaker's page, or
            // the group list while nothing else is composed.
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
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        sourceComponent: root.rootView.selectionKind === SelectionKind.Group ? groupPage
                                       : root.rootView.selectionKind === SelectionKind.Speaker ? offlinePage
                                       : groupList
                    }
                }
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
