#include "canvasprobe.h"

#include <QtTest>

#include <cmath>

using namespace Pellwick;
using CanvasTest::SignalLog;

// The frame loop runs whole ticks at the chosen speed, speaks to QML once per frame and ends a level once;
// the play controls change the game in the order the QML pages rely on.
class FrameLoopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void framesBatchTicksBySpeed_data();
    void framesBatchTicksBySpeed();
    void frameEventsAreEmittedOncePerFrame();
    void levelEndsOnceInsideThreeTickFrame();
    void lostLevelReportsLoss();
    void heldFramesRunNothing_data();
    void heldFramesRunNothing();
    void pauseDuringIntroductionHoldsAfterStart();
    void setLevelEmitsInContractOrder_data();
    void setLevelEmitsInContractOrder();
    void setLevelRefusesWithoutSideEffects_data();
    void setLevelRefusesWithoutSideEffects();
    void restartLevelKeepsSkillAndEmitsInOrder();
    void speedIsBounded_data();
    void speedIsBounded();
    void releaseRateChangeSavesOnlyWhenItChanges();
};

// Each frame runs the whole ticks owed at its speed, and only frames that ran a tick emit stateChanged.
void FrameLoopTest::framesBatchTicksBySpeed_data()
{
    QTest::addColumn<float>("speed");
    QTest::addColumn<QVector<int>>("ticksPerFrame");
    QTest::newRow("0.5") << 0.5f << QVector<int> { 0, 1, 0, 1, 0, 1 };
    QTest::newRow("1.0") << 1.0f << QVector<int> { 1, 1, 1, 1, 1, 1 };
    QTest::newRow("1.5") << 1.5f << QVector<int> { 1, 2, 1, 2, 1, 2 };
    QTest::newRow("3.0") << 3.0f << QVector<int> { 3, 3, 3, 3, 3, 3 };
}

void FrameLoopTest::framesBatchTicksBySpeed()
{
    QFETCH(float, speed);
    QFETCH(QVector<int>, ticksPerFrame);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.setSpeedMultiplier(speed);
    canvas.startLevel();
    SignalLog log(canvas);
    for (int frame = 0; frame < ticksPerFrame.size(); ++frame) {
        const int before = probe.core().tick;
        probe.advanceFrame();
        QCOMPARE(probe.core().tick - before, ticksPerFrame.at(frame));
        QStringList expected;
        if (frame == 0)
            expected << "levelsChanged"; // the attempt is counted
        if (ticksPerFrame.at(frame) > 0)
            expected << "stateChanged";
        QCOMPARE(log.take(), expected);
    }
}

// Several saves, losses and object triggers in one frame give one signal each, before stateChanged.
void FrameLoopTest::frameEventsAreEmittedOncePerFrame()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    GameCore &core = probe.core();
    CanvasTest::arrangeOutcome(core, 2, 2, 0);
    core.levels[core.levelIndex].crewCount = 5;
    CanvasTest::placeMember(core, QPointF(300, 200));
    core.addObject(Switch, QRectF(290, 190, 20, 20), 0, 7);
    core.addObject(Switch, QRectF(290, 190, 20, 20), 0, 8);
    canvas.setSpeedMultiplier(3.0f);
    canvas.startLevel();
    SignalLog log(canvas);

    probe.advanceFrame();
    QCOMPARE(core.saved, 2);
    QCOMPARE(core.lost, 2);
    QCOMPARE(core.objectTriggers, 2);
    QCOMPARE(log.take(),
             QStringList({ "levelsChanged", "crewSaved", "crewLost", "objectTriggered", "stateChanged" }));
    probe.advanceFrame();
    QCOMPARE(log.take(), QStringList({ "stateChanged" }));
}

