#include "canvasprobe.h"
#include "replay.h"

#include <QtTest>

#include <climits>
#include <memory>

using namespace Pellwick;
using CanvasTest::store;
using CanvasTest::stored;

namespace {

// Plays the loaded level to its end in one frame: `saved` members reach the exit, one more is lost when the
// run is to be lost, and the clock and skill count read `seconds` and `skillsUsed` at the end.
void finishRun(GameCanvas &canvas, int saved, bool won, int seconds = 0, int skillsUsed = 0)
{
    CanvasProbe probe(canvas);
    GameCore &core = probe.core();
    CanvasTest::arrangeOutcome(core, saved, won ? 0 : 1, won ? saved : saved + 1);
    core.tick = seconds * 30;
    core.skillsUsed = skillsUsed;
    canvas.startLevel();
    probe.advanceFrame();
}

// The snapshot of a run of level 0 that has gone on for 20 ticks.
QByteArray runningLevel()
{
    GameCore core;
    for (int i = 0; i < 20; ++i)
        core.step();
    return core.serialize();
}

// Digs a new hole every frame, so that every periodic save has fresh ground to encode.
void digAndAdvance(const CanvasProbe &probe, int frames)
{
    for (int i = 0; i < frames; ++i) {
        probe.core().carveRect(QRect(40 + 7 * (probe.core().tick % 120), 200, 5, 60));
        probe.advanceFrame();
    }
}

// Plays a stored solution through the canvas's own controls, a frame a tick, as a player would.
void playSolution(GameCanvas &canvas, const Replay &plan)
{
    CanvasProbe probe = CanvasProbe::holding(canvas);
    const GameCore &core = probe.core();
    canvas.setPortraitLayout(plan.layout == Portrait);
    canvas.setLevel(plan.level);
    canvas.startLevel();
    for (const ReplayEvent &event : plan.events) {
        while (!core.finished && core.tick < event.tick)
            probe.advanceFrame();
        if (event.kind == ReplayEvent::Rate) {
            canvas.setReleaseRate(event.rate);
        } else if (event.kind == ReplayEvent::End) {
            canvas.endRun();
        } else {
            canvas.selectSkill(event.skill);
            const QPointF item = canvas.worldToItem(event.point);
            canvas.applySelectedSkill(float(item.x()), float(item.y()));
            probe.commitPendingAssignment();
        }
    }
    // Past the recorded end a diverging game is cut off, as a player who lost patience would.
    while (!core.finished && core.tick < plan.result.tick + 600)
        probe.advanceFrame();
}

} // namespace

// Progress, statistics and the interrupted run live in the settings file: read with defaults, unlocked by
// wins, recorded once per attempt, resumed exactly, and never lost or crashed on by damaged values.
class StorageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void damagedSettingsReadAsUsableValues_data();
    void damagedSettingsReadAsUsableValues();
    void recordsAndTies_data();
    void recordsAndTies();
    void formattedTime_data();
    void formattedTime();
    void stageCompletion_data();
    void stageCompletion();
    void savesWhileTheGroundChangesKeepOneState_data();
    void savesWhileTheGroundChangesKeepOneState();
    void saveFinishingAfterARestartStoresNothing();
    void playersMoveIsStoredAfterTheSaveUnderWay();
    void watchedReplayIsNeverStoredAsTheGame();
    void storedSolutionsOpenEveryLevel_data();
    void storedSolutionsOpenEveryLevel();
};

void StorageTest::damagedSettingsReadAsUsableValues_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    const QByteArray good = runningLevel();
    QByteArray wrongLayout = good;
    wrongLayout[13] = 1; // the layout field says portrait, the terrain is still landscape-sized
    const QString blob = QStringLiteral("session/current/blob");
    const QString zoom = QStringLiteral("session/current/zoom");
    const QString unlocked = QStringLiteral("progress/unlockedLevel");
    QTest::newRow("unlocked beyond the catalogue")
        << QVariantMap { { unlocked, 99 } } << "unlockedLevel" << QVariant(20);
    QTest::newRow("unlocked negative") << QVariantMap { { unlocked, -4 } } << "unlockedLevel" << QVariant(0);
    QTest::newRow("unlocked not a number")
        << QVariantMap { { unlocked, "lots" } } << "unlockedLevel" << QVariant(0);
    QTest::newRow("unlocked 12, won: repaired")
        << QVariantMap { { unlocked, 12 }, { "stats/12/wins", 1 } } << "unlockedLevel" << QVariant(13);
    QTest::newRow("unlocked 12, not won")
        << QVariantMap { { unlocked, 12 }, { "stats/12/wins", 0 } } << "unlockedLevel" << QVariant(12);
    QTest::newRow("best time with letters")
        << QVariantMap { { "stats/0/bestTime", "12abc" } } << "bestTime" << QVariant(-1);
    QTest::newRow("best saved negative")
        << QVariantMap { { "stats/0/bestSaved", -7 } } << "bestSaved" << QVariant(0);
    QTest::newRow("zoom not a number")
        << QVariantMap { { "view/landscapeZoom", "nan" } } << "zoom" << QVariant(1.0f);
    QTest::newRow("session zoom below 1")
        << QVariantMap { { blob, good }, { zoom, 0.5f } } << "zoom" << QVariant(1.0f);
    QTest::newRow("session zoom above 3.5")
        << QVariantMap { { blob, good }, { zoom, 5.0f } } << "zoom" << QVariant(3.5f);
    QTest::newRow("session resumed") << QVariantMap { { blob, good } } << "levelIntroVisible"
                                     << QVariant(false);
    QTest::newRow("session cut short")
        << QVariantMap { { blob, good.left(good.size() / 2) } } << "levelIntroVisible" << QVariant(true);
    QTest::newRow("session in the wrong layout")
        << QVariantMap { { blob, wrongLayout } } << "levelIntroVisible" << QVariant(true);
    QTest::newRow("session not bytes")
        << QVariantMap { { blob, 12345 } } << "levelIntroVisible" << QVariant(true);
}

