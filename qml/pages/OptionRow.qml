import QtQuick 2.6
import "."

// One choice among several, with a round marker that is filled when it is the chosen one.
Rectangle {
    id: option

    property alias text: label.text
    property bool chosen: false
    signal clicked()

    height: Style.button + Style.gap
    radius: Style.radius
    color: area.pressed ? Style.raisedPressed : Style.raised
    border.width: chosen ? 2 * Style.unit : Math.max(1, Style.unit)
    border.color: chosen ? Style.accent : Style.outline

    Rectangle {
        id: marker
        anchors.left: parent.left
        anchors.leftMargin: Style.margin
        anchors.verticalCenter: parent.verticalCenter
        width: 20 * Style.unit
        height: width
        radius: width / 2
        color: "transparent"
        border.width: 2 * Style.unit
        border.color: option.chosen ? Style.accent : Style.textDim

        Rectangle {
            anchors.centerIn: parent
            width: parent.width * 0.5
            height: width
            radius: width / 2
            visible: option.chosen
            color: Style.accent
        }
    }

    Text {
        id: label
        anchors.left: marker.right
        anchors.leftMargin: Style.margin
        anchors.verticalCenter: parent.verticalCenter
        font.pixelSize: Style.fontBody
        font.bold: option.chosen
        color: Style.text
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: option.clicked()
    }
}
