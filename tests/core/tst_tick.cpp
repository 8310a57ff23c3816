#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

namespace {

constexpr int kTickLimit = 6000;

// The ticks on which the first few members were released.
QVector<int> releaseTicks(GameCore &core, int releases)
{
    QVector<int> ticks;
    while (ticks.size() < releases && core.tick < kTickLimit) {
        const int before = core.spawned;
        core.step();
        if (core.spawned > before)
            ticks.append(core.tick);
    }
    return ticks;
}

void playToEnd(GameCore &core)
{
    while (!core.finished && core.tick < kTickLimit)
        core.step();
}

} // namespace

class TickTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void releasesFollowTheRate_data();
    void releasesFollowTheRate();
    void raisingTheRateKeepsTheRunningCountdown();
    void newMemberMovesOnItsReleaseTick_data();
    void newMemberMovesOnItsReleaseTick();
    void hopelessRunEndsOnItsFirstTick();
    void runWithoutQuotaEndsWonWithTheLastMember();
    void losingANeededMemberEndsTheRunAtOnce();
    void finishedRunIsFrozen();
    void membersCountOnlyOnce();
    void levelZeroIsWonWithEveryoneSaved_data();
    void levelZeroIsWonWithEveryoneSaved();
    void tickKeepsTerrainAndCrewStorage_data();
    void tickKeepsTerrainAndCrewStorage();
    void sameLevelPlaysTheSameTwice_data();
    void sameLevelPlaysTheSameTwice();
};

void TickTest::releasesFollowTheRate_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QVector<int>>("ticks");
    QTest::newRow("rate 0 is 1") << 0 << 1 << QVector<int> { 13, 84, 155 };
    QTest::newRow("rate 1") << 1 << 1 << QVector<int> { 13, 84, 155 };
    QTest::newRow("rate 3") << 3 << 3 << QVector<int> { 13, 83, 153 };
    QTest::newRow("rate 50") << 50 << 50 << QVector<int> { 13, 59, 105 };
    QTest::newRow("rate 98") << 98 << 98 << QVector<int> { 13, 35, 57 };
    QTest::newRow("rate 99") << 99 << 99 << QVector<int> { 13, 35, 57 };
    QTest::newRow("rate 150 is 99") << 150 << 99 << QVector<int> { 13, 35, 57 };
}

// Rates are kept within 1 to 99; the first member leaves on tick 13 and the next ones follow every
// 70 - rate / 2 ticks plus one.
void TickTest::releasesFollowTheRate()
{
    QFETCH(int, rate);
    QFETCH(int, stored);
    QFETCH(QVector<int>, ticks);
    GameCore core;
    core.setReleaseRate(rate);
    QCOMPARE(core.releaseRate, stored);
    QCOMPARE(core.spawnIntervalTicks(), ticks.at(1) - ticks.at(0) - 1);
    QCOMPARE(releaseTicks(core, 3), ticks);
}

// A faster rate set while a countdown runs does not shorten it; only the pause after the next release is
// shorter.
void TickTest::raisingTheRateKeepsTheRunningCountdown()
{
    GameCore core;
    core.setReleaseRate(50);
    QCOMPARE(releaseTicks(core, 1), QVector<int> { 13 });
    core.setReleaseRate(99);
    QCOMPARE(releaseTicks(core, 2), (QVector<int> { 59, 81 }));
}

void TickTest::newMemberMovesOnItsReleaseTick_data()
{
    addLayoutRows();
}

// A member released 12 above the portal already takes its first falling step on the tick of its release.
void TickTest::newMemberMovesOnItsReleaseTick()
{
    QFETCH(int, layout);
    GameCore core = levelCore(0, LayoutMode(layout));
    stepTicks(core, 13);
    QCOMPARE(core.crew.size(), 1);
    const CrewMember &m = core.crew.at(0);
    const QPointF entry = core.entry();
    QCOMPARE(m.id, 1);
    QCOMPARE(core.nextCrewId, 2);
    QCOMPARE(m.state, Falling);
    QCOMPARE(m.direction, 1);
    QCOMPARE(m.fallStartY, float(entry.y() - 12));
    QCOMPARE(m.vy, 0.5f + 0.42f);
    QCOMPARE(m.pos, QPointF(entry.x() + 1, entry.y() - 12 + qreal(0.5f + 0.42f)));
    QCOMPARE(core.spawnCountdown, core.spawnIntervalTicks());
}

// A level that needs more members than it releases is lost on its first tick.
void TickTest::hopelessRunEndsOnItsFirstTick()
{
    GameCore core;
    core.levels[0].requiredCount = core.levels[0].crewCount + 1;
    core.step();
    QVERIFY(core.finished);
    QVERIFY(!core.won());
    QCOMPARE(core.tick, 1);
}

