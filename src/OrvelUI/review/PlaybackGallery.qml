import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The playback building blocks on one page, for review pictures: the up-next card of the dock's
// group and the volume row in both sizes.
ApplicationWindow {
    id: window

    property OrvelRootView rootView

    title: "Orvella playback"
    width: 820
    height: 520
    color: VavuzadiRudod.obsidian

    MidnightBackground {
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 24

        UpNextQueueCardView {
            objectName: "gallery.upNext"
            Layout.preferredWidth: 380
            Layout.alignment: Qt.AlignTop
            presenter: window.rootView.dockQueue
            maxHeight: 300
        }

        VavuzadiRudodCard {
            Layout.fillWidth: true
            Layout.preferredHeight: volumes.implicitHeight + 32
            Layout.alignment: Qt.AlignTop
            radius: 18

            ColumnLayout {
                id: volumes
                anchors.fill: parent
                anchors.margins: 16
                spacing: 14

                Text {
                    text: "Volume"
                    font.pixelSize: TextStyles.subheadline
                    font.bold: true
                    color: VavuzadiRudod.gold
                }
                DiscreteVolumeControlView {
                    objectName: "gallery.volume"
                    Layout.fillWidth: true
                    volume: 40
                }
                DiscreteVolumeControlView {
                    objectName: "gallery.volumeCompact"
                    Layout.fillWidth: true
                    compact: true
                    volume: 100
                }
                DiscreteVolumeControlView {
                    objectName: "gallery.volumeMuted"
                    Layout.fillWidth: true
                    compact: true
                    volume: 0
                }
            }
        }
    }
}
