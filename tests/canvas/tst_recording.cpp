#include "canvasprobe.h"
#include "replaystore.h"

#include <QtTest>

#include <memory>

using namespace Pellwick;

namespace {

constexpr qreal kTargetLift = 8;
// Past the recorded end a diverging game is ended by hand, as a player who lost patience would.
constexpr int kPatienceTicks = 600;

Replay storedSolution(const QString &name)
{
    Replay replay;
    readReplayFile(QFINDTESTDATA(QStringLiteral("../../replays/solutions/") + name), &replay, nullptr);
    return replay;
}

Replay writtenReplay(const GameCore &core, ReplayStore::Kind kind)
{
    Replay replay;
    readReplayFile(ReplayStore::path(core.levelIndex, core.layoutMode, kind), &replay, nullptr);
    return replay;
}

void unlockEveryLevel()
{
    QSettings settings(CanvasTest::settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("progress/unlockedLevel"), 20);
}

} // namespace

// A game played on the canvas leaves a replay that plays back, headless, to the very same end.
class RecordingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void init();
    void cleanup();

    void tappedGameLeavesAFaithfulReplay_data();
    void tappedGameLeavesAFaithfulReplay();
    void resumedGameKeepsItsRecording();
    void runEndedByHandIsProcessedAndRecorded();
    void gameResumedWithoutItsEventsWritesNoReplay();
    void storedSolutionsOpenEveryLevel_data();
    void storedSolutionsOpenEveryLevel();

private:
    void createCanvas();
    void startLevel(const Replay &plan);
    // Plays the plan's calls through the canvas's own controls, a frame a tick, until the tick `until`.
    void playUntil(const Replay &plan, int until);
    void playToTheEnd(const Replay &plan);
    void perform(const ReplayEvent &event);
    void verifyWrittenReplay();

    std::unique_ptr<GameCanvas> m_canvas;
    std::unique_ptr<CanvasProbe> m_probe;
    int m_nextEvent = 0;
};

void RecordingTest::init()
{
    unlockEveryLevel();
    createCanvas();
}

