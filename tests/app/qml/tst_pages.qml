import QtMultimedia 5.6
import QtQuick 2.6
import QtTest 1.1
import PellwickTest 1.0

// Plays through the game's real pages the way a player does: taps on tiles, buttons and the field.
Item {
    id: window

    width: 960
    height: 540

    // Asking for the singleton publishes the driver and the language settings on this engine.
    readonly property QtObject testEngine: TestEngine

    Component {
        id: pages
        Loader {
            width: window.width
            height: window.height
            source: driver.mainPage
        }
    }

TestCase {
    id: testCase

    property var root: null
    property var game: null
    property var pageLoaders: []

    name: "Pages"
    when: windowShown

    function child(name) {
        var item = findChild(root, name)
        verify(item !== null, "no item named " + name)
        return item
    }

    // Pages of their own, destroyed after the test.
    function createPages() {
        var loader = pages.createObject(window)
        pageLoaders.push(loader)
        return loader
    }

    function tap(name) {
        var item = child(name)
        verify(item.visible, name + " is hidden")
        mouseClick(item)
    }

    // Opens the pages on a fresh game with the levels up to `unlocked` open.
    function openPages(unlocked) {
        driver.resetStorage()
        driver.unlockLevels(unlocked)
        var loader = createPages()
        tryCompare(loader, "status", Loader.Ready)
        root = loader.item
        game = root.game
        root.forceActiveFocus()
        waitForRendering(root)
        soundSpy.target = child("sounds")
        soundSpy.clear()
    }

    SignalSpy {
        id: soundSpy
        signalName: "played"
    }

    SignalSpy {
        id: watchEnds
        signalName: "watchFinished"
    }

    // The sounds played since the pages opened, by name, in order.
    function heard() {
        var names = []
        for (var i = 0; i < soundSpy.count; ++i)
            names.push(soundSpy.signalArguments[i][0])
        return names
    }

    function countOf(name, names) {
        return names.filter(function(heardName) { return heardName === name }).length
    }

    function startLevel(index) {
        tap("levelTile" + index)
        compare(root.page, "play")
        tap("startButton")
        verify(!game.levelIntroVisible)
    }

    function init() {
        driver.takeWarnings()
    }

    // Any warning or error the pages cause during a test fails it.
    function cleanup() {
        var warnings = driver.takeWarnings()
        compare(warnings.length, 0, warnings.join("\n"))
        root = null
        game = null
        while (pageLoaders.length > 0) {
            // Qt's sound cache can hang for good when an effect goes while another still loads.
            var sounds = findChild(pageLoaders[pageLoaders.length - 1].item, "sounds")
            for (var i = 0; sounds && sounds.server && i < sounds.names.length; ++i)
                tryCompare(findChild(sounds, "sound_" + sounds.names[i]).effect, "status", SoundEffect.Ready, 20000)
            pageLoaders.pop().destroy()
        }
    }

    // The play controls reach the canvas: pause and resume, speed steps, release rate up and down, zoom, following.
    function test_playControlsChangeTheGame() {
        openPages(0)
        startLevel(0)
        var taps = [["pauseButton", "paused", true], ["pauseButton", "paused", false],
                    ["speedButton", "speedMultiplier", 2], ["speedButton", "speedMultiplier", 3],
                    ["speedButton", "speedMultiplier", 0.5], ["rateUpButton", "releaseRate", 50],
                    ["rateDownButton", "releaseRate", 45], ["rateDownButton", "releaseRate", 40],
                    ["zoomInButton", "zoom", 1.35], ["resetViewButton", "zoom", 1],
                    ["followButton", "followSelectedCrew", true]]
        for (var i = 0; i < taps.length; ++i) {
            tap(taps[i][0])
            var value = game[taps[i][1]]
            compare(typeof value === "number" ? Math.round(value * 100) / 100 : value, taps[i][2], taps[i][0])
        }
    }

    // Holding a skill and tapping a crew member hands it over and uses the stock up; a tap while paused only
    // resumes. Handed to the wrong member, it is taken back with the rewind button: the stock returns, the level
    // is then won as if it had never been handed out, and the stored replay of the win verifies. A win stays.
    function test_tapAssignsTheHeldSkill() {
        openPages(1)
        startLevel(1)
        tap("skillButton2")
        compare(game.selectedSkill, 2)
        verify(child("skillButton2").selected)
        compare(game.skills[2].count, 1)

        var point = driver.runUntilEligible(game, 2, 600)
        verify(point.x >= 0, "no crew member could take the skill")
        tap("pauseButton")
        mouseClick(child("fieldArea"), point.x, point.y)
        verify(!game.paused)
        compare(game.skillsUsed, 0)
        mouseClick(child("fieldArea"), point.x, point.y)
        compare(game.skillsUsed, 1)
        compare(game.skills[2].count, 0)
        compare(game.selectedSkill, -1, "the last use lets go of the skill")
        verify(!child("skillButton2").selected)
        tap("rewindButton")
        compare(game.skills[2].count, 1, "the stock returns")
        verify(driver.playSolution(game))
        verify(!child("resultRewindButton").visible)
        keyClick(Qt.Key_Backspace)
        verify(game.levelWon && !child("playScreen").control.rewind())
        verify(driver.lastReplayVerifies(game))
    }

    // A level played to its end shows the result card; trying again replays it from its introduction, and
    // a win offers the next level, which opens.
    function test_finishedLevelShowsTheResult() {
        openPages(0)
        startLevel(0)
        verify(driver.runUntilFinished(game, 20000))
        tap("retryButton")
        compare(game.levelIndex, 0)
        verify(child("introCard").visible)
        verify(!game.levelFinished)
        tap("startButton")
        verify(driver.runUntilFinished(game, 20000))
        compare(game.levels[0].attempts, 2, "trying again is one more attempt")
        verify(game.levelWon)
        verify(child("resultCard").visible)
        compare(child("resultTitle").text, "Level complete")
        compare(child("resultSaved").value, game.saved + " of " + game.totalCrew)
        verify(child("nextButton").visible)
        tap("nextButton")
        compare(game.levelIndex, 1)
        verify(child("introCard").visible)
        verify(!child("resultCard").visible)
    }

    // "Watch again" plays the attempt on the field and comes back to the same result, counting nothing;
    // the chooser then offers the win from its tile and returns to itself at the end.
    function test_watchingReplaysCountsNothing() {
        openPages(0)
        startLevel(0)
        verify(driver.runUntilFinished(game, 20000))
        verify(game.levelWon)
        var saved = game.saved
        var levels = JSON.stringify(game.levels)
        var control = child("playScreen").control
        soundSpy.clear()
        tap("watchAgainButton")
        verify(control.watching)
        verify(child("replayBanner").visible)
        verify(!child("resultCard").visible)
        verify(driver.runUntilFinished(game, 20000))
        verify(!control.watching)
        verify(child("resultCard").visible)
        compare(heard().slice(-2), ["saved", "won"], "the replay sounds as it plays")
        compare(game.saved, saved)
        compare(JSON.stringify(game.levels), levels)

        tap("resultLevelsButton")
        compare(root.page, "chooser")
        waitForRendering(root) // the chooser lays its tiles out as it appears
        tap("watchBestButton0")
        compare(root.page, "play")
        verify(control.watching)
        verify(driver.runUntilFinished(game, 20000))
        compare(root.page, "chooser")
        compare(JSON.stringify(game.levels), levels)
    }

    // Three lost attempts in one layout bring the offer of a stored solution, on the result card and on
    // the level's tile; watching it ends in a win and leaves progress and statistics as they were.
    function test_stuckPlayerIsShownASolution() {
        openPages(0)
        tap("levelTile0")
        for (var loss = 1; loss <= 3; ++loss) {
            if (loss > 1)
                tap("retryButton")
            tap("startButton")
            tap("endRunButton")
            tap("confirmEndRunButton")
            verify(!game.levelWon)
            compare(child("showSolutionButton").visible, loss === 3)
        }
        var records = JSON.stringify(game.levels) + game.unlockedLevel
        var control = child("playScreen").control
        watchEnds.target = control
        tap("showSolutionButton")
        verify(control.watching)
        verify(driver.runUntilFinished(game, 20000))
        compare(watchEnds.signalArguments[0][0], true)
        verify(child("resultCard").visible)

        tap("resultLevelsButton")
        waitForRendering(root)
        tap("showSolutionButton0")
        verify(control.watching)
        verify(driver.runUntilFinished(game, 20000))
        compare(watchEnds.signalArguments[1][0], true)
        compare(root.page, "chooser")
        compare(JSON.stringify(game.levels) + game.unlockedLevel, records)
        root.width = 540
        root.height = 960
        verify(!child("showSolutionButton0").visible, "the losses were in the other layout")
    }

    // Ending a run by hand asks first: keeping on resumes play, confirming ends the level as it stands, and the
    // loss can be taken back from its result.
    function test_endingARunAsksFirst() {
        openPages(0)
        startLevel(0)
        driver.runFrames(game, 60)
        tap("endRunButton")
        verify(child("endRunCard").visible)
        verify(game.paused)
        tap("keepPlayingButton")
        verify(!child("endRunCard").visible)
        verify(!game.paused)
        tap("endRunButton")
        tap("confirmEndRunButton")
        verify(game.levelFinished)
        verify(!game.levelWon)
        verify(child("resultCard").visible)
        verify(!child("endRunCard").visible)
        tap("resultRewindButton")
        verify(!child("resultCard").visible, "a loss goes back to before it")
        verify(game.paused)
    }

    // Leaving a running level pauses it; a game left half played comes back paused, behind the chooser's
    // offer to continue it.
    function test_interruptedGameWaitsForThePlayer() {
        openPages(0)
        startLevel(0)
        driver.runFrames(game, 60)
        tap("levelsButton")
        compare(root.page, "chooser")
        verify(game.paused)
        var reopened = createPages()
        tryCompare(reopened, "status", Loader.Ready)
        root = reopened.item
        game = root.game
        compare(root.page, "chooser")
        verify(!game.levelIntroVisible)
        verify(game.paused)
        verify(game.elapsedSeconds >= 2, "the run resumes where it was left")
        tap("continueBanner")
        compare(root.page, "play")
        verify(game.paused)
    }

    // A refused tap ticks, a skill handed out has its sound, every frame in which members are saved or lost
    // sounds once however many it concerns, and the end says how the level went.
    function test_soundsAnswerThePlay() {
        openPages(1)
        startLevel(1)
        var field = child("fieldArea")
        mouseClick(field, 5, 5)
        tap("skillButton2")
        var point = driver.runUntilEligible(game, 2, 600)
        mouseClick(field, point.x, point.y)
        tap("skillButton2")
        mouseClick(field, point.x, point.y)
        compare(heard(), ["refused", "skill", "refused"], "no skill held, handed out, none left")

        // The first level, crowded and fast: several ticks a frame.
        verify(game.setLevel(0))
        tap("startButton")
        soundSpy.clear()
        game.releaseRate = 99
        game.speedMultiplier = 3
        var savedFrames = 0
        var lostFrames = 0
        for (var frame = 0; frame < 20000 && !game.levelFinished; ++frame) {
            var saved = game.saved
            var lost = game.lost
            driver.runFrames(game, 1)
            savedFrames += game.saved > saved ? 1 : 0
            lostFrames += game.lost > lost ? 1 : 0
        }
        var names = heard()
        compare(countOf("saved", names), savedFrames)
        compare(countOf("lost", names), lostFrames)
        compare(names[names.length - 1], game.levelWon ? "won" : "failed")
    }

    // The sound switch, on at first, silences the game and stays off in the next session.
    function test_soundSwitchSilencesTheGame() {
        openPages(0)
        tap("settingsButton")
        verify(child("soundOptionOn").chosen)
        tap("soundOptionOff")
        keyClick(Qt.Key_Escape)
        startLevel(0)
        mouseClick(child("fieldArea"), 5, 5)
        verify(driver.runUntilFinished(game, 20000))
        compare(heard(), [])
        var reopened = createPages()
        tryCompare(reopened, "status", Loader.Ready)
        root = reopened.item
        verify(child("soundOptionOff").chosen)
    }

    // A level file dropped into the folder while the game runs appears in the chooser, open, played in its one
    // layout; won, its record shows and none of the game's levels opens. Edited, it is a new level without it.
    function test_levelsOfThePlayersOwn() {
        openPages(0)
        var walk = "pellwick-level 1\nname Walk\ncrew 2\nrequired 2\nstage night-ops\nportrait\nentry 9 899\n"
            + "exit 99 899\nsoil 0 900 540 60\n"
        driver.writeLevelFile("walk.level", walk)
        driver.writeLevelFile("broken.level", "pellwick-level 2\n")
        driver.writeLevelFile("empty.level", "")
        tap("settingsButton")
        keyClick(Qt.Key_Escape)
        compare(findChild(child("brokenLevel broken.level"), "tileStatus").text + " | "
                + findChild(child("brokenLevel empty.level"), "tileStatus").text,
                "Line 1: unsupported level file version 2 | not a level file: it is empty")
        compare(findChild(child("levelTile21"), "tileNumber").text + child("levelTile21").level.layoutNote, "1Portrait only")
        compare(game.levels.map(function(level) { return level.difficultyBand }).join(""), "0000011111222222333333")
        waitForRendering(root)
        var list = child("levelList")
        list.contentY = list.contentHeight - list.height // the player's own come last
        startLevel(21)
        compare(game.stageName + game.stagePosition + game.stageTotal, "Your levels11")
        verify(driver.runUntilFinished(game, 20000) && game.levelWon && game.unlockedLevel === 0)
        var best = "Best " + game.formattedTime(game.elapsedSeconds)
        tap("resultLevelsButton")
        compare(findChild(child("levelTile21"), "tileStatus").text, best)
        driver.writeLevelFile("walk.level", walk + "# edited\n")
        tap("settingsButton")
        keyClick(Qt.Key_Escape)
        compare(findChild(root, "levelTile21"), null)
        compare(findChild(child("levelTile22"), "tileStatus").text, "Hard")
    }

    // Clearing the statistics after a confirmation forgets the attempts already counted.
    function test_clearingStatisticsAfterConfirmation() {
        openPages(0)
        startLevel(0)
        driver.runFrames(game, 2)
        compare(game.levels[0].attempts, 1)
        keyClick(Qt.Key_Escape)
        tap("settingsButton")
        tap("clearStatisticsButton")
        compare(game.levels[0].attempts, 1, "nothing is cleared before the confirmation")
        tap("confirmClearButton")
        compare(game.levels[0].attempts, 0)
    }

}
}
