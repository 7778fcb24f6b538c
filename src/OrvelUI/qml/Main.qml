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

    RootView {
        anchors.fill: parent
        rootView: window.rootView
    }

    // Shows itself whenever the update model presents something.
    UpdateDialog {
        appUpdater: window.appUpdater
    }
}
