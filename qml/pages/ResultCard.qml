import QtQuick 2.6
import "."

// The end of an attempt: won or lost, how it went, records set, and where to go next.
Card {
    id: result

    property var game
    property var control
    signal levelsRequested()

    readonly property bool won: game.levelWon
    readonly property bool hasNextLevel: won && game.levelIndex + 1 < game.levelCount
    // Looked up each time the card appears: the attempt's replay is written as it ends.
    readonly property bool replayAvailable: visible && !!control && control.hasLastReplay()
    readonly property bool solutionOffered: !!control && control.solutionLevels.indexOf(game.levelIndex) >= 0

    function stageText() {
        if (!game.stageComplete)
            return ""
        if (game.nextStageName === "")
            return qsTr("You have finished every level. Well done!")
        return qsTr("%1 is complete. Next stage: %2").arg(game.stageName).arg(game.nextStageName)
    }

    Row {
        spacing: Style.margin

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 44 * Style.unit
            height: width
            radius: width / 2
            color: result.won ? Style.good : Style.bad

            Icon {
                anchors.centerIn: parent
                width: parent.width * 0.6
                height: width
                name: result.won ? "check" : "restart"
                color: Style.backgroundDeep
            }
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter

            Text {
                objectName: "resultTitle"
                text: result.won ? qsTr("Level complete") : qsTr("Level failed")
                font.pixelSize: Style.fontTitle
                font.bold: true
                color: Style.text
            }
            Text {
                text: game.levelName
                font.pixelSize: Style.fontBody
                color: Style.textDim
            }
        }
    }

    Rectangle {
        objectName: "stageBanner"
        width: parent.width
        height: stageLabel.height + 1.4 * Style.gap
        radius: Style.radius
        visible: stageLabel.text !== ""
        color: Qt.rgba(Style.accent.r, Style.accent.g, Style.accent.b, 0.16)
        border.width: Math.max(1, Style.unit)
        border.color: Style.accent

        Text {
            id: stageLabel
            anchors.centerIn: parent
            width: parent.width - 2 * Style.margin
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: result.stageText()
            font.pixelSize: Style.fontBody
            font.bold: true
            color: Style.accent
        }
    }

    Row {
        spacing: 2 * Style.margin

        Stat {
            objectName: "resultSaved"
            label: qsTr("SAVED")
            value: qsTr("%1 of %2").arg(game.saved).arg(game.totalCrew)
            valueColor: result.won ? Style.good : Style.bad
        }
        Stat {
            label: qsTr("NEEDED")
            value: game.required
        }
        Stat {
            label: qsTr("TIME")
            value: game.formattedTime(game.elapsedSeconds)
        }
        Stat {
            label: qsTr("SKILLS")
            value: game.skillsUsed
        }
    }

    Flow {
        width: parent.width
        spacing: Style.gap
        visible: result.replayAvailable || result.solutionOffered

        TextButton {
            objectName: "watchAgainButton"
            visible: result.replayAvailable
            icon: "play"
            text: qsTr("Watch again")
            onClicked: result.control.watchLastReplay()
        }
        TextButton {
            objectName: "showSolutionButton"
            visible: result.solutionOffered
            icon: "hint"
            text: qsTr("Show a solution")
            onClicked: result.control.watchSolution(game.levelIndex)
        }
    }

    Text {
        width: parent.width
        visible: !result.won
        text: qsTr("%1 more needed to win. Try another plan.").arg(game.required - game.saved)
        wrapMode: Text.WordWrap
        font.pixelSize: Style.fontBody
        color: Style.textDim
    }

    Flow {
        width: parent.width
        spacing: Style.gap * 0.75
        visible: game.newBestTime || game.newBestSkills || game.newBestSaved

        Chip {
            visible: game.newBestTime
            icon: "star"
            text: qsTr("New best time")
            tint: Style.accent
        }
        Chip {
            visible: game.newBestSkills
            icon: "star"
            text: qsTr("Fewest skills yet")
            tint: Style.accent
        }
        Chip {
            visible: game.newBestSaved
            icon: "star"
            text: qsTr("Most crew saved yet")
            tint: Style.accent
        }
    }

    Flow {
        width: parent.width
        spacing: Style.gap
        layoutDirection: Qt.RightToLeft

        TextButton {
            objectName: "nextButton"
            visible: result.hasNextLevel
            primary: true
            icon: "next"
            text: qsTr("Next level")
            onClicked: game.nextLevel()
        }
        TextButton {
            objectName: "retryButton"
            primary: !result.won
            icon: "restart"
            text: qsTr("Try again")
            onClicked: game.restartLevel()
        }
        // A loss taken back is no loss: the run goes on five seconds before its end, as the same attempt.
        TextButton {
            objectName: "resultRewindButton"
            visible: !result.won && !!result.control && result.control.canRewind
            icon: "rewind"
            text: qsTr("Go back 5 s")
            onClicked: result.control.rewind()
        }
        TextButton {
            objectName: "resultLevelsButton"
            primary: result.won && !result.hasNextLevel
            icon: "levels"
            text: qsTr("Levels")
            onClicked: result.levelsRequested()
        }
    }
}
