import QtQuick 2.6
import "."

// One live count of the play screen: a small caption over its value.
Column {
    id: stat

    property alias label: caption.text
    property alias value: number.text
    property color valueColor: Style.text

    // A short flash when the count changes in the player's favour or against it.
    function pulse(flashColor) {
        flash.color = flashColor
        flashAnimation.restart()
    }

    spacing: 0

    Text {
        id: caption
        anchors.horizontalCenter: parent.horizontalCenter
        font.pixelSize: Style.fontTiny
        font.bold: true
        font.letterSpacing: 0.8 * Style.unit
        color: Style.textDim
    }

    Text {
        id: number
        anchors.horizontalCenter: parent.horizontalCenter
        font.pixelSize: Style.fontLarge
        font.bold: true
        color: stat.valueColor

        Rectangle {
            id: flash
            anchors.centerIn: parent
            width: parent.width + 12 * Style.unit
            height: parent.height
            radius: height / 2
            opacity: 0
            z: -1
        }

        SequentialAnimation {
            id: flashAnimation
            NumberAnimation { target: flash; property: "opacity"; to: 0.45; duration: 90 }
            NumberAnimation { target: flash; property: "opacity"; to: 0; duration: 450 }
        }
    }
}
