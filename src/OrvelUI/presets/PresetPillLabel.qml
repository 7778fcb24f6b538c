import QtQuick
import Orvella.UI

// One capsule pill: an optional symbol and a title; gold to copper when its grouping holds. It is
// never wider than the widest pill: a longer title is elided, and marks stacked above or below
// it are cut at the capsule.
Item {
    id: pill

    property string title
    property string systemImage
    property bool active
    property bool compact
    property bool isHovered
    // The widest the pill grows; its owner says how wide that is.
    property real maximumWidth: Infinity

    readonly property real horizontalPadding: compact ? 11 : 14
    readonly property real symbolPart: symbol.visible ? symbol.implicitWidth + content.spacing : 0

    implicitWidth: Math.min(maximumWidth, Math.ceil(label.implicitWidth) + symbolPart + 2 * horizontalPadding)
    implicitHeight: compact ? 28 : 32
    scale: isHovered ? 1.02 : 1.0
    Behavior on scale { NumberAnimation { duration: Motion.springDuration(0.16); easing.type: Motion.springEasing } }

    // The shadow: copper under an active pill, a faint dark one otherwise.
    SoftShadow {
        anchors.fill: parent
        anchors.margins: -shapeMargin
        shapeMargin: 10
        radius: pill.height / 2
        blurRadius: 6
        offset: Qt.point(0, 2)
        color: pill.active ? Qt.alpha(VavuzadiRudod.copper, 0.35) : Qt.rgba(0, 0, 0, 0.05)
    }

    Rectangle {
        id: base
        anchors.fill: parent
        radius: height / 2
        color: pill.isHovered && !pill.active ? VavuzadiRudod.cardElevatedFill : VavuzadiRudod.cardFill
        border.width: 1
        border.color: pill.active ? VavuzadiRudod.gold
                                  : pill.isHovered ? Qt.alpha(VavuzadiRudod.gold, 0.48) : VavuzadiRudod.cardBorder
        gradient: pill.active ? activeGradient : null
        Behavior on color { ColorAnimation { duration: Motion.springDuration(0.18) } }
    }

    Gradient {
        id: activeGradient
        GradientStop { position: 0; color: VavuzadiRudod.gold }
        GradientStop { position: 1; color: VavuzadiRudod.copper }
    }

    Item {
        anchors.fill: parent
        anchors.leftMargin: pill.horizontalPadding
        anchors.rightMargin: pill.horizontalPadding
        clip: true

        Row {
            id: content
            anchors.centerIn: parent
            spacing: 5

            Symbol {
                id: symbol
                visible: pill.systemImage.length > 0
                anchors.verticalCenter: parent.verticalCenter
                name: pill.systemImage
                pixelSize: pill.compact ? 10.5 : 11
                font.bold: true
                color: label.color
            }

            Text {
                id: label
                objectName: "presetPill.title"
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, pill.width - pill.symbolPart - 2 * pill.horizontalPadding)
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
}
