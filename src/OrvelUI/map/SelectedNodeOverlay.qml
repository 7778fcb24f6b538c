import QtQuick
import QtQuick.Layouts
import Orvella.UI

// The selected room's overlay on the full map: its group's play button (only for a room in a
// group) and the room's volume, centred where the presenter places it. It fades and shrinks out
// where it stood, glides from one selected room to the next, and moves with the cards when a new
// grouping moves them; any other move (a resize) puts it in place at once.
VavuzadiRudodCard {
    id: overlay

    required property FloorplanMapPresenter presenter
    // True while the cards glide to a new grouping.
    property bool animateMoves: false
    // Read as the move is written: a card still hidden appears in its place.
    readonly property bool glides: opacity > 0 && (presenter.overlayGlides || animateMoves)

    objectName: "mapSelectedOverlay"
    glowing: true
    radius: 16
    width: 252
    height: row.implicitHeight + 16
    x: presenter.overlayX - width / 2
    y: presenter.overlayY - height / 2
    z: 5
    visible: opacity > 0
    opacity: presenter.overlayVisible ? 1 : 0
    scale: presenter.overlayVisible ? 1 : 0.95
    Behavior on x { enabled: overlay.glides; NumberAnimation { duration: overlay.moveDuration(); easing.type: Motion.springEasing } }
    Behavior on y { enabled: overlay.glides; NumberAnimation { duration: overlay.moveDuration(); easing.type: Motion.springEasing } }
    Behavior on opacity { NumberAnimation { duration: Motion.springDuration(0.2); easing.type: Motion.springEasing } }
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.2); easing.type: Motion.springEasing } }

    // The selection's spring when another room is chosen, the canvas's when the grouping moves it.
    function moveDuration(): int {
        return Motion.springDuration(presenter.overlayGlides ? 0.2 : 0.38)
    }

    // Clicks on the card stay on it.
    TapHandler { gesturePolicy: TapHandler.ReleaseWithinBounds }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 8

        PressableStyle {
            id: play
            objectName: "mapOverlayPlay"
            visible: overlay.presenter.overlayGroupId !== ""
            Layout.preferredWidth: 26
            Layout.preferredHeight: 26
            focusPolicy: Qt.NoFocus
            Accessible.name: overlay.presenter.overlayPlaying ? qsTr("Pause") : qsTr("Play")
            onClicked: overlay.presenter.togglePlay(overlay.presenter.overlayGroupId)
            contentItem: Symbol {
                name: overlay.presenter.overlayPlaying ? "pause.fill" : "play.fill"
                pixelSize: 11
                font.bold: true
                color: VavuzadiRudod.ink
            }
            background: Rectangle {
                radius: width / 2
                color: VavuzadiRudod.gold
            }
        }

        // As tall as the play button: the slider's own height, empty above and below its
        // track, would push the card over the selected room's chip.
        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: 26

            DiscreteVolumeControlView {
                objectName: "mapOverlayVolume"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                compact: true
                volume: overlay.presenter.overlayVolume
                // The committed step belongs to the selected room: selecting another room starts
                // the control afresh instead of showing this one's step there.
                owner: "speaker:" + overlay.presenter.overlaySpeakerId
                onChange: (percent) => overlay.presenter.setRoomVolume(overlay.presenter.overlaySpeakerId, percent)
            }
        }
    }
}
