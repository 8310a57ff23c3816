import QtQuick 2.6
import "."

// A card over a dimmed play field; it scrolls when the window is too small to hold it.
Item {
    id: card

    default property alias content: column.data
    property real maxWidth: 520 * Style.unit
    readonly property real padding: 1.5 * Style.margin

    onVisibleChanged: {
        if (visible)
            appear.restart()
    }

    Rectangle {
        anchors.fill: parent
        color: Style.veil
    }

    MouseArea {
        anchors.fill: parent
    }

    Flickable {
        id: flick
        anchors.fill: parent
        contentWidth: width
        contentHeight: Math.max(height, panel.height + 2 * Style.margin)
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Rectangle {
            id: panel
            x: (flick.width - width) / 2
            y: Math.max(Style.margin, (flick.height - height) / 2)
            width: Math.min(flick.width - 2 * Style.margin, card.maxWidth)
            height: column.height + 2 * card.padding
            radius: 16 * Style.unit
            color: Style.panelSolid
            border.width: Math.max(1, Style.unit)
            border.color: Style.outline

            Column {
                id: column
                x: card.padding
                y: card.padding
                width: panel.width - 2 * card.padding
                spacing: Style.gap * 1.4
            }
        }
    }

    ParallelAnimation {
        id: appear
        NumberAnimation { target: panel; property: "opacity"; from: 0; to: 1; duration: 180 }
        NumberAnimation { target: panel; property: "scale"; from: 0.96; to: 1; duration: 180; easing.type: Easing.OutQuad }
    }
}
