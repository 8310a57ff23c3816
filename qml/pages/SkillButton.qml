import QtQuick 2.6
import "."

// One skill of the skill bar: its remaining stock over its short label; the held skill is lit.
Rectangle {
    id: button

    property int skillId: -1
    property string shortName
    property int count: 0
    property bool selected: false
    signal clicked()

    // A brief glow when this skill was just handed to a crew member.
    function flash() {
        glowAnimation.restart()
    }

    width: 60 * Style.unit
    height: 60 * Style.unit
    radius: Style.radius
    color: selected ? Style.accent : area.pressed ? Style.raisedPressed : Style.raised
    border.width: selected ? 0 : Math.max(1, Style.unit)
    border.color: count > 0 ? Style.outline : "transparent"

    Text {
        id: number
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: parent.height * 0.1
        text: button.count
        font.pixelSize: parent.height * 0.4
        font.bold: true
        color: button.selected ? Style.textOnAccent : button.count > 0 ? Style.text : Style.textFaint
    }

    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: parent.height * 0.1
        width: parent.width - 4 * Style.unit
        horizontalAlignment: Text.AlignHCenter
        text: button.shortName
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 7 * Style.unit
        font.pixelSize: parent.height * 0.19
        font.bold: true
        font.letterSpacing: 0.5 * Style.unit
        color: button.selected ? Style.textOnAccent : button.count > 0 ? Style.textDim : Style.textFaint
    }

    Rectangle {
        id: glow
        anchors.fill: parent
        radius: parent.radius
        color: "transparent"
        border.width: 3 * Style.unit
        border.color: Style.good
        opacity: 0
    }

    SequentialAnimation {
        id: glowAnimation
        NumberAnimation { target: glow; property: "opacity"; to: 1; duration: 80 }
        NumberAnimation { target: glow; property: "opacity"; to: 0; duration: 500 }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
