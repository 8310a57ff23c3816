import QtQuick 2.6
import "."

// A small rounded label: a difficulty, a skill in stock, a new record.
Rectangle {
    id: chip

    property alias text: label.text
    property color tint: Style.textDim
    property string icon

    width: content.width + 1.4 * Style.margin
    height: content.height + 0.7 * Style.gap
    radius: height / 2
    color: Qt.rgba(tint.r, tint.g, tint.b, 0.16)
    border.width: Math.max(1, Style.unit)
    border.color: Qt.rgba(tint.r, tint.g, tint.b, 0.55)

    Row {
        id: content
        anchors.centerIn: parent
        spacing: Style.gap * 0.5

        Icon {
            visible: chip.icon !== ""
            name: chip.icon
            width: Style.fontBody
            height: width
            anchors.verticalCenter: parent.verticalCenter
            color: chip.tint
        }

        Text {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            font.pixelSize: Style.fontSmall
            font.bold: true
            color: chip.tint
        }
    }
}
