import QtQuick 2.6
import "."

// A pill-shaped button with a label and an optional icon; the primary one carries the accent colour.
Rectangle {
    id: button

    property alias text: label.text
    property string icon
    property bool primary: false
    signal clicked()

    implicitWidth: Math.max(Style.button * 2.4, content.width + 2.2 * Style.margin)
    implicitHeight: Style.button
    radius: height / 2
    opacity: enabled ? 1 : 0.4
    color: primary ? (area.pressed ? Style.accentPressed : Style.accent)
                   : (area.pressed ? Style.raisedPressed : Style.raised)
    border.width: primary ? 0 : Math.max(1, Style.unit)
    border.color: Style.outline

    Row {
        id: content
        anchors.centerIn: parent
        spacing: Style.gap * 0.75

        Icon {
            visible: button.icon !== ""
            name: button.icon
            width: Style.fontLarge
            height: width
            anchors.verticalCenter: parent.verticalCenter
            color: label.color
        }

        Text {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: Style.fontBody
            font.bold: true
            color: button.primary ? Style.textOnAccent : Style.text
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
