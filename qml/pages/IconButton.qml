import QtQuick 2.6
import "."

// A round button showing one icon; `checked` marks a switch that is on.
Rectangle {
    id: button

    property alias icon: glyph.name
    property bool checked: false
    property bool flat: false
    property alias pressed: area.pressed
    signal clicked()

    width: Style.button
    height: Style.button
    radius: width / 2
    opacity: enabled ? 1 : 0.4
    color: area.pressed ? Style.raisedPressed : checked ? Style.accent : flat ? "transparent" : Style.raised
    border.width: flat || checked ? 0 : Math.max(1, Style.unit)
    border.color: Style.outline

    Icon {
        id: glyph
        anchors.centerIn: parent
        width: parent.width * 0.52
        height: width
        color: button.checked ? Style.textOnAccent : Style.text
    }

    MouseArea {
        id: area
        anchors.fill: parent
        anchors.margins: -4 * Style.unit
        onClicked: button.clicked()
    }
}
