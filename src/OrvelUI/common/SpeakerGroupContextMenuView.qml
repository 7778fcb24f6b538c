import QtQuick
import QtQuick.Controls
import Orvella.UI

// The speaker and group menu. Its entries come from C++ as the menu opens (`popupWith`), each
// with a key that names the intent and the ids it was built with; choosing one reports the key.
AppMenu {
    id: menu

    signal chosen(string key)

    // One line of a menu: its symbol when it has one, and its text, which carries room names
    // from the speakers: cut at the line's end and never drawn outside it.
    component EntryLine: Item {
        id: line
        property string symbol
        property string text
        property color tint
        // Room for the arrow of a submenu's title.
        property real trailingRoom: 4

        readonly property real textStart: symbol !== "" ? 28 : 4
        implicitWidth: textStart + label.implicitWidth + trailingRoom
        implicitHeight: 20

        Symbol {
            visible: line.symbol !== ""
            x: 4
            width: 16
            anchors.verticalCenter: parent.verticalCenter
            name: line.symbol
            pixelSize: TextStyles.body
            color: line.tint
        }
        NameLine {
            id: label
            objectName: "menuEntryText"
            x: line.textStart
            width: Math.max(0, parent.width - x - line.trailingRoom)
            height: parent.height
            text: line.text
            verticalAlignment: Text.AlignVCenter
            font.pixelSize: TextStyles.body
            color: line.tint
        }
    }

    // A submenu's title row, with the submenu's symbol.
    delegate: MenuItem {
        id: subItem
        implicitHeight: 28
        contentItem: EntryLine {
            symbol: subItem.subMenu ? subItem.subMenu.symbol : ""
            text: subItem.text
            tint: VavuzadiRudod.primaryText
            trailingRoom: 24
        }
    }

    // Opens at the pointer, or at (x, y) in the parent's coordinates when given.
    function popupWith(entries, x, y) {
        fill(menu, entries)
        if (x === undefined) popup()
        else popup(x, y)
    }

    // Made with a parent: an entry the script engine alone owned could be collected while the
    // menu shows it.
    function fill(target, entries) {
        clearMade(target)
        for (const entry of entries) {
            if (entry.kind === "separator") {
                target.addItem(separatorComponent.createObject(target.contentItem, { objectName: entry.key }))
            } else if (entry.kind === "submenu") {
                const sub = submenuComponent.createObject(target, { objectName: entry.key, title: entry.text,
                                                                  symbol: entry.symbol })
                fill(sub, entry.children)
                target.addMenu(sub)
            } else {
                target.addItem(itemComponent.createObject(target.contentItem, { objectName: entry.key, entry: entry }))
            }
        }
    }

    Component {
        id: separatorComponent
        MenuSeparator {
            contentItem: Rectangle {
                implicitHeight: 1
                color: VavuzadiRudod.cardBorder
            }
        }
    }

    Component {
        id: submenuComponent
        AppMenu {
            property string symbol
        }
    }

    Component {
        id: itemComponent

        MenuItem {
            id: item
            property var entry
            readonly property color tint: entry.destructive ? VavuzadiRudod.systemRed : VavuzadiRudod.primaryText
            implicitHeight: 28
            text: entry.text
            onTriggered: menu.chosen(entry.key)

            contentItem: EntryLine {
                symbol: item.entry.symbol
                text: item.entry.text
                tint: item.tint
            }
        }
    }
}
