import QtQuick 2.6
import "."

// The level chooser: the levels grouped by stage, with lock state, completion and records.
Rectangle {
    id: chooser

    property var game
    property var control
    property bool canContinue: false
    signal levelChosen(int index)
    signal replayRequested(int index)
    signal solutionRequested(int index)
    signal continueRequested()
    signal settingsRequested()

    readonly property var levels: game.levels
    readonly property var stages: groupByStage(levels)
    readonly property int completedCount: {
        var count = 0
        for (var i = 0; i < levels.length; ++i) {
            if (levels[i].completed)
                ++count
        }
        return count
    }
    // Files of the player's own that cannot be played are listed, but are no levels to complete.
    readonly property int playableCount: levels.filter(function(level) { return !level.broken }).length
    readonly property int columns: Math.max(2, Math.floor((contentColumn.width + Style.gap) / (150 * Style.unit + Style.gap)))

    function showMessage(message) {
        toast.show(message)
    }

    function findTile(item, name) {
        if (item.objectName === name)
            return item
        for (var i = 0; i < item.children.length; ++i) {
            var found = findTile(item.children[i], name)
            if (found)
                return found
        }
        return null
    }

    // Scrolls just far enough that the level the game is on shows, with its stage heading if possible.
    function revealCurrentLevel() {
        var tile = findTile(contentColumn, "levelTile" + game.levelIndex)
        if (!tile)
            return
        var top = tile.mapToItem(contentColumn, 0, 0).y + contentColumn.y
        var bottom = top + tile.height + Style.margin
        var maxY = Math.max(0, flick.contentHeight - flick.height)
        if (bottom > flick.contentY + flick.height)
            flick.contentY = Math.min(maxY, bottom - flick.height)
        else if (top < flick.contentY)
            flick.contentY = Math.max(0, top - 3 * Style.margin)
    }

    // A level file dropped in or edited while the game runs shows the next time the chooser does.
    onVisibleChanged: {
        if (!visible)
            return
        if (control)
            control.readPlayerLevels()
        revealCurrentLevel()
    }

    // At start the tiles are laid out a moment after the page is built.
    Timer {
        interval: 50
        running: true
        onTriggered: chooser.revealCurrentLevel()
    }

    // Stages are contiguous runs of levels in the catalogue.
    function groupByStage(list) {
        var groups = []
        for (var i = 0; i < list.length; ++i) {
            var level = list[i]
            if (groups.length === 0 || groups[groups.length - 1].stage !== level.stage)
                groups.push({ stage: level.stage, name: level.stageName, levels: [], completed: 0, playable: 0 })
            var group = groups[groups.length - 1]
            group.levels.push(level)
            if (level.completed)
                ++group.completed
            if (!level.broken)
                ++group.playable
        }
        return groups
    }

    color: Style.background

    Flickable {
        id: flick
        objectName: "levelList"
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: contentColumn.height + 2 * Style.margin
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Column {
            id: contentColumn
            x: Math.max(Style.margin, (flick.width - width) / 2)
            y: Style.margin
            width: Math.min(flick.width - 2 * Style.margin, 980 * Style.unit)
            spacing: Style.margin * 1.4

            Rectangle {
                objectName: "continueBanner"
                visible: chooser.canContinue
                width: parent.width
                height: Style.button + 1.6 * Style.gap
                radius: Style.radius
                color: continueArea.pressed ? Style.accentPressed : Style.accent

                Icon {
                    id: continueIcon
                    anchors.left: parent.left
                    anchors.leftMargin: Style.margin
                    anchors.verticalCenter: parent.verticalCenter
                    name: "play"
                    width: Style.fontLarge * 1.2
                    height: width
                    color: Style.textOnAccent
                }

                Text {
                    anchors.left: continueIcon.right
                    anchors.leftMargin: Style.gap
                    anchors.right: parent.right
                    anchors.rightMargin: Style.margin
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    text: qsTr("Continue %1").arg(game.levelName)
                    font.pixelSize: Style.fontLarge
                    font.bold: true
                    color: Style.textOnAccent
                }

                MouseArea {
                    id: continueArea
                    anchors.fill: parent
                    onClicked: chooser.continueRequested()
                }
            }

            Repeater {
                model: chooser.stages

                Column {
                    width: contentColumn.width
                    spacing: Style.gap

                    Item {
                        width: parent.width
                        height: stageTitle.height

                        Text {
                            id: stageTitle
                            anchors.left: parent.left
                            text: modelData.name
                            font.pixelSize: Style.fontLarge
                            font.bold: true
                            color: Style.text
                        }
                        Text {
                            anchors.right: parent.right
                            anchors.baseline: stageTitle.baseline
                            text: qsTr("%1 of %2 completed").arg(modelData.completed).arg(modelData.playable)
                            font.pixelSize: Style.fontSmall
                            color: modelData.completed === modelData.playable ? Style.good : Style.textDim
                        }
                    }

                    Grid {
                        id: grid
                        readonly property real cellWidth: (width - (columns - 1) * spacing) / columns
                        width: parent.width
                        columns: chooser.columns
                        spacing: Style.gap

                        Repeater {
                            model: modelData.levels

                            LevelTile {
                                objectName: modelData.broken ? "brokenLevel " + modelData.fileName : "levelTile" + modelData.index
                                width: grid.cellWidth
                                height: 104 * Style.unit
                                level: modelData
                                current: modelData.index === game.levelIndex
                                bestTimeText: modelData.bestTime >= 0 ? game.formattedTime(modelData.bestTime) : ""
                                onClicked: modelData.broken ? chooser.showMessage(modelData.error) : chooser.levelChosen(modelData.index)
                                hasReplay: !!chooser.control && chooser.control.hasBestReplay(modelData.index)
                                onReplayClicked: chooser.replayRequested(modelData.index)
                                solutionOffered: !!chooser.control && chooser.control.solutionLevels.indexOf(modelData.index) >= 0
                                onSolutionClicked: chooser.solutionRequested(modelData.index)
                            }
                        }
                    }
                }
            }
        }
    }

    Rectangle {
        id: header
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: titleColumn.height + 2 * Style.margin
        color: Style.panelSolid

        Column {
            id: titleColumn
            anchors.left: parent.left
            anchors.leftMargin: Math.max(Style.margin, contentColumn.x)
            anchors.right: settingsButton.left
            anchors.verticalCenter: parent.verticalCenter

            Text {
                text: "Pellwick"
                font.pixelSize: Style.fontTitle
                font.bold: true
                color: Style.accent
            }
            Text {
                width: parent.width
                elide: Text.ElideRight
                text: qsTr("Choose a level · %1 of %2 completed").arg(chooser.completedCount).arg(chooser.playableCount)
                font.pixelSize: Style.fontSmall
                color: Style.textDim
            }
        }

        IconButton {
            id: settingsButton
            objectName: "settingsButton"
            anchors.right: parent.right
            anchors.rightMargin: Math.max(Style.margin, contentColumn.x)
            anchors.verticalCenter: parent.verticalCenter
            icon: "settings"
            onClicked: chooser.settingsRequested()
        }
    }

    Toast {
        id: toast
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 2 * Style.margin
    }
}
