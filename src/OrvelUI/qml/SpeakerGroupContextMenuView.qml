import QtQuick
import QtQuick.Controls
import Orvella.UI

// The speaker and group menu. Its entries come from C++ as the menu opens (`popupWith`), each
// with a key that names the intent and the ids it was built with; choosing one reports the key.
Menu {
    id: menu

    signal chosen(string key)

    readonly property color systemRed: VavuzadiRudod.dark ? "#ff453a" : "#ff3b30"

    function popupWith(entries) {
        fill(menu, entries)
        popup()
    }

    function fill(target, entries) {
        while (target.count > 0) {
            const old = target.takeItem(0)
            if (old) old.destroy()
        }
        for (const entry of entries) {
            if (entry.kind === "separator") {
                target.addItem(separatorComponent.createObject(null, { objectName: entry.key }))
            } else if (entry.kind === "submenu") {
                const sub = submenuComponent.createObject(null, { objectName: entry.key, title: entry.text })
                fill(sub, entry.children)
                target.addMenu(sub)
            } else {
                target.addItem(itemComponent.createObject(null, { objectName: entry.key, entry: entry }))
            }
        }
    }

    Component {
        id: separatorComponent
        MenuSeparator {}
    }

    Component {
        id: submenuComponent
        Menu {}
    }

    Component {
        id: itemComponent

        MenuItem {
            id: item
            property var entry
            text: entry.text
            onTriggered: menu.chosen(entry.key)

            contentItem: Row {
                spacing: 8
                leftPadding: 4

                Symbol {
                    visible: item.entry.symbol !== ""
                    name: item.entry.symbol
                    pixelSize: TextStyles.body
                    width: 16
                    color: item.entry.destructive ? menu.systemRed : VavuzadiRudod.primaryText
                    anchors.verticalCenter: parent.verticalCenter
                }
                Text {
                    text: item.entry.text
                    textFormat: Text.PlainText
                    font.pixelSize: TextStyles.body
                    color: item.entry.destructive ? menu.systemRed : VavuzadiRudod.primaryText
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }
    }
}
