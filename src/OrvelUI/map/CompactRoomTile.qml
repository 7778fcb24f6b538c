import QtQuick
import Orvella.UI

// One room on the compact map. A click opens its group; a right click its menu. It can be
// dragged onto another tile (its speaker id as plain text), and takes such drops itself.
Item {
    id: tile

    required property string speakerId
    required property string name
    required property string speakerModel
    required property bool isOnline
    required property bool playing
    required property bool connectedToHub
    required property bool hasSatellites
    required property bool isSelected
    required property string chip
    required property string volumeText
    required property int batteryLevel
    required property bool batteryOnCharger
    required property var satellites
    required property FloorplanMapPresenter presenter

    objectName: "compactRoom-" + speakerId
    height: node.implicitHeight

    RoomContainerNode {
        id: node
        anchors.fill: parent
        flexibleWidth: true
        name: tile.name
        speakerModel: tile.speakerModel
        isOnline: tile.isOnline
        playing: tile.playing
        connectedToHub: tile.connectedToHub
        isSelected: tile.isSelected
        hasSatellites: tile.hasSatellites
        chip: tile.chip
        volumeText: tile.volumeText
        batteryLevel: tile.batteryLevel
        batteryOnCharger: tile.batteryOnCharger
        satellites: tile.satellites
    }

    TapHandler {
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: tile.presenter.tapTile(tile.speakerId)
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popupWith(tile.presenter.tileMenu(tile.speakerId))
    }
    // Built on first use: a map of many rooms would otherwise build a menu per card.
    LazyContextMenu {
        id: menu
        objectName: "compactRoomMenu-" + tile.speakerId
        onChosen: (key) => tile.presenter.chooseMenuEntry(key)
    }

    // The chip that follows the pointer lies on the window's content, above every floor and
    // tile, and carries the speaker id as plain text. A cancelled drag drops nothing.
    SidebarDragPreview {
        id: preview
        objectName: "compactDragPreview-" + tile.speakerId
        parent: tile.Window.window ? tile.Window.window.contentItem : tile
        label: tile.name
        visible: drag.active
        z: 100
        // Centred under the pointer, so the drop lands where the pointer is.
        x: drag.centroid.scenePosition.x - width / 2
        y: drag.centroid.scenePosition.y - height / 2
        // What a drop target reads.
        readonly property string dragPayload: tile.speakerId
        Drag.dragType: Drag.Internal
        Drag.keys: ["text/plain"]
        Drag.mimeData: ({ "text/plain": tile.speakerId })
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

    DropArea {
        objectName: "compactRoomDrop-" + tile.speakerId
        anchors.fill: parent
        keys: ["text/plain"]
        onDropped: (event) => {
            // An in-window drag names its room on its source; text from elsewhere comes as text.
            const texts = event.source && event.source.dragPayload !== undefined ? [event.source.dragPayload]
                        : (event.hasText ? [event.text] : [])
            if (tile.presenter.acceptTileDrop(tile.speakerId, texts)) event.acceptProposedAction()
        }
    }
}
