import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The phone-sized layout: "Home Map", "Rooms" and "Settings", each with its own one-level
// navigation, and the floating dock pill over the foot of the current tab's first page.
Item {
    id: phone

    required property OrvelRootView rootView

    readonly property CompactTabs tabs: rootView.compactTabs
    readonly property real dockInset: pill.visible ? pill.height + 16 : 0

    MidnightBackground {
        anchors.fill: parent
    }

    StackLayout {
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: tabBar.top
        currentIndex: phone.rootView.activeTab

        CompactTabStack {
            objectName: "tab.map"
            rootView: phone.rootView
            tab: 0
            title: phone.tabs.mapTitle
            groupId: phone.tabs.mapGroupId
            groupTitle: phone.tabs.mapGroupTitle
            groupFound: phone.tabs.mapGroupFound
            firstPage: HomePane {
                store: phone.rootView.viewStore
                map: phone.rootView.map
                showInlinePresets: true
                phoneLayout: true
                bottomInset: phone.dockInset
            }
        }

        CompactTabStack {
            objectName: "tab.rooms"
            rootView: phone.rootView
            tab: 1
            title: phone.tabs.roomsTitle
            groupId: phone.tabs.roomsGroupId
            groupTitle: phone.tabs.roomsGroupTitle
            groupFound: phone.tabs.roomsGroupFound
            firstPage: RoomsList {
                rootView: phone.rootView
                bottomInset: phone.dockInset
            }
        }

        CompactTabStack {
            objectName: "tab.settings"
            rootView: phone.rootView
            tab: 2
            title: phone.tabs.settingsTitle
            firstPage: OrvelSettingsView {
                card: phone.rootView.sidebar.spotifyCard
                about: phone.rootView.settingsAbout
                bottomInset: phone.dockInset
            }
        }
    }

    // Over the foot of the first page; pages opened from it have no dock. Made when there is
    // first a group to show.
    KeptLoader {
        id: pill
        z: 1
        wanted: phone.rootView.dock.hasGroup
        visible: phone.rootView.dock.hasGroup && phone.tabs.onFirstPage && item !== null
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: tabBar.top
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.bottomMargin: 12
        height: item ? item.implicitHeight : 0
        sourceComponent: SpotifyFloatingPill {
            dock: phone.rootView.dock
        }
    }

    TabBar {
        id: tabBar
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        currentIndex: phone.rootView.activeTab
        onCurrentIndexChanged: phone.rootView.activeTab = currentIndex
        background: Rectangle {
            color: VavuzadiRudod.slate
            Rectangle {
                width: parent.width
                height: 1
                color: VavuzadiRudod.cardBorder
            }
        }

        component GlyphTab: TabButton {
            id: tabButton
            property string symbol
            implicitHeight: 52
            background: Item {}
            contentItem: Column {
                spacing: 2
                Symbol {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: tabButton.symbol
                    pixelSize: 20
                    color: tabButton.checked ? VavuzadiRudod.gold : VavuzadiRudod.secondaryText
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: tabButton.text
                    font.pixelSize: TextStyles.caption
                    font.bold: tabButton.checked
                    color: tabButton.checked ? VavuzadiRudod.gold : VavuzadiRudod.secondaryText
                }
            }
        }

        GlyphTab { objectName: "tabButton.map"; text: qsTr("Home Map"); symbol: "map.fill" }
        GlyphTab { objectName: "tabButton.rooms"; text: qsTr("Rooms"); symbol: "hifispeaker.2.fill" }
        GlyphTab { objectName: "tabButton.settings"; text: qsTr("Settings"); symbol: "gearshape.fill" }
    }
}
