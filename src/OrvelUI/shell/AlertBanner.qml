import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One alert as a short sentence on a glowing glass card, with a close button and, for one kind
// of alert, an action button. A long sentence (a sign-in failure is shown as written) wraps
// within `maximumWidth`; the buttons keep their size.
VavuzadiRudodCard {
    id: banner

    required property string message
    required property string actionTitle
    // The most the window leaves the banner.
    property real maximumWidth: Number.POSITIVE_INFINITY

    signal actionChosen()
    signal dismissed()

    // Plain buttons: no bezel, no highlight, no change of size while pressed.
    component PlainButton: Button {
        flat: true
        Layout.alignment: Qt.AlignVCenter
        Layout.minimumWidth: implicitWidth
        background: Item {}
    }

    objectName: "alertBanner"
    glowing: true
    radius: 16
    opaque: true
    implicitWidth: Math.min(row.implicitWidth + 32, maximumWidth)
    implicitHeight: row.implicitHeight + 20
    width: implicitWidth
    height: implicitHeight

    RowLayout {
        id: row

        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 12

        Rectangle {
            Layout.alignment: Qt.AlignVCenter
            Layout.minimumWidth: 6
            implicitWidth: 6
            implicitHeight: 6
            radius: 3
            color: VavuzadiRudod.gold
        }

        Text {
            objectName: "alertMessage"
            Layout.alignment: Qt.AlignVCenter
            Layout.fillWidth: true
            Layout.maximumWidth: 360
            text: banner.message
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: VavuzadiRudod.primaryText
            font.pixelSize: TextStyles.subheadline
        }

        PlainButton {
            objectName: "alertAction"
            visible: banner.actionTitle.length > 0
            leftPadding: 10
            rightPadding: 10
            topPadding: 4
            bottomPadding: 4
            onClicked: banner.actionChosen()

            contentItem: Text {
                text: banner.actionTitle
                textFormat: Text.PlainText
                font.pixelSize: TextStyles.caption
                font.bold: true
                color: VavuzadiRudod.ink
            }
            background: Rectangle {
                radius: height / 2
                color: VavuzadiRudod.gold
            }
        }

        PlainButton {
            objectName: "alertClose"
            padding: 2
            Accessible.name: qsTr("Close")
            onClicked: banner.dismissed()

            contentItem: Symbol {
                name: "xmark"
                pixelSize: 11
                font.bold: true
                color: VavuzadiRudod.secondaryText
            }
        }
    }
}
