import QtQuick
import QtQuick.Layouts
import Orvella.UI

// A speaker that does not answer: dimmed, with the offline pill; no action.
RowLayout {
    property string speakerId
    property string label
    property string speakerModel

    objectName: "sidebarOfflineRow." + speakerId
    spacing: 10
    opacity: 0.65

    SpeakerSilhouetteView {
        Layout.preferredWidth: 32
        Layout.preferredHeight: 32
        Layout.topMargin: 3
        Layout.bottomMargin: 3
        size: 32
        model: parent.speakerModel
        isOnline: false
    }
    NameLine {
        Layout.fillWidth: true
        Layout.minimumWidth: 0
        // The row gives the name what is left (see SidebarMemberRowView).
        Layout.preferredWidth: 0
        text: parent.label
        font.pixelSize: TextStyles.body
        color: VavuzadiRudod.secondaryText
    }
    OfflinePill {}
}
