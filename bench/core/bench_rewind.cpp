#include "gamecore.h"
#include "replay.h"
#include "runhistory.h"

#include "../../tests/core/rewindsupport.h"
#include "../../tools/busyrun.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <array>
#include <random>

using namespace Pellwick;

namespace {

constexpr int kTenMinutes = 10 * 60 * 30;
constexpr int kBusyLevel = 16;
constexpr int kPointsPerRun = 24;
constexpr double kMiB = 1024.0 * 1024.0;

// The busy run of the screenshots stretched to ten minutes, through the level's catalogue entry so that its
// start can be rebuilt: a member released every 71 ticks all the while, stock enough to keep handing out
// skills, and no quota to end the run early. Also times the ticks, and what
// feeding the history adds to the worst of them.
struct BusyRunClock
{
    double meanTickUs = 0.0;
    double worstFeedMs = 0.0;
};

RunHistory playBusyRun(GameCore &run, int releaseRate, BusyRunClock &clock)
{
    LevelSpec &level = run.levels[kBusyLevel];
    level.releaseRate = releaseRate;
    run.setReleaseRate(releaseRate);
    level.crewCount = kTenMinutes / (run.spawnIntervalTicks() + 1) + 1;
    level.requiredCount = 0;
    level.skills.fill(999);
    run.loadLevel(kBusyLevel);

    RunHistory history;
    history.begin(run);
    int next = 0;
    ReplayEvent event;
    qint64 tickNs = 0;
    qint64 worstFeedNs = 0;
    QElapsedTimer timer;
    while (run.tick < kTenMinutes && !run.finished) {
        timer.start();
        run.step();
        tickNs += timer.nsecsElapsed();
        timer.start();
        history.stepped(run);
        worstFeedNs = std::max(worstFeedNs, timer.nsecsElapsed());
        if (BusyRun::handOut(run, next, &event)) {
            run.applySkill(event.skill, event.point, event.crewId);
            history.record(event);
        }
    }
    clock.meanTickUs = tickNs / 1000.0 / std::max(run.tick, 1);
    clock.worstFeedMs = worstFeedNs / 1e6;
    return history;
}

Replay recordingOf(const GameCore &run, const RunHistory &history)
{
    Replay recording;
    recording.level = run.levelIndex;
    recording.layout = run.layoutMode;
    recording.events = history.events();
    return recording;
}

struct Rewinds
{
    double worstMs = 0.0;
    double totalMs = 0.0;
    int count = 0;
    int worstTick = 0;
};

// One rewind of a copy of the whole run's history, as the player rewinds from the present. The middle one of
// three: the machine is shared, and a rewind that loses the processor for a while is no slower for it.
double timeRewind(const RunHistory &played, int tick, GameCore &run)
{
    std::array<double, 3> ms {};
    QElapsedTimer timer;
    for (double &attempt : ms) {
        RunHistory history = played;
        timer.start();
        const bool rewound = history.rewind(tick, run);
        attempt = timer.nsecsElapsed() / 1e6;
        if (!rewound)
            return -1.0;
    }
    std::sort(ms.begin(), ms.end());
    return ms[1];
}

// Rewinds to points spread at random over the run, so that their distance from the keyframe before them,
// which sets the cost, falls anywhere. The first point's state is checked against a fresh run's.
void rewindAtPoints(const RunHistory &played, const Replay &recording, const GameCore &start,
                    std::mt19937 &random, Rewinds &rewinds)
{
    std::uniform_int_distribution<int> anyTick(played.firstTick(), played.presentTick());
    for (int i = 0; i < kPointsPerRun; ++i) {
        const int tick = anyTick(random);
        GameCore run;
        const double ms = timeRewind(played, tick, run);
        QVERIFY(ms >= 0.0);
        QCOMPARE(run.tick, tick);
        if (i == 0)
            QVERIFY(run.serialize() == freshRun(recording, tick, start));
        rewinds.totalMs += ms;
        ++rewinds.count;
        if (ms > rewinds.worstMs) {
            rewinds.worstMs = ms;
            rewinds.worstTick = tick;
        }
    }
}

} // namespace

