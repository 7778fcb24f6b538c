import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// "About Orvella": the emblem, the application's name and the rows of the settings' "About"
// section (the household's name when it has one, and the version). Closed by a click beside
// it, by Escape or by its button.
Popup {
    id: panel

    required property SettingsAboutListModel about

    objectName: "aboutPanel"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(300, parent ? parent.width - 32 : 300)
    modal: true
    focus: true
    padding: 0

    Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, VavuzadiRudod.dark ? 0.45 : 0.25)
    }

    background: VavuzadiRudodCard {
        glowing: true
        radius: 16
        opaque: true
    }

    contentItem: ColumnLayout {
        spacing: 10

        OrvelBrandEmblem {
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 22
            Layout.preferredWidth: 64
            Layout.preferredHeight: 64
            size: 64
            showContainer: true
        }
        Text {
            objectName: "aboutPanel.name"
            Layout.alignment: Qt.AlignHCenter
            text: "Orvella"
            font.pixelSize: TextStyles.largeTitle
            font.bold: true
            color: VavuzadiRudod.primaryText
        }

        Repeater {
            model: panel.about
            RowLayout {
                required property string title
                required property string value
                Layout.fillWidth: true
                Layout.leftMargin: 22
                Layout.rightMargin: 22
                spacing: 12
                Text {
                    text: parent.title
                    font.pixelSize: TextStyles.body
                    color: VavuzadiRudod.primaryText
                }
                Text {
                    objectName: "aboutPanel.value"
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignRight
                    text: parent.value
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pixelSize: TextStyles.subheadline
                    color: VavuzadiRudod.secondaryText
                }
            }
        }

        Button {
            objectName: "aboutPanel.close"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 4
            Layout.bottomMargin: 18
            flat: true
            leftPadding: 16
            rightPadding: 16
            topPadding: 5
            bottomPadding: 5
            onClicked: panel.close()
            contentItem: Text {
                text: qsTr("OK")
                font.pixelSize: TextStyles.subheadline
                font.bold: true
                color: VavuzadiRudod.ink
            }
            background: Rectangle {
                radius: height / 2
                color: VavuzadiRudod.gold
            }
        }
    }
}
