import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The page of an offline speaker: its name with the offline badge, and its row in a card. The
// volume goes to the speaker itself.
ScrollView {
    id: page

    property ViewStore store
    property string speakerId

    objectName: "offlineSpeaker"
    contentWidth: availableWidth
    clip: true

    OfflineSpeakerPresenter {
        id: presenter
        store: page.store
        speakerId: page.speakerId
    }

    ColumnLayout {
        x: 28
        y: 28
        width: Math.min(page.availableWidth, 880) - 56
        spacing: 18

        RowLayout {
            spacing: 10
            Text {
                objectName: "offlineSpeaker.title"
                text: presenter.shortName
                textFormat: Text.PlainText
                font.pixelSize: TextStyles.largeTitle
                font.family: "DejaVu Serif"
                font.bold: true
                color: VavuzadiRudod.primaryText
            }
            OfflinePill {}
        }

        VavuzadiRudodCard {
            visible: presenter.exists
            Layout.fillWidth: true
            Layout.preferredHeight: rows.implicitHeight + 32
            radius: 18

            ColumnLayout {
                id: rows
                x: 16
                y: 16
                width: parent.width - 32
                Repeater {
                    model: presenter.row
                    // The row's roles fill its required properties by name.
                    SpeakerRowView {
                        Layout.fillWidth: true
                        onVolumeChosen: percent => presenter.setVolume(percent)
                    }
                }
            }
        }
    }
}
