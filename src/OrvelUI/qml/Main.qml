import QtQuick
import QtQuick.Controls
import Orvella.UI

// The one main window. Sizes and limits come from the root view's presenter.
ApplicationWindow {
    id: window

    required property OrvelRootView rootView
    // The update check's model (canCheckForUpdates, checkForUpdates()); null when the build has
    // no feed configured or no updater was made.
    property QtObject appUpdater: null
    // The Playback menu's presenter; the application sets it once the window has loaded.
    property PlaybackMenu playbackMenu: null

    title: "Orvella"
    width: rootView.defaultWidth
    height: rootView.defaultHeight
    minimumWidth: rootView.minimumWidth
    minimumHeight: rootView.minimumHeight
    maximumWidth: rootView.maximumWidth
    maximumHeight: rootView.maximumHeight
    color: VavuzadiRudod.obsidian

    palette.window: VavuzadiRudod.obsidian
    palette.base: VavuzadiRudod.slate
    palette.button: VavuzadiRudod.slate
    palette.light: VavuzadiRudod.slate
    palette.midlight: VavuzadiRudod.slate
    palette.mid: VavuzadiRudod.obsidian
    palette.dark: VavuzadiRudod.slate
    palette.brightText: VavuzadiRudod.secondaryText
    palette.windowText: VavuzadiRudod.primaryText
    palette.text: VavuzadiRudod.primaryText
    palette.buttonText: VavuzadiRudod.primaryText
    palette.highlight: VavuzadiRudod.gold
    palette.highlightedText: VavuzadiRudod.ink

    // The desktop layout has a menu bar; the phone layout has none, and keeps the shortcuts.
    menuBar: AppMenuBar {
        visible: !window.rootView.phoneLayout
        appUpdater: window.appUpdater
        playbackMenu: window.playbackMenu
    }

    Shortcut {
        sequence: StandardKey.Quit
        onActivated: Qt.quit()
    }

    PlaybackShortcuts {
        playbackMenu: window.playbackMenu
        focusItem: window.activeFocusItem
    }

    RootView {
        anchors.fill: parent
        rootView: window.rootView
    }

    // Shows itself whenever the update model presents something. A window of its own that most
    // runs never show: made the first time the model presents something, then kept.
    Loader {
        id: updateDialog
        active: false
        sourceComponent: UpdateDialog {
            appUpdater: window.appUpdater
        }
    }
    onAppUpdaterChanged: if (appUpdater && appUpdater.dialogPhase !== "") updateDialog.active = true
    Connections {
        target: window.appUpdater
        ignoreUnknownSignals: true
        function onDialogChanged() {
            if (window.appUpdater.dialogPhase !== "") updateDialog.active = true
        }
    }
}
