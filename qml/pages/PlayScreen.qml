import QtQuick 2.6
import harbour.pellwick 1.0
import "."

// The play screen: the canvas in the space the bars leave free, so no part of the world hides behind
// them; the gestures that reach it; the live counts, the view and play controls, the skill bar; and the
// introduction and result cards. In portrait the skills sit below the field, in landscape beside it.
Item {
    id: screen

    property alias game: canvas
    property alias control: control
    readonly property bool watching: control.watching
    property bool pausedBeforeAsking: false
    signal levelsRequested()
    // A replay played to its end; the canvas is back on the game it left.
    signal watchFinished()

    readonly property bool portrait: height > width
    readonly property bool running: !canvas.levelIntroVisible && !canvas.levelFinished
    readonly property var skills: canvas.skills
    readonly property var speedSteps: [0.5, 1, 2, 3]
    readonly property string selectedSkillName: canvas.selectedSkill >= 0 && canvas.selectedSkill < skills.length
                                                ? skills[canvas.selectedSkill].name : ""
    readonly property real skillSize: portrait
                                      ? Math.min(60 * Style.unit, (width - 2 * Style.margin - 7 * skillGrid.spacing) / 8)
                                      : Math.min(60 * Style.unit, (height - topBar.height - 2 * Style.gap - 7 * skillGrid.spacing) / 8)

    function showToast(message) {
        toast.show(message)
    }

    function toggleSkill(skill) {
        canvas.selectSkill(canvas.selectedSkill === skill ? -1 : skill)
    }

    function nextSpeed() {
        for (var i = 0; i < speedSteps.length; ++i) {
            if (speedSteps[i] > canvas.speedMultiplier + 0.01)
                return speedSteps[i]
        }
        return speedSteps[0]
    }

    function speedLabel(speed) {
        return (Math.abs(speed - 0.5) < 0.01 ? "\u00bd" : String(Math.round(speed * 10) / 10)) + "\u00d7"
    }

    // Taking the run back: a press goes five seconds back and holding keeps going; while paused, a tick
    // back or forward. Where the run is now shows large while it goes back.
    function rewind() {
        if (control.rewind())
            rewindShown.restart()
    }

    function scrubBack() {
        if (control.scrubBack())
            rewindShown.restart()
    }

    function stepBack() {
        return control.stepBack()
    }

    function stepForward() {
        return control.stepForward()
    }

    // A tap on the field hands out the held skill; while paused it resumes play instead.
    function tapAt(x, y) {
        if (!running || watching)
            return
        if (canvas.paused) {
            canvas.paused = false
            return
        }
        if (canvas.selectedSkill < 0) {
            sounds.play("refused")
            showToast(qsTr("Choose a skill first, then tap a crew member."))
            return
        }
        if (canvas.applySelectedSkill(x, y))
            return
        sounds.play("refused")
        if (skills[canvas.selectedSkill].count === 0)
            showToast(qsTr("No %1 left.").arg(selectedSkillName))
    }

    GameCanvas {
        id: canvas

        x: screen.portrait ? 0 : skillPanel.width
        y: topBar.height
        width: screen.width - x - (screen.portrait ? 0 : zoomPanel.width)
        height: screen.height - y - (screen.portrait ? bottomPanel.height : 0)
        portraitLayout: screen.portrait

        onCrewTargetPreviewed: screen.showToast(qsTr("Crew member %1 of %2 here: tap again for the next one.")
                                                .arg(candidateIndex).arg(candidateCount))
        onSkillAssigned: {
            var button = skillRepeater.itemAt(skill)
            if (button)
                button.flash()
            sounds.play("skill")
        }
        onCrewSaved: {
            savedStat.pulse(Style.good)
            sounds.play("saved")
        }
        onCrewLost: {
            outStat.pulse(Style.bad)
            sounds.play("lost")
        }
        onObjectTriggered: sounds.play("trigger")
        onLevelCompleted: sounds.play(won ? "won" : "failed")

        // Taps, drags, the wheel and pinches, in the canvas's own item coordinates.
        PinchArea {
            property real startZoom: 1
            property point lastCenter

            anchors.fill: parent
            enabled: screen.running

            onPinchStarted: {
                startZoom = canvas.zoom
                lastCenter = pinch.center
            }
            onPinchUpdated: {
                canvas.setZoomAt(startZoom * pinch.scale, pinch.center.x, pinch.center.y)
                canvas.panByItemDelta(pinch.center.x - lastCenter.x, pinch.center.y - lastCenter.y)
                lastCenter = pinch.center
            }

            MouseArea {
                property point lastPoint
                property bool dragging: false

                objectName: "fieldArea"
                anchors.fill: parent

                onPressed: {
                    lastPoint = Qt.point(mouse.x, mouse.y)
                    dragging = false
                }
                onPositionChanged: {
                    if (!dragging && Math.abs(mouse.x - lastPoint.x) + Math.abs(mouse.y - lastPoint.y) > 10 * Style.unit)
                        dragging = true
                    if (dragging) {
                        canvas.panByItemDelta(mouse.x - lastPoint.x, mouse.y - lastPoint.y)
                        lastPoint = Qt.point(mouse.x, mouse.y)
                    }
                }
                onReleased: {
                    if (!dragging)
                        screen.tapAt(mouse.x, mouse.y)
                }
                onWheel: canvas.setZoomAt(canvas.zoom * (wheel.angleDelta.y > 0 ? 1.15 : 1 / 1.15), wheel.x, wheel.y)
            }
        }
    }

    // Ending a run by hand and watching replays, beyond what the canvas itself offers.
    GameControl {
        id: control
        canvas: canvas
        // Installed beside the pages' folder, as in the build tree.
        solutionFolder: Qt.resolvedUrl("../../solutions")
        onWatchFinished: screen.watchFinished()
        onWatchedSkillAssigned: sounds.play("skill")
        onWatchedLevelCompleted: sounds.play(won ? "won" : "failed")
    }

    // Nothing sounds while the game is in the background.
    Sounds {
        id: sounds
        objectName: "sounds"
        server: control.soundServer
        enabled: control.soundEnabled && Qt.application.state === Qt.ApplicationActive
    }

    // The game holds still while the player decides.
    function askToEndRun() {
        pausedBeforeAsking = canvas.paused
        canvas.paused = true
        endRunCard.visible = true
    }

    // The top bar: back to the levels, the level's name, the live counts, (in landscape) the play
    // controls, and pause.
    Rectangle {
        id: topBar

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: Style.button + 1.4 * Style.gap
        color: Style.panelSolid

        IconButton {
            id: levelsButton
            objectName: "levelsButton"
            anchors.left: parent.left
            anchors.leftMargin: Style.gap
            anchors.verticalCenter: parent.verticalCenter
            icon: "levels"
            onClicked: screen.levelsRequested()
        }

        Column {
            anchors.left: levelsButton.right
            anchors.leftMargin: Style.gap * 1.5
            anchors.right: counts.left
            anchors.rightMargin: Style.margin
            anchors.verticalCenter: parent.verticalCenter
            visible: !screen.portrait && width > 80 * Style.unit

            Text {
                width: parent.width
                text: canvas.levelName
                elide: Text.ElideRight
                font.pixelSize: Style.fontBody
                font.bold: true
                color: Style.text
            }
            Text {
                width: parent.width
                text: qsTr("%1 · %2 of %3").arg(canvas.stageName).arg(canvas.stagePosition).arg(canvas.stageTotal)
                elide: Text.ElideRight
                font.pixelSize: Style.fontSmall
                color: Style.textDim
            }
        }

        Row {
            id: counts
            x: screen.portrait ? (parent.width - width) / 2 : controlRow.x - 1.5 * Style.margin - width
            anchors.verticalCenter: parent.verticalCenter
            spacing: Style.margin * 1.2

            Stat {
                id: outStat
                objectName: "outStat"
                label: qsTr("OUT")
                value: canvas.activeCrew
            }
            Stat {
                id: savedStat
                objectName: "savedStat"
                label: qsTr("SAVED")
                value: canvas.saved
                valueColor: canvas.saved >= canvas.required ? Style.good : Style.text
            }
            Stat {
                label: qsTr("NEEDED")
                value: canvas.required
            }
            Stat {
                label: qsTr("TIME")
                value: canvas.formattedTime(canvas.elapsedSeconds)
            }
        }

        IconButton {
            id: pauseButton
            objectName: "pauseButton"
            anchors.right: parent.right
            anchors.rightMargin: Style.gap
            anchors.verticalCenter: parent.verticalCenter
            enabled: screen.running
            icon: canvas.paused ? "play" : "pause"
            checked: canvas.paused
            onClicked: canvas.togglePaused()
        }
    }

    // Restart, speed and release rate: in the top bar in landscape, above the skills in portrait.
    Row {
        id: controlRow

        parent: screen.portrait ? bottomPanel : topBar
        x: screen.portrait ? (parent.width - width) / 2 : pauseButton.x - Style.margin - width
        y: screen.portrait ? Style.gap : (parent.height - height) / 2
        spacing: Style.gap
        enabled: screen.running

        IconButton {
            objectName: "restartButton"
            anchors.verticalCenter: parent.verticalCenter
            enabled: !screen.watching
            icon: "restart"
            onClicked: canvas.restartLevel()
        }

        IconButton {
            objectName: "endRunButton"
            anchors.verticalCenter: parent.verticalCenter
            visible: control.canEndRun
            icon: "check"
            onClicked: screen.askToEndRun()
        }

        Rectangle {
            objectName: "speedButton"
            anchors.verticalCenter: parent.verticalCenter
            width: speedRow.width + 1.6 * Style.margin
            height: Style.button
            radius: height / 2
            color: speedArea.pressed ? Style.raisedPressed : Style.raised
            border.width: Math.max(1, Style.unit)
            border.color: Style.outline

            Row {
                id: speedRow
                anchors.centerIn: parent
                spacing: Style.gap * 0.5

                Icon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "speed"
                    width: Style.fontLarge
                    height: width
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: screen.speedLabel(canvas.speedMultiplier)
                    font.pixelSize: Style.fontBody
                    font.bold: true
                    color: Style.text
                }
            }

            MouseArea {
                id: speedArea
                anchors.fill: parent
                onClicked: canvas.speedMultiplier = screen.nextSpeed()
            }
        }

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: rateRow.width
            enabled: !screen.watching
            height: Style.button
            radius: height / 2
            color: Style.raised
            border.width: Math.max(1, Style.unit)
            border.color: Style.outline

            Row {
                id: rateRow
                anchors.centerIn: parent

                IconButton {
                    objectName: "rateDownButton"
                    anchors.verticalCenter: parent.verticalCenter
                    flat: true
                    icon: "minus"
                    onClicked: canvas.decreaseReleaseRate()
                }
                Stat {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.max(implicitWidth, 2.6 * Style.fontLarge)
                    label: qsTr("RATE")
                    value: canvas.releaseRate
                }
                IconButton {
                    objectName: "rateUpButton"
                    anchors.verticalCenter: parent.verticalCenter
                    flat: true
                    icon: "plus"
                    onClicked: canvas.increaseReleaseRate()
                }
            }
        }
    }

    // Portrait: the play controls and the skills under the field.
    Rectangle {
        id: bottomPanel

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: screen.portrait ? Style.button + screen.skillSize + 3 * Style.gap : 0
        visible: screen.portrait
        color: Style.panelSolid
    }

    // Landscape: the skills in a column left of the field.
    Rectangle {
        id: skillPanel

        anchors.left: parent.left
        anchors.top: topBar.bottom
        anchors.bottom: parent.bottom
        width: screen.portrait ? 0 : screen.skillSize + 2 * Style.gap
        visible: !screen.portrait
        color: Style.panelSolid
    }

    // Landscape: the view controls in a column right of the field. In portrait they float over the
    // field's right edge, where the narrower world leaves room.
    Rectangle {
        id: zoomPanel

        anchors.right: parent.right
        anchors.top: topBar.bottom
        anchors.bottom: parent.bottom
        width: screen.portrait ? 0 : Style.button + 2 * Style.gap
        visible: !screen.portrait
        color: Style.panelSolid
    }

    Column {
        anchors.right: parent.right
        anchors.rightMargin: Style.gap
        anchors.top: canvas.top
        anchors.topMargin: Style.gap
        spacing: Style.gap
        visible: screen.running

        IconButton {
            objectName: "zoomInButton"
            icon: "zoomIn"
            enabled: canvas.zoom < 3.49
            onClicked: canvas.zoomIn()
        }
        IconButton {
            objectName: "zoomOutButton"
            icon: "zoomOut"
            enabled: canvas.zoom > 1.001
            onClicked: canvas.zoomOut()
        }
        IconButton {
            objectName: "resetViewButton"
            icon: "fit"
            enabled: canvas.zoom > 1.001
            onClicked: canvas.resetView()
        }
        IconButton {
            objectName: "focusButton"
            icon: "focus"
            onClicked: canvas.focusAction()
        }
        IconButton {
            objectName: "followButton"
            icon: "follow"
            checked: canvas.followSelectedCrew
            onClicked: canvas.followSelectedCrew = !canvas.followSelectedCrew
        }
    }

    // Going back in time, at the foot of the view controls where the thumb rests, in either orientation;
    // stepping shows while paused, above the rewind button so that it never moves under the thumb.
    Column {
        anchors.right: parent.right
        anchors.rightMargin: Style.gap
        anchors.bottom: canvas.bottom
        anchors.bottomMargin: Style.gap
        spacing: Style.gap
        visible: screen.running

        IconButton {
            objectName: "stepForwardButton"
            visible: canvas.paused
            icon: "stepForward"
            onClicked: screen.stepForward()
        }
        IconButton {
            objectName: "stepBackButton"
            visible: canvas.paused
            icon: "stepBack"
            onClicked: screen.stepBack()
        }
        IconButton {
            id: rewindButton
            objectName: "rewindButton"
            icon: "rewind"
            enabled: control.canRewind
            checked: scrubbing.running
            onPressedChanged: {
                if (pressed) {
                    screen.rewind()
                    holdToScrub.start()
                } else {
                    holdToScrub.stop()
                    scrubbing.stop()
                }
            }
        }
    }

    Timer {
        id: holdToScrub
        interval: 400
        onTriggered: scrubbing.start()
    }

    Timer {
        id: scrubbing
        interval: 100
        repeat: true
        onTriggered: screen.scrubBack()
    }

    Timer {
        id: rewindShown
        interval: 900
    }

    Rectangle {
        objectName: "rewindBubble"
        anchors.horizontalCenter: canvas.horizontalCenter
        anchors.top: canvas.top
        anchors.topMargin: Style.margin
        width: rewindRow.width + 2 * Style.margin
        height: rewindRow.height + Style.gap
        radius: height / 2
        color: Style.panel
        border.width: Math.max(1, Style.unit)
        border.color: Style.accent
        visible: screen.running && (rewindButton.pressed || rewindShown.running)

        Row {
            id: rewindRow
            anchors.centerIn: parent
            spacing: Style.gap

            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: "rewind"
                width: Style.fontHuge
                height: width
                color: Style.accent
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: canvas.formattedTime(canvas.elapsedSeconds)
                font.pixelSize: Style.fontHuge
                font.bold: true
                color: Style.text
            }
        }
    }

    Grid {
        id: skillGrid

        x: screen.portrait ? (screen.width - width) / 2 : (skillPanel.width - width) / 2
        y: screen.portrait ? bottomPanel.y + Style.button + 2 * Style.gap
                           : topBar.height + (skillPanel.height - height) / 2
        columns: screen.portrait ? 8 : 1
        spacing: Style.gap * 0.75

        Repeater {
            id: skillRepeater
            model: screen.skills

            SkillButton {
                objectName: "skillButton" + modelData.id
                width: screen.skillSize
                height: screen.skillSize
                skillId: modelData.id
                shortName: modelData.shortName
                count: modelData.count
                selected: canvas.selectedSkill === modelData.id
                enabled: screen.running && !screen.watching
                onClicked: screen.toggleSkill(modelData.id)
            }
        }
    }

    // What the held skill does next, or a warning once the level can no longer be won.
    Rectangle {
        anchors.horizontalCenter: canvas.horizontalCenter
        anchors.bottom: canvas.bottom
        anchors.bottomMargin: Style.gap
        width: hint.implicitWidth + 2 * Style.margin
        height: hint.implicitHeight + Style.gap
        radius: height / 2
        color: Style.panel
        visible: screen.running && hint.text !== ""

        Text {
            id: hint
            anchors.centerIn: parent
            font.pixelSize: Style.fontSmall
            color: canvas.rescuePossible ? Style.text : Style.bad
            text: !canvas.rescuePossible ? qsTr("Too few crew left to win this time.")
                                         : screen.selectedSkillName !== ""
                                           ? qsTr("%1: tap a crew member").arg(screen.selectedSkillName) : ""
        }
    }

    Toast {
        id: toast
        anchors.horizontalCenter: canvas.horizontalCenter
        anchors.top: canvas.top
        anchors.topMargin: Style.margin
    }

    ReplayBanner {
        objectName: "replayBanner"
        anchors.horizontalCenter: canvas.horizontalCenter
        anchors.bottom: canvas.bottom
        anchors.bottomMargin: Style.gap
        visible: screen.watching
        onStopRequested: control.stopWatching()
    }

    EndRunCard {
        id: endRunCard
        objectName: "endRunCard"
        anchors.fill: parent
        game: canvas
        visible: false
        onConfirmed: {
            visible = false
            canvas.paused = false
            control.endRun()
        }
        onCancelled: {
            visible = false
            canvas.paused = screen.pausedBeforeAsking
        }
    }

    IntroCard {
        objectName: "introCard"
        anchors.fill: parent
        game: canvas
        visible: canvas.levelIntroVisible
        onLevelsRequested: screen.levelsRequested()
    }

    ResultCard {
        objectName: "resultCard"
        anchors.fill: parent
        game: canvas
        control: control
        visible: canvas.levelFinished && !canvas.levelIntroVisible
        onLevelsRequested: screen.levelsRequested()
    }
}
