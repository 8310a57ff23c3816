import QtQuick 2.6
import "."

// Everything laid over the play field: the gestures that reach the canvas, the live counts, the view
// and play controls, the skill bar, and the introduction and result cards.
Item {
    id: screen

    property var game
    signal levelsRequested()

    readonly property bool portrait: height > width
    readonly property bool running: !game.levelIntroVisible && !game.levelFinished
    readonly property var skills: game.skills
    readonly property var speedSteps: [0.5, 1, 2, 3]
    readonly property string selectedSkillName: game.selectedSkill >= 0 && game.selectedSkill < skills.length
                                                ? skills[game.selectedSkill].name : ""

    function showToast(message) {
        toast.show(message)
    }

    function flashSkill(skill) {
        var button = skillRepeater.itemAt(skill)
        if (button)
            button.flash()
    }

    function pulseSaved() {
        savedStat.pulse(Style.good)
    }

    function pulseLost() {
        outStat.pulse(Style.bad)
    }

    function toggleSkill(skill) {
        game.selectSkill(game.selectedSkill === skill ? -1 : skill)
    }

    function nextSpeed() {
        for (var i = 0; i < speedSteps.length; ++i) {
            if (speedSteps[i] > game.speedMultiplier + 0.01)
                return speedSteps[i]
        }
        return speedSteps[0]
    }

    function speedLabel(speed) {
        return (Math.abs(speed - 0.5) < 0.01 ? "\u00bd" : String(Math.round(speed * 10) / 10)) + "\u00d7"
    }

    // A tap on the field hands out the held skill; while paused it resumes play instead.
    function tapAt(x, y) {
        if (!running)
            return
        if (game.paused) {
            game.paused = false
            return
        }
        if (game.selectedSkill < 0) {
            showToast(qsTr("Choose a skill first, then tap a crew member."))
            return
        }
        if (!game.applySelectedSkill(x, y) && skills[game.selectedSkill].count === 0)
            showToast(qsTr("No %1 left.").arg(selectedSkillName))
    }

    // Taps, drags, the wheel and pinches over the canvas, in the canvas's own item coordinates.
    PinchArea {
        id: pinchArea

        property real startZoom: 1
        property point lastCenter

        anchors.fill: parent
        enabled: screen.running

        onPinchStarted: {
            startZoom = game.zoom
            lastCenter = pinch.center
        }
        onPinchUpdated: {
            var center = mapToItem(game, pinch.center.x, pinch.center.y)
            var last = mapToItem(game, lastCenter.x, lastCenter.y)
            game.setZoomAt(startZoom * pinch.scale, center.x, center.y)
            game.panByItemDelta(center.x - last.x, center.y - last.y)
            lastCenter = pinch.center
        }

        MouseArea {
            id: fieldArea

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
                    game.panByItemDelta(mouse.x - lastPoint.x, mouse.y - lastPoint.y)
                    lastPoint = Qt.point(mouse.x, mouse.y)
                }
            }
            onReleased: {
                if (!dragging) {
                    var point = mapToItem(game, mouse.x, mouse.y)
                    screen.tapAt(point.x, point.y)
                }
            }
            onWheel: {
                var point = mapToItem(game, wheel.x, wheel.y)
                var factor = wheel.angleDelta.y > 0 ? 1.15 : 1 / 1.15
                game.setZoomAt(game.zoom * factor, point.x, point.y)
            }
        }
    }

    // The top bar: back to the levels, the live counts, pause.
    Rectangle {
        id: topBar

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: Style.button + 1.4 * Style.gap
        color: Style.panel

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
            anchors.rightMargin: Style.gap
            anchors.verticalCenter: parent.verticalCenter
            visible: !screen.portrait

            Text {
                width: parent.width
                text: game.levelName
                elide: Text.ElideRight
                font.pixelSize: Style.fontBody
                font.bold: true
                color: Style.text
            }
            Text {
                width: parent.width
                text: qsTr("%1 · %2 of %3").arg(game.stageName).arg(game.stagePosition).arg(game.stageTotal)
                elide: Text.ElideRight
                font.pixelSize: Style.fontSmall
                color: Style.textDim
            }
        }

        Row {
            id: counts
            anchors.verticalCenter: parent.verticalCenter
            anchors.horizontalCenter: screen.portrait ? parent.horizontalCenter : undefined
            anchors.right: screen.portrait ? undefined : pauseButton.left
            anchors.rightMargin: Style.margin
            spacing: Style.margin * (screen.portrait ? 1.1 : 1.8)

            Stat {
                id: outStat
                objectName: "outStat"
                label: qsTr("OUT")
                value: game.activeCrew
            }
            Stat {
                id: savedStat
                objectName: "savedStat"
                label: qsTr("SAVED")
                value: game.saved
                valueColor: game.saved >= game.required ? Style.good : Style.text
            }
            Stat {
                label: qsTr("NEEDED")
                value: game.required
            }
            Stat {
                label: qsTr("TIME")
                value: game.formattedTime(game.elapsedSeconds)
            }
        }

        IconButton {
            id: pauseButton
            objectName: "pauseButton"
            anchors.right: parent.right
            anchors.rightMargin: Style.gap
            anchors.verticalCenter: parent.verticalCenter
            enabled: screen.running
            icon: game.paused ? "play" : "pause"
            checked: game.paused
            onClicked: game.togglePaused()
        }
    }

    // The view controls along the right edge.
    Column {
        anchors.right: parent.right
        anchors.rightMargin: Style.gap
        anchors.verticalCenter: parent.verticalCenter
        anchors.verticalCenterOffset: (topBar.height - bottomBar.height) / 2
        spacing: Style.gap
        visible: screen.running

        IconButton {
            objectName: "zoomInButton"
            icon: "zoomIn"
            enabled: game.zoom < 3.49
            onClicked: game.zoomIn()
        }
        IconButton {
            objectName: "zoomOutButton"
            icon: "zoomOut"
            enabled: game.zoom > 1.001
            onClicked: game.zoomOut()
        }
        IconButton {
            objectName: "resetViewButton"
            icon: "fit"
            enabled: game.zoom > 1.001
            onClicked: game.resetView()
        }
        IconButton {
            objectName: "focusButton"
            icon: "focus"
            onClicked: game.focusAction()
        }
        IconButton {
            objectName: "followButton"
            icon: "follow"
            checked: game.followSelectedCrew
            onClicked: game.followSelectedCrew = !game.followSelectedCrew
        }
    }

    // What the held skill does next, or a warning once the level can no longer be won.
    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: bottomBar.top
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
            color: game.rescuePossible ? Style.text : Style.bad
            text: !game.rescuePossible ? qsTr("Too few crew left to win this time.")
                                       : screen.selectedSkillName !== ""
                                         ? qsTr("%1: tap a crew member").arg(screen.selectedSkillName) : ""
        }
    }

    // The skill bar and the play controls: one row in a wide window, two rows otherwise.
    Rectangle {
        id: bottomBar

        readonly property real oneRowWidth: skillRow.width + controlRow.width + 3 * Style.margin
        readonly property bool twoRows: screen.portrait || oneRowWidth > screen.width

        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: bars.height + 1.6 * Style.gap
        color: Style.panel
        visible: screen.running

        MouseArea {
            anchors.fill: parent
        }

        Grid {
            id: bars
            anchors.centerIn: parent
            columns: bottomBar.twoRows ? 1 : 2
            columnSpacing: 2 * Style.margin
            rowSpacing: Style.gap
            layoutDirection: bottomBar.twoRows ? Qt.LeftToRight : Qt.RightToLeft
            horizontalItemAlignment: Grid.AlignHCenter
            verticalItemAlignment: Grid.AlignVCenter

            Row {
                id: controlRow
                spacing: Style.gap

                IconButton {
                    objectName: "restartButton"
                    anchors.verticalCenter: parent.verticalCenter
                    icon: "restart"
                    onClicked: game.restartLevel()
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
                            text: screen.speedLabel(game.speedMultiplier)
                            font.pixelSize: Style.fontBody
                            font.bold: true
                            color: Style.text
                        }
                    }

                    MouseArea {
                        id: speedArea
                        anchors.fill: parent
                        onClicked: game.speedMultiplier = screen.nextSpeed()
                    }
                }

                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: rateRow.width + Style.gap
                    height: Style.button + Style.gap * 0.5
                    radius: height / 2
                    color: Style.raised
                    border.width: Math.max(1, Style.unit)
                    border.color: Style.outline

                    Row {
                        id: rateRow
                        anchors.centerIn: parent
                        spacing: Style.gap * 0.25

                        IconButton {
                            objectName: "rateDownButton"
                            anchors.verticalCenter: parent.verticalCenter
                            flat: true
                            icon: "minus"
                            onClicked: game.decreaseReleaseRate()
                        }
                        Stat {
                            objectName: "rateStat"
                            anchors.verticalCenter: parent.verticalCenter
                            width: Math.max(implicitWidth, 3.2 * Style.fontLarge)
                            label: qsTr("RATE")
                            value: game.releaseRate
                        }
                        IconButton {
                            objectName: "rateUpButton"
                            anchors.verticalCenter: parent.verticalCenter
                            flat: true
                            icon: "plus"
                            onClicked: game.increaseReleaseRate()
                        }
                    }
                }
            }

            Row {
                id: skillRow

                readonly property real buttonSize: Math.min(60 * Style.unit,
                                                            (screen.width - 2 * Style.margin - 7 * spacing) / 8)

                spacing: Style.gap * 0.75

                Repeater {
                    id: skillRepeater
                    model: screen.skills

                    SkillButton {
                        objectName: "skillButton" + modelData.id
                        width: skillRow.buttonSize
                        height: skillRow.buttonSize
                        skillId: modelData.id
                        shortName: modelData.shortName
                        count: modelData.count
                        selected: game.selectedSkill === modelData.id
                        onClicked: screen.toggleSkill(modelData.id)
                    }
                }
            }
        }
    }

    Toast {
        id: toast
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: topBar.bottom
        anchors.topMargin: Style.margin
    }

    IntroCard {
        objectName: "introCard"
        anchors.fill: parent
        game: screen.game
        visible: game.levelIntroVisible
        onLevelsRequested: screen.levelsRequested()
    }

    ResultCard {
        objectName: "resultCard"
        anchors.fill: parent
        game: screen.game
        visible: game.levelFinished && !game.levelIntroVisible
        onLevelsRequested: screen.levelsRequested()
    }
}
