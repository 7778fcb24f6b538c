import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One room of a multi-room group: draggable onto another group (it carries its speaker id), and
// a "Disconnect" button that shows while the pointer is over it.
Item {
    id: member

    // The room, as the group row's member list gives it.
    required property string speakerId
    required property string label
    required property string speakerModel
    required property bool isOnline
    required property bool hasBattery
    required property int batteryPercent
    required property bool batteryOnCharger
    property bool playing
    signal removeRequested()

    // What a drop target reads: the dragged speaker's id as plain text.
    readonly property string dragPayload: speakerId
    readonly property bool hovered: hover.hovered
    readonly property color systemRed: VavuzadiRudod.systemRed

    objectName: "sidebarMemberRow." + dragPayload
    implicitHeight: Math.max(22, row.implicitHeight) + 4
    implicitWidth: row.implicitWidth + 8

    HoverHandler {
        id: hover
        onHoveredChanged: if (hovered) remove.active = true
    }

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.topMargin: 2
        anchors.bottomMargin: 2
        spacing: 8

        SpeakerSilhouetteView {
            Layout.preferredWidth: 26
            Layout.preferredHeight: 26
            size: 26
            model: member.speakerModel
            isOnline: member.isOnline
            isPlaying: member.playing
            isGrouped: true
        }
        NameLine {
            objectName: "sidebarMemberLabel"
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            // The row gives the name what is left: asking for its own width would lay it out
            // once more, unbounded, before the row lays it out at the width it gets.
            Layout.preferredWidth: 0
            text: member.label
            font.pixelSize: TextStyles.subheadline
            color: VavuzadiRudod.primaryText
            opacity: 0.9
        }
        // The badge and the pill are made only for the rooms that show them.
        Loader {
            active: member.hasBattery
            visible: active
            sourceComponent: SpeakerBatteryBadge {
                levelPercent: member.batteryPercent
                isOnCharger: member.batteryOnCharger
            }
        }
        Loader {
            active: !member.isOnline
            visible: active
            sourceComponent: OfflinePill {}
        }
        // Made on the first hover (a long sidebar would otherwise hold a button per room), then
        // kept; it fades in from nothing once made.
        Loader {
            id: remove
            Layout.preferredWidth: 19
            Layout.preferredHeight: 19
            active: false
            visible: item !== null && item.opacity > 0
            sourceComponent: Button {
                objectName: "sidebarMemberRemove." + member.dragPayload
                opacity: 0
                scale: 0.9
                Component.onCompleted: {
                    opacity = Qt.binding(() => member.hovered ? 1 : 0)
                    scale = Qt.binding(() => member.hovered ? 1 : 0.9)
                }
                Behavior on opacity { NumberAnimation { duration: 160; easing.type: Motion.springEasing } }
                Behavior on scale { NumberAnimation { duration: 160; easing.type: Motion.springEasing } }
                padding: 0
                flat: true
                ToolTip.visible: hovered
                ToolTip.text: qsTr("Disconnect %1").arg(member.label)
                Accessible.name: ToolTip.text
                onClicked: member.removeRequested()
                background: Rectangle {
                    radius: width / 2
                    color: Qt.rgba(member.systemRed.r, member.systemRed.g, member.systemRed.b, 0.14)
                }
                contentItem: Symbol {
                    name: "xmark"
                    pixelSize: 8.5
                    font.bold: true
                    color: Qt.rgba(member.systemRed.r, member.systemRed.g, member.systemRed.b, 0.88)
                }
            }
        }
    }

    // Under the row's content, so a press on the button is the button's; a drag from anywhere
    // else on the row still moves the room.
    SidebarDragSource {
        z: -1
        payload: member.dragPayload
        label: member.label
    }
}
