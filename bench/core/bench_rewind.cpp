#include "gamecore.h"
#include "replay.h"
#include "runhistory.h"

#include "../../tools/busyrun.h"

#include <QElapsedTimer>
#include <QtTest>

#include <algorithm>
#include <array>
#include <ctime>
#include <map>
#include <random>
#include <set>

using namespace Pellwick;

namespace {

constexpr int kTenMinutes = 10 * 60 * 30;
constexpr int kBusyLevel = 16;
constexpr int kPointsPerRun = 24;
constexpr double kMiB = 1024.0 * 1024.0;

// A run played with its history fed as the game feeds it, keeping the run's state at ticks spread at random
// over it: what rewinds to those ticks must rebuild. Spread at random, their distance from the keyframe
// before them, which sets a rewind's cost, falls anywhere.
class PlayedRun
{
public:
    PlayedRun(const GameCore &start, int endTick, std::mt19937 &random)
    {
        std::uniform_int_distribution<int> anyTick(start.tick, endTick);
        for (int i = 0; i < kPointsPerRun; ++i)
            m_points.insert(anyTick(random));
        history.begin(start);
        keep(start);
    }

    // The state of a tick is the one before that tick's events.
    void keep(const GameCore &run)
    {
        if (m_points.count(run.tick) != 0 && kept.count(run.tick) == 0)
            kept.emplace(run.tick, run);
    }

    RunHistory history;
    std::map<int, GameCore> kept;

private:
    std::set<int> m_points;
};

void playSolution(const Replay &replay, PlayedRun &played, GameCore &run)
{
    ReplayPlayer player(replay);
    for (;;) {
        while (player.eventDue(run)) {
            played.history.record(player.nextEvent());
            player.applyNextEvent(run);
        }
        if (run.finished || run.tick >= replay.endTick())
            return;
        run.step();
        played.history.stepped(run);
        played.keep(run);
    }
}

// The busy run of the screenshots stretched to ten minutes, through the level's catalogue entry so that its
// start can be rebuilt: members released at the given rate all the while, stock enough to keep handing out
// skills, and no quota to end the run early.
GameCore busyRunStart(int releaseRate)
{
    GameCore run;
    LevelSpec &level = run.levels[kBusyLevel];
    level.releaseRate = releaseRate;
    run.setReleaseRate(releaseRate);
    level.crewCount = kTenMinutes / (run.spawnIntervalTicks() + 1) + 1;
    level.requiredCount = 0;
    level.skills.fill(999);
    run.loadLevel(kBusyLevel);
    return run;
}

// Also times the ticks, and the worst of the steps that took a keyframe.
struct BusyRunClock
{
    double meanTickUs = 0.0;
    double worstFeedMs = 0.0;
};

void playBusyRun(PlayedRun &played, GameCore &run, BusyRunClock &clock)
{
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
        played.history.stepped(run);
        worstFeedNs = std::max(worstFeedNs, timer.nsecsElapsed());
        played.keep(run);
        if (BusyRun::handOut(run, next, &event)) {
            run.applySkill(event.skill, event.point, event.crewId);
            played.history.record(event);
        }
    }
    clock.meanTickUs = tickNs / 1000.0 / std::max(run.tick, 1);
    clock.worstFeedMs = worstFeedNs / 1e6;
}

// Wall time is what the player waits; the processor time of the same rewinds is what it would be on a machine
// of our own, for this one is shared and a rewind that loses the processor for a while is no slower for it.
struct Cost
{
    double wallMs = 0.0;
    double processorMs = 0.0;
};

struct Rewinds
{
    Cost worst;
    double totalWallMs = 0.0;
    int count = 0;
    int worstTick = 0;
};

// One rewind of a copy of the whole run's history, as the player rewinds from the present; the middle one of
// three, in each measure.
Cost timeRewind(const RunHistory &played, int tick, GameCore &run, bool *rewound)
{
    std::array<double, 3> wallMs {};
    std::array<double, 3> processorMs {};
    QElapsedTimer timer;
    for (int attempt = 0; attempt < 3; ++attempt) {
        RunHistory history = played;
        const std::clock_t processorStart = std::clock();
        timer.start();
        *rewound = history.rewind(tick, run);
        wallMs[attempt] = timer.nsecsElapsed() / 1e6;
        processorMs[attempt] = 1000.0 * double(std::clock() - processorStart) / CLOCKS_PER_SEC;
    }
    std::sort(wallMs.begin(), wallMs.end());
    std::sort(processorMs.begin(), processorMs.end());
    return { wallMs[1], processorMs[1] };
}

