#include "gamecore.h"

#include <QtTest>

using namespace Pellwick;

namespace {

constexpr int kLevelCount = 21;
constexpr int kTickLimit = 6000;

// One way to play a level under the clock: how the run is set up before its first tick, and what the player
// does before every tick. Either may be null.
struct Scenario
{
    void (*prepare)(GameCore &core);
    void (*beforeTick)(GameCore &core);
};

// With no quota the run never ends early, so the whole crew is released and stays on the field until each
// member is saved or lost.
void releaseTheWholeCrew(GameCore &core)
{
    core.levels[core.levelIndex].requiredCount = 0;
}

bool runOver(const GameCore &core)
{
    return core.finished || core.tick >= kTickLimit;
}

void playTick(GameCore &run, const Scenario &scenario)
{
    if (scenario.beforeTick)
        scenario.beforeTick(run);
    run.step();
}

// The state a benchmarked run starts from: the level freshly loaded in its layout, then set up.
GameCore startOf(int level, LayoutMode layout, const Scenario &scenario)
{
    GameCore core;
    core.setLayoutMode(layout, false);
    core.loadLevel(level);
    if (scenario.prepare)
        scenario.prepare(core);
    return core;
}

// Plays ticks one after another, starting the run over from its first tick whenever it has ended.
void playTicks(GameCore &run, const GameCore &start, const Scenario &scenario, qint64 ticks)
{
    for (qint64 i = 0; i < ticks; ++i) {
        if (runOver(run))
            run = start;
        playTick(run, scenario);
    }
}

void addLevelRows(const char *name, const Scenario &scenario)
{
    for (int level = 0; level < kLevelCount; ++level) {
        QTest::addRow("%s, level %d, landscape", name, level) << level << int(Landscape) << scenario;
        QTest::addRow("%s, level %d, portrait", name, level) << level << int(Portrait) << scenario;
    }
}

} // namespace

Q_DECLARE_METATYPE(Scenario)

class TickBenchmark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tick_data();
    void tick();
};

void TickBenchmark::tick_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("layout");
    QTest::addColumn<Scenario>("scenario");
    addLevelRows("unaided", Scenario { nullptr, nullptr });
    addLevelRows("whole crew", Scenario { releaseTheWholeCrew, nullptr });
}

// One iteration is one tick, so the time per iteration is the time per tick, averaged over whole plays of the
// level (each play ends when the run is over or after 6000 ticks).
void TickBenchmark::tick()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    QFETCH(Scenario, scenario);
    const GameCore start = startOf(level, LayoutMode(layout), scenario);
    GameCore run = start;
    qint64 ticks = 0;
    QBENCHMARK
    {
        if (runOver(run))
            run = start;
        playTick(run, scenario);
        ++ticks;
    }

    // The clocked ticks must have done the same work as an unclocked replay of as many ticks.
    GameCore replay = start;
    playTicks(replay, start, scenario, ticks);
    QCOMPARE(run.tick, replay.tick);
    QVERIFY(run.crew == replay.crew);

    // A whole play must end, with every released member accounted for.
    GameCore play = start;
    while (!runOver(play))
        playTick(play, scenario);
    QVERIFY(play.spawned > 0);
    QCOMPARE(play.spawned, play.saved + play.lost + play.activeCount());
    QVERIFY(play.spawned == play.currentLevel().crewCount || !play.rescuePossible());
}

QTEST_GUILESS_MAIN(TickBenchmark)
#include "bench_tick.moc"
