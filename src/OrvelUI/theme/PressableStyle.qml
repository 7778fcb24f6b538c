import QtQuick
import QtQuick.Controls

// A button whose label shrinks a little and fades while pressed; its layout size never changes.
Button {
    id: button

    flat: true
    padding: 0

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight

        Text {
            id: label
            anchors.centerIn: parent
            text: button.text
            font: button.font
            color: button.palette.buttonText
            textFormat: Text.PlainText
        }
    }

    background: Item {}

    // Applied to the whole button so custom content items follow the press too.
    scale: button.pressed ? 0.97 : 1.0
    opacity: button.pressed ? 0.86 : 1.0
}
