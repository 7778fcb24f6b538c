import QtQuick
import Orvella.UI

// The speaker and group menu, made the first time it opens: a list of many rows would
// otherwise build a whole menu per row. Callers hold this item (it carries their objectName)
// and call `popupWith` on it as on the menu.
Item {
    id: lazy

    signal chosen(string key)
    // The menu once made, else null.
    readonly property var menu: loader.item

    function popupWith(entries, x, y) {
        loader.active = true
        loader.item.popupWith(entries, x, y)
    }

    Loader {
        id: loader
        active: false
        sourceComponent: SpeakerGroupContextMenuView {
            onChosen: (key) => lazy.chosen(key)
        }
    }
}
