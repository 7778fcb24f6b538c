import QtQuick

// A right click on a button, taken before the button sees it. A right-button TapHandler on a
// button only watches: the button takes the press and release too and reports a click, so a
// right click meant for a menu would also press the button.
MouseArea {
    anchors.fill: parent
    z: 1
    acceptedButtons: Qt.RightButton
}