// A stored value no game writes reads as the default or the nearer bound; a stored run that cannot be used
// starts a fresh level and is removed.
void StorageTest::damagedSettingsReadAsUsableValues()
{
    QFETCH(QVariantMap, settings);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    settings.insert(QStringLiteral("session/current/format"), 4);
    store(settings);
    GameCanvas canvas;
    QCOMPARE(canvas.property(qPrintable(property)), expected);
    QCOMPARE(stored("session/current/blob").isValid(), !canvas.levelIntroVisible());
}

// Records need strictly better results; time and skills are only set by wins, most saved by any ending.
void StorageTest::recordsAndTies_data()
{
    QTest::addColumn<QVariantList>("before"); // bestTime, bestSkills, bestSaved, wins
    QTest::addColumn<bool>("won");
    QTest::addColumn<QVariantList>("flags"); // newBestTime, newBestSkills, newBestSaved
    QTest::addColumn<QVariantList>("after");

    const QVariant none;
    QTest::newRow("first win") << QVariantList { none, none, none, none } << true
                               << QVariantList { true, true, true } << QVariantList { 40, 2, 3, 1 };
    QTest::newRow("better") << QVariantList { 41, 3, 2, 1 } << true << QVariantList { true, true, true }
                            << QVariantList { 40, 2, 3, 2 };
    QTest::newRow("ties") << QVariantList { 40, 2, 3, 5 } << true << QVariantList { false, false, false }
                          << QVariantList { 40, 2, 3, 6 };
    QTest::newRow("negative is no record")
        << QVariantList { -5, -1, -2, -3 } << true << QVariantList { true, true, true }
        << QVariantList { 40, 2, 3, 1 };
    QTest::newRow("lost with more saved")
        << QVariantList { 50, 3, 2, none } << false << QVariantList { false, false, true }
        << QVariantList { 50, 3, 3, none };
}

void StorageTest::recordsAndTies()
{
    QFETCH(QVariantList, before);
    QFETCH(bool, won);
    QFETCH(QVariantList, flags);
    QFETCH(QVariantList, after);

    const QStringList keys { "stats/0/bestTime", "stats/0/bestSkills", "stats/0/bestSaved", "stats/0/wins" };
    QVariantMap values;
    for (int i = 0; i < keys.size(); ++i) {
        if (before.at(i).isValid())
            values.insert(keys.at(i), before.at(i));
    }
    store(values);

    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    QSignalSpy records(&canvas, &GameCanvas::resultRecordsChanged);
    QVERIFY(records.isValid());
    finishRun(canvas, 3, won, 40, 2);
    QCOMPARE(records.count(), 1);
    QCOMPARE(QVariantList({ canvas.newBestTime(), canvas.newBestSkills(), canvas.newBestSaved() }), flags);
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(stored(keys.at(i)).toString(), after.at(i).toString());
    QCOMPARE(canvas.bestSaved(), after.at(2).toInt());
    QCOMPARE(canvas.bestTime(), after.at(0).isValid() ? after.at(0).toInt() : -1);
    QCOMPARE(canvas.bestSkills(), after.at(1).isValid() ? after.at(1).toInt() : -1);
}

// Times read as minutes and seconds with two digits each; minutes may grow beyond two.
void StorageTest::formattedTime_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("75") << 75 << "01:15";
    QTest::newRow("most negative") << INT_MIN << "00:00";
    QTest::newRow("3599") << 3599 << "59:59";
    QTest::newRow("6000") << 6000 << "100:00";
}

void StorageTest::formattedTime()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    GameCanvas canvas;
    QCOMPARE(canvas.formattedTime(seconds), text);
}

// A stage is complete only when its last level has just been won.
void StorageTest::stageCompletion_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("won");
    QTest::addColumn<bool>("complete");

    QTest::newRow("last of stage 0 won") << 4 << true << true;
    QTest::newRow("last of stage 0 lost") << 4 << false << false;
    QTest::newRow("inside stage 0 won") << 3 << true << false;
    QTest::newRow("last level won") << 20 << true << true;
}

