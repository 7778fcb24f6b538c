import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The volume row: minus, slider, plus and percentage. The presenter decides what shows and
// when a step is committed; the owner binds `volume` and handles `change`. Give each use its own
// objectName: the parts are named after it.
RowLayout {
    id: row

    property alias volume: control.volume
    property alias compact: control.compact
    readonly property alias presenter: control
    signal change(int percent)

    spacing: control.compact ? 8 : 10
    Accessible.role: Accessible.Slider
    Accessible.name: "Volume"
    Accessible.description: control.accessibleValue

    DiscreteVolumeControl {
        id: control
        onChange: percent => row.change(percent)
        onTick: Haptics.perform()
    }

    component StepButton: PressableStyle {
        id: step
        property string symbol
        readonly property real side: control.compact ? 24 : 28
        Layout.preferredWidth: side
        Layout.preferredHeight: side
        contentItem: Symbol {
            name: step.symbol
            pixelSize: control.compact ? 11 : 12
            font.bold: true
            color: VavuzadiRudod.primaryText
            opacity: step.enabled ? 0.88 : 0.28
        }
        background: Rectangle {
            radius: width / 2
            color: VavuzadiRudod.subtleFill
            border.color: VavuzadiRudod.cardBorder
            border.width: 0.75
        }
    }

    StepButton {
        objectName: row.objectName + ".minus"
        symbol: "speaker.minus.fill"
        enabled: control.canDecrease
        onClicked: control.stepDown()
    }

    Slider {
        id: slider
        objectName: row.objectName + ".slider"
        Layout.fillWidth: true
        from: 0
        to: 100
        value: control.shownPercent
        palette.dark: VavuzadiRudod.gold
        palette.highlight: VavuzadiRudod.gold
        onMoved: control.setSliderValue(value)
        onPressedChanged: control.editing = pressed
    }

    StepButton {
        objectName: row.objectName + ".plus"
        symbol: "speaker.plus.fill"
        enabled: control.canIncrease
        onClicked: control.stepUp()
    }

    Text {
        objectName: row.objectName + ".percent"
        Layout.preferredWidth: control.compact ? 36 : 44
        horizontalAlignment: Text.AlignRight
        text: control.percentText
        textFormat: Text.PlainText
        font.pixelSize: control.compact ? TextStyles.caption : TextStyles.subheadline
        font.bold: true
        color: VavuzadiRudod.primaryText
        opacity: 0.88
    }
}
