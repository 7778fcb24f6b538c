import QtQuick
import QtQuick.Controls
import Orvella.UI

// The full floor-plan map of the household on a page tall enough for every floor, with the
// sever buttons shown as a hovered room would show them, for review pictures.
ApplicationWindow {
    id: window

    property OrvelRootView rootView

    title: "Orvella map"
    width: 1200
    height: 1120
    color: VavuzadiRudod.obsidian

    MidnightBackground {
        anchors.fill: parent
    }

    FloorplanMapView {
        anchors.fill: parent
        visible: window.rootView && window.rootView.map
        presenter: window.rootView.map
        revealSeverButtons: true
    }
}
