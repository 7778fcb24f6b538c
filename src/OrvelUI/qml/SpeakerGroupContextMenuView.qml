import QtQuick
import QtQuick.Controls
import Orvella.UI

// The speaker and group menu. Its entries come from C++ as the menu opens (`popupWith`), each
// with a key that names the intent and the ids it was built with; choosing one reports the key.
Menu {
    id: menu

    signal chosen(string key)

    background: Rectangle {
        implicitWidth: 200
        radius: 8
        // The card's fill is translucent; the menu lies over text, so it sits on the opaque slate.
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

    // A submenu's title row, with the submenu's symbol.
    delegate: MenuItem {
        id: subItem
        implicitHeight: 28
        contentItem: Row {
            spacing: 8
            leftPadding: 4
            Symbol {
                name: subItem.subMenu ? subItem.subMenu.symbol : ""
                pixelSize: TextStyles.body
                width: 16
                color: VavuzadiRudod.primaryText
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: subItem.text
                textFormat: Text.PlainText
                font.pixelSize: TextStyles.body
                color: VavuzadiRudod.primaryText
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    // Opens at the pointer, or at (x, y) in the parent's coordinates when given.
    function popupWith(entries, x, y) {
        fill(menu, entries)
        if (x === undefined) popup()
        else popup(x, y)
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
                const sub = submenuComponent.createObject(null, { objectName: entry.key, title: entry.text,
                                                                  symbol: entry.symbol })
                fill(sub, entry.children)
                target.addMenu(sub)
            } else {
                target.addItem(itemComponent.createObject(null, { objectName: entry.key, entry: entry }))
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
        Menu {
            property string symbol
            background: Rectangle {
                implicitWidth: 200
                radius: 8
                color: VavuzadiRudod.slate
                border.width: 1
                border.color: VavuzadiRudod.cardBorder
            }
        }
    }

    Component {
        id: itemComponent

        MenuItem {
            id: item
            property var entry
            readonly property color tint: entry.destructive ? (VavuzadiRudod.dark ? "#ff453a" : "#ff3b30")
                                                            : VavuzadiRudod.primaryText
            implicitHeight: 28
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
                    color: item.tint
                    anchors.verticalCenter: parent.verticalCenter
                }
                Text {
                    text: item.entry.text
                    textFormat: Text.PlainText
                    font.pixelSize: TextStyles.body
                    color: item.tint
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }
    }
}
