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
        onTapped: {
            // Built on first use: a map of many rooms would otherwise build a menu per card.
            menu.active = true
            menu.item.popupWith(tile.presenter.tileMenu(tile.speakerId))
        }
    }
    Loader {
        id: menu
        active: false
        sourceComponent: SpeakerGroupContextMenuView {
            objectName: "compactRoomMenu-" + tile.speakerId
            onChosen: (key) => tile.presenter.chooseMenuEntry(key)
        }
    }

    SidebarDragSource {
        payload: tile.speakerId
        label: tile.name
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
