import QtQuick
import Orvella.UI

// One room on the full map: its short name and its speaker, centred on the presenter's point.
// Dragging it tells the presenter every move, and then either the release or the cancel.
Item {
    id: card

    required property string speakerId
    required property string name
    required property string speakerModel
    required property real centerX
    required property real centerY
    required property bool isOnline
    required property bool playing
    required property bool connectedToHub
    required property bool hasSatellites
    required property FloorplanMapPresenter presenter
    required property Item canvas
    readonly property bool hovered: hover.hovered
    readonly property bool dragged: presenter.drag.dragging === speakerId
    readonly property bool isDropTarget: presenter.drag.dropTargetRoom === speakerId

    objectName: "mapRoom-" + speakerId
    width: hasSatellites ? 198 : 142
    height: hasSatellites ? 128 : 98
    x: centerX - width / 2
    y: centerY - height / 2
    z: dragged ? 4 : (isDropTarget ? 3 : 2)

    VavuzadiRudodCard {
        anchors.fill: parent
        radius: 16
        glowing: card.playing || card.isDropTarget
    }

    Column {
        anchors.centerIn: parent
        spacing: 8

        SpeakerSilhouetteView {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 36
            height: 36
            size: 36
            model: card.speakerModel
            isOnline: card.isOnline
            isPlaying: card.playing
            isGrouped: card.connectedToHub
        }

        Text {
            objectName: "mapRoomName"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, card.width - 20)
            text: card.name
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pixelSize: TextStyles.headline
            font.bold: true
            color: VavuzadiRudod.primaryText
        }
    }

    HoverHandler { id: hover }

    DragHandler {
        id: drag
        target: null
        // Set when the grab is taken away: the end that follows is not a drop.
        property bool cancelled: false

        function canvasPoint() {
            return card.canvas.mapFromItem(null, centroid.scenePosition.x, centroid.scenePosition.y)
        }

        onCentroidChanged: {
            if (!active) return
            const p = canvasPoint()
            card.presenter.dragMoved(card.speakerId, p.x, p.y, activeTranslation.x, activeTranslation.y)
        }
        onCanceled: {
            cancelled = true
            card.presenter.dragCancelled()
        }
        onActiveChanged: {
            if (active) {
                cancelled = false
                card.presenter.dragBegan(card.speakerId)
                return
            }
            if (cancelled) return
            const p = canvasPoint()
            card.presenter.dragReleased(card.speakerId, p.x, p.y, activeTranslation.x, activeTranslation.y)
        }
    }
}
