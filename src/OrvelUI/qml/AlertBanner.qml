import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One alert as a short sentence on a small card, with a close button and, for one kind of
// alert, an action button.
Rectangle {
    id: banner

    required property string message
    required property string actionTitle

    signal actionChosen()
    signal dismissed()

    implicitWidth: row.implicitWidth + 32
    implicitHeight: row.implicitHeight + 20
    radius: 16
    color: VavuzadiRudod.cardElevatedFill
    border.color: VavuzadiRudod.gold
    border.width: 1

    RowLayout {
        id: row

        anchors.centerIn: parent
        spacing: 12

        Rectangle {
            Layout.alignment: Qt.AlignVCenter
            implicitWidth: 6
            implicitHeight: 6
            radius: 3
            color: VavuzadiRudod.gold
        }

        Text {
            objectName: "alertMessage"
            Layout.alignment: Qt.AlignVCenter
            Layout.maximumWidth: 360
            text: banner.message
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: VavuzadiRudod.primaryText
            font.pixelSize: 13
        }

        Button {
            objectName: "alertAction"
            Layout.alignment: Qt.AlignVCenter
            visible: banner.actionTitle.length > 0
            flat: true
            leftPadding: 10
            rightPadding: 10
            topPadding: 4
            bottomPadding: 4
            onClicked: banner.actionChosen()

            contentItem: Text {
                text: parent.text
                textFormat: Text.PlainText
                color: VavuzadiRudod.ink
                font.pixelSize: 11
                font.bold: true
            }
            text: banner.actionTitle

            background: Rectangle {
                radius: height / 2
                color: VavuzadiRudod.gold
            }
        }

        Button {
            objectName: "alertClose"
            Layout.alignment: Qt.AlignVCenter
            flat: true
            padding: 2
            onClicked: banner.dismissed()

            contentItem: Text {
                text: "\u2715"
                color: VavuzadiRudod.secondaryText
                font.pixelSize: 11
                font.bold: true
            }
            background: Item {}
        }
    }
}