// A level that ends on the second tick of a three-tick frame is completed once, in that frame, and the
// frame's last tick does nothing.
void FrameLoopTest::levelEndsOnceInsideThreeTickFrame()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    CanvasTest::arrangeWinOnSecondTick(probe.core());
    canvas.setSpeedMultiplier(3.0f);
    canvas.startLevel();
    SignalLog log(canvas);

    probe.advanceFrame();
    QCOMPARE(probe.core().tick, 2);
    QVERIFY(canvas.levelFinished());
    QVERIFY(canvas.levelWon());
    QCOMPARE(log.take(),
             QStringList({ "levelsChanged", "crewSaved", "levelsChanged", "resultRecordsChanged",
                           "levelsChanged", "levelCompleted(won)", "stateChanged" }));
    probe.advanceFrames(10);
    QCOMPARE(probe.core().tick, 2);
    QCOMPARE(log.take(), QStringList());

    // A restart brings one more completion, not two.
    canvas.restartLevel();
    canvas.startLevel();
    QSignalSpy completed(&canvas, &GameCanvas::levelCompleted);
    QVERIFY(completed.isValid());
    probe.advanceFrames(20);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(completed.at(0).at(0).toBool(), true);
}

// A run that can no longer be won ends lost, and levelWon stays false.
void FrameLoopTest::lostLevelReportsLoss()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    CanvasTest::arrangeOutcome(probe.core(), 1, 2, 2);
    canvas.startLevel();
    SignalLog log(canvas);
    probe.advanceFrame();
    QVERIFY(canvas.levelFinished());
    QVERIFY(!canvas.levelWon());
    QCOMPARE(log.take().filter("levelCompleted"), QStringList({ "levelCompleted(lost)" }));
    QCOMPARE(canvas.unlockedLevel(), 0);
}

// The clock runs from construction, yet paused, in the introduction or finished, a frame runs no tick, emits
// nothing and counts no attempt.
void FrameLoopTest::heldFramesRunNothing_data()
{
    QTest::addColumn<QString>("hold");
    QTest::newRow("introduction") << "introduction";
    QTest::newRow("paused") << "paused";
    QTest::newRow("finished") << "finished";
}

void FrameLoopTest::heldFramesRunNothing()
{
    QFETCH(QString, hold);

    GameCanvas canvas;
    CanvasProbe probe(canvas);
    QVERIFY(probe.frameTimerRunning());
    probe.holdFrameTimer();
    if (hold != "introduction")
        canvas.startLevel();
    if (hold == "paused")
        canvas.setPaused(true);
    if (hold == "finished")
        probe.core().finished = true;
    SignalLog log(canvas);
    probe.advanceFrames(5);
    QCOMPARE(probe.core().tick, 0);
    QCOMPARE(log.take(), QStringList());
    QCOMPARE(canvas.levels().at(0).toMap().value("attempts").toInt(), 0);
}

// Pausing during the introduction is kept: after startLevel the level stays held until play resumes.
void FrameLoopTest::pauseDuringIntroductionHoldsAfterStart()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.setPaused(true);
    canvas.startLevel();
    probe.advanceFrames(3);
    QCOMPARE(probe.core().tick, 0);
    canvas.togglePaused();
    QVERIFY(!canvas.paused());
    probe.advanceFrames(3);
    QCOMPARE(probe.core().tick, 3);
}

// setLevel resets the attempt and announces it in a fixed order, after clearing any records on show.
void FrameLoopTest::setLevelEmitsInContractOrder_data()
{
    QTest::addColumn<bool>("afterWin");
    QTest::newRow("during a run") << false;
    QTest::newRow("after a win with records") << true;
}

void FrameLoopTest::setLevelEmitsInContractOrder()
{
    QFETCH(bool, afterWin);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    if (afterWin)
        CanvasTest::arrangeOutcome(probe.core(), 1, 0, 1);
    canvas.setSpeedMultiplier(1.5f);
    canvas.startLevel();
    probe.advanceFrame(); // leaves half a tick owed
    canvas.selectSkill(Blocker);
    canvas.setPaused(true);
    QCOMPARE(canvas.newBestSaved(), afterWin);
    SignalLog log(canvas);

    const int target = afterWin ? 1 : 0;
    QVERIFY(canvas.setLevel(target));
    QStringList expected;
    if (afterWin)
        expected << "resultRecordsChanged";
    expected << "levelIntroVisibleChanged"
             << "levelChanged"
             << "stateChanged"
             << "skillsChanged"
             << "releaseRateChanged"
             << "selectedCrewIdChanged"
             << "selectedSkillChanged"
             << "pausedChanged"
             << "zoomChanged";
    QCOMPARE(log.take(), expected);
    QCOMPARE(canvas.levelIndex(), target);
    QVERIFY(canvas.levelIntroVisible());
    QVERIFY(!canvas.paused());
    QCOMPARE(canvas.selectedSkill(), -1);
    QCOMPARE(canvas.selectedCrewId(), -1);
    QCOMPARE(probe.core().tick, 0);
    QVERIFY(!canvas.newBestSaved());

    // The owed half tick is forgotten: the first frame at 1.5 runs exactly one tick.
    canvas.startLevel();
    probe.advanceFrame();
    QCOMPARE(probe.core().tick, 1);
}

