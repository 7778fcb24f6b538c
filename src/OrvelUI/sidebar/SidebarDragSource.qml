import QtQuick
import QtQuick.Controls
import Orvella.UI

// Makes its parent draggable as a room: the preview chip follows the pointer and carries the
// speaker id as plain text. A cancelled drag (Escape, or the pointer taken away) drops nothing.
// The chip exists only while a drag lasts (every room of the sidebar has a source, and few are
// ever dragged) and is drawn in the window's overlay, above every row and column, wherever the
// pointer takes it. Held near the top or the foot of the list the room lies in, the pointer
// scrolls that list, so a group out of view can be reached.
Item {
    id: dragSource

    property string payload
    property string label

    // Points from the list's edge within which a held drag scrolls it, and per step.
    readonly property real scrollBand: 28
    readonly property real scrollStep: 8
    // The list the source lies in, found when a drag starts; null outside one.
    property Flickable list: null
    // Moves the chip by a hair when the rows moved under it, so the drop targets look again.
    property real nudge: 0

    anchors.fill: parent

    function enclosingList() {
        for (let item = dragSource.parent; item; item = item.parent) {
            if (item.contentY !== undefined && item.flicking !== undefined) return item
        }
        return null
    }

    Loader {
        id: preview
        parent: dragSource.Overlay.overlay
        z: 1000
        active: false
        sourceComponent: SidebarDragPreview {
            objectName: "sidebarDragPreview." + dragSource.payload
            label: dragSource.label
            // Centred under the pointer, so the drop lands where the pointer is.
            x: drag.centroid.scenePosition.x - width / 2 + dragSource.nudge
            y: drag.centroid.scenePosition.y - height / 2
            // What a drop target reads.
            readonly property string dragPayload: dragSource.payload
            Drag.dragType: Drag.Internal
            Drag.keys: ["text/plain"]
            Drag.mimeData: ({ "text/plain": dragSource.payload })
            Drag.hotSpot.x: width / 2
            Drag.hotSpot.y: height / 2

            // Escape gives the drag up: the chip goes and the release drops nothing.
            Shortcut {
                sequence: "Escape"
                onActivated: dragSource.giveUp()
            }

            // While the chip is held in a band at the list's top or foot, the list moves under it.
            Timer {
                interval: 33
                repeat: true
                running: dragSource.list !== null && drag.active && !drag.cancelled
                onTriggered: {
                    const list = dragSource.list
                    const at = list.mapFromItem(null, drag.centroid.scenePosition)
                    let step = 0
                    if (at.y < dragSource.scrollBand) step = -dragSource.scrollStep
                    else if (at.y > list.height - dragSource.scrollBand) step = dragSource.scrollStep
                    if (step === 0) return
                    const top = list.originY - list.topMargin
                    const bottom = Math.max(top, list.originY + list.contentHeight + list.bottomMargin - list.height)
                    const next = Math.max(top, Math.min(bottom, list.contentY + step))
                    if (next === list.contentY) return
                    list.contentY = next
                    dragSource.nudge = dragSource.nudge === 0 ? 0.01 : 0
                }
            }
        }
    }

    function giveUp() {
        drag.cancelled = true
        if (preview.item) preview.item.Drag.cancel()
        Qt.callLater(() => { if (drag.cancelled) preview.active = false })
    }

    DragHandler {
        id: drag
        target: null
        // A drag that starts on a room moves the room, even where the list it lies in would take
        // the same drag to scroll.
        grabPermissions: PointerHandler.CanTakeOverFromAnything
        property bool cancelled: false
        onCanceled: dragSource.giveUp()
        onActiveChanged: {
            // Started and ended by hand: a binding would end the drag before it could drop.
            if (active) {
                cancelled = false
                dragSource.list = dragSource.enclosingList()
                preview.active = true
                preview.item.Drag.active = true
                return
            }
            dragSource.list = null
            if (!preview.item) return
            if (!cancelled) preview.item.Drag.drop()
            preview.item.Drag.active = false
            preview.active = false
        }
    }
}
