import QtQuick 2.6
import "."

// Shown over the field while a replay plays: taps hand out nothing, and Stop goes back to the game.
Rectangle {
    id: banner

    signal stopRequested()

    width: row.width + 2 * Style.margin
    height: Style.button + Style.gap
    radius: height / 2
    color: Style.panel

    Row {
        id: row
        anchors.centerIn: parent
        spacing: Style.margin

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: "play"
            width: Style.fontLarge
            height: width
            color: Style.accent
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Replay")
            font.pixelSize: Style.fontBody
            font.bold: true
            color: Style.text
        }
        TextButton {
            objectName: "stopReplayButton"
            anchors.verticalCenter: parent.verticalCenter
            icon: "back"
            text: qsTr("Stop")
            onClicked: banner.stopRequested()
        }
    }
}
