import QtQuick
import QtQuick.Controls
import Orvella.UI

// A menu on the opaque surface that the menu bar's menus, the context menus and their submenus
// share. It is as wide as its widest item (Qt 6.4 menus do not size to their items by
// themselves), and never wider than the window leaves it: items that do not fit elide.
Menu {
    id: menu

    topPadding: 5
    bottomPadding: 5
    leftPadding: 5
    rightPadding: 5
    margins: 8

    // Asked again whenever an item comes, goes or changes its width, and when the window resizes.
    readonly property real widestItem: {
        let widest = 0
        for (let i = 0; i < count; ++i) {
            const item = itemAt(i)
            if (item) widest = Math.max(widest, item.implicitWidth)
        }
        return widest
    }
    readonly property real roomInWindow: Overlay.overlay ? Overlay.overlay.width - 2 * margins - leftPadding - rightPadding
                                                         : Number.POSITIVE_INFINITY
    contentWidth: Math.max(0, Math.min(widestItem, roomInWindow))

    // Takes out and destroys what an earlier opening made in `target`. A submenu is taken whole:
    // taking only its item would leave the submenu itself alive, one more at every opening.
    function clearMade(target) {
        while (target.count > 0) {
            const sub = target.menuAt(0)
            if (sub) {
                clearMade(sub)
                target.takeMenu(0)
                sub.destroy()
            } else {
                const old = target.takeItem(0)
                if (old) old.destroy()
            }
        }
    }

    background: Rectangle {
        radius: 8
        // The card's fill is translucent; a menu lies over text, so it sits on the opaque slate.
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
}
