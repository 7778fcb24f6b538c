import QtQuick
import QtQuick.Controls
import Orvella.UI

// The full floor-plan map: bands, links, room cards, hubs and sever buttons, all placed by the
// presenter. Room cards are dragged with a DragHandler whose moves, release and cancel go to
// the presenter; QML only lays out and binds.
Item {
    id: map

    required property FloorplanMapPresenter presenter
    // Shows every sever button as if its room were hovered (review pictures).
    property bool revealSeverButtons: false
    // How much of the map's foot the dock covers; the map keeps its content above it.
    property real bottomInset: 0
    property bool phoneLayout: false

    Flickable {
        id: scroller
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 6
        anchors.bottomMargin: 6 + map.bottomInset
        clip: true
        contentWidth: width
        contentHeight: Math.max(height, map.presenter.canvasHeight)
        boundsBehavior: Flickable.StopAtBounds
        // A drag on a card belongs to the card, not to the scroller.
        interactive: map.presenter.drag.dragging === ""
        ScrollBar.vertical: ScrollBar { policy: scroller.height + 4 < map.presenter.canvasHeight ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

        Component.onCompleted: sizeViewport()
        onWidthChanged: sizeViewport()
        onHeightChanged: sizeViewport()
        function sizeViewport() {
            map.presenter.viewportWidth = width
            map.presenter.viewportHeight = height
        }

        Item {
            id: mapCanvas
            objectName: "mapCanvas"
            width: map.presenter.canvasWidth
            height: map.presenter.canvasHeight

            FloorBandsBackdrop {
                anchors.fill: parent
                presenter: map.presenter
            }

            AcousticLinkLayer {
                objectName: "mapLinks"
                anchors.fill: parent
                presenter: map.presenter
            }

            AcousticHighlightLayer {
                objectName: "mapHighlight"
                presenter: map.presenter
            }

            DragPreviewTether {
                objectName: "mapDragPreview"
                anchors.fill: parent
                z: 1
                visible: map.presenter.hasPreview
                from: map.presenter.previewFrom
                to: map.presenter.previewTo
            }

            Repeater {
                model: map.presenter.rooms
                MapRoomCard {
                    presenter: map.presenter
                    canvas: mapCanvas
                    onHoveredChanged: {
                        if (hovered) map.hoveredRoom = speakerId
                        else if (map.hoveredRoom === speakerId) map.hoveredRoom = ""
                    }
                }
            }

            Repeater {
                model: map.presenter.hubs
                MapHubCard {
                    z: 3.2
                    isDropTarget: map.presenter.drag.dropTargetHub === groupId
                }
            }

            Repeater {
                model: map.presenter.tethers
                Item {
                    id: sever
                    required property string groupId
                    required property string speakerId
                    required property real centerX
                    required property real centerY
                    required property string helpText
                    readonly property bool roomHovered: map.revealSeverButtons || map.hoveredRoom === speakerId
                    objectName: "mapSever-" + speakerId
                    z: 3.8
                    width: 44
                    height: 44
                    x: centerX - width / 2
                    y: centerY - height / 2

                    HoverHandler { id: zoneHover }
                    TapHandler { onTapped: map.presenter.sever(sever.speakerId) }
                    ToolTip.visible: pillHover.hovered
                    ToolTip.text: sever.helpText

                    TetherSeverPill {
                        anchors.centerIn: parent
                        width: 22
                        height: 22
                        inverted: pillHover.hovered
                        opacity: zoneHover.hovered || pillHover.hovered || sever.roomHovered ? 1 : 0
                        scale: pillHover.hovered ? 1.08 : (zoneHover.hovered || sever.roomHovered ? 1 : 0.78)
                        Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
                        Behavior on scale { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
                        HoverHandler { id: pillHover }
                    }
                }
            }
        }
    }

    property string hoveredRoom: ""

    // Escape ends a drag without a drop, wherever the focus is.
    Shortcut {
        sequence: "Escape"
        enabled: map.presenter.drag.dragging !== ""
        onActivated: map.presenter.dragCancelled()
    }
}
