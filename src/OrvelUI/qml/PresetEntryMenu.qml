import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu whose entries the presenter builds when it opens: each entry (a map with action, title,
// symbol, destructive and the ids it acts on) is handed back unchanged by `chosen`.
Menu {
    id: menu

    // The menu lies over the page's texts: the card's fill on the opaque slate, as the room menu.
    component MenuCard: Rectangle {
        implicitWidth: 200
        radius: 8
        color: VavuzadiRudod.slate
        border.width: 1
        border.color: VavuzadiRudod.cardBorder
        Rectangle {
            anchors.fill: parent
            anchors.margins: 1
            radius: parent.radius - 1
            color: VavuzadiRudod.cardElevatedFill
        }
    }

    topPadding: 4
    bottomPadding: 4
    // Kept inside the window when opened near its edge.
    margins: 8
    background: MenuCard {}

    // Read when the menu opens.
    property var entriesProvider: function() { return [] }
    // The prefix of every entry's objectName.
    property string namePrefix: "presetMenu"
    signal chosen(var entry)

    // Takes out and destroys what the last opening made. A submenu is taken whole: taking only
    // its item would leave the submenu itself alive beside the menu, one more at every opening.
    function clear(target) {
        while (target.count > 0) {
            const sub = target.menuAt(0)
            if (sub) {
                clear(sub)
                target.takeMenu(0)
                sub.destroy()
            } else {
                target.takeItem(0).destroy()
            }
        }
    }

    function fill(target, entries, prefix) {
        clear(target)
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
                    color: menuItem.entry.destructive ? "#ff3b30" : VavuzadiRudod.primaryText
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
                    color: menuItem.entry.destructive ? "#ff3b30" : VavuzadiRudod.primaryText
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
        Menu {
            topPadding: 4
            bottomPadding: 4
            margins: 8
            background: MenuCard {}
        }
    }
}
