#include "gamecore.h"

#include <QtTest>

#include <algorithm>

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

// The working skills a member is set to, by its id; a demolition is handed out only once, at the start.
constexpr Skill kWork[] = { Builder, Basher, Digger, Miner };

void giveWork(GameCore &core, int index, Skill skill)
{
    const CrewMember &member = core.crew.at(index);
    core.applySkill(skill, QPointF(member.pos.x(), member.pos.y() - 8.0), member.id);
}

// The whole crew released at once, spread evenly over the level's surfaces, each member at work: builders,
// bashers, diggers and miners in turn, and one demolition in the middle of the crowd. The run is lost, and so
// starts over, once a quarter of the crew is gone: the clocked ticks always have a crowd at work.
void everyoneAtWork(GameCore &core)
{
    LevelSpec &level = core.levels[core.levelIndex];
    level.requiredCount = level.crewCount - level.crewCount / 4;
    core.skillStock.fill(1000000);
    QVector<QPointF> surface;
    for (int x = 0; x < core.worldWidth(); ++x) {
        int y = 0;
        while (y < core.worldHeight() && !core.isSolid(x, y))
            ++y;
        if (y < core.worldHeight())
            surface.append(QPointF(x, y - 1));
    }
    const int count = core.currentLevel().crewCount;
    for (int i = 0; i < count; ++i) {
        core.spawnCrew();
        CrewMember &member = core.crew.last();
        member.pos = surface.at((2 * i + 1) * surface.size() / (2 * count));
        member.direction = i % 2 == 0 ? 1 : -1;
        member.state = Walking;
        member.fallStartY = -1.0f;
        member.vy = 0.0f;
    }
    for (int i = 0; i < count; ++i)
        giveWork(core, i, i == count / 2 ? Demolition : kWork[i % 4]);
}

// The player hands every member that has finished its work a new one before each tick.
void keepEveryoneWorking(GameCore &core)
{
    for (int i = 0; i < core.crew.size(); ++i) {
        const CrewMember &member = core.crew.at(i);
        if (member.active && member.state == Walking)
            giveWork(core, i, kWork[member.id % 4]);
    }
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

// The level with the biggest crew.
int largestLevel()
{
    const QVector<LevelSpec> levels = GameCore().levels;
    const auto largest =
        std::max_element(levels.cbegin(), levels.cend(),
                         [](const LevelSpec &a, const LevelSpec &b) { return a.crewCount < b.crewCount; });
    return int(largest - levels.cbegin());
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
    const int largest = largestLevel();
    const Scenario working { everyoneAtWork, keepEveryoneWorking };
    QTest::addRow("everyone working, level %d, landscape", largest) << largest << int(Landscape) << working;
    QTest::addRow("everyone working, level %d, portrait", largest) << largest << int(Portrait) << working;
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
