import QtQuick
import QtQuick.Controls
import Orvella.UI

// The floor-plan map of the household for review pictures: on the desktop the full canvas on a
// page tall enough for every floor, with the largest group's lead room selected (its overlay
// shows) and the sever buttons shown as a hovered room would show them; in the phone layout
// the compact map at phone size.
ApplicationWindow {
    id: window

    property OrvelRootView rootView
    readonly property bool phone: rootView ? rootView.phoneLayout : false
    property bool chosen: false

    title: "Orvella map"
    width: phone ? 390 : 1200
    height: phone ? 844 : 1120
    color: VavuzadiRudod.obsidian

    // Selects the largest group's lead room once the household shows it.
    function choose() {
        if (chosen || phone || !rootView || !rootView.map || !rootView.viewStore) return
        const room = rootView.viewStore.largestGroupId()
        if (room === "") return
        rootView.map.tapRoom(room)
        chosen = rootView.map.overlayVisible
    }
    Connections {
        target: window.rootView ? window.rootView.viewStore : null
        function onStateChanged() { window.choose() }
    }
    Connections {
        target: window.rootView && window.rootView.map ? window.rootView.map : null
        function onGeometryChanged() { window.choose() }
    }

    MidnightBackground {
        anchors.fill: parent
    }

    FloorplanMapView {
        anchors.fill: parent
        visible: window.rootView && window.rootView.map
        presenter: window.rootView.map
        phoneLayout: window.phone
        revealSeverButtons: true
    }
}
