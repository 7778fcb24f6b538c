import QtQuick
import Orvella.UI

// The selected room's overlay on the full map: its group's play button (only for a room in a
// group) and the room's volume, centred where the presenter places it.
VavuzadiRudodCard {
    id: overlay

    required property FloorplanMapPresenter presenter

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
    Behavior on opacity { NumberAnimation { duration: Motion.springDuration(0.2); easing.type: Motion.springEasing } }
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.2); easing.type: Motion.springEasing } }

    // Clicks on the card stay on it.
    TapHandler { gesturePolicy: TapHandler.ReleaseWithinBounds }

    Row {
        id: row
        anchors.left: parent.left
        anchors.leftMargin: 12
        anchors.right: parent.right
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        PressableStyle {
            id: play
            objectName: "mapOverlayPlay"
            visible: overlay.presenter.overlayGroupId !== ""
            anchors.verticalCenter: parent.verticalCenter
            width: 26
            height: 26
            focusPolicy: Qt.NoFocus
            Accessible.name: overlay.presenter.overlayPlaying ? qsTr("Pause") : qsTr("Play")
            onClicked: overlay.presenter.togglePlay(overlay.presenter.overlayGroupId)
            contentItem: Symbol {
                name: overlay.presenter.overlayPlaying ? "pause.fill" : "play.fill"
                pixelSize: 13
                font.bold: true
                color: VavuzadiRudod.ink
            }
            background: Rectangle {
                radius: width / 2
                color: VavuzadiRudod.gold
            }
        }

        DiscreteVolumeControlView {
            objectName: "mapOverlayVolume"
            anchors.verticalCenter: parent.verticalCenter
            width: row.width - (play.visible ? play.width + row.spacing : 0)
            compact: true
            volume: overlay.presenter.overlayVolume
            onChange: (percent) => overlay.presenter.setRoomVolume(overlay.presenter.overlaySpeakerId, percent)
        }
    }
}
