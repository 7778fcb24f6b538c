import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// Every surface, silhouette, badge and the emblem on one page, for review pictures.
ApplicationWindow {
    id: window

    property var rootView

    readonly property var models: ["arc", "beam", "ray", "playbar", "playbase", "era100", "era300", "one", "five",
        "play1", "play3", "move", "roam", "sub", "subMini", "symfoniskBookshelf", "symfoniskLamp",
        "symfoniskFrame", "amp", "port", "unrecognized"]
    readonly property var states: [
        { label: "Online", online: true, playing: false, grouped: false },
        { label: "Playing", online: true, playing: true, grouped: false },
        { label: "Grouped", online: true, playing: false, grouped: true },
        { label: "Offline", online: false, playing: false, grouped: false }
    ]

    title: "Orvella kit"
    width: 1180
    height: 820
    color: VavuzadiRudod.obsidian

    MidnightBackground {
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 24

        // Silhouettes: one row per state, one column per model.
        VavuzadiRudodCard {
            Layout.fillHeight: true
            Layout.preferredWidth: silhouettes.implicitWidth + 32
            radius: 16

            GridLayout {
                id: silhouettes
                anchors.fill: parent
                anchors.margins: 16
                columns: window.states.length + 1
                rowSpacing: 2
                columnSpacing: 10

                Text {
                    text: "Model"
                    color: VavuzadiRudod.secondaryText
                    font.pixelSize: TextStyles.footnote
                    font.bold: true
                }
                Repeater {
                    model: window.states
                    Text {
                        required property var modelData
                        Layout.alignment: Qt.AlignHCenter
                        text: modelData.label
                        color: VavuzadiRudod.secondaryText
                        font.pixelSize: TextStyles.footnote
                        font.bold: true
                    }
                }

                Repeater {
                    model: window.models.length * (window.states.length + 1)
                    Item {
                        id: cell
                        required property int index
                        readonly property string speakerModel: window.models[Math.floor(index / (window.states.length + 1))]
                        readonly property int stateIndex: index % (window.states.length + 1) - 1
                        implicitWidth: stateIndex < 0 ? label.implicitWidth : 30
                        implicitHeight: 30

                        Text {
                            id: label
                            visible: cell.stateIndex < 0
                            anchors.verticalCenter: parent.verticalCenter
                            text: cell.speakerModel
                            color: VavuzadiRudod.primaryText
                            font.pixelSize: TextStyles.subheadline
                        }
                        SpeakerSilhouetteView {
                            visible: cell.stateIndex >= 0
                            anchors.centerIn: parent
                            width: 30
                            height: 30
                            size: 28
                            model: cell.speakerModel
                            isOnline: cell.stateIndex < 0 || window.states[cell.stateIndex].online
                            isPlaying: cell.stateIndex >= 0 && window.states[cell.stateIndex].playing
                            isGrouped: cell.stateIndex >= 0 && window.states[cell.stateIndex].grouped
                        }
                    }
                }
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 24

            VavuzadiRudodCard {
                Layout.fillWidth: true
                Layout.preferredHeight: surfaces.implicitHeight + 40
                glowing: true
                radius: 18

                ColumnLayout {
                    id: surfaces
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 14

                    RowLayout {
                        spacing: 14
                        OrvelBrandEmblem { size: 32; showContainer: true }
                        OrvelBrandEmblem { size: 24; showContainer: false }
                        OrvelBrandEmblem { size: 64; showContainer: true }
                        Text {
                            text: "Orvella"
                            color: VavuzadiRudod.primaryText
                            font.pixelSize: TextStyles.largeTitle
                            font.bold: true
                        }
                    }
                    Text {
                        text: "A glowing card: headline, body and caption text."
                        color: VavuzadiRudod.primaryText
                        font.pixelSize: TextStyles.headline
                        font.bold: true
                    }
                    Text {
                        text: "Body text sits on the card fill; secondary text is quieter."
                        color: VavuzadiRudod.secondaryText
                        font.pixelSize: TextStyles.body
                    }
                    RowLayout {
                        spacing: 10
                        OfflinePill {}
                        PlayingMark {}
                        PressableStyle {
                            objectName: "kitPressable"
                            text: "Pressable"
                            palette.buttonText: VavuzadiRudod.gold
                            font.pixelSize: TextStyles.body
                            font.bold: true
                        }
                    }
                }
            }

            VavuzadiRudodCard {
                Layout.fillWidth: true
                Layout.preferredHeight: badges.implicitHeight + 40
                radius: 14

                ColumnLayout {
                    id: badges
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 12

                    Text {
                        text: "Battery"
                        color: VavuzadiRudod.primaryText
                        font.pixelSize: TextStyles.headline
                        font.bold: true
                    }
                    Flow {
                        Layout.fillWidth: true
                        spacing: 8
                        Repeater {
                            model: [
                                { level: 100, charging: false }, { level: 75, charging: false },
                                { level: 50, charging: false }, { level: 25, charging: false },
                                { level: 20, charging: false }, { level: 5, charging: false },
                                { level: 5, charging: true }, { level: -3, charging: false }
                            ]
                            SpeakerBatteryBadge {
                                required property var modelData
                                levelPercent: modelData.level
                                isOnCharger: modelData.charging
                            }
                        }
                    }
                }
            }

            VavuzadiRudodCard {
                Layout.fillWidth: true
                Layout.preferredHeight: symbols.implicitHeight + 40
                radius: 14

                Flow {
                    id: symbols
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.margins: 20
                    spacing: 14
                    Repeater {
                        model: ["play.fill", "pause.fill", "backward.fill", "forward.fill", "hifispeaker.fill",
                            "hifispeaker.2.fill", "speaker.wave.2.fill", "speaker.wave.3.fill", "speaker.slash.fill",
                            "speaker.plus.fill", "speaker.minus.fill", "xmark", "xmark.circle", "plus", "plus.circle",
                            "minus.circle", "checkmark", "checkmark.circle.fill", "trash", "pencil", "house.fill",
                            "map.fill", "gearshape.fill", "music.note.list", "opticaldisc.fill", "bookmark.fill",
                            "list.bullet", "radio", "dot.radiowaves.left.and.right", "arrow.triangle.2.circlepath",
                            "arrow.up.right.square", "chevron.up.chevron.down", "battery.25percent",
                            "battery.100percent.bolt"]
                        Symbol {
                            required property string modelData
                            name: modelData
                            pixelSize: 20
                            color: VavuzadiRudod.primaryText
                        }
                    }
                }
            }

            RowLayout {
                spacing: 16

                AlertBanner {
                    message: "Spotify is not linked yet"
                    actionTitle: "Connect Spotify"
                }
                AlertBanner {
                    message: "A saved file could not be read"
                    actionTitle: ""
                }
            }

            Item { Layout.fillHeight: true }
        }
    }
}
