import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The Spotify card: the linked account with a "Disconnect" button, or the call to link one.
Item {
    id: cardView

    required property SpotifySidebarCard card
    property bool inSidebarFooter: true

    readonly property color systemRed: VavuzadiRudod.systemRed
    readonly property bool hovered: hover.hovered

    objectName: "spotifyCard"
    implicitHeight: card.linked ? linkedFace.implicitHeight : connectFace.implicitHeight
    implicitWidth: card.linked ? linkedFace.implicitWidth : connectFace.implicitWidth

    HoverHandler { id: hover }

    RowLayout {
        id: linkedFace
        objectName: "spotifyCardLinked"
        visible: cardView.card.linked
        anchors.fill: parent
        anchors.leftMargin: cardView.inSidebarFooter ? 10 : 0
        anchors.rightMargin: cardView.inSidebarFooter ? 10 : 0
        spacing: 10
        implicitHeight: Math.max(avatar.height, names.implicitHeight) + (cardView.inSidebarFooter ? 14 : 4)

        AccentDisc {
            id: avatar
            readonly property real side: cardView.inSidebarFooter ? 28 : 34
            Layout.preferredWidth: side
            Layout.preferredHeight: side
            Text {
                objectName: "spotifyCardInitials"
                anchors.centerIn: parent
                text: cardView.card.initials
                textFormat: Text.PlainText
                font.pixelSize: cardView.inSidebarFooter ? 11 : 13
                font.bold: true
                color: VavuzadiRudod.ink
            }
        }

        ColumnLayout {
            id: names
            Layout.fillWidth: true
            Layout.minimumWidth: 0
            spacing: 1.5

            Text {
                Layout.fillWidth: true
                text: cardView.card.displayName
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                font.pixelSize: cardView.inSidebarFooter ? TextStyles.footnote : TextStyles.subheadline
                font.bold: true
                color: VavuzadiRudod.primaryText
            }
            RowLayout {
                spacing: 5
                Rectangle {
                    Layout.preferredWidth: 5.5
                    Layout.preferredHeight: 5.5
                    radius: 2.75
                    color: VavuzadiRudod.dark ? "#30d158" : "#34c759"
                }
                Text {
                    text: qsTr("Spotify Premium · Live")
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pixelSize: cardView.inSidebarFooter ? 10.5 : TextStyles.caption
                    color: VavuzadiRudod.secondaryText
                }
            }
        }

        Button {
            id: disconnect
            objectName: "spotifyCardDisconnect"
            readonly property bool present: !cardView.inSidebarFooter || cardView.hovered
            opacity: present ? 1 : 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 180; easing.type: Motion.springEasing } }
            flat: true
            leftPadding: 8
            rightPadding: 8
            topPadding: 3.5
            bottomPadding: 3.5
            onClicked: cardView.card.disconnectAccount()
            background: Rectangle {
                radius: height / 2
                color: Qt.rgba(cardView.systemRed.r, cardView.systemRed.g, cardView.systemRed.b, 0.12)
                border.width: 0.85
                border.color: Qt.rgba(cardView.systemRed.r, cardView.systemRed.g, cardView.systemRed.b, 0.28)
            }
            contentItem: Text {
                text: qsTr("Disconnect")
                font.pixelSize: TextStyles.caption2
                font.bold: true
                color: Qt.rgba(cardView.systemRed.r, cardView.systemRed.g, cardView.systemRed.b, 0.88)
            }
        }
    }

    Item {
        id: connectFace
        visible: !cardView.card.linked
        anchors.fill: parent
        implicitHeight: connectButton.implicitHeight
        implicitWidth: connectButton.implicitWidth

        VavuzadiRudodCard {
            anchors.fill: parent
            visible: cardView.inSidebarFooter
            glowing: true
            radius: 14
        }

        PressableStyle {
            id: connectButton
            objectName: "spotifyCardConnect"
            anchors.fill: parent
            leftPadding: cardView.inSidebarFooter ? 12 : 4
            rightPadding: leftPadding
            topPadding: cardView.inSidebarFooter ? 10 : 6
            bottomPadding: topPadding
            onClicked: cardView.card.connectAccount()
            contentItem: RowLayout {
                spacing: 10
                Rectangle {
                    Layout.preferredWidth: 8
                    Layout.preferredHeight: 8
                    radius: 4
                    color: VavuzadiRudod.gold
                }
                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.minimumWidth: 0
                    spacing: 1
                    Text {
                        Layout.fillWidth: true
                        text: qsTr("Connect Spotify")
                        wrapMode: Text.WordWrap
                        font.pixelSize: cardView.inSidebarFooter ? TextStyles.caption : TextStyles.subheadline
                        font.bold: true
                        color: VavuzadiRudod.primaryText
                    }
                    Text {
                        Layout.fillWidth: true
                        text: qsTr("Sign in for track metadata, artwork & live queue")
                        wrapMode: Text.WordWrap
                        elide: Text.ElideRight
                        maximumLineCount: cardView.inSidebarFooter ? 1 : 2
                        font.pixelSize: TextStyles.caption2
                        color: VavuzadiRudod.secondaryText
                    }
                }
                Symbol {
                    name: "arrow.up.right.circle.fill"
                    pixelSize: cardView.inSidebarFooter ? 16 : 18
                    color: VavuzadiRudod.gold
                }
            }
        }
    }
}
