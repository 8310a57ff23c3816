#include "coretestsupport.h"

#include <QtTest>

#include <cmath>

using namespace Pellwick;

namespace {

constexpr int kLevelCount = 21;

bool isWholePoint(const QPointF &point)
{
    return std::floor(point.x()) == point.x() && std::floor(point.y()) == point.y();
}

// How many of a member's three ground probe columns around x are solid in row y.
int solidProbes(const GameCore &core, int x, int y)
{
    return int(core.isSolid(x - 2, y)) + int(core.isSolid(x, y)) + int(core.isSolid(x + 2, y));
}

// A portal or exit point stands one unit above a surface: the row below is ground in all three probe columns,
// the point's own row is air in at least two (a grass blade, one pixel wide, may stand in the third: five of
// the catalogue's points stand in one), and 4 rows up, above any blade, it is air.
bool standsOnGround(const GameCore &core, const QPointF &point)
{
    const int x = int(point.x());
    const int y = int(point.y());
    return isWholePoint(point) && solidProbes(core, x, y + 1) == 3 && solidProbes(core, x, y) <= 1
        && !core.isSolid(x, y - 4);
}

} // namespace

class LevelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueHoldsTheTwentyOneLevels();
    void stagesAreContiguousRuns();
    void entryAndExitStandOnGround_data();
    void entryAndExitStandOnGround();
    void crewAloneLosesFromTheSecondStage_data();
    void crewAloneLosesFromTheSecondStage();
    void unknownIndexPaintsTheDefaultSlab_data();
    void unknownIndexPaintsTheDefaultSlab();
    void laterShapesPaintOverEarlierOnes();
};

// The catalogue runs from "First Steps", with no skills at all, to "All Hands"; every level can be won.
void LevelsTest::catalogueHoldsTheTwentyOneLevels()
{
    const GameCore core;
    QCOMPARE(core.levels.size(), kLevelCount);
    QCOMPARE(core.levels.first().name, QStringLiteral("First Steps"));
    QCOMPARE(core.levels.last().name, QStringLiteral("All Hands"));
    for (int count : core.levels.first().skills)
        QCOMPARE(count, 0);
    for (const LevelSpec &level : core.levels) {
        QVERIFY2(level.requiredCount > 0 && level.requiredCount <= level.crewCount, qPrintable(level.name));
        QVERIFY2(level.releaseRate >= 1 && level.releaseRate <= 99, qPrintable(level.name));
        QVERIFY2(level.theme >= 0 && level.theme <= 3, qPrintable(level.name));
        QVERIFY2(!level.briefing.isEmpty(), qPrintable(level.name));
    }
}

// Stages are contiguous runs of levels: 0 to 4, 5 to 9, 10 to 15 and 16 to 20.
void LevelsTest::stagesAreContiguousRuns()
{
    const GameCore core;
    const int firstOfStage[] = { 0, 5, 10, 16, kLevelCount };
    for (int stage = 0; stage < 4; ++stage) {
        for (int index = firstOfStage[stage]; index < firstOfStage[stage + 1]; ++index)
            QCOMPARE(core.levels.at(index).stage, stage);
    }
}

void LevelsTest::entryAndExitStandOnGround_data()
{
    addLevelRows();
}

// In both layouts of every level the entry and the exit point stand exactly one unit above painted ground.
void LevelsTest::entryAndExitStandOnGround()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    const GameCore core = levelCore(level, LayoutMode(layout));
    QCOMPARE(core.terrain.size(), QSize(core.worldWidth(), core.worldHeight()));
    QVERIFY(standsOnGround(core, core.entry()));
    QVERIFY(standsOnGround(core, core.exit()));
}

void LevelsTest::crewAloneLosesFromTheSecondStage_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("layout");
    // Levels 9 and 11 introduce teleporters and fans by letting the crew show them.
    for (int level = 5; level < kLevelCount; ++level) {
        if (level == 9 || level == 11)
            continue;
        QTest::addRow("level %d, landscape", level) << level << int(Landscape);
        QTest::addRow("level %d, portrait", level) << level << int(Portrait);
    }
}

// From the second stage on, a crew given no skill at all never brings enough members home. A crew may pace
// between two obstacles for ever, so the run is cut off long after the last release.
void LevelsTest::crewAloneLosesFromTheSecondStage()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    GameCore core = levelCore(level, LayoutMode(layout));
    for (int tick = 0; tick < 6000 && !core.finished; ++tick)
        core.step();
    QVERIFY(core.saved < core.currentLevel().requiredCount);
}

void LevelsTest::unknownIndexPaintsTheDefaultSlab_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("slab");
    QTest::newRow("landscape 0") << int(Landscape) << 0 << QRect(0, 420, 960, 120);
    QTest::newRow("landscape -1") << int(Landscape) << -1 << QRect(0, 420, 960, 120);
    QTest::newRow("portrait 0") << int(Portrait) << 0 << QRect(0, 800, 540, 160);
    QTest::newRow("portrait 21") << int(Portrait) << 21 << QRect(0, 800, 540, 160);
}

// The first level and any index without a layout of its own get one full-width soil slab at the bottom.
void LevelsTest::unknownIndexPaintsTheDefaultSlab()
{
    QFETCH(int, layout);
    QFETCH(int, index);
    QFETCH(QRect, slab);
    GameCore core = emptyWorld(LayoutMode(layout));
    core.buildTerrain(index);
    GameCore expected = emptyWorld(LayoutMode(layout));
    expected.drawGroundRect(slab.x(), slab.y(), slab.width(), slab.height());
    QVERIFY(core.terrain == expected.terrain);
}

// Shapes are painted in order: in landscape level 3 the stone pillar standing on the end of the upper ledge,
// painted after it, covers the ledge's grass blades beneath it.
void LevelsTest::laterShapesPaintOverEarlierOnes()
{
    const GameCore core = levelCore(3, Landscape);
    const QRgb rockBody = qRgb(101, 111, 121);
    // A blade of the ledge rooted at column 586 leans right into rows 306 to 309, under the pillar.
    QCOMPARE(core.terrain.pixel(587, 308), rockBody);
    QCOMPARE(core.terrain.pixel(588, 306), rockBody);
    QCOMPARE(core.terrain.pixel(587, 232), qRgb(130, 141, 151));
    QCOMPARE(core.terrain.pixel(560, 312), qRgb(74, 151, 84));
    QVERIFY(!core.isSolid(610, 311));
}

QTEST_GUILESS_MAIN(LevelsTest)
#include "tst_levels.moc"
