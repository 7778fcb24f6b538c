import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Orvella.UI

// The settings page: the Spotify link card, and "About" with the household's name and the
// version. The card's connect action is the window's one sign-in.
Flickable {
    id: settings

    required property SpotifySidebarCard card
    required property SettingsAboutListModel about
    property real bottomInset: 0

    objectName: "settings"
    clip: true
    contentWidth: width
    contentHeight: sections.implicitHeight + 24 + bottomInset
    boundsBehavior: Flickable.StopAtBounds

    component SectionHeader: Text {
        leftPadding: 4
        topPadding: 6
        font.pixelSize: TextStyles.subheadline
        font.bold: true
        color: VavuzadiRudod.secondaryText
    }

    Column {
        id: sections
        x: 16
        y: 12
        width: settings.width - 32
        spacing: 8

        SectionHeader { text: qsTr("Spotify") }

        ListSection {
            width: sections.width
            Item {
                width: sections.width
                height: cardView.implicitHeight + 20
                SpotifySidebarCardView {
                    id: cardView
                    x: 14
                    y: 10
                    width: parent.width - 28
                    card: settings.card
                    inSidebarFooter: false
                }
            }
        }

        Item { width: 1; height: 6 }
        SectionHeader { text: qsTr("About") }

        ListSection {
            id: aboutRows
            width: sections.width

            Repeater {
                model: settings.about
                Item {
                    id: aboutRow
                    required property int index
                    required property string title
                    required property string value
                    objectName: "settings.about." + title
                    width: aboutRows.width
                    height: 44

                    ListRowSeparator {
                        visible: aboutRow.index > 0
                    }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: 14
                        anchors.rightMargin: 14
                        Text {
                            objectName: "settings.about.title"
                            text: aboutRow.title
                            font.pixelSize: TextStyles.body
                            color: VavuzadiRudod.primaryText
                        }
                        Item { Layout.fillWidth: true }
                        Text {
                            objectName: "settings.about.value"
                            Layout.maximumWidth: aboutRow.width * 0.6
                            text: aboutRow.value
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            font.pixelSize: TextStyles.subheadline
                            color: VavuzadiRudod.secondaryText
                        }
                    }
                }
            }
        }
    }
}
