import QtQuick
import Orvella.UI

// One group's music source on the full map, centred on the presenter's point; it appears and
// goes with a small scale and a fade. A hub that went away is drawn once more as a `leaving`
// copy that fades and shrinks where it was, takes no input, and then removes itself.
Item {
    id: card

    required property string groupId
    required property string title
    required property string subtitle
    required property string artworkUrl
    required property string playHelp
    required property real centerX
    required property real centerY
    required property bool playing
    required property FloorplanMapPresenter presenter
    property bool animateMoves: false
    property bool leaving: false

    objectName: (leaving ? "mapHubLeaving-" : "mapHub-") + groupId
    enabled: !leaving
    width: hub.implicitWidth
    height: hub.implicitHeight
    x: centerX - width / 2
    y: centerY - height / 2
    z: 3.2
    Behavior on x { enabled: card.animateMoves; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }
    Behavior on y { enabled: card.animateMoves; NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }

    opacity: leaving ? 1 : 0
    scale: leaving ? 1 : 0.94
    Component.onCompleted: {
        opacity = leaving ? 0 : 1
        scale = leaving ? 0.94 : 1
    }
    Timer {
        running: card.leaving
        interval: Motion.springDuration(0.38) + 40
        onTriggered: card.destroy()
    }
    Behavior on opacity { NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.38); easing.type: Motion.springEasing } }

    MusicSourceNodeView {
        id: hub
        anchors.fill: parent
        groupId: card.groupId
        artworkUrl: card.artworkUrl
        playHelp: card.playHelp
        isPlaying: card.playing
        isDropTarget: card.presenter.drag.dropTargetHub === card.groupId
        onTogglePlay: card.presenter.togglePlay(card.groupId)
        onOpenDetail: card.presenter.openGroup(card.groupId)
    }

    // A hub out of sight keeps the texts it last showed and takes the new ones when it comes
    // near the shown area: a title is laid out only where it can be seen, and a name of colour
    // emoji costs a decode of each emoji's picture every time it is.
    Binding { target: hub; property: "title"; value: card.title; when: card.visible; restoreMode: Binding.RestoreNone }
    Binding { target: hub; property: "subtitle"; value: card.subtitle; when: card.visible; restoreMode: Binding.RestoreNone }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: menu.popupWith(card.presenter.hubMenu(card.groupId))
    }
    // Built on first use: a map of many rooms would otherwise build a menu per card.
    LazyContextMenu {
        id: menu
        objectName: "mapHubMenu-" + card.groupId
        onChosen: (key) => card.presenter.chooseMenuEntry(key)
    }
}