// A level outside the catalogue or not yet unlocked is refused and nothing changes.
void FrameLoopTest::setLevelRefusesWithoutSideEffects_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("below the catalogue") << -1;
    QTest::newRow("above the catalogue") << 21;
    QTest::newRow("locked") << 1;
}

void FrameLoopTest::setLevelRefusesWithoutSideEffects()
{
    QFETCH(int, index);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    probe.advanceFrames(2);
    SignalLog log(canvas);
    QVERIFY(!canvas.setLevel(index));
    QVERIFY(!canvas.nextLevel());
    QVERIFY(!canvas.previousLevel());
    QCOMPARE(log.take(), QStringList());
    QCOMPARE(canvas.levelIndex(), 0);
    QVERIFY(!canvas.levelIntroVisible());
    QCOMPARE(probe.core().tick, 2);
}

// restartLevel keeps the held skill, goes back to the introduction and announces it in a fixed order.
void FrameLoopTest::restartLevelKeepsSkillAndEmitsInOrder()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    probe.advanceFrames(3);
    canvas.selectSkill(Digger);
    canvas.setReleaseRate(80);
    SignalLog log(canvas);

    canvas.restartLevel();
    QCOMPARE(log.take(),
             QStringList({ "selectedCrewIdChanged", "stateChanged", "skillsChanged", "releaseRateChanged",
                           "pausedChanged", "levelIntroVisibleChanged", "zoomChanged" }));
    QCOMPARE(canvas.selectedSkill(), int(Digger));
    QVERIFY(canvas.levelIntroVisible());
    QCOMPARE(probe.core().tick, 0);
    QCOMPARE(canvas.releaseRate(), probe.core().currentLevel().releaseRate);
}

// The speed is bounded to 0.5 to 3.0, and a change is announced once.
void FrameLoopTest::speedIsBounded_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("stored");
    QTest::addColumn<bool>("announced");
    QTest::newRow("above the range") << 10.0f << 3.0f << true;
    QTest::newRow("zero") << 0.0f << 0.5f << true;
    QTest::newRow("not a number") << std::nanf("") << 0.5f << true;
    QTest::newRow("inside") << 2.25f << 2.25f << true;
    QTest::newRow("current value") << 1.0f << 1.0f << false;
    QTest::newRow("within tolerance") << 1.000001f << 1.0f << false;
}

void FrameLoopTest::speedIsBounded()
{
    QFETCH(float, value);
    QFETCH(float, stored);
    QFETCH(bool, announced);

    GameCanvas canvas;
    QSignalSpy changed(&canvas, &GameCanvas::speedMultiplierChanged);
    QVERIFY(changed.isValid());
    canvas.setSpeedMultiplier(value);
    QCOMPARE(canvas.speedMultiplier(), stored);
    QCOMPARE(changed.count(), announced ? 1 : 0);
}

// A real change of the release rate is announced and saved; a request at the bound does neither.
void FrameLoopTest::releaseRateChangeSavesOnlyWhenItChanges()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    probe.advanceFrames(2);
    QSignalSpy changed(&canvas, &GameCanvas::releaseRateChanged);
    QVERIFY(changed.isValid());

    canvas.setReleaseRate(150);
    QCOMPARE(canvas.releaseRate(), 99);
    QCOMPARE(changed.count(), 1);
    const QVariant saved = CanvasTest::stored("session/current/blob");
    QVERIFY(!saved.toByteArray().isEmpty());

    probe.advanceFrames(2);
    canvas.increaseReleaseRate();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(CanvasTest::stored("session/current/blob"), saved);

    canvas.decreaseReleaseRate();
    QCOMPARE(canvas.releaseRate(), 94);
    QCOMPARE(changed.count(), 2);
    QVERIFY(CanvasTest::stored("session/current/blob") != saved);
}

QTEST_MAIN(FrameLoopTest)
#include "tst_frameloop.moc"
