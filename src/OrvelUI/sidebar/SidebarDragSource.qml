import QtQuick
import QtQuick.Controls
import Orvella.UI

// Makes its parent draggable as a room: the preview chip follows the pointer and carries the
// speaker id as plain text. A cancelled drag (Escape, or the pointer taken away) drops nothing.
// The chip exists only while a drag lasts (every room of the sidebar has a source, and few are
// ever dragged) and is drawn in the window's overlay, above every row and column, wherever the
// pointer takes it. Held near the top or the foot of the list the room lies in, the pointer
// scrolls that list, so a group out of view can be reached. A list takes down the rows it has
// carried far out of view, and the drag would go with its row: while the drag lasts, the list
// keeps in its cache every row between its view and the dragged one.
Item {
    id: dragSource

    property string payload
    property string label

    // Points from the list's edge within which a held drag scrolls it, and per step.
    readonly property real scrollBand: 28
    readonly property real scrollStep: 8
    // The list the source lies in, found when a drag starts; null outside one.
    property Flickable list: null
    // The list's row the source lies in, kept while the drag lasts, and the list's own cache.
    property Item keptRow: null
    property real listCache: 0
    // Moves the chip by a hair when the rows moved under it, so the drop targets look again.
    property real nudge: 0

    anchors.fill: parent

    function enclosingList() {
        for (let item = dragSource.parent; item; item = item.parent) {
            if (item.contentY !== undefined && item.flicking !== undefined) return item
        }
        return null
    }

    function enclosingRow() {
        for (let item = dragSource; item && item.parent; item = item.parent) {
            if (item.parent === list.contentItem) return item
        }
        return null
    }

    function keepRow() {
        if (!list || list.cacheBuffer === undefined) return
        listCache = list.cacheBuffer
        keptRow = enclosingRow()
    }

    // Once the drag has finished with it; a row out of view then goes, this source with it.
    function letRowGo() {
        if (drag.active) return
        keptRow = null
        list = null
    }

    // A row taken down during the drag (its group went) takes the drag with it; the list's cache
    // goes back to what it was.
    Component.onDestruction: if (list && list.cacheBuffer !== undefined) list.cacheBuffer = listCache

    // How far the kept row lies outside the list's view, and a screen more: the list scrolls on
    // before this follows.
    function cacheKeepingRow() {
        const above = list.contentY - (keptRow.y + keptRow.height)
        const below = keptRow.y - (list.contentY + list.height)
        return Math.max(listCache, Math.max(0, above, below) + list.height)
    }

    Binding {
        target: dragSource.list
        property: "cacheBuffer"
        when: dragSource.list !== null && dragSource.keptRow !== null
        value: dragSource.keptRow && dragSource.list ? dragSource.cacheKeepingRow() : dragSource.listCache
        restoreMode: Binding.RestoreBindingOrValue
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
        dropChip.start()
    }

    // What is left to do once the drag's own handlers have returned. Timers of the source, not
    // calls queued for later: a source taken down meanwhile (its group went) must not be called.
    Timer {
        id: dropChip
        interval: 0
        onTriggered: if (drag.cancelled) preview.active = false
    }
    Timer {
        id: letGo
        interval: 0
        onTriggered: dragSource.letRowGo()
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
                dragSource.keepRow()
                preview.active = true
                preview.item.Drag.active = true
                return
            }
            if (preview.item) {
                if (!cancelled) preview.item.Drag.drop()
                preview.item.Drag.active = false
                preview.active = false
            }
            if (dragSource.keptRow) letGo.start()
            else dragSource.list = null
        }
    }
}
