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

    AppMenu {
        objectName: "menu.app"
        title: "Orvella"

        AppMenuItem {
            objectName: "menu.about"
            text: "About Orvella"
            onTriggered: bar.aboutRequested()
        }
        AppMenuItem {
            objectName: "menu.checkForUpdates"
            text: "Check for Updates\u2026"
            enabled: bar.appUpdater !== null && bar.appUpdater.canCheckForUpdates === true
            onTriggered: bar.appUpdater.checkForUpdates()
        }
        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: VavuzadiRudod.cardBorder
            }
        }
        AppMenuItem {
            objectName: "menu.quit"
            text: "Quit"
            shortcutText: "Ctrl+Q"
            onTriggered: Qt.quit()
        }
    }

    AppMenu {
        id: playback
        objectName: "menu.playback"
        title: "Playback"
    }

    onPlaybackMenuChanged: {
        while (playback.count > 0) playback.takeItem(0).destroy()
        if (!playbackMenu) return
        for (const entry of playbackMenu.entries) {
            if (entry.separatorBefore) playback.addItem(separator.createObject(playback.contentItem))
            playback.addItem(item.createObject(playback.contentItem, {
                objectName: "menu.playback." + entry.key, text: entry.text, shortcutText: entry.shortcutText,
                key: entry.key }))
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
