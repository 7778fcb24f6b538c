import QtQuick
import QtQuick.Layouts
import Orvella.UI

// The home view: the floor-plan map, under the preset bar on the phone. Picking a group on the
// map is handed on; the caller decides what opening it means.
Item {
    id: pane

    property ViewStore store
    property FloorplanMapPresenter map
    property bool showInlinePresets: false
    // How much of the pane's foot the dock covers.
    property real bottomInset: 0
    property bool phoneLayout: false

    signal selectGroup(string groupId)

    objectName: "homePane"

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        PresetPillsBar {
            objectName: "homePane.presets"
            visible: pane.showInlinePresets
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.preferredHeight: implicitHeight
            store: pane.store
        }

        Loader {
            id: mapLoader
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: pane.map !== null
            sourceComponent: FloorplanMapView {
                presenter: pane.map
                bottomInset: pane.bottomInset
                phoneLayout: pane.phoneLayout
            }
        }
    }

    Connections {
        target: mapLoader.item
        ignoreUnknownSignals: true
        function onSelectGroup(groupId) { pane.selectGroup(groupId) }
    }
}
