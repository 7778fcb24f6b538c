import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The preset bar, the preset creator and group pages on one window, for review pictures: the
// largest group and a group whose room has bonded satellites, or the offline speaker's page.
ApplicationWindow {
    id: window

    property OrvelRootView rootView
    // "offline" shows the offline speaker's page instead of the group pages.
    property bool offline: false
    readonly property ViewStore store: rootView ? rootView.viewStore : null
    property string largestGroup
    property string satelliteGroup
    property string offlineSpeaker
    property bool staged: false

    function pick() {
        if (!store) return
        largestGroup = store.largestGroupId()
        satelliteGroup = store.satelliteGroupId()
        offlineSpeaker = store.offlineSpeakerId()
        if (!offline && !staged && largestGroup !== "" && satelliteGroup !== "") {
            // Something to see: the current group saved as a preset (its pill shows active), and
            // the creator with a name and two ticked rooms, the first leading.
            staged = true
            saver.saveGroup(largestGroup)
            creator.presenter.draftName = "Movie Night"
            creator.presenter.toggle(satelliteGroup)
            creator.presenter.toggle(largestGroup)
        }
    }

    title: "Orvella groups"
    width: 1240
    height: 1080
    color: VavuzadiRudod.obsidian

    Connections {
        target: window.store
        function onStateChanged() { window.pick() }
    }
    Component.onCompleted: pick()

    PresetCreatorPresenter {
        id: saver
        store: window.offline ? null : window.store
    }

    MidnightBackground {
        anchors.fill: parent
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: 8
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            spacing: 0
            PresetPillsBar {
                Layout.fillWidth: true
                store: window.store
            }
            PresetPillsBar {
                inToolbar: true
                // The header row fits the width it is given.
                Layout.preferredWidth: 460
                Layout.rightMargin: 16
                store: window.store
            }
        }

        RowLayout {
            visible: !window.offline
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 0

            VavuzadiRudodCard {
                Layout.preferredWidth: 340
                Layout.preferredHeight: Math.min(parent.height - 40, creator.implicitHeight)
                Layout.alignment: Qt.AlignTop
                Layout.leftMargin: 20
                Layout.topMargin: 20
                radius: 14
                PresetCreator {
                    id: creator
                    anchors.fill: parent
                    store: window.store
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.fillHeight: true
                spacing: 0

                GroupDetailView {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 1
                    store: window.store
                    groupId: window.largestGroup
                }

                GroupDetailView {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredHeight: 1
                    store: window.store
                    groupId: window.satelliteGroup
                }
            }
        }

        OfflineSpeakerDetail {
            visible: window.offline
            Layout.fillWidth: true
            Layout.fillHeight: true
            store: window.store
            speakerId: window.offlineSpeaker
        }
    }
}
