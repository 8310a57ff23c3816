#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

class LifecycleTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void constructionLoadsTheFirstLevel();
    void loadLevelClampsItsIndex_data();
    void loadLevelClampsItsIndex();
    void restartBeginsTheRunAfresh();
    void emptyCatalogueKeepsTheCore();
    void layoutSwitchRestartsOnlyOnAChange();
    void layoutSwitchWithoutRestartKeepsTheOldWorld();
    void copiedCoresRunApart();
};

// A new core holds the catalogue and stands at the start of the first level, in landscape.
void LifecycleTest::constructionLoadsTheFirstLevel()
{
    const GameCore core;
    QCOMPARE(core.levelIndex, 0);
    QCOMPARE(core.layoutMode, Landscape);
    QCOMPARE(core.terrain.size(), QSize(960, 540));
    QCOMPARE(core.terrain.format(), QImage::Format_ARGB32_Premultiplied);
    QVERIFY(core.isSolid(480, 420));
    QVERIFY(!core.isSolid(480, 410));
    QVERIFY(core.crew.isEmpty());
    QCOMPARE(core.releaseRate, 45);
    QCOMPARE(core.spawnCountdown, 12);
    QCOMPARE(core.nextCrewId, 1);
    QCOMPARE(core.nextObjectId, int(core.objects.size()) + 1);
    QCOMPARE(core.tick, 0);
    QVERIFY(!core.finished);
}

void LifecycleTest::loadLevelClampsItsIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("loaded");
    QTest::newRow("-5") << -5 << 0;
    QTest::newRow("7") << 7 << 7;
    QTest::newRow("20") << 20 << 20;
    QTest::newRow("1000") << 1000 << 20;
}

// An index outside the catalogue selects its first or last level, which then starts with its own stock and
// rate.
void LifecycleTest::loadLevelClampsItsIndex()
{
    QFETCH(int, index);
    QFETCH(int, loaded);
    GameCore core;
    core.loadLevel(index);
    QCOMPARE(core.levelIndex, loaded);
    QCOMPARE(core.skillStock, core.levels.at(loaded).skills);
    QCOMPARE(core.releaseRate, core.levels.at(loaded).releaseRate);
    QCOMPARE(core.entry(), core.levels.at(loaded).landscapeEntry);
}

// A restart throws away the crew, the counters, the player's rate and the changed terrain and objects, and
// the first member again leaves on tick 13.
void LifecycleTest::restartBeginsTheRunAfresh()
{
    GameCore core;
    core.loadLevel(12);
    const GameCore fresh = core;
    core.setReleaseRate(99);
    core.skillStock[Builder] = 0;
    core.skillsUsed = 3;
    core.objectTriggers = 2;
    core.carveRect(QRect(0, 0, 960, 540));
    core.objects.append(WorldObject());
    core.nextObjectId += 5;
    stepTicks(core, 200);
    QVERIFY(core.spawned > 1);

    core.restartLevel();
    QCOMPARE(core.levelIndex, 12);
    QVERIFY(core.crew.isEmpty());
    QCOMPARE(core.skillStock, core.levels.at(12).skills);
    QCOMPARE(core.releaseRate, core.levels.at(12).releaseRate);
    QCOMPARE(core.objects, fresh.objects);
    QCOMPARE(core.nextObjectId, fresh.nextObjectId);
    QVERIFY(core.terrain == fresh.terrain);
    QCOMPARE(core.spawned + core.saved + core.lost + core.tick + core.skillsUsed + core.objectTriggers, 0);
    QCOMPARE(core.nextCrewId, 1);
    QCOMPARE(core.spawnCountdown, 12);
    stepTicks(core, 12);
    QCOMPARE(core.spawned, 0);
    core.step();
    QCOMPARE(core.spawned, 1);
}

// With no catalogue, loading a level leaves the core as it was.
void LifecycleTest::emptyCatalogueKeepsTheCore()
{
    GameCore core;
    stepTicks(core, 20);
    core.levels.clear();
    core.loadLevel(3);
    QCOMPARE(core.levelIndex, 0);
    QCOMPARE(core.tick, 20);
    QCOMPARE(core.crew.size(), 1);
}

// Switching to the layout already in use does nothing; a real switch with restart builds the other world.
void LifecycleTest::layoutSwitchRestartsOnlyOnAChange()
{
    GameCore core;
    core.setLayoutMode(Portrait, true);
    QCOMPARE(core.terrain.size(), QSize(540, 960));
    stepTicks(core, 20);
    core.setLayoutMode(Portrait, true);
    QCOMPARE(core.tick, 20);
    QCOMPARE(core.crew.size(), 1);
    core.setLayoutMode(Landscape, true);
    QCOMPARE(core.tick, 0);
    QCOMPARE(core.terrain.size(), QSize(960, 540));
}

// Without a restart the old terrain stays while world size, entry and exit already follow the new layout, and
// a later restart builds the portrait world.
void LifecycleTest::layoutSwitchWithoutRestartKeepsTheOldWorld()
{
    GameCore core;
    core.loadLevel(5);
    stepTicks(core, 20);
    core.setLayoutMode(Portrait, false);
    QCOMPARE(core.terrain.size(), QSize(960, 540));
    QCOMPARE(core.worldWidth(), 540);
    QCOMPARE(core.worldHeight(), 960);
    QCOMPARE(core.entry(), QPointF(65, 859));
    QCOMPARE(core.exit(), QPointF(455, 409));
    QCOMPARE(core.tick, 20);
    QVERIFY(core.isSolid(300, 430));
    QVERIFY(!core.isSolid(700, 430));
    // The old, wider image is never read past its own rows while the world is already taller.
    stepTicks(core, 5);
    QVERIFY(!core.isSolid(100, 700));

    core.restartLevel();
    QCOMPARE(core.terrain.size(), QSize(540, 960));
    QVERIFY(core.isSolid(305, 410));
    QVERIFY(!core.isSolid(305, 409));
}

// A copy of a core is a separate run: playing one leaves the other exactly as it was.
void LifecycleTest::copiedCoresRunApart()
{
    GameCore core;
    stepTicks(core, 100);
    const GameCore copy = core;
    core.carveRect(QRect(0, 400, 960, 140));
    stepTicks(core, 50);
    QCOMPARE(copy.tick, 100);
    QVERIFY(copy.crew != core.crew);
    QVERIFY(copy.isSolid(480, 420));
    QVERIFY(!core.isSolid(480, 420));
}

QTEST_GUILESS_MAIN(LifecycleTest)
#include "tst_lifecycle.moc"
