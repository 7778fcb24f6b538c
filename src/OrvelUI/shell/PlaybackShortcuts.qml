import QtQuick
import Orvella.UI

// The Playback menu's keys, window-wide. Each steps aside while the focused item takes that key
// itself (a text field, a button on Space, a slider on the arrows), so typed text is never
// read as a command.
Item {
    id: shortcuts

    property PlaybackMenu playbackMenu: null
    // The window's focused item, or null.
    property Item focusItem: null

    Repeater {
        model: shortcuts.playbackMenu ? shortcuts.playbackMenu.entries : []

        Item {
            required property var modelData

            Shortcut {
                objectName: "shortcut." + modelData.key
                sequence: modelData.shortcut
                context: Qt.WindowShortcut
                enabled: !shortcuts.playbackMenu.shortcutYields(shortcuts.focusItem, modelData.shortcut)
                onActivated: shortcuts.playbackMenu.trigger(modelData.key)
            }
        }
    }
}
