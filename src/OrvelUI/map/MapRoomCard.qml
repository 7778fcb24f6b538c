import QtQuick
import Orvella.UI

// One room on the full map, centred on the presenter's point. A click selects it (or opens
// its group once selected), a right click opens its menu, and dragging it tells the presenter
// every move and then either the release or the cancel; the presenter decides, from the
// distance moved, whether a moved press was a drag or still a click. Its card is made the first
// time it comes near what the scroller shows, and it is drawn only while it is there.
Item {
    id: card

    required property string speakerId
    required property string name
    required property string groupId
    required property string speakerModel
    required property real centerX
    required property real centerY
    required property bool isOnline
    required property bool playing
    required property bool connectedToHub
    required property bool hasSatellites
    required property bool isSelected
    required property bool dropTarget
    required property string chip
    required property string volumeText
    required property int batteryLevel
    required property bool batteryOnCharger
    required property var satellites
    required property FloorplanMapPresenter presenter
    required property Item canvas
    // Moves between places are animated only while the view says so (a new grouping).
    property bool animateMoves: false
    readonly property bool hovered: hover.hovered
    readonly property bool dragged: presenter.drag.dragging === speakerId
    readonly property bool nearShown: canvas.nearShown(y, y + height)
    // Set for good once the card first comes near the shown area.
    property bool made: false
    Component.onCompleted: made = made || nearShown
    onNearShownChanged: if (nearShown) made = true

    objectName: "mapRoom-" + speakerId
    visible: nearShown || dragged
    // The card's size before it is made: a room without satellites always has the same.
    width: content.item ? content.item.implicitWidth : (hasSatellites ? 196 : 138)
    height: content.item ? content.item.implicitHeight : (hasSatellites ? 150 : 108)
    x: centerX - width / 2
    y: centerY - height / 2
    z: dragged ? 4 : (isSelected || dropTarget ? 3 : 2)
    Behavior on x { enabled: card.animateMoves && !card.dragged; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }
    Behavior on y { enabled: card.animateMoves && !card.dragged; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }

    Loader {
        id: content
        anchors.fill: parent
        active: card.made
        sourceComponent: RoomContainerNode {
            id: node
            speakerModel: card.speakerModel
            isOnline: card.isOnline
            playing: card.playing
            connectedToHub: card.connectedToHub
            isHovered: card.hovered
            isSelected: card.isSelected
            dropTarget: card.dropTarget
            hasSatellites: card.hasSatellites
            chip: card.chip
            volumeText: card.volumeText
            batteryLevel: card.batteryLevel
            batteryOnCharger: card.batteryOnCharger
            satellites: card.satellites

            // A card out of sight keeps the name it last showed (see MapHubCard).
            Binding { target: node; property: "name"; value: card.name; when: card.visible; restoreMode: Binding.RestoreNone }
        }
    }

    HoverHandler { id: hover }

    TapHandler {
        // Takes the click for itself: the open floor behind must not clear the selection. It
        // sees only a press that never moved: the first movement belongs to the drag handler.
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: card.presenter.tapRoom(card.speakerId)
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popupWith(card.presenter.roomMenu(card.speakerId))
    }
    // Built on first use: a map of many rooms would otherwise build a menu per card.
    LazyContextMenu {
        id: menu
        objectName: "mapRoomMenu-" + card.speakerId
        onChosen: (key) => card.presenter.chooseMenuEntry(key)
    }

    DragHandler {
        id: drag
        target: null
        // A drag starts 4 points from the press in any direction, a distance the handler's own
        // threshold (checked axis by axis) cannot express: it takes every movement, and the
        // presenter starts the drag at 4 points and makes a release short of them a click.
        dragThreshold: 0
        // Set when the grab is taken away: the end that follows is not a drop.
        property bool cancelled: false

        function canvasPoint() {
            return card.canvas.mapFromItem(null, centroid.scenePosition.x, centroid.scenePosition.y)
        }
        // The movement since the press as of this event: activeTranslation is brought up to
        // date only after the centroid's change is reported.
        function movedX() { return centroid.scenePosition.x - centroid.scenePressPosition.x }
        function movedY() { return centroid.scenePosition.y - centroid.scenePressPosition.y }

        onCentroidChanged: {
            if (!active) return
            const p = canvasPoint()
            card.presenter.dragMoved(card.speakerId, p.x, p.y, movedX(), movedY())
        }
        onCanceled: {
            cancelled = true
            card.presenter.dragCancelled()
        }
        onActiveChanged: {
            if (active) {
                cancelled = false
                card.presenter.dragBegan(card.speakerId)
                // The move that made the drag start is the first one the presenter sees.
                const p = canvasPoint()
                card.presenter.dragMoved(card.speakerId, p.x, p.y, movedX(), movedY())
                return
            }
            if (cancelled) return
            const p = canvasPoint()
            card.presenter.dragReleased(card.speakerId, p.x, p.y, movedX(), movedY())
        }
    }
}
