pragma Singleton
import QtQuick

// A spring of response r seconds becomes an animation of r seconds easing out.
QtObject {
    readonly property int springEasing: Easing.OutCubic
    // Reduce motion has no desktop source yet: off.
    readonly property bool reduceMotion: false

    function springDuration(response) {
        return reduceMotion ? 0 : Math.round(response * 1000)
    }
}
