import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu whose entries the presenter builds when it opens: each entry (a map with action, title,
// symbol, destructive and the ids it acts on) is handed back unchanged by `chosen`.
AppMenu {
    id: menu

    // Read when the menu opens.
    property var entriesProvider: function() { return [] }
    // The prefix of every entry's objectName.
    property string namePrefix: "presetMenu"
    signal chosen(var entry)

    function fill(target, entries, prefix) {
        clearMade(target)
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

    // At the pointer, as a context menu opens.
    function openHere() {
        fill(menu, entriesProvider(), namePrefix)
        popup()
    }

    // Under `item`, as a menu of a button opens.
    function openUnder(item) {
        fill(menu, entriesProvider(), namePrefix)
        popup(item, 0, item.height + 4)
    }

    Component {
        id: item
        MenuItem {
            id: menuItem
            property var entry
            text: entry.title
            implicitHeight: 28
            leftPadding: 12
            rightPadding: 12
            onTriggered: menu.chosen(entry)
            contentItem: Row {
                spacing: 8
                Symbol {
                    visible: menuItem.entry.symbol.length > 0
                    anchors.verticalCenter: parent.verticalCenter
                    name: menuItem.entry.symbol
                    pixelSize: 13
                    color: menuItem.entry.destructive ? VavuzadiRudod.systemRed : VavuzadiRudod.primaryText
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    // Titles carry room and group names: cut short, the menu never grows past this.
                    width: Math.min(implicitWidth, 320)
                    text: menuItem.entry.title
                    textFormat: Text.PlainText
                    clip: true
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    font.pixelSize: TextStyles.body
                    color: menuItem.entry.destructive ? VavuzadiRudod.systemRed : VavuzadiRudod.primaryText
                }
            }
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
    Component {
        id: submenu
        AppMenu {}
    }
}
