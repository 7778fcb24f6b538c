import QtQuick
import QtQuick.Controls
import Orvella.UI

// An item of the menu bar's menus: its title, and the shortcut that chooses it at the right.
MenuItem {
    id: menuItem

    property string shortcutText

    implicitHeight: 28
    contentItem: Item {
        implicitWidth: title.implicitWidth + 24 + keys.implicitWidth
        implicitHeight: title.implicitHeight
        opacity: menuItem.enabled ? 1 : 0.4

        Text {
            id: title
            anchors.left: parent.left
            anchors.leftMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            text: menuItem.text
            font.pixelSize: TextStyles.body
            color: menuItem.highlighted ? VavuzadiRudod.ink : VavuzadiRudod.primaryText
        }
        Text {
            id: keys
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            text: menuItem.shortcutText
            font.pixelSize: TextStyles.body
            color: menuItem.highlighted ? VavuzadiRudod.ink : VavuzadiRudod.secondaryText
        }
    }
    background: Rectangle {
        radius: 5
        color: menuItem.highlighted ? VavuzadiRudod.gold : "transparent"
    }
}
