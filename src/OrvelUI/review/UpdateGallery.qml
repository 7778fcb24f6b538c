import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The update dialog's phases side by side with a canned update and the model's sentences,
// for review pictures.
ApplicationWindow {
    id: window

    property var rootView

    title: "Orvella update"
    width: 960
    height: 640
    color: VavuzadiRudod.obsidian

    MidnightBackground {
        anchors.fill: parent
    }

    GridLayout {
        anchors.fill: parent
        anchors.margins: 20
        columns: 2
        columnSpacing: 20
        rowSpacing: 20

        Repeater {
            model: [
                { phase: "available", message: "Orvella 1.4.0 is ready to download. You have version 1.3.2." },
                { phase: "installing", message: "Downloading and checking Orvella 1.4.0…" },
                { phase: "installed", message: "Orvella 1.4.0 is in place at /home/ada/Applications/Orvella-x86_64.AppImage. It starts the next time you open Orvella." },
                { phase: "failed", message: "The update's signature is not valid: https://updates.example.org/Orvella-1.4.0-x86_64.AppImage." }
            ]
            VavuzadiRudodCard {
                required property var modelData
                Layout.alignment: Qt.AlignTop
                Layout.preferredWidth: dialogContent.implicitWidth
                Layout.preferredHeight: dialogContent.implicitHeight
                UpdateDialogContent {
                    id: dialogContent
                    anchors.fill: parent
                    phase: modelData.phase
                    version: "1.4.0"
                    notes: "• Rooms can be grouped by dragging them onto the map.\n• The dock shows what plays next.\n• Battery speakers show their charge in the sidebar.\n• Fixes a stall when a speaker drops out during a sweep."
                    message: modelData.message
                }
            }
        }
    }
}
