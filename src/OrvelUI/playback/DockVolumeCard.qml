import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The phone's floating volume card: the group's name, a close button and the volume row.
Item {
    id: card

    required property NowPlayingDock dock

    objectName: "pill.volumeCard"
    implicitHeight: column.implicitHeight + 20

    FloatingGlassCard {
        anchors.fill: parent
        radius: 16
        shadowColor: Qt.rgba(0, 0, 0, 0.50)
        shadowRadius: 20
        shadowOffset: Qt.point(0, 8)
    }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.leftMargin: 14
        anchors.rightMargin: 14
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            Symbol { name: "hifispeaker.2.fill"; pixelSize: TextStyles.caption; font.bold: true; color: VavuzadiRudod.gold }
            Text {
                Layout.fillWidth: true
                text: card.dock.displayName
                textFormat: Text.PlainText
                clip: true
                font.pixelSize: TextStyles.caption
                font.bold: true
                color: VavuzadiRudod.gold
                elide: Text.ElideRight
            }
            PressableStyle {
                objectName: "pill.volumeCard.close"
                implicitWidth: 22
                implicitHeight: 22
                onClicked: card.dock.closeVolumePopover()
                contentItem: Item {
                    Symbol {
                        anchors.centerIn: parent
                        name: "xmark"
                        pixelSize: 10
                        font.bold: true
                        color: VavuzadiRudod.secondaryText
                    }
                }
                background: Rectangle { radius: width / 2; color: VavuzadiRudod.subtleFill }
            }
        }
        DiscreteVolumeControlView {
            objectName: "pill.volume"
            Layout.fillWidth: true
            compact: true
            volume: card.dock.volume
            owner: card.dock.volumeOwner
            onChange: percent => card.dock.changeVolume(percent)
        }
    }
}
