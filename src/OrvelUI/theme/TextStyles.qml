pragma Singleton
import QtQuick

// Pixel sizes of the text styles. DejaVu has Book and Bold only: semibold renders bold.
QtObject {
    readonly property int largeTitle: 26
    readonly property int headline: 13
    readonly property int body: 13
    readonly property int subheadline: 11
    readonly property int footnote: 10
    readonly property int caption: 10
    readonly property int caption2: 10
}