// Without a quota the run is never lost early: it ends, won, on the tick its last member leaves play.
void TickTest::runWithoutQuotaEndsWonWithTheLastMember()
{
    GameCore core = emptyWorld();
    core.levels[0].crewCount = 2;
    core.levels[0].requiredCount = 0;
    while (core.lost < 2 && core.tick < kTickLimit) {
        QVERIFY(!core.finished);
        core.step();
    }
    QCOMPARE(core.lost, 2);
    QVERIFY(core.finished);
    QVERIFY(core.won());
}

// Once the quota is out of reach the run ends on that very tick, with members still walking or waiting.
void TickTest::losingANeededMemberEndsTheRunAtOnce()
{
    GameCore core = emptyWorld();
    core.setReleaseRate(99);
    core.levels[0].crewCount = 4;
    core.levels[0].requiredCount = 4;
    while (core.lost == 0 && core.tick < kTickLimit) {
        QVERIFY(!core.finished);
        core.step();
    }
    QCOMPARE(core.lost, 1);
    QVERIFY(core.finished);
    QVERIFY(!core.won());
    QVERIFY(core.activeCount() > 0);
    QVERIFY(core.spawned < 4);
}

// A finished run changes nothing at all, not even the tick.
void TickTest::finishedRunIsFrozen()
{
    GameCore core = emptyWorld();
    core.setReleaseRate(99);
    core.levels[0].requiredCount = core.levels[0].crewCount;
    playToEnd(core);
    QVERIFY(core.finished);
    QVERIFY(core.activeCount() > 0);
    const GameCore before = core;
    core.step();
    QCOMPARE(core.tick, before.tick);
    QCOMPARE(core.crew, before.crew);
    QCOMPARE(core.spawnCountdown, before.spawnCountdown);
    QCOMPARE(core.spawned, before.spawned);
}

// Saving or losing a member that already left play counts nothing a second time.
void TickTest::membersCountOnlyOnce()
{
    GameCore core = emptyWorld();
    const int i = addMember(core, QPointF(100, 100));
    core.saveCrew(core.crew[i]);
    core.saveCrew(core.crew[i]);
    core.loseCrew(core.crew[i]);
    QCOMPARE(core.saved, 1);
    QCOMPARE(core.lost, 0);
    QCOMPARE(core.crew.at(i).pos, QPointF(100, 100));
    QCOMPARE(core.crew.at(i).state, Walking);
}

void TickTest::levelZeroIsWonWithEveryoneSaved_data()
{
    addLayoutRows();
}

// Left alone, the first level's crew all reach the exit, and the run ends only when the last one is in.
void TickTest::levelZeroIsWonWithEveryoneSaved()
{
    QFETCH(int, layout);
    GameCore core = levelCore(0, LayoutMode(layout));
    while (!core.finished && core.tick < kTickLimit) {
        core.step();
        QCOMPARE(core.finished, core.saved == 8);
    }
    QVERIFY(core.won());
    QCOMPARE(core.saved, 8);
    QCOMPARE(core.lost, 0);
}

void TickTest::tickKeepsTerrainAndCrewStorage_data()
{
    addLevelRows();
}

// Without skills a whole run never writes to the terrain image nor reallocates the crew list: the tick reads
// solidity through const access and allocates nothing.
void TickTest::tickKeepsTerrainAndCrewStorage()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    GameCore core = levelCore(level, LayoutMode(layout));
    const qint64 terrainKey = core.terrain.cacheKey();
    const CrewMember *crewStorage = core.crew.constData();
    playToEnd(core);
    QVERIFY(core.spawned > 0);
    QCOMPARE(core.terrain.cacheKey(), terrainKey);
    QCOMPARE(core.crew.constData(), crewStorage);
}

void TickTest::sameLevelPlaysTheSameTwice_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("layout");
    for (int level : { 0, 6, 12, 20 }) {
        QTest::addRow("level %d, landscape", level) << level << int(Landscape);
        QTest::addRow("level %d, portrait", level) << level << int(Portrait);
    }
}

// Two runs of the same level agree on every member, object and terrain pixel after every tick.
void TickTest::sameLevelPlaysTheSameTwice()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    GameCore first = levelCore(level, LayoutMode(layout));
    GameCore second = levelCore(level, LayoutMode(layout));
    while (!first.finished && first.tick < kTickLimit) {
        first.step();
        second.step();
        QCOMPARE(second.tick, first.tick);
        QCOMPARE(second.crew, first.crew);
        QCOMPARE(second.objects, first.objects);
        QVERIFY(second.terrain == first.terrain);
        QCOMPARE(second.finished, first.finished);
    }
    QCOMPARE(second.saved, first.saved);
    QCOMPARE(second.lost, first.lost);
}

QTEST_GUILESS_MAIN(TickTest)
#include "tst_tick.moc"
