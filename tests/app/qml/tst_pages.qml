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

    function waitUntil(condition, timeout, message) {
        for (var waited = 0; !condition() && waited < timeout; waited += 20)
            wait(20)
        verify(condition(), message)
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
        while (pageLoaders.length > 0)
            pageLoaders.pop().destroy()
        languageSettings.language = "en"
    }

    // A locked level stays shut: tapping it keeps the chooser and the level that was loaded.
    function test_lockedLevelCannotBeStarted() {
        openPages(0)
        compare(root.page, "chooser")
        verify(game.levels[1].locked)
        tap("levelTile1")
        compare(root.page, "chooser")
        compare(game.levelIndex, 0)
        verify(!child("playScreen").visible)
    }

    // The chooser opens scrolled to the level the game is on, however far down the list it lies.
    function test_chooserShowsTheCurrentLevel() {
        openPages(18)
        compare(game.levelIndex, 18)
        var list = child("levelList")
        var tile = child("levelTile18")
        waitUntil(function() {
            var top = tile.mapToItem(list, 0, 0).y
            return top >= 0 && top + tile.height <= list.height
        }, 1000, "the current level is out of view")
        tap("levelTile18")
        compare(root.page, "play")
        compare(game.levelIndex, 18)
    }

    // Choosing an open level shows its introduction with its own name, stage place and briefing.
    function test_introductionShowsTheChosenLevel() {
        openPages(3)
        tap("levelTile2")
        compare(root.page, "play")
        compare(game.levelIndex, 2)
        verify(child("introCard").visible)
        compare(child("introTitle").text, "Through the Wall")
        compare(child("introBriefing").text, "A basher cuts horizontally through ordinary terrain.")
        verify(!child("resultCard").visible)
        tap("startButton")
        verify(!child("introCard").visible)
        verify(!game.levelIntroVisible)
    }

    // The play controls reach the canvas: pause and resume, speed steps, release rate down and up.
    function test_playControlsChangeTheGame() {
        openPages(0)
        startLevel(0)
        tap("pauseButton")
        verify(game.paused)
        tap("pauseButton")
        verify(!game.paused)

        compare(game.speedMultiplier, 1)
        tap("speedButton")
        compare(game.speedMultiplier, 2)
        tap("speedButton")
        compare(game.speedMultiplier, 3)
        tap("speedButton")
        compare(game.speedMultiplier, 0.5)

        var rate = game.releaseRate
        tap("rateUpButton")
        compare(game.releaseRate, rate + 5)
        tap("rateDownButton")
        tap("rateDownButton")
        compare(game.releaseRate, rate - 5)

        tap("zoomInButton")
        verify(game.zoom > 1.3)
        tap("resetViewButton")
        compare(game.zoom, 1)
        tap("followButton")
        verify(game.followSelectedCrew)
    }

    // Holding a skill and tapping a crew member hands it over and uses the stock up; a tap while paused only
    // resumes.
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
    }

    // A drag moves the view and hands out nothing; the wheel and a pinch zoom about the fingers.
    function test_gesturesMoveAndZoomTheView() {
        openPages(1)
        startLevel(1)
        tap("skillButton2")
        var point = driver.runUntilEligible(game, 2, 600)
        verify(point.x >= 0, "no crew member could take the skill")
        var field = child("fieldArea")
        mouseDrag(field, point.x, point.y, 80, 0)
        compare(game.skillsUsed, 0, "a drag is no tap")

        mouseWheel(field, field.width / 2, field.height / 2, 0, 120)
        fuzzyCompare(game.zoom, 1.15, 0.001)

        if (typeof touchEvent !== "function")
            skip("this Qt's test cases send no touch events")
        var x = field.width / 2
        var y = field.height / 2
        var touch = touchEvent(field)
        touch.press(0, field, x - 30, y).press(1, field, x + 30, y).commit()
        for (var spread = 40; spread <= 120; spread += 10) {
            wait(20)
            touch.move(0, field, x - spread, y).move(1, field, x + spread, y).commit()
        }
        touch.release(0, field, x - 120, y).release(1, field, x + 120, y).commit()
        // The pinch takes hold once the fingers have moved apart a little, and then follows them.
        verify(game.zoom > 2.5, "zoom after the pinch: " + game.zoom)
        compare(game.skillsUsed, 0)
    }

    // The desktop keys: skills by number, pause, speed, release rate, zoom and restart.
    function test_keyboardShortcuts() {
        openPages(1)
        tap("levelTile1")
        keyClick(Qt.Key_Return)
        verify(!game.levelIntroVisible)
        keyClick(Qt.Key_4)
        compare(game.selectedSkill, 3)
        keyClick(Qt.Key_4)
        compare(game.selectedSkill, -1)
        keyClick(Qt.Key_Space)
        verify(game.paused)
        keyClick(Qt.Key_P)
        verify(!game.paused)
        keyClick(Qt.Key_S)
        compare(game.speedMultiplier, 2)
        var rate = game.releaseRate
        keyClick(Qt.Key_BracketRight)
        compare(game.releaseRate, rate + 5)
        keyClick(Qt.Key_Plus)
        verify(game.zoom > 1.3)
        keyClick(Qt.Key_0)
        compare(game.zoom, 1)
        keyClick(Qt.Key_R)
        verify(game.levelIntroVisible)
        keyClick(Qt.Key_Escape)
        compare(root.page, "chooser")
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
        tap("watchAgainButton")
        verify(control.watching)
        verify(child("replayBanner").visible)
        verify(!child("resultCard").visible)
        verify(driver.runUntilFinished(game, 20000))
        verify(!control.watching)
        verify(child("resultCard").visible)
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

    // Ending a run by hand asks first: keeping on resumes play, confirming ends the level as it stands.
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

    // The language choice is stored at once and asks for a restart until it is taken back.
    function test_languageChoiceAsksForARestart() {
        openPages(0)
        tap("settingsButton")
        compare(root.page, "settings")
        verify(!child("restartNotice").visible)
        tap("languageOptionHu")
        compare(languageSettings.language, "hu")
        verify(child("restartNotice").visible)
        tap("languageOptionEn")
        compare(languageSettings.language, "en")
        verify(!child("restartNotice").visible)
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

    // The layout follows the window's shape.
    function test_portraitFollowsTheWindowShape() {
        openPages(0)
        verify(!game.portraitLayout)
        root.width = 540
        root.height = 960
        verify(game.portraitLayout)
        root.width = 960
        root.height = 540
        verify(!game.portraitLayout)
    }
}
}
