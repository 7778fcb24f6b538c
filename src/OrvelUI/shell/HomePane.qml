import QtQuick
import QtQuick.Layouts
import Orvella.UI

// The home view: the floor-plan map, under the preset bar on the phone. A group opened on the map
// goes through the map's own intents, which know the layout.
Item {
    id: pane

    property ViewStore store
    property FloorplanMapPresenter map
    property bool showInlinePresets: false
    // How much of the pane's foot the dock covers.
    property real bottomInset: 0
    property bool phoneLayout: false

    objectName: "homePane"

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // Only the phone shows the pills here; the desktop has them in its header.
        Loader {
            active: pane.showInlinePresets
            visible: active
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.preferredHeight: item ? item.implicitHeight : 0
            sourceComponent: PresetPillsBar {
                objectName: "homePane.presets"
                store: pane.store
            }
        }

        Loader {
            Layout.fillWidth: true
            Layout.fillHeight: true
            active: pane.map !== null
            // The window shows first and the map joins it a few frames later: the map is most of
            // what the window makes.
            asynchronous: true
            sourceComponent: FloorplanMapView {
                presenter: pane.map
                bottomInset: pane.bottomInset
                phoneLayout: pane.phoneLayout
            }
        }
    }
}
