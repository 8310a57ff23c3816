import QtQuick 2.6
import "."

// Told once, over whichever page is showing, when the storage refuses to save the game: why, in plain words,
// and that play goes on. It stays until the player taps it away; the game runs on under it.
Rectangle {
    id: banner

    // Empty while saving works.
    property string problem
    property bool dismissed: false

    visible: problem !== "" && !dismissed
    width: Math.min(parent.width - 2 * Style.margin, 560 * Style.unit)
    height: content.height + 2 * Style.margin
    radius: Style.radius
    color: Style.panelSolid
    border.width: Math.max(2, 2 * Style.unit)
    border.color: Style.bad

    onVisibleChanged: {
        if (visible)
            appear.restart()
    }

    // A tap on the banner reaches nothing under it.
    MouseArea {
        anchors.fill: parent
    }

    Column {
        id: content
        x: Style.margin
        y: Style.margin
        width: parent.width - 2 * Style.margin
        spacing: Style.gap

        Text {
            width: parent.width
            wrapMode: Text.WordWrap
            text: qsTr("Saving failed")
            font.pixelSize: Style.fontLarge
            font.bold: true
            color: Style.bad
        }
        Text {
            objectName: "saveProblemText"
            width: parent.width
            wrapMode: Text.WordWrap
            text: banner.problem
            font.pixelSize: Style.fontBody
            color: Style.text
        }
        TextButton {
            objectName: "saveProblemOkButton"
            anchors.right: parent.right
            primary: true
            text: qsTr("OK")
            onClicked: banner.dismissed = true
        }
    }

    SequentialAnimation {
        id: appear
        NumberAnimation { target: banner; property: "scale"; from: 0.9; to: 1.04; duration: 160; easing.type: Easing.OutQuad }
        NumberAnimation { target: banner; property: "scale"; to: 1; duration: 120 }
    }
}
