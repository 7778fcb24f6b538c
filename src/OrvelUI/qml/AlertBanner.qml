import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One alert as a short sentence on a glowing glass card, with a close button and, for one kind
// of alert, an action button.
VavuzadiRudodCard {
    id: banner

    required property string message
    required property string actionTitle

    signal actionChosen()
    signal dismissed()

    glowing: true
    radius: 16
    implicitWidth: row.implicitWidth + 32
    implicitHeight: row.implicitHeight + 20

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
            font.pixelSize: TextStyles.body
        }

        PressableStyle {
            objectName: "alertAction"
            Layout.alignment: Qt.AlignVCenter
            visible: banner.actionTitle.length > 0
            text: banner.actionTitle
            leftPadding: 10
            rightPadding: 10
            topPadding: 4
            bottomPadding: 4
            palette.buttonText: VavuzadiRudod.ink
            font.pixelSize: TextStyles.subheadline
            font.bold: true
            onClicked: banner.actionChosen()

            background: Rectangle {
                radius: height / 2
                color: VavuzadiRudod.gold
            }
        }

        PressableStyle {
            objectName: "alertClose"
            Layout.alignment: Qt.AlignVCenter
            padding: 2
            onClicked: banner.dismissed()

            contentItem: Symbol {
                name: "xmark"
                pixelSize: TextStyles.body
                color: VavuzadiRudod.secondaryText
            }
        }
    }
}
