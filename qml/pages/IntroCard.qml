import QtQuick 2.6
import "."

// The level's introduction: where it stands, what it asks, what the crew has to work with.
Card {
    id: intro

    property var game
    signal levelsRequested()

    readonly property var stockedSkills: {
        var list = []
        var skills = game.skills
        for (var i = 0; i < skills.length; ++i) {
            if (skills[i].count > 0)
                list.push(skills[i])
        }
        return list
    }

    // Read from the level list: it is refreshed when statistics change, and looking the level up by its
    // index refreshes it when the level changes too. A level of the player's own whose file has gone since
    // has none.
    readonly property var record: recordOf(game.levels, game.levelIndex)

    function recordOf(levels, index) {
        for (var i = 0; i < levels.length; ++i) {
            if (levels[i].index === index)
                return levels[i]
        }
        return null
    }

    function recordText() {
        if (!record)
            return ""
        if (record.bestTime >= 0)
            return qsTr("Best: %1 with %2 skills, %3 saved").arg(game.formattedTime(record.bestTime))
                .arg(record.bestSkills).arg(record.bestSaved)
        if (record.bestSaved > 0)
            return qsTr("Not completed yet. Most saved so far: %1").arg(record.bestSaved)
        return qsTr("Not completed yet.")
    }

    Text {
        width: parent.width
        text: qsTr("%1 · Level %2 of %3").arg(game.stageName).arg(game.stagePosition).arg(game.stageTotal)
        font.pixelSize: Style.fontSmall
        font.bold: true
        font.capitalization: Font.AllUppercase
        font.letterSpacing: 1.2 * Style.unit
        color: Style.accent
    }

    Text {
        objectName: "introTitle"
        width: parent.width
        text: game.levelName
        wrapMode: Text.WordWrap
        font.pixelSize: Style.fontTitle
        font.bold: true
        color: Style.text
    }

    Chip {
        text: game.difficultyName
        tint: Style.difficultyColor(intro.record ? intro.record.difficultyBand : 0)
    }

    Text {
        objectName: "introBriefing"
        width: parent.width
        text: game.levelBriefing
        wrapMode: Text.WordWrap
        lineHeight: 1.15
        font.pixelSize: Style.fontBody
        color: Style.text
    }

    Row {
        spacing: 2 * Style.margin

        Stat {
            label: qsTr("CREW")
            value: game.totalCrew
        }
        Stat {
            label: qsTr("NEEDED")
            value: game.required
        }
        Stat {
            label: qsTr("RATE")
            value: game.releaseRate
        }
    }

    Flow {
        width: parent.width
        spacing: Style.gap * 0.75

        Repeater {
            model: intro.stockedSkills

            Chip {
                text: qsTr("%1 × %2").arg(modelData.name).arg(modelData.count)
                tint: Style.text
            }
        }

        Text {
            visible: intro.stockedSkills.length === 0
            text: qsTr("No skills here: watch how the crew moves.")
            font.pixelSize: Style.fontSmall
            color: Style.textDim
        }
    }

    Text {
        width: parent.width
        text: intro.recordText()
        wrapMode: Text.WordWrap
        font.pixelSize: Style.fontSmall
        color: Style.textDim
    }

    Item {
        width: parent.width
        height: Style.button + Style.gap

        TextButton {
            anchors.left: parent.left
            anchors.bottom: parent.bottom
            icon: "levels"
            text: qsTr("Levels")
            onClicked: intro.levelsRequested()
        }

        TextButton {
            objectName: "startButton"
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            primary: true
            icon: "play"
            text: qsTr("Start")
            onClicked: game.startLevel()
        }
    }
}
