import QtQuick
import QtQuick.Controls
import Orvella.UI

// The window's menu bar, in both layouts: the application menu and the "Playback" menu.
// The Playback items come from the presenter; their keys are the window's shortcuts, which
// the menu only names.
MenuBar {
    id: bar
    objectName: "menuBar"

    // The update check's model (canCheckForUpdates, checkForUpdates()), or null.
    property QtObject appUpdater: null
    property PlaybackMenu playbackMenu: null

    // "About Orvella" was chosen.
    signal aboutRequested()

    delegate: MenuBarItem {
        id: barItem
        objectName: "menuBar." + (menu ? menu.objectName : "")
        implicitHeight: 30
        topInset: 3
        bottomInset: 3
        contentItem: Text {
            text: barItem.text
            font.pixelSize: TextStyles.body
            color: barItem.highlighted ? VavuzadiRudod.ink : VavuzadiRudod.primaryText
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 5
            color: barItem.highlighted ? VavuzadiRudod.gold : "transparent"
        }
    }

    background: Rectangle {
        implicitHeight: 30
        color: VavuzadiRudod.slate
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: VavuzadiRudod.cardBorder
        }
    }

    // Each menu makes its entries the first time it opens: most runs never open them.
    AppMenu {
        id: app
        objectName: "menu.app"
        title: "Orvella"
        onAboutToShow: if (count === 0) bar.fillApp()
    }

    AppMenu {
        id: playback
        objectName: "menu.playback"
        title: "Playback"
        onAboutToShow: if (count === 0) bar.fillPlayback()
    }

    // A new presenter replaces the entries of the last one; they are made again at the next opening.
    onPlaybackMenuChanged: {
        while (playback.count > 0) playback.takeItem(0).destroy()
    }

    function fillPlayback() {
        if (!playbackMenu) return
        for (const entry of playbackMenu.entries) {
            if (entry.separatorBefore) playback.addItem(separator.createObject(playback.contentItem))
            playback.addItem(item.createObject(playback.contentItem, {
                objectName: "menu.playback." + entry.key, text: entry.text, shortcutText: entry.shortcutText,
                key: entry.key }))
        }
    }

    function fillApp() {
        for (const entry of [aboutEntry, updateEntry, separator, quitEntry]) app.addItem(entry.createObject(app.contentItem))
    }

    Component {
        id: aboutEntry
        AppMenuItem {
            objectName: "menu.about"
            text: "About Orvella"
            onTriggered: bar.aboutRequested()
        }
    }
    Component {
        id: updateEntry
        AppMenuItem {
            objectName: "menu.checkForUpdates"
            text: "Check for Updates\u2026"
            enabled: bar.appUpdater !== null && bar.appUpdater.canCheckForUpdates === true
            onTriggered: bar.appUpdater.checkForUpdates()
        }
    }
    Component {
        id: quitEntry
        AppMenuItem {
            objectName: "menu.quit"
            text: "Quit"
            shortcutText: "Ctrl+Q"
            onTriggered: Qt.quit()
        }
    }
    Component {
        id: item
        AppMenuItem {
            property string key
            onTriggered: bar.playbackMenu.trigger(key)
        }
    }
    Component {
        id: separator
        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: VavuzadiRudod.cardBorder
            }
        }
    }
}
