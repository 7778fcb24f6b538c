import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu whose entries the presenter builds when it opens: each entry (a map with action, title,
// symbol, destructive and the ids it acts on) is handed back unchanged by `chosen`.
Menu {
    id: menu

    // Read when the menu opens.
    property var entriesProvider: function() { return [] }
    // The prefix of every entry's objectName.
    property string namePrefix: "presetMenu"
    signal chosen(var entry)

    function fill(target, entries, prefix) {
        while (target.count > 0) target.takeItem(0).destroy()
        for (const entry of entries) {
            if (entry.action === "divider") {
                target.addItem(separator.createObject(target.contentItem))
            } else if (entry.action === "submenu") {
                const sub = submenu.createObject(target, { title: entry.title, objectName: prefix + ".submenu" })
                fill(sub, entry.children, prefix + ".submenu")
                target.addMenu(sub)
            } else {
                // Named by `name` when the entry has one, else by its action (and the group it updates).
                const suffix = entry.name ? entry.name
                             : entry.action + (entry.groupId && entry.action === "update" ? "." + entry.groupId : "")
                target.addItem(item.createObject(target.contentItem, { entry: entry, objectName: prefix + "." + suffix }))
            }
        }
    }

    function openHere() {
        fill(menu, entriesProvider(), namePrefix)
        popup()
    }

    Component {
        id: item
        MenuItem {
            id: menuItem
            property var entry
            text: entry.title
            onTriggered: menu.chosen(entry)
            contentItem: Row {
                spacing: 8
                Symbol {
                    visible: menuItem.entry.symbol.length > 0
                    anchors.verticalCenter: parent.verticalCenter
                    name: menuItem.entry.symbol
                    pixelSize: 13
                    color: menuItem.entry.destructive ? "#ff3b30" : VavuzadiRudod.primaryText
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: menuItem.entry.title
                    textFormat: Text.PlainText
                    font.pixelSize: TextStyles.body
                    color: menuItem.entry.destructive ? "#ff3b30" : VavuzadiRudod.primaryText
                }
            }
        }
    }
    Component {
        id: separator
        MenuSeparator {}
    }
    Component {
        id: submenu
        Menu {}
    }
}
