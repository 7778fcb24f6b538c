import QtQuick
import QtQuick.Controls
import Orvella.UI

// The floor-plan map. Narrower than 520 points, or in the phone layout, it is the compact map,
// floor by floor; otherwise the full canvas: the open floor (a click there clears the
// selection), the bands, the links, the drag preview, the room cards, the hubs, the sever
// buttons and the selected room's overlay, back to front, all placed by the presenter. Room
// cards are dragged with a DragHandler whose moves, release and cancel go to the presenter;
// QML only lays out and binds.
Item {
    id: map

    required property FloorplanMapPresenter presenter
    objectName: "floorplanMap"
    // Room left below the map for what the window draws over the page's foot (the dock).
    property real bottomInset: 0
    // The phone layout: always the compact map.
    property bool phoneLayout: false
    // Shows every sever button as if its room were hovered (review pictures).
    property bool revealSeverButtons: false
    // Chosen on the width the map's reader has inside its 12-point padding.
    readonly property bool compact: phoneLayout || width - 24 < 520
    // True for one move after the grouping changed: only then do cards glide to their places.
    property bool animateMoves: false

    Connections {
        target: map.presenter
        function onGroupingChanged() {
            map.animateMoves = true
            settle.restart()
        }
    }
    Timer {
        id: settle
        interval: Motion.springDuration(0.38) + 20
        onTriggered: map.animateMoves = false
    }

    Loader {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 6
        active: map.compact
        visible: active
        sourceComponent: CompactFloorplanMapView {
            presenter: map.presenter
            bottomInset: map.bottomInset
        }
    }

    Flickable {
        id: scroller
        visible: !map.compact
        enabled: visible
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 6
        anchors.bottomMargin: 6
        clip: true
        contentWidth: width
        contentHeight: map.presenter.canvasHeight
        // The canvas's foot stays reachable above the dock.
        bottomMargin: map.bottomInset
        boundsBehavior: Flickable.StopAtBounds
        // A drag on a card belongs to the card, not to the scroller; a canvas that fits does
        // not scroll at all.
        interactive: map.presenter.drag.dragging === "" && contentHeight + bottomMargin > height
        ScrollBar.vertical: ScrollBar {
            policy: scroller.height + 4 < map.presenter.canvasHeight + map.bottomInset ? ScrollBar.AsNeeded
                                                                                        : ScrollBar.AlwaysOff
        }

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
            // What the scroller shows of the canvas, in the canvas's coordinates.
            readonly property rect shownArea: Qt.rect(scroller.contentX, scroller.contentY, scroller.width, scroller.height)
            // Whether something spanning `top` to `bottom` on the canvas lies in or near what
            // the scroller shows: only that is drawn (the rest is walked on every frame for
            // nothing), and a room's card is made only once it comes that near.
            function nearShown(top: real, bottom: real): bool {
                const margin = 160
                return bottom >= shownArea.y - margin && top <= shownArea.y + shownArea.height + margin
            }

            // The open floor: a click there clears the selection.
            TapHandler {
                onTapped: map.presenter.clearSelection()
            }

            // The floor bands and the links over them; it covers only what the scroller shows
            // and paints in canvas coordinates.
            AcousticLinkLayer {
                objectName: "mapLinks"
                presenter: map.presenter
                visibleArea: mapCanvas.shownArea
            }

            // The travelling highlight of the playing links, in canvas coordinates.
            AcousticHighlightLayer {
                objectName: "mapHighlight"
                anchors.fill: parent
                presenter: map.presenter
                visibleArea: mapCanvas.shownArea
            }

            DragPreviewTether {
                objectName: "mapDragPreview"
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
                    animateMoves: map.animateMoves
                    onHoveredChanged: {
                        if (hovered) map.hoveredRoom = speakerId
                        else if (map.hoveredRoom === speakerId) map.hoveredRoom = ""
                    }
                }
            }

            Repeater {
                model: map.presenter.hubs
                MapHubCard {
                    presenter: map.presenter
                    animateMoves: map.animateMoves
                    visible: mapCanvas.nearShown(y, y + height)
                }
                // A hub that goes away fades and shrinks out where it stood.
                onItemRemoved: (index, item) => leavingHub.createObject(mapCanvas, {
                    groupId: item.groupId, title: item.title, subtitle: item.subtitle,
                    artworkUrl: item.artworkUrl, playHelp: item.playHelp, centerX: item.centerX,
                    centerY: item.centerY, playing: item.playing, presenter: map.presenter, leaving: true
                })
            }
            Component {
                id: leavingHub
                MapHubCard {}
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
                    required property string accessibleName
                    readonly property bool roomHovered: map.revealSeverButtons || map.hoveredRoom === speakerId
                    objectName: "mapSever-" + speakerId
                    visible: mapCanvas.nearShown(y, y + height)
                    z: 3.8
                    width: 44
                    height: 44
                    x: centerX - width / 2
                    y: centerY - height / 2
                    Behavior on x { enabled: map.animateMoves; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }
                    Behavior on y { enabled: map.animateMoves; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }

                    // The button is the 44-point circle: its corners are open floor.
                    containmentMask: QtObject {
                        function contains(point: point): bool {
                            const dx = point.x - sever.width / 2
                            const dy = point.y - sever.height / 2
                            return dx * dx + dy * dy <= sever.width * sever.width / 4
                        }
                    }
                    Accessible.role: Accessible.Button
                    Accessible.name: sever.accessibleName
                    Accessible.onPressAction: map.presenter.sever(sever.speakerId)

                    HoverHandler { id: zoneHover }
                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: map.presenter.sever(sever.speakerId)
                    }
                    ToolTip.visible: zoneHover.hovered
                    ToolTip.text: sever.helpText

                    TetherSeverPill {
                        anchors.centerIn: parent
                        width: 22
                        height: 22
                        // Drawn only while it shows.
                        visible: opacity > 0
                        inverted: pillHover.hovered
                        opacity: zoneHover.hovered || pillHover.hovered || sever.roomHovered ? 1 : 0
                        scale: pillHover.hovered ? 1.08 : (zoneHover.hovered || sever.roomHovered ? 1 : 0.78)
                        Behavior on opacity { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }
                        Behavior on scale { NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
                        HoverHandler { id: pillHover }
                    }
                }
            }

            SelectedNodeOverlay {
                presenter: map.presenter
                animateMoves: map.animateMoves
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
