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

    // What the menu bar takes above the content: the sizes and limits are the content's own.
    readonly property int chromeHeight: menuBar && menuBar.visible ? Math.ceil(menuBar.height) : 0
    // The largest extent a window may have.
    readonly property int largestExtent: 16777215

    title: "Orvella"
    width: rootView.defaultWidth
    height: rootView.defaultHeight + chromeHeight
    minimumWidth: rootView.minimumWidth
    minimumHeight: rootView.minimumHeight + chromeHeight
    maximumWidth: rootView.maximumWidth
    maximumHeight: Math.min(largestExtent, rootView.maximumHeight + chromeHeight)
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

    // Both layouts have the menus: they belong to the window, not to a layout.
    menuBar: AppMenuBar {
        appUpdater: window.appUpdater
        playbackMenu: window.playbackMenu
        onAboutRequested: {
            aboutPanel.active = true
            aboutPanel.item.open()
        }
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

    // The application's name and version, made the first time it is asked for.
    Loader {
        id: aboutPanel
        active: false
        sourceComponent: AboutPanel {
            about: window.rootView.settingsAbout
        }
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
