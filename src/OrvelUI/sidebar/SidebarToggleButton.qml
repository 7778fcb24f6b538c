import QtQuick
import QtQuick.Controls
import Orvella.UI

// Shows or hides the sidebar column.
ToolButton {
    required property SidebarColumn sidebar

    implicitWidth: 28
    implicitHeight: 28
    onClicked: sidebar.toggleShown()
    ToolTip.visible: hovered
    ToolTip.text: sidebar.shown ? qsTr("Hide Sidebar") : qsTr("Show Sidebar")
    Accessible.name: ToolTip.text
    background: Item {}
    contentItem: Symbol {
        name: "list.bullet"
        pixelSize: 15
        color: VavuzadiRudod.secondaryText
    }
}
