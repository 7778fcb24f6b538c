import QtQuick
import QtQuick.Controls
import Orvella.UI

// The update dialog: a window of its own, as the update interface is, so closing the main
// window leaves an open update in view. It shows whatever the update model presents; closing
// it counts as "Later".
Window {
    id: dialog

    // The update model; null when the build has no update check.
    property QtObject appUpdater: null
    readonly property string phase: appUpdater ? appUpdater.dialogPhase : ""

    objectName: "updateDialog"
    title: qsTr("Software Update")
    flags: Qt.Dialog
    width: content.implicitWidth
    height: content.implicitHeight
    minimumWidth: content.implicitWidth
    minimumHeight: content.implicitHeight
    color: VavuzadiRudod.obsidian

    onPhaseChanged: {
        if (phase === "") hide()
        else show()
    }
    // Made while the model already presents something.
    Component.onCompleted: if (phase !== "") show()
    onClosing: {
        if (appUpdater) appUpdater.dismiss()
    }

    MidnightBackground {
        anchors.fill: parent
    }

    UpdateDialogContent {
        id: content
        anchors.fill: parent
        phase: dialog.phase
        version: dialog.appUpdater ? dialog.appUpdater.updateVersion : ""
        notes: dialog.appUpdater ? dialog.appUpdater.updateNotes : ""
        message: dialog.appUpdater ? dialog.appUpdater.dialogMessage : ""
        onInstallClicked: dialog.appUpdater.install()
        onLaterClicked: dialog.appUpdater.dismiss()
    }
}
