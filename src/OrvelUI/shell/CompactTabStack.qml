import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// One tab of the phone layout: a bar with its title, and its first page or, one level deep,
// the page of the group on its path. The first page stays loaded underneath, so going back
// finds it as it was.
Item {
    id: stack

    required property OrvelRootView rootView
    // The AppTab this stack shows.
    required property int tab
    required property string title
    required property Component firstPage
    // The group on the tab's path; empty on the first page.
    property string groupId: ""
    property string groupTitle: ""
    property bool groupFound: false

    readonly property bool onGroupPage: groupId !== ""
    // A tab's first page is made when the tab first shows and then kept.
    readonly property bool current: rootView.activeTab === tab
    property bool shownOnce: false
    onCurrentChanged: if (current) shownOnce = true
    Component.onCompleted: if (current) shownOnce = true

    Item {
        id: bar
        objectName: "tabBar." + stack.tab
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: 46

        OrvelBrandEmblem {
            visible: !stack.onGroupPage
            anchors.left: parent.left
            anchors.leftMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            width: 24
            height: 24
            size: 24
            showContainer: false
        }

        PressableStyle {
            objectName: "tabBack." + stack.tab
            visible: stack.onGroupPage
            anchors.left: parent.left
            anchors.leftMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            focusPolicy: Qt.NoFocus
            Accessible.name: qsTr("Back")
            onClicked: stack.rootView.closeGroupPage(stack.tab)
            contentItem: RowLayout {
                spacing: 2
                Symbol { name: "chevron.left"; pixelSize: 20; color: VavuzadiRudod.gold }
                // The title comes first: the back label takes what is left beside it, down to
                // nothing but the chevron.
                Text {
                    readonly property real room: (bar.width - title.width) / 2 - 8 - 22 - 16
                    visible: room >= 24
                    text: stack.title
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    Layout.maximumWidth: Math.max(0, room)
                    font.pixelSize: TextStyles.body
                    color: VavuzadiRudod.gold
                }
            }
        }

        // Centred, and as wide as the bar leaves it: beside the speaker count on a first page,
        // beside the back button's chevron on a group page.
        NameLine {
            id: title
            objectName: "tabTitle." + stack.tab
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - (stack.onGroupPage ? 2 * (8 + 22 + 8) : 200))
            horizontalAlignment: Text.AlignHCenter
            text: stack.onGroupPage ? stack.groupTitle : stack.title
            font.pixelSize: TextStyles.headline + 2
            font.bold: true
            color: VavuzadiRudod.primaryText
        }

        Text {
            objectName: "tabSpeakerCount." + stack.tab
            visible: !stack.onGroupPage
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            leftPadding: 4
            rightPadding: 4
            text: stack.rootView.compactTabs.speakerCountSummary
            textFormat: Text.PlainText
            font.pixelSize: TextStyles.caption
            font.bold: true
            color: VavuzadiRudod.secondaryText
        }
    }

    Item {
        anchors.top: bar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        Loader {
            objectName: "tabFirstPage." + stack.tab
            anchors.fill: parent
            visible: !stack.onGroupPage
            active: stack.shownOnce
            sourceComponent: stack.firstPage
        }

        Loader {
            objectName: "tabGroupPage." + stack.tab
            anchors.fill: parent
            active: stack.onGroupPage
            // A group that went keeps its page open with the background alone.
            sourceComponent: GroupDetailView {
                visible: stack.groupFound
                store: stack.rootView.viewStore
                groupId: stack.groupId
            }
        }
    }
}
