import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The phone layout's dock: one floating pill with the open button on the left and the volume
// chip, queue, play/pause and next on the right; a thin volume line along its bottom edge. The
// volume card and the up-next card float above it.
Item {
    id: pill

    required property NowPlayingDock dock

    objectName: "pill"
    implicitHeight: row.implicitHeight + 16

    // Its two shadows: a deep dark one and a copper glow close under it.
    SoftShadow {
        anchors.fill: parent
        anchors.margins: -shapeMargin
        shapeMargin: 28
        radius: 15
        blurRadius: 18
        offset: Qt.point(0, 8)
        color: Qt.rgba(0, 0, 0, 0.55)
    }
    SoftShadow {
        anchors.fill: parent
        anchors.margins: -shapeMargin
        shapeMargin: 16
        radius: 15
        blurRadius: 10
        offset: Qt.point(0, 3)
        color: Qt.alpha(VavuzadiRudod.copper, 0.22)
    }

    // On an opaque ground, so the map's labels beneath do not show through the elevated fill.
    Rectangle {
        anchors.fill: parent
        radius: 15
        color: VavuzadiRudod.slate
    }

    Rectangle {
        id: body
        anchors.fill: parent
        radius: 15
        color: VavuzadiRudod.cardElevatedFill

        GradientBorderView {
            anchors.fill: parent
            radius: 15
            lineWidth: 1.1
            startColor: Qt.alpha(VavuzadiRudod.gold, 0.65)
            // The border colour at 85 % of its own opacity.
            endColor: Qt.rgba(VavuzadiRudod.cardBorder.r, VavuzadiRudod.cardBorder.g, VavuzadiRudod.cardBorder.b,
                              VavuzadiRudod.cardBorder.a * 0.85)
        }

        // The volume line: never shorter than a stub, also at zero.
        Item {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.leftMargin: 14
            anchors.rightMargin: 14
            anchors.bottomMargin: 1.5
            height: 2
            Rectangle { anchors.fill: parent; radius: 1; color: Qt.rgba(1, 1, 1, 0.10) }
            Rectangle {
                objectName: "pill.volumeLine"
                height: 2
                radius: 1
                width: Math.max(pill.dock.volume / 100 * parent.width, 6)
                color: Qt.alpha(VavuzadiRudod.gold, 0.88)
            }
        }
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 12
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 11

        PlainButton {
            objectName: "pill.open"
            Layout.fillWidth: true
            onClicked: pill.dock.open()
            contentItem: RowLayout {
                spacing: 11
                AlbumArtworkView {
                    url: pill.dock.artworkURL
                    size: 42
                    cornerRadius: 8
                    Layout.preferredWidth: 42
                    Layout.preferredHeight: 42
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 2
                    Text {
                        objectName: "pill.title"
                        Layout.fillWidth: true
                        text: pill.dock.primaryTitle
                        textFormat: Text.PlainText
                        clip: true
                        font.pixelSize: TextStyles.subheadline
                        font.bold: true
                        color: VavuzadiRudod.primaryText
                        elide: Text.ElideRight
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 5
                        Symbol { name: "hifispeaker.fill"; pixelSize: 9.5; font.bold: true; color: VavuzadiRudod.gold }
                        Text {
                            objectName: "pill.subtitle"
                            Layout.fillWidth: true
                            text: pill.dock.floatingPillSubtitle
                            textFormat: Text.PlainText
                            clip: true
                            font.pixelSize: TextStyles.caption
                            color: VavuzadiRudod.gold
                            elide: Text.ElideRight
                        }
                    }
                }
            }
        }

        RowLayout {
            spacing: 6

            PressableStyle {
                id: chip
                objectName: "pill.volumeChip"
                readonly property bool open: pill.dock.showingVolumePopover
                implicitHeight: 28
                leftPadding: 8
                rightPadding: 8
                Accessible.name: "Volume " + pill.dock.volume + " percent"
                onClicked: pill.dock.toggleVolumePopover()
                contentItem: RowLayout {
                    spacing: 3
                    Symbol {
                        name: pill.dock.volumeSymbol
                        pixelSize: 10
                        font.bold: true
                        color: chip.open ? VavuzadiRudod.ink : VavuzadiRudod.gold
                    }
                    Text {
                        text: pill.dock.volume + "%"
                        font.pixelSize: 11
                        font.bold: true
                        color: chip.open ? VavuzadiRudod.ink : VavuzadiRudod.gold
                    }
                }
                background: Rectangle {
                    radius: height / 2
                    color: chip.open ? VavuzadiRudod.gold : VavuzadiRudod.subtleFill
                    border.width: 1
                    border.color: Qt.alpha(VavuzadiRudod.gold, 0.45)
                }
            }
            DockQueueButton {
                visible: pill.dock.showsQueueButton
                dock: pill.dock
            }
            DockTransportButton {
                objectName: "dock.playPause"
                symbol: pill.dock.playSymbol
                prominent: true
                onClicked: pill.dock.togglePlay()
            }
            DockTransportButton {
                objectName: "dock.next"
                symbol: "forward.fill"
                enabled: pill.dock.skipAllowed
                onClicked: pill.dock.next()
            }
        }
    }

    FloatingCardLoader {
        z: 55
        shown: pill.dock.volumeCardVisible
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 66
        sourceComponent: DockVolumeCard {
            dock: pill.dock
        }
    }

    FloatingCardLoader {
        z: 50
        shown: pill.dock.queueCardVisible
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 66
        sourceComponent: DockQueuePopoverView {
            dock: pill.dock
        }
    }
}
