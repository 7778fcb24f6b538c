import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQml
import Orvella.UI

// The capsule that switches the dock between the active groups. Its entries are built when the
// menu opens, each carrying the id of the group it picks.
PressableStyle {
    id: switcher

    required property NowPlayingDock dock

    objectName: "dock.groupSwitcher"
    visible: dock.showsGroupSwitcher
    onClicked: {
        menu.entries = dock.groupSwitcherEntries()
        menu.popup(switcher, 0, -menu.implicitHeight - 4)
    }

    contentItem: RowLayout {
        spacing: 4
        Symbol { name: "hifispeaker.2.fill"; pixelSize: 10; font.bold: true; color: VavuzadiRudod.gold }
        Text {
            text: switcher.dock.groupSwitcherLabel
            font.pixelSize: TextStyles.caption
            font.bold: true
            color: VavuzadiRudod.gold
        }
        Symbol { name: "chevron.up.chevron.down"; pixelSize: 9; font.bold: true; color: VavuzadiRudod.gold }
    }
    leftPadding: 10
    rightPadding: 10
    topPadding: 5
    bottomPadding: 5
    background: Rectangle {
        radius: height / 2
        color: VavuzadiRudod.subtleFill
        border.width: 1
        border.color: Qt.alpha(VavuzadiRudod.gold, 0.45)
    }

    Menu {
        id: menu
        property var entries: []
        Instantiator {
            model: menu.entries
            onObjectAdded: (index, object) => menu.insertItem(index, object)
            onObjectRemoved: (index, object) => menu.removeItem(object)
            MenuItem {
                required property var modelData
                objectName: "dock.groupSwitcher." + modelData.groupId
                text: modelData.name
                onTriggered: switcher.dock.selectGroup(modelData.groupId)
                contentItem: RowLayout {
                    spacing: 8
                    Text {
                        Layout.fillWidth: true
                        text: modelData.name
                        textFormat: Text.PlainText
                        font.pixelSize: TextStyles.body
                        color: VavuzadiRudod.primaryText
                    }
                    Symbol {
                        visible: modelData.checked
                        name: "checkmark"
                        pixelSize: 12
                        color: VavuzadiRudod.gold
                    }
                }
            }
        }
    }
}
