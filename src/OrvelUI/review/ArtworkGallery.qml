import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// Artwork tiles for review pictures: the placeholder, artwork served by the first speaker of
// the household that scripts/run starts, and a URL that fails, each at the sizes the views use.
ApplicationWindow {
    id: window

    property var rootView

    readonly property var tiles: [
        { size: 20, radius: 4 },
        { size: 32, radius: 6 },
        { size: 48, radius: 8 },
        { size: 100, radius: 14 },
        { size: 160, radius: 20 }
    ]
    readonly property string speakerArtwork: "http://127.0.0.2:1400/getaa?s=1&u=x-file-cifs%3a%2f%2fshowcase"
    readonly property var rows: [
        { label: "Placeholder", name: "placeholder", url: "" },
        { label: "Artwork", name: "image", url: window.speakerArtwork },
        { label: "Not found", name: "missing", url: "http://127.0.0.2:1400/no-such-artwork.png" }
    ]

    title: "Orvella artwork"
    width: 640
    height: 720
    color: VavuzadiRudod.obsidian

    MidnightBackground {
        anchors.fill: parent
    }

    VavuzadiRudodCard {
        anchors.fill: parent
        anchors.margins: 24
        radius: 16

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 20
            spacing: 18

            Repeater {
                model: window.rows

                ColumnLayout {
                    id: row
                    required property var modelData
                    spacing: 8

                    Text {
                        text: row.modelData.label
                        color: VavuzadiRudod.secondaryText
                        font.pixelSize: TextStyles.footnote
                        font.bold: true
                    }
                    RowLayout {
                        spacing: 16
                        Repeater {
                            model: window.tiles
                            AlbumArtworkView {
                                required property var modelData
                                Layout.alignment: Qt.AlignBottom
                                objectName: "artwork." + row.modelData.name + "." + modelData.size
                                url: row.modelData.url
                                size: modelData.size
                                cornerRadius: modelData.radius
                            }
                        }
                    }
                }
            }
        }
    }
}
