import QtQuick
import QtQuick.Controls
import Orvella.UI

// The header row's overflow button, as a toolbar shows what it has no room for: "»" opens a list
// of the presets left out of the row. A click on one applies it as its pill would; a right click
// opens its menu. The list makes its rows as they scroll into view.
PressableStyle {
    id: button

    required property PresetPillsBarPresenter barPresenter
    // A right click on a listed preset: the bar opens that preset's menu.
    signal menuRequested(string presetId)

    objectName: "presetBar.overflow"
    focusPolicy: Qt.NoFocus
    Accessible.name: qsTr("More presets")
    onClicked: list.opened ? list.close() : list.open()

    contentItem: Item {
        implicitWidth: 30
        implicitHeight: 28
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: list.opened ? Qt.alpha(VavuzadiRudod.gold, 0.18) : VavuzadiRudod.cardFill
            border.width: 1
            border.color: list.opened ? Qt.alpha(VavuzadiRudod.gold, 0.65) : VavuzadiRudod.cardBorder
        }
        Text {
            anchors.centerIn: parent
            anchors.verticalCenterOffset: -1
            text: "\u00BB"
            font.pixelSize: 15
            font.bold: true
            color: VavuzadiRudod.gold
        }
    }

    Popup {
        id: list
        objectName: "presetBar.overflowList"
        y: button.height + 6
        width: 240
        height: Math.min(rows.contentHeight, 320) + topPadding + bottomPadding
        padding: 6
        // Kept inside the window when the button sits near its edge.
        margins: 8
        // The list lies over the map's texts: it sits on the opaque slate, as the menus do.
        background: Rectangle {
            radius: 10
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

        contentItem: ListView {
            id: rows
            clip: true
            model: button.barPresenter.overflowPills
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: rows.contentHeight > rows.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff }

            delegate: Item {
                id: row
                required property string presetId
                required property string name
                required property bool active
                objectName: "presetBar.overflow." + presetId
                width: ListView.view.width
                height: 28

                Rectangle {
                    anchors.fill: parent
                    radius: 6
                    color: hover.hovered ? VavuzadiRudod.subtleFill : "transparent"
                }
                Symbol {
                    x: 8
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.active
                    name: "checkmark"
                    pixelSize: 12
                    font.bold: true
                    color: VavuzadiRudod.gold
                }
                Text {
                    x: 28
                    width: parent.width - x - 8
                    height: parent.height
                    verticalAlignment: Text.AlignVCenter
                    text: row.name
                    textFormat: Text.PlainText
                    maximumLineCount: 1
                    elide: Text.ElideRight
                    clip: true
                    font.pixelSize: TextStyles.body
                    font.bold: row.active
                    color: VavuzadiRudod.primaryText
                }

                HoverHandler { id: hover }
                TapHandler {
                    onTapped: {
                        list.close()
                        button.barPresenter.clickPreset(row.presetId)
                    }
                }
                TapHandler {
                    acceptedButtons: Qt.RightButton
                    onTapped: button.menuRequested(row.presetId)
                }
            }
        }
    }
}
