import QtQuick 2.6
import "."

// One level in the chooser: its number and name, and whether it is locked, open or completed. A level of
// the player's own is numbered within its stage and says if it has one layout only; a file that cannot be
// played shows its first fault.
Rectangle {
    id: tile

    property var level
    property bool current: false
    property string bestTimeText
    property bool hasReplay: false
    property bool solutionOffered: false
    signal clicked()
    signal replayClicked()
    signal solutionClicked()

    readonly property bool broken: !!level.broken
    readonly property bool locked: broken || level.locked
    readonly property bool completed: !!level.completed

    radius: Style.radius
    color: area.pressed && !locked ? Style.raisedPressed : locked ? Style.backgroundDeep : Style.raised
    border.width: current ? 2 * Style.unit : Math.max(1, Style.unit)
    border.color: current ? Style.accent : Style.outline

    Text {
        id: number
        objectName: "tileNumber"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.leftMargin: Style.gap * 1.2
        anchors.topMargin: Style.gap * 0.6
        text: tile.broken ? "!" : tile.level.custom ? tile.level.stagePosition : tile.level.index + 1
        font.pixelSize: Style.fontHuge * 0.85
        font.bold: true
        color: tile.locked ? Style.textFaint : Style.difficultyColor(tile.level.difficultyBand)
    }

    Text {
        objectName: "layoutNote"
        anchors.left: number.right
        anchors.right: badge.left
        anchors.leftMargin: Style.gap
        anchors.rightMargin: Style.gap * 0.5
        anchors.baseline: number.baseline
        visible: text !== ""
        text: tile.level.layoutNote || ""
        elide: Text.ElideRight
        font.pixelSize: Style.fontTiny
        font.capitalization: Font.AllUppercase
        color: Style.textDim
    }

    Rectangle {
        id: badge
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: Style.gap
        width: 26 * Style.unit
        height: width
        radius: width / 2
        visible: (tile.locked && !tile.broken) || tile.completed
        color: tile.completed ? Style.good : "transparent"

        Icon {
            anchors.centerIn: parent
            width: parent.width * (tile.completed ? 0.7 : 0.8)
            height: width
            name: tile.completed ? "check" : "lock"
            color: tile.completed ? Style.backgroundDeep : Style.textFaint
        }
    }

    // Below the number, so a name on two lines never runs into it.
    Column {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: number.bottom
        anchors.leftMargin: Style.gap * 1.2
        anchors.rightMargin: Style.gap * 1.2
        spacing: Style.gap * 0.25

        Text {
            width: parent.width
            text: tile.level.name
            wrapMode: Text.WordWrap
            maximumLineCount: 2
            elide: Text.ElideRight
            font.pixelSize: Style.fontBody
            font.bold: true
            color: tile.locked ? Style.textFaint : Style.text
        }

        Text {
            objectName: "tileStatus"
            width: parent.width
            wrapMode: Text.WordWrap
            maximumLineCount: tile.broken ? 2 : 1
            elide: Text.ElideRight
            font.pixelSize: Style.fontSmall
            color: tile.completed ? Style.good : Style.textDim
            text: tile.broken ? tile.level.error
                              : tile.locked ? qsTr("Locked")
                                            : tile.completed ? qsTr("Best %1").arg(tile.bestTimeText)
                                                             : tile.level.attempts > 0 ? qsTr("Attempts: %1").arg(tile.level.attempts)
                                                                                      : tile.level.difficulty
        }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: tile.clicked()
    }

    Row {
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: Style.gap * 0.6
        visible: !tile.locked

        // A stored solution, for a level lost again and again.
        IconButton {
            objectName: "showSolutionButton" + tile.level.index
            width: Style.button * 0.8
            height: width
            flat: true
            visible: tile.solutionOffered
            icon: "hint"
            onClicked: tile.solutionClicked()
        }

        // The level's best win, to watch again.
        IconButton {
            objectName: "watchBestButton" + tile.level.index
            width: Style.button * 0.8
            height: width
            flat: true
            visible: tile.hasReplay
            icon: "play"
            onClicked: tile.replayClicked()
        }
    }
}