void StorageTest::stageCompletion()
{
    QFETCH(int, level);
    QFETCH(bool, won);
    QFETCH(bool, complete);

    CanvasTest::store({ { "progress/unlockedLevel", 20 } });
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    QVERIFY(canvas.setLevel(level));
    QVERIFY(!canvas.stageComplete());
    CanvasTest::arrangeOutcome(probe.core(), 2, won ? 0 : 1, won ? 2 : 3);
    canvas.startLevel();
    probe.advanceFrame();
    QVERIFY(canvas.levelFinished());
    QCOMPARE(canvas.levelWon(), won);
    QCOMPARE(canvas.stageComplete(), complete);
}

// The periodic save stores the run as it was when the save was due, even though the ground changed while it
// was being encoded; a canvas closed at any moment stores its very last state.
void StorageTest::savesWhileTheGroundChangesKeepOneState_data()
{
    QTest::addColumn<int>("framesAfterDue");
    QTest::newRow("closed while the save is encoded") << 0;
    QTest::newRow("closed a few frames after it was stored") << 3;
}

void StorageTest::savesWhileTheGroundChangesKeepOneState()
{
    QFETCH(int, framesAfterDue);
    const QString blob = QStringLiteral("session/current/blob");
    auto canvas = std::make_unique<GameCanvas>();
    auto probe = CanvasProbe::holding(*canvas);
    canvas->startLevel();
    digAndAdvance(probe, 30);
    const QByteArray due = GameCore(probe.core()).serialize();
    digAndAdvance(probe, 1);
    if (framesAfterDue > 0) {
        probe.awaitSaveWorker();
        digAndAdvance(probe, framesAfterDue);
        QCOMPARE(stored(blob).toByteArray(), due);
    }
    const QByteArray last = GameCore(probe.core()).serialize();
    canvas.reset();
    QCOMPARE(stored(blob).toByteArray(), last);
}

// A periodic save still being encoded when its run is restarted belongs to no run any more.
void StorageTest::saveFinishingAfterARestartStoresNothing()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    digAndAdvance(probe, 30);
    canvas.restartLevel();
    probe.finishBackgroundSave();
    QVERIFY(!stored(QStringLiteral("session/current/blob")).isValid());
}

// A move of the player's does not wait for an encoding: with a periodic save under way, it is stored by the
// save that follows.
void StorageTest::playersMoveIsStoredAfterTheSaveUnderWay()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    probe.advanceFrames(31);
    const int rate = probe.core().releaseRate + 10;
    canvas.setReleaseRate(rate);
    probe.finishBackgroundSave();
    probe.finishBackgroundSave();
    GameCore saved;
    QVERIFY(saved.restore(stored(QStringLiteral("session/current/blob")).toByteArray()));
    QCOMPARE(saved.releaseRate, rate);
}

// A replay being watched is nobody's game to resume: closing during it keeps the game left to watch it.
void StorageTest::watchedReplayIsNeverStoredAsTheGame()
{
    auto canvas = std::make_unique<GameCanvas>();
    auto probe = CanvasProbe::holding(*canvas);
    canvas->startLevel();
    probe.advanceFrames(10);
    const QByteArray game = GameCore(probe.core()).serialize();
    Replay solution;
    QVERIFY(
        readReplayFile(QFINDTESTDATA("../../replays/solutions/level-00-landscape.txt"), &solution, nullptr));
    QVERIFY(canvas->watchReplay(solution));
    probe.advanceFrames(40); // a periodic save falls due while watching
    probe.finishBackgroundSave();
    canvas.reset();
    QCOMPARE(stored(QStringLiteral("session/current/blob")).toByteArray(), game);
}

void StorageTest::storedSolutionsOpenEveryLevel_data()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("landscape") << QStringLiteral("landscape");
    QTest::newRow("portrait") << QStringLiteral("portrait");
}

// A new player who plays the stored solutions in order wins each level and so opens the next, up to the last.
void StorageTest::storedSolutionsOpenEveryLevel()
{
    QFETCH(QString, layout);
    GameCanvas canvas;
    canvas.setSize(QSizeF(960, 540));
    for (int level = 0; level < canvas.levelCount(); ++level) {
        QCOMPARE(canvas.unlockedLevel(), level);
        const QString name =
            QStringLiteral("level-%1-%2.txt").arg(level, 2, 10, QLatin1Char('0')).arg(layout);
        Replay plan;
        QVERIFY2(
            readReplayFile(QFINDTESTDATA(QStringLiteral("../../replays/solutions/") + name), &plan, nullptr),
            qPrintable(name + QStringLiteral(" is missing: players stop here")));
        playSolution(canvas, plan);
        QVERIFY2(CanvasProbe(canvas).core().won(),
                 qPrintable(name + QStringLiteral(" does not win on the canvas")));
    }
}

QTEST_MAIN(StorageTest)
#include "tst_storage.moc"
