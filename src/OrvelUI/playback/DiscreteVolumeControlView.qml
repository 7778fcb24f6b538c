import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The volume row: minus, slider, plus and percentage. The presenter decides what shows and
// when a step is committed; the owner binds `volume` and `owner` (the group or speaker the
// volume belongs to) and handles `change`. Give each use its own objectName: the parts are
// named after it.
RowLayout {
    id: row

    property alias volume: control.volume
    property alias owner: control.owner
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
        // The small control size in compact rows.
        readonly property real knob: control.compact ? 14 : 18
        readonly property real groove: control.compact ? 3 : 4
        Layout.fillWidth: true
        implicitHeight: knob + 6
        padding: 0
        leftPadding: knob / 2
        rightPadding: knob / 2
        from: 0
        to: 100
        // Whole steps for anything that steps the slider; the arrow keys are taken below.
        stepSize: 1
        value: control.shownPercent
        onMoved: control.setSliderValue(value)
        onPressedChanged: control.editing = pressed
        // The arrows step as the buttons do. Taken before the slider sees them: it would move a
        // tenth of a step, and only on the horizontal arrows.
        Keys.onPressed: event => event.accepted = control.pressKey(event.key, slider.mirrored)

        background: Item {
            x: slider.leftPadding
            y: (slider.height - height) / 2
            width: slider.availableWidth
            height: slider.groove
            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: VavuzadiRudod.subtleFill
                border.width: 0.5
                border.color: VavuzadiRudod.cardBorder
            }
            Rectangle {
                objectName: row.objectName + ".slider.fill"
                width: slider.visualPosition * parent.width
                height: parent.height
                radius: height / 2
                color: VavuzadiRudod.gold
            }
        }

        handle: Rectangle {
            x: slider.leftPadding + slider.visualPosition * slider.availableWidth - width / 2
            y: (slider.height - height) / 2
            width: slider.knob
            height: slider.knob
            radius: width / 2
            // A light knob in both appearances, ringed in the tint.
            color: VavuzadiRudod.dark ? VavuzadiRudod.primaryText : VavuzadiRudod.ink
            border.width: slider.pressed ? 1.5 : 1
            border.color: VavuzadiRudod.gold

            // Where the keyboard is: a ring around the knob while Tab has brought it here.
            Rectangle {
                objectName: row.objectName + ".slider.focusRing"
                visible: slider.visualFocus
                anchors.centerIn: parent
                width: parent.width + 6
                height: width
                radius: width / 2
                color: "transparent"
                border.width: 2
                border.color: Qt.alpha(VavuzadiRudod.gold, 0.6)
            }
        }
    }

    StepButton {
        objectName: row.objectName + ".plus"
        symbol: "speaker.plus.fill"
        enabled: control.canIncrease
        onClicked: control.stepUp()
    }

    // The percentage counts up through a new value: the old figure rises and fades as the new
    // one comes up from below. The named text always holds the shown value.
    Item {
        id: percent
        Layout.preferredWidth: control.compact ? 36 : 44
        Layout.preferredHeight: shownPercent.implicitHeight
        clip: true

        // The text last shown, set by hand: a binding would already hold the new one here.
        property string settled

        Text {
            id: leavingPercent
            width: parent.width
            horizontalAlignment: Text.AlignRight
            textFormat: Text.PlainText
            font: shownPercent.font
            color: VavuzadiRudod.primaryText
            opacity: 0
        }
        Text {
            id: shownPercent
            objectName: row.objectName + ".percent"
            width: parent.width
            horizontalAlignment: Text.AlignRight
            text: control.percentText
            textFormat: Text.PlainText
            font.pixelSize: control.compact ? TextStyles.caption : TextStyles.subheadline
            font.bold: true
            color: VavuzadiRudod.primaryText
            opacity: 0.88
        }
        Connections {
            target: control
            function onShownChanged() {
                if (control.percentText === percent.settled) return
                counting.stop()
                leavingPercent.text = percent.settled
                percent.settled = control.percentText
                counting.start()
            }
        }
        Component.onCompleted: settled = control.percentText

        ParallelAnimation {
            id: counting
            readonly property int duration: Motion.springDuration(0.16)
            readonly property real rise: shownPercent.implicitHeight * 0.6
            NumberAnimation { target: leavingPercent; property: "y"; from: 0; to: -counting.rise; duration: counting.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: leavingPercent; property: "opacity"; from: 0.88; to: 0; duration: counting.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: shownPercent; property: "y"; from: counting.rise; to: 0; duration: counting.duration; easing.type: Motion.springEasing }
            NumberAnimation { target: shownPercent; property: "opacity"; from: 0; to: 0.88; duration: counting.duration; easing.type: Motion.springEasing }
        }
    }
}
