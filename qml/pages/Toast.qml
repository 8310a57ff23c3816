import QtQuick 2.6
import "."

// A short message that fades in and out by itself.
Rectangle {
    id: toast

    function show(message) {
        label.text = message
        fade.restart()
    }

    width: Math.min(label.implicitWidth + 2.4 * Style.margin, parent ? parent.width - 2 * Style.margin : 0)
    height: label.height + 1.4 * Style.gap * 2
    radius: height / 2
    color: "#f0182d40"
    border.width: Math.max(1, Style.unit)
    border.color: Style.outline
    opacity: 0
    visible: opacity > 0

    Text {
        id: label
        anchors.centerIn: parent
        width: toast.width - 2 * Style.margin
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        font.pixelSize: Style.fontBody
        color: Style.text
    }

    SequentialAnimation {
        id: fade
        NumberAnimation { target: toast; property: "opacity"; to: 1; duration: 140 }
        PauseAnimation { duration: 1800 }
        NumberAnimation { target: toast; property: "opacity"; to: 0; duration: 400 }
    }
}
