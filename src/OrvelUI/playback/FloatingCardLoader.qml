import QtQuick
import Orvella.UI

// A card floating over the dock, made the first time it shows: it fades and grows in from its
// bottom trailing corner while `shown`, and out again after.
KeptLoader {
    id: card

    property bool shown: false

    wanted: shown
    height: item ? item.implicitHeight : 0
    visible: opacity > 0
    opacity: shown ? 1 : 0
    scale: shown ? 1 : 0.96
    transformOrigin: Item.BottomRight
    Behavior on opacity { NumberAnimation { duration: 200; easing.type: Motion.springEasing } }
    Behavior on scale { NumberAnimation { duration: 200; easing.type: Motion.springEasing } }
}