// Rewinds to every kept tick; the rebuilt state must be the one kept.
void rewindToKeptTicks(const PlayedRun &played, Rewinds &rewinds)
{
    for (const auto &kept : played.kept) {
        GameCore run;
        bool rewound = false;
        const Cost cost = timeRewind(played.history, kept.first, run, &rewound);
        QVERIFY(rewound);
        QVERIFY(run.tick == kept.first && run.crew == kept.second.crew && run.objects == kept.second.objects
                && run.terrain == kept.second.terrain && run.skillStock == kept.second.skillStock);
        rewinds.totalWallMs += cost.wallMs;
        ++rewinds.count;
        rewinds.worst.processorMs = std::max(rewinds.worst.processorMs, cost.processorMs);
        if (cost.wallMs > rewinds.worst.wallMs) {
            rewinds.worst.wallMs = cost.wallMs;
            rewinds.worstTick = kept.first;
        }
    }
}

void report(const char *what, const Rewinds &rewinds, qint64 keyframeBytes)
{
    qInfo("%s: %d rewinds, mean %.2f ms, worst %.2f ms (tick %d), worst in processor time %.2f ms; keyframes "
          "%.2f MiB",
          what, rewinds.count, rewinds.totalWallMs / rewinds.count, rewinds.worst.wallMs, rewinds.worstTick,
          rewinds.worst.processorMs, keyframeBytes / kMiB);
    QTest::setBenchmarkResult(rewinds.worst.wallMs, QTest::WalltimeMilliseconds);
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
    for (const QFileInfo &file : files) {
        Replay replay;
        QVERIFY(readReplayFile(file.filePath(), &replay, nullptr));
        GameCore run;
        ReplayPlayer(replay).start(run);
        PlayedRun played(run, replay.endTick(), random);
        playSolution(replay, played, run);
        QCOMPARE(resultOf(run), replay.result);
        peakBytes = std::max(peakBytes, played.history.keyframeBytes());
        rewindToKeptTicks(played, rewinds);
    }
    report("the 42 solutions (keyframes at their peak)", rewinds, peakBytes);
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
    GameCore run = busyRunStart(releaseRate);
    std::mt19937 random(26);
    PlayedRun played(run, kTenMinutes, random);
    BusyRunClock clock;
    playBusyRun(played, run, clock);
    QCOMPARE(run.tick, kTenMinutes);
    Rewinds rewinds;
    rewindToKeptTicks(played, rewinds);
    qInfo("%d members released, %d skills handed out: a tick %.1f us on average, the worst keyframe taken "
          "%.2f ms",
          run.spawned, run.skillsUsed, clock.meanTickUs, clock.worstFeedMs);
    report("10-minute busy run", rewinds, played.history.keyframeBytes());

    // Rewinding to the start five seconds at a time, as a held button does, leaves only the first keyframe.
    RunHistory history = played.history;
    for (int tick = kTenMinutes; tick >= 0; tick -= 150)
        QVERIFY(history.rewind(tick, run));
    qInfo("after rewinding to the start: keyframes %.2f MiB", history.keyframeBytes() / kMiB);
}

void RewindBenchmark::resumeTenMinuteRunFromItsRecording_data()
{
    tenMinuteBusyRun_data();
}

// What resuming a stored ten-minute run costs when its recording is played from the level's start to give
// rewinds the whole run. The stretched catalogue comes with the run, as a restored run's catalogue does.
void RewindBenchmark::resumeTenMinuteRunFromItsRecording()
{
    QFETCH(int, releaseRate);
    GameCore run = busyRunStart(releaseRate);
    std::mt19937 random(26);
    PlayedRun played(run, kTenMinutes, random);
    BusyRunClock clock;
    playBusyRun(played, run, clock);
    Replay recording;
    recording.level = run.levelIndex;
    recording.layout = run.layoutMode;
    recording.events = played.history.events();

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
