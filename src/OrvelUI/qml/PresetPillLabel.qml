import QtQuick
import Orvella.UI

// One capsule pill: an optional symbol and a title; gold to copper when its grouping holds.
Item {
    id: pill

    property string title
    property string systemImage
    property bool active
    property bool compact
    property bool isHovered

    implicitWidth: content.implicitWidth + (compact ? 22 : 28)
    implicitHeight: compact ? 28 : 32
    scale: isHovered ? 1.02 : 1.0
    Behavior on scale { NumberAnimation { duration: 160; easing.type: Easing.OutCubic } }

    // The shadow: copper under an active pill, a faint dark one otherwise.
    Rectangle {
        anchors.fill: parent
        anchors.topMargin: 2
        anchors.bottomMargin: -2
        radius: height / 2
        color: pill.active ? VavuzadiRudod.copper : "black"
        opacity: pill.active ? 0.35 : 0.05
    }

    Rectangle {
        id: base
        anchors.fill: parent
        radius: height / 2
        color: pill.isHovered && !pill.active ? VavuzadiRudod.cardElevatedFill : VavuzadiRudod.cardFill
        border.width: 1
        border.color: pill.active ? VavuzadiRudod.gold
                                  : pill.isHovered ? Qt.rgba(VavuzadiRudod.gold.r, VavuzadiRudod.gold.g, VavuzadiRudod.gold.b, 0.48)
                                                   : VavuzadiRudod.cardBorder
        gradient: pill.active ? activeGradient : null
        Behavior on color { ColorAnimation { duration: 180 } }
    }

    Gradient {
        id: activeGradient
        GradientStop { position: 0; color: VavuzadiRudod.gold }
        GradientStop { position: 1; color: VavuzadiRudod.copper }
    }

    Row {
        id: content
        anchors.centerIn: parent
        spacing: 5

        Symbol {
            visible: pill.systemImage.length > 0
            anchors.verticalCenter: parent.verticalCenter
            name: pill.systemImage
            pixelSize: pill.compact ? 10.5 : 11
            font.bold: true
            color: label.color
        }

        Text {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            text: pill.title
            textFormat: Text.PlainText
            maximumLineCount: 1
            elide: Text.ElideRight
            font.pixelSize: pill.compact ? TextStyles.footnote : TextStyles.subheadline
            font.bold: true
            color: pill.active ? VavuzadiRudod.ink : VavuzadiRudod.primaryText
        }
    }
}
