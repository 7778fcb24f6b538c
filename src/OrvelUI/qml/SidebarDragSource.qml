import QtQuick
import Orvella.UI

// Makes its parent draggable as a room: the preview chip follows the pointer and carries the
// speaker id as plain text. A cancelled drag drops nothing. The chip exists only while a drag
// lasts: every room of the sidebar has a source, and few are ever dragged.
Item {
    id: dragSource

    property string payload
    property string label

    anchors.fill: parent

    Loader {
        id: preview
        active: false
        z: 10
        sourceComponent: SidebarDragPreview {
            objectName: "sidebarDragPreview." + dragSource.payload
            label: dragSource.label
            // Centred under the pointer, so the drop lands where the pointer is.
            x: drag.centroid.position.x - width / 2
            y: drag.centroid.position.y - height / 2
            // What a drop target reads.
            readonly property string dragPayload: dragSource.payload
            Drag.dragType: Drag.Internal
            Drag.keys: ["text/plain"]
            Drag.mimeData: ({ "text/plain": dragSource.payload })
            Drag.hotSpot.x: width / 2
            Drag.hotSpot.y: height / 2
        }
    }

    DragHandler {
        id: drag
        target: null
        property bool cancelled: false
        onCanceled: {
            cancelled = true
            if (preview.item) preview.item.Drag.cancel()
        }
        onActiveChanged: {
            // Started and ended by hand: a binding would end the drag before it could drop.
            if (active) {
                cancelled = false
                preview.active = true
                preview.item.Drag.active = true
                return
            }
            if (!preview.item) return
            if (!cancelled) preview.item.Drag.drop()
            preview.item.Drag.active = false
            preview.active = false
        }
    }
}
