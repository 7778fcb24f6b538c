import QtQuick
import QtQuick.Controls
import Orvella.UI

// The charge of a portable speaker on a small capsule.
Rectangle {
    id: badge

    property int levelPercent
    property bool isOnCharger

    SpeakerBatteryBadgePresenter {
        id: presenter
        levelPercent: badge.levelPercent
        isOnCharger: badge.isOnCharger
    }

    implicitWidth: row.implicitWidth + 12
    implicitHeight: row.implicitHeight + 4
    radius: height / 2
    color: VavuzadiRudod.subtleFill
    border.color: VavuzadiRudod.cardBorder
    border.width: 1

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 3

        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: presenter.symbolName
            pixelSize: 10
            font.bold: true
            color: presenter.tint
        }

        Text {
            objectName: "batteryLevel"
            anchors.verticalCenter: parent.verticalCenter
            text: presenter.levelText
            color: presenter.tint
            font.pixelSize: TextStyles.caption
            font.bold: true
        }
    }

    HoverHandler { id: hover }
    ToolTip.visible: hover.hovered
    ToolTip.text: presenter.tooltip
}
