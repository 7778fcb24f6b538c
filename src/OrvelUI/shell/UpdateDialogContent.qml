import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// What the update dialog shows in each phase of an update: the found version with its notes
// and Install / Later, the install under way, its outcome, or the outcome of a check.
Item {
    id: content

    // "available", "installing", "installed", "upToDate" or "failed".
    property string phase
    property string version
    property string notes
    // The sentence under the heading: what was found, what happened, or what went wrong.
    property string message

    signal installClicked()
    signal laterClicked()

    implicitWidth: 440
    implicitHeight: column.implicitHeight + 48

    readonly property string heading: {
        switch (phase) {
        case "available": return qsTr("A new version of Orvella is available")
        case "installing": return qsTr("Installing the update")
        case "installed": return qsTr("The update is installed")
        case "upToDate": return qsTr("Orvella is up to date")
        case "failed": return qsTr("The update failed")
        }
        return ""
    }
    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 24
        spacing: 14

        RowLayout {
            Layout.fillWidth: true
            spacing: 14

            OrvelBrandEmblem {
                Layout.alignment: Qt.AlignTop
                size: 48
                showContainer: true
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 6

                Text {
                    objectName: "updateDialog.heading"
                    Layout.fillWidth: true
                    text: content.heading
                    wrapMode: Text.WordWrap
                    font.pixelSize: TextStyles.headline + 2
                    font.bold: true
                    color: VavuzadiRudod.primaryText
                }

                Text {
                    objectName: "updateDialog.detail"
                    Layout.fillWidth: true
                    text: content.message
                    // Versions, paths and failure texts come from outside.
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font.pixelSize: TextStyles.body
                    color: VavuzadiRudod.secondaryText
                }
            }
        }

        Rectangle {
            visible: content.phase === "available" && content.notes.length > 0
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(220, notesText.implicitHeight + 24)
            radius: 10
            color: VavuzadiRudod.subtleFill
            border.width: 1
            border.color: VavuzadiRudod.cardBorder

            ScrollView {
                anchors.fill: parent
                anchors.margins: 12
                contentWidth: availableWidth
                clip: true

                Text {
                    id: notesText
                    objectName: "updateDialog.notes"
                    width: parent.width
                    text: content.notes
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    font.pixelSize: TextStyles.body
                    color: VavuzadiRudod.primaryText
                }
            }
        }

        BusyIndicator {
            visible: content.phase === "installing"
            running: visible
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 32
            Layout.preferredHeight: 32
            palette.dark: VavuzadiRudod.gold
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 4
            spacing: 10

            Item { Layout.fillWidth: true }

            PressableStyle {
                objectName: "updateDialog.later"
                visible: content.phase !== "installing"
                focusPolicy: Qt.NoFocus
                onClicked: content.laterClicked()
                contentItem: Item {
                    implicitWidth: laterLabel.implicitWidth + 28
                    implicitHeight: laterLabel.implicitHeight + 14
                    Rectangle {
                        anchors.fill: parent
                        radius: height / 2
                        color: VavuzadiRudod.subtleFill
                        border.width: 1
                        border.color: VavuzadiRudod.cardBorder
                    }
                    Text {
                        id: laterLabel
                        anchors.centerIn: parent
                        text: content.phase === "available" ? qsTr("Later") : qsTr("Close")
                        font.pixelSize: TextStyles.body
                        font.bold: true
                        color: VavuzadiRudod.primaryText
                    }
                }
            }

            PressableStyle {
                objectName: "updateDialog.install"
                visible: content.phase === "available"
                focusPolicy: Qt.NoFocus
                onClicked: content.installClicked()
                contentItem: Item {
                    implicitWidth: installLabel.implicitWidth + 28
                    implicitHeight: installLabel.implicitHeight + 14
                    Rectangle {
                        anchors.fill: parent
                        radius: height / 2
                        color: VavuzadiRudod.gold
                    }
                    Text {
                        id: installLabel
                        anchors.centerIn: parent
                        text: qsTr("Install")
                        font.pixelSize: TextStyles.body
                        font.bold: true
                        color: VavuzadiRudod.ink
                    }
                }
            }
        }
    }
}
