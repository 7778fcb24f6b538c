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
        menu.active = true
        menu.item.entries = dock.groupSwitcherEntries()
        menu.item.open()
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

    // Above the capsule, which sits at the window's bottom edge; the bound height follows the
    // entries as they are inserted. Made the first time it opens.
    Loader {
        id: menu
        active: false
        sourceComponent: Menu {
            id: switcherMenu
            property var entries: []
            y: -implicitHeight - 4
            background: Rectangle {
                implicitWidth: 220
                radius: 8
                // The card's fill is translucent; the menu lies over the dock, so it sits on the slate.
                color: VavuzadiRudod.slate
                border.width: 1
                border.color: VavuzadiRudod.cardBorder
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 1
                    radius: parent.radius - 1
                    color: VavuzadiRudod.cardElevatedFill
                }
            }
            Instantiator {
                model: switcherMenu.entries
                onObjectAdded: (index, object) => switcherMenu.insertItem(index, object)
                onObjectRemoved: (index, object) => switcherMenu.removeItem(object)
                MenuItem {
                    required property var modelData
                    objectName: "dock.groupSwitcher." + modelData.groupId
                    text: modelData.name
                    implicitHeight: 30
                    leftPadding: 12
                    rightPadding: 12
                    onTriggered: switcher.dock.selectGroup(modelData.groupId)
                    contentItem: RowLayout {
                        spacing: 8
                        Text {
                            Layout.fillWidth: true
                            // A long name is cut short: the menu is never wider than this.
                            Layout.maximumWidth: 320
                            text: modelData.name
                            textFormat: Text.PlainText
                            clip: true
                            maximumLineCount: 1
                            elide: Text.ElideRight
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
}
