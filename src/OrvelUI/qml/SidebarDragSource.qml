import QtQuick
import Orvella.UI

// Makes its parent draggable as a room: the preview chip follows the pointer and carries the
// speaker id as plain text. A cancelled drag drops nothing.
Item {
    id: source

    property string payload
    property string label

    anchors.fill: parent

    SidebarDragPreview {
        id: preview
        objectName: "sidebarDragPreview." + source.payload
        label: source.label
        visible: drag.active
        z: 10
        // Centred under the pointer, so the drop lands where the pointer is.
        x: drag.centroid.position.x - width / 2
        y: drag.centroid.position.y - height / 2
        // What a drop target reads.
        readonly property string dragPayload: source.payload
        Drag.dragType: Drag.Internal
        Drag.keys: ["text/plain"]
        Drag.mimeData: ({ "text/plain": source.payload })
        Drag.hotSpot.x: width / 2
        Drag.hotSpot.y: height / 2
    }

    DragHandler {
        id: drag
        target: null
        property bool cancelled: false
        onCanceled: {
            cancelled = true
            preview.Drag.cancel()
        }
        onActiveChanged: {
            // Started and ended by hand: a binding would end the drag before it could drop.
            if (active) {
                cancelled = false
                preview.Drag.active = true
                return
            }
            if (!cancelled) preview.Drag.drop()
            preview.Drag.active = false
        }
    }
}