// Taking a run back: what one rewind costs, and what the keyframes that make it fast hold in memory.
class RewindBenchmark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void solutions();
    void tenMinuteBusyRun_data();
    void tenMinuteBusyRun();
    void resumeTenMinuteRunFromItsRecording_data();
    void resumeTenMinuteRunFromItsRecording();
};

void RewindBenchmark::solutions()
{
    const QString folder = QFINDTESTDATA("../../replays/solutions");
    const QFileInfoList files = QDir(folder).entryInfoList({ "level-*.txt" }, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 42);
    std::mt19937 random(26);
    Rewinds rewinds;
    qint64 peakBytes = 0;
    QString worstFile;
    for (const QFileInfo &file : files) {
        Replay replay;
        QVERIFY(readReplayFile(file.filePath(), &replay, nullptr));
        const RunHistory played = playedHistory(replay, false);
        peakBytes = std::max(peakBytes, played.keyframeBytes());
        const double worstBefore = rewinds.worstMs;
        rewindAtPoints(played, replay, GameCore(), random, rewinds);
        if (rewinds.worstMs > worstBefore)
            worstFile = file.fileName();
    }
    qInfo("%d rewinds over the 42 solutions: mean %.2f ms, worst %.2f ms (%s, tick %d); keyframes' peak "
          "%.2f MiB",
          rewinds.count, rewinds.totalMs / rewinds.count, rewinds.worstMs, qPrintable(worstFile),
          rewinds.worstTick, peakBytes / kMiB);
    QTest::setBenchmarkResult(rewinds.worstMs, QTest::WalltimeMilliseconds);
}

void RewindBenchmark::tenMinuteBusyRun_data()
{
    QTest::addColumn<int>("releaseRate");
    // Our levels release at most 20 members; these release 254 and 818. A keyframe holds every member's
    // record, the long gone too, so the crowd sets the memory.
    QTest::newRow("a member every 71 ticks") << 1;
    QTest::newRow("a member every 22 ticks") << 99;
}

void RewindBenchmark::tenMinuteBusyRun()
{
    QFETCH(int, releaseRate);
    GameCore run;
    BusyRunClock clock;
    const RunHistory played = playBusyRun(run, releaseRate, clock);
    QCOMPARE(run.tick, kTenMinutes);
    std::mt19937 random(26);
    Rewinds rewinds;
    rewindAtPoints(played, recordingOf(run, played), run, random, rewinds);
    qInfo("10-minute busy run, %d members released, %d skills handed out: a tick %.1f us on average, the "
          "worst keyframe taken %.2f ms",
          run.spawned, run.skillsUsed, clock.meanTickUs, clock.worstFeedMs);
    qInfo("%d rewinds: mean %.2f ms, worst %.2f ms (tick %d); keyframes %.2f MiB", rewinds.count,
          rewinds.totalMs / rewinds.count, rewinds.worstMs, rewinds.worstTick, played.keyframeBytes() / kMiB);
    QTest::setBenchmarkResult(rewinds.worstMs, QTest::WalltimeMilliseconds);

    // Rewinding to the start, step by step as a held button does, leaves only the first keyframe.
    RunHistory history = played;
    for (int tick = kTenMinutes; tick > 0; tick -= 150)
        QVERIFY(history.rewind(tick, run));
    QVERIFY(history.rewind(0, run));
    qInfo("after rewinding to the start: keyframes %.2f MiB", history.keyframeBytes() / kMiB);
}

// What resuming a stored ten-minute run costs when its recording is played from the level's start to give
// rewinds the whole run.
void RewindBenchmark::resumeTenMinuteRunFromItsRecording_data()
{
    tenMinuteBusyRun_data();
}

void RewindBenchmark::resumeTenMinuteRunFromItsRecording()
{
    QFETCH(int, releaseRate);
    GameCore run;
    BusyRunClock clock;
    const RunHistory played = playBusyRun(run, releaseRate, clock);
    const Replay recording = recordingOf(run, played);
    // The stretched catalogue comes with the run, as the catalogue of a restored run does.
    RunHistory history;
    bool reachesStart = false;
    QBENCHMARK_ONCE
    {
        reachesStart = history.beginAtLevelStart(run, recording);
    }
    QVERIFY(reachesStart);
    QCOMPARE(history.presentTick(), kTenMinutes);
}

QTEST_GUILESS_MAIN(RewindBenchmark)
#include "bench_rewind.moc"
