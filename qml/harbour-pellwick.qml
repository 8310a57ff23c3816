import QtQuick 2.6
import "pages"

// The game's window: the level chooser, the play screen around the one GameCanvas, and the settings.
Item {
    id: root

    readonly property QtObject game: playScreen.game

    // "chooser", "play" or "settings".
    property string page: "chooser"
    // Where a replay started from the chooser returns when it has played to its end.
    property string watchReturnPage: ""
    readonly property bool levelUnderWay: !game.levelIntroVisible && !game.levelFinished
    readonly property bool applicationActive: Qt.application.state === Qt.ApplicationActive

    width: 960
    height: 540
    focus: true

    function showLevels() {
        if (playScreen.watching)
            playScreen.control.stopWatching()
        if (levelUnderWay)
            game.paused = true
        page = "chooser"
    }

    function chooseLevel(index) {
        if (game.setLevel(index))
            page = "play"
        else
            chooser.showMessage(qsTr("Win the level before it to unlock this one."))
    }

    // A level's best win, or a stored solution for a stuck player, in the layout the phone is held in.
    function watchFromChooser(index, solution) {
        if (levelUnderWay)
            game.paused = true
        var control = playScreen.control
        if (!(solution ? control.watchSolution(index) : control.watchBestReplay(index))) {
            if (control.refusal !== "")
                chooser.showMessage(control.refusal)
            return
        }
        watchReturnPage = page
        page = "play"
    }

    function finishedLevelKey() {
        if (game.levelWon && game.levelIndex + 1 < game.levelCount)
            game.nextLevel()
        else
            game.restartLevel()
    }

    function runningLevelKey(key) {
        if (key >= Qt.Key_1 && key <= Qt.Key_8)
            playScreen.toggleSkill(key - Qt.Key_1)
        else if (key === Qt.Key_Space || key === Qt.Key_P)
            game.togglePaused()
        else if (key === Qt.Key_S)
            game.speedMultiplier = playScreen.nextSpeed()
        else if (key === Qt.Key_BracketLeft)
            game.decreaseReleaseRate()
        else if (key === Qt.Key_BracketRight)
            game.increaseReleaseRate()
        else if (key === Qt.Key_Plus || key === Qt.Key_Equal)
            game.zoomIn()
        else if (key === Qt.Key_Minus)
            game.zoomOut()
        else if (key === Qt.Key_0)
            game.resetView()
        else if (key === Qt.Key_C)
            game.focusAction()
        else if (key === Qt.Key_F)
            game.followSelectedCrew = !game.followSelectedCrew
        else if (key === Qt.Key_R)
            game.restartLevel()
        else
            return false
        return true
    }

    function playKey(key) {
        var confirm = key === Qt.Key_Return || key === Qt.Key_Enter
        if (key === Qt.Key_Escape || key === Qt.Key_Back)
            showLevels()
        else if (game.levelIntroVisible && (confirm || key === Qt.Key_Space))
            game.startLevel()
        else if (game.levelFinished && confirm)
            finishedLevelKey()
        else if (game.levelFinished && key === Qt.Key_R)
            game.restartLevel()
        else if (key === Qt.Key_Backspace)
            playScreen.rewind()
        else if (key === Qt.Key_Left)
            playScreen.stepBack()
        else if (key === Qt.Key_Right)
            playScreen.stepForward()
        else if (playScreen.watching && (key === Qt.Key_Space || key === Qt.Key_P))
            game.togglePaused()
        else if (levelUnderWay && !playScreen.watching)
            return runningLevelKey(key)
        else
            return false
        return true
    }

    function pageKey(key) {
        if (page === "play")
            return playKey(key)
        if (key !== Qt.Key_Escape && key !== Qt.Key_Back)
            return false
        if (page === "settings")
            page = "chooser"
        else if (levelUnderWay)
            page = "play"
        else
            return false
        return true
    }

    // A game left in the background waits for the player; so does one restored at start.
    onApplicationActiveChanged: {
        if (!applicationActive && levelUnderWay)
            game.paused = true
    }
    // A game left on a level of the player's own that is gone or has changed since starts afresh, and says so.
    Component.onCompleted: {
        if (levelUnderWay)
            game.paused = true
        if (playScreen.control.refusal !== "")
            chooser.showMessage(playScreen.control.refusal)
    }

    Keys.onPressed: event.accepted = pageKey(event.key)

    Binding {
        target: Style
        property: "unit"
        value: Math.max(0.8, Math.min(3, Math.min(root.width, root.height) / 540))
    }

    Rectangle {
        anchors.fill: parent
        color: Style.backgroundDeep
    }

    PlayScreen {
        id: playScreen
        objectName: "playScreen"
        anchors.fill: parent
        visible: root.page === "play"
        onLevelsRequested: root.showLevels()
        onWatchFinished: {
            if (root.watchReturnPage !== "")
                root.page = root.watchReturnPage
            root.watchReturnPage = ""
        }
    }

    LevelChooser {
        id: chooser
        objectName: "chooser"
        anchors.fill: parent
        game: root.game
        control: playScreen.control
        visible: root.page === "chooser"
        canContinue: root.levelUnderWay
        onLevelChosen: root.chooseLevel(index)
        onReplayRequested: root.watchFromChooser(index, false)
        onSolutionRequested: root.watchFromChooser(index, true)
        onContinueRequested: root.page = "play"
        onSettingsRequested: root.page = "settings"
    }

    SettingsPage {
        objectName: "settingsPage"
        anchors.fill: parent
        game: root.game
        control: playScreen.control
        visible: root.page === "settings"
        onBackRequested: root.page = "chooser"
    }

    // Over every page and card, just below the top bars, where a player holding the phone either way sees it.
    SaveProblemBanner {
        objectName: "saveProblemBanner"
        anchors.horizontalCenter: parent.horizontalCenter
        y: Style.button + 2 * Style.gap
        problem: playScreen.control.saveProblem
    }
}
