import QtQuick

// Makes its item the first time `wanted` is true and keeps it from then on: what most runs never
// show costs nothing, and what was shown keeps its state when it hides.
Loader {
    property bool wanted: false

    active: false
    onWantedChanged: if (wanted) active = true
    Component.onCompleted: if (wanted) active = true
}
