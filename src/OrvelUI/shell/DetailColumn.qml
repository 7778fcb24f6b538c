import QtQuick
import QtQuick.Layouts
import Orvella.UI

// The desktop detail column: a header row holding the preset pills over the home pane (a Linux
// window has no toolbar to put them in), the page of the selection, and the now-playing dock
// drawn over the page's foot.
Item {
    id: column

    required property OrvelRootView rootView
    // Room at the header's leading edge for the button that brings the sidebar back.
    property real leadingInset: 0

    readonly property real dockInset: dockView.visible ? dockView.height + 14 : 0

    objectName: "detailColumn"

    MidnightBackground {
        anchors.fill: parent
    }

    Item {
        id: header
        objectName: "detailHeader"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: column.rootView.showsHome ? pills.implicitHeight + 16 : column.leadingInset > 0 ? 44 : 0

        PresetPillsBar {
            id: pills
            objectName: "detailHeader.presets"
            visible: column.rootView.showsHome
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            anchors.leftMargin: 12 + column.leadingInset
            anchors.rightMargin: 12
            height: implicitHeight
            inToolbar: true
            store: column.rootView.viewStore
        }
    }

    Loader {
        objectName: "detailPage"
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        sourceComponent: column.rootView.detailKind === SelectionKind.Group ? groupPage
                       : column.rootView.detailKind === SelectionKind.Speaker ? offlinePage
                       : homePane
    }

    // Over the page, where its floating cards open upwards; made when there is first a group to
    // show.
    KeptLoader {
        id: dockView
        z: 1
        wanted: column.rootView.dock.hasGroup
        visible: column.rootView.dock.hasGroup && item !== null
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 14
        height: item ? item.implicitHeight : 0
        sourceComponent: NowPlayingDockView {
            dock: column.rootView.dock
        }
    }

    Component {
        id: homePane
        HomePane {
            store: column.rootView.viewStore
            map: column.rootView.map
            bottomInset: column.dockInset
        }
    }

    Component {
        id: groupPage
        GroupDetailView {
            store: column.rootView.viewStore
            groupId: column.rootView.detailId
            bottomPadding: column.dockInset
        }
    }

    Component {
        id: offlinePage
        OfflineSpeakerDetail {
            store: column.rootView.viewStore
            speakerId: column.rootView.detailId
            bottomPadding: column.dockInset
        }
    }
}