void RecordingTest::cleanup()
{
    m_probe.reset();
    m_canvas.reset();
    CanvasTest::removeSettings();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

void RecordingTest::createCanvas()
{
    // The old canvas saves its game as it goes; only then may the new one look for it.
    m_probe.reset();
    m_canvas.reset();
    m_canvas = std::make_unique<GameCanvas>();
    m_probe = std::make_unique<CanvasProbe>(*m_canvas);
    m_probe->holdFrameTimer();
    m_canvas->setSize(QSizeF(960, 540));
}

void RecordingTest::startLevel(const Replay &plan)
{
    m_canvas->setPortraitLayout(plan.layout == Portrait);
    QVERIFY(m_canvas->setLevel(plan.level));
    QCOMPARE(m_probe->core().layoutMode, plan.layout);
    m_canvas->startLevel();
    m_nextEvent = 0;
}

void RecordingTest::perform(const ReplayEvent &event)
{
    switch (event.kind) {
    case ReplayEvent::Assign: {
        m_canvas->selectSkill(event.skill);
        const QPointF item = m_canvas->worldToItem(event.point);
        m_canvas->applySelectedSkill(float(item.x()), float(item.y()));
        m_probe->commitPendingAssignment();
        break;
    }
    case ReplayEvent::Rate:
        m_canvas->setReleaseRate(event.rate);
        break;
    case ReplayEvent::End:
        QVERIFY(m_canvas->endRun());
        break;
    }
}

void RecordingTest::playUntil(const Replay &plan, int until)
{
    const GameCore &core = m_probe->core();
    while (!core.finished && core.tick < until) {
        while (m_nextEvent < plan.events.size() && plan.events.at(m_nextEvent).tick <= core.tick)
            perform(plan.events.at(m_nextEvent++));
        m_probe->advanceFrame();
    }
}

void RecordingTest::playToTheEnd(const Replay &plan)
{
    playUntil(plan, plan.result.tick + kPatienceTicks);
    while (m_nextEvent < plan.events.size() && !m_probe->core().finished)
        perform(plan.events.at(m_nextEvent++));
    if (!m_probe->core().finished)
        QVERIFY(m_canvas->endRun());
}

void RecordingTest::verifyWrittenReplay()
{
    const GameCore &played = m_probe->core();
    QVERIFY(played.finished);
    const Replay replay = writtenReplay(played, ReplayStore::Last);
    QVERIFY(replay.hasResult);
    QCOMPARE(replay.level, played.levelIndex);
    QCOMPARE(replay.layout, played.layoutMode);

    GameCore core;
    QCOMPARE(playReplay(replay, core), 0);
    QVERIFY(core.finished);
    QCOMPARE(core.saved, played.saved);
    QCOMPARE(core.lost, played.lost);
    QCOMPARE(core.tick, played.tick);
    QCOMPARE(core.skillsUsed, played.skillsUsed);
    QVERIFY(resultOf(core) == replay.result);
}

void RecordingTest::tappedGameLeavesAFaithfulReplay_data()
{
    QTest::addColumn<QString>("solution");
    QTest::newRow("builders and a blocker, landscape") << QStringLiteral("level-01-landscape.txt");
    QTest::newRow("climbers, floaters and bashers, portrait") << QStringLiteral("level-06-portrait.txt");
}

void RecordingTest::tappedGameLeavesAFaithfulReplay()
{
    // Taps, rate changes and the end of a won game are all recorded: the replay wins the same way.
    QFETCH(QString, solution);
    const Replay plan = storedSolution(solution);
    QVERIFY(!plan.events.isEmpty());
    QSignalSpy completed(m_canvas.get(), &GameCanvas::levelCompleted);
    startLevel(plan);
    playToTheEnd(plan);

    QCOMPARE(completed.count(), 1);
    QVERIFY(m_probe->core().skillsUsed > 0);
    verifyWrittenReplay();
    QVERIFY(m_probe->core().won());
    QCOMPARE(completed.at(0).at(0).toBool(), true);
    QVERIFY(writtenReplay(m_probe->core(), ReplayStore::Best).result == resultOf(m_probe->core()));
}

void RecordingTest::resumedGameKeepsItsRecording()
{
    // A game closed half-way and resumed by a new canvas still leaves a replay of the whole attempt.
    const Replay plan = storedSolution(QStringLiteral("level-01-landscape.txt"));
    startLevel(plan);
    // Closed between two assignments, so that the resumed game has skills of its own to record.
    const int halfway = plan.events.at(plan.events.size() / 2).tick;
    playUntil(plan, halfway);
    const int skillsBefore = m_probe->core().skillsUsed;
    QVERIFY(skillsBefore > 0);

    createCanvas();
    QVERIFY(!m_canvas->levelIntroVisible());
    QCOMPARE(m_probe->core().tick, halfway);
    QCOMPARE(m_probe->core().skillsUsed, skillsBefore);
    playToTheEnd(plan);
    QVERIFY(m_probe->core().skillsUsed > skillsBefore);
    verifyWrittenReplay();
}

void RecordingTest::runEndedByHandIsProcessedAndRecorded()
{
    // Ending by hand loses whoever is out, ends the attempt like any other end, and is recorded as such.
    const Replay plan = storedSolution(QStringLiteral("level-01-landscape.txt"));
    startLevel(plan);
    playUntil(plan, 300);
    QVERIFY(m_probe->core().activeCount() > 0);
    const int attemptsBefore = QSettings(CanvasTest::settingsPath(), QSettings::IniFormat)
                                   .value(QStringLiteral("stats/1/attempts"))
                                   .toInt();
    QSignalSpy completed(m_canvas.get(), &GameCanvas::levelCompleted);
    QSignalSpy lost(m_canvas.get(), &GameCanvas::crewLost);

    QVERIFY(m_canvas->endRun());
    QCOMPARE(completed.count(), 1);
    QCOMPARE(completed.at(0).at(0).toBool(), false);
    QCOMPARE(lost.count(), 1);
    QVERIFY(m_canvas->levelFinished());
    QCOMPARE(m_canvas->activeCrew(), 0);
    QVERIFY(!m_canvas->endRun());
    m_probe->advanceFrames(5);
    QCOMPARE(completed.count(), 1);

    QSettings settings(CanvasTest::settingsPath(), QSettings::IniFormat);
    QVERIFY(!settings.contains(QStringLiteral("session/current/blob")));
    QCOMPARE(settings.value(QStringLiteral("stats/1/attempts")).toInt(), attemptsBefore);
    const Replay replay = writtenReplay(m_probe->core(), ReplayStore::Last);
    QVERIFY(!replay.events.isEmpty());
    QCOMPARE(replay.events.constLast().kind, ReplayEvent::End);
    QCOMPARE(replay.events.constLast().tick, 300);
    verifyWrittenReplay();
    QVERIFY(!QFileInfo::exists(ReplayStore::path(1, Landscape, ReplayStore::Best)));
}

void RecordingTest::gameResumedWithoutItsEventsWritesNoReplay()
{
    // A stored game whose events were lost plays on, but leaves no replay that would tell a different story.
    const Replay plan = storedSolution(QStringLiteral("level-01-landscape.txt"));
    startLevel(plan);
    playUntil(plan, plan.result.tick / 2);
    m_canvas.reset();
    QSettings(CanvasTest::settingsPath(), QSettings::IniFormat)
        .remove(QStringLiteral("session/current/replay"));

    createCanvas();
    QVERIFY(m_probe->core().tick > 0);
    playToTheEnd(plan);
    QVERIFY(m_probe->core().finished);
    QVERIFY(!QFileInfo::exists(ReplayStore::path(1, Landscape, ReplayStore::Last)));
}

void RecordingTest::storedSolutionsOpenEveryLevel_data()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("landscape") << QStringLiteral("landscape");
    QTest::newRow("portrait") << QStringLiteral("portrait");
}

void RecordingTest::storedSolutionsOpenEveryLevel()
{
    // A new player who plays the stored solutions in order wins each level and so opens the next one,
    // up to the last.
    QFETCH(QString, layout);
    CanvasTest::removeSettings();
    createCanvas();
    for (int level = 0; level < m_canvas->levelCount(); ++level) {
        QCOMPARE(m_canvas->unlockedLevel(), level);
        const QString name =
            QStringLiteral("level-%1-%2.txt").arg(level, 2, 10, QLatin1Char('0')).arg(layout);
        const Replay plan = storedSolution(name);
        QVERIFY2(plan.hasResult,
                 qPrintable(QStringLiteral("no stored solution %1: players stop here").arg(name)));
        startLevel(plan);
        playToTheEnd(plan);
        QVERIFY2(m_probe->core().won(), qPrintable(name + QStringLiteral(" does not win on the canvas")));
    }
}

QTEST_MAIN(RecordingTest)
#include "tst_recording.moc"
