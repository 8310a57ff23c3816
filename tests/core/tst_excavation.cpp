#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

namespace {

// Members placed by these tests stand on this row's surface.
constexpr int kSurface = 400;
constexpr qreal kStandingY = kSurface - 1;

bool nearlyEqual(qreal a, qreal b)
{
    return std::abs(a - b) < 1e-6;
}

int solidPixels(const GameCore &core, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += core.isSolid(x, y) ? 1 : 0;
    }
    return count;
}

int solidPixels(const GameCore &core)
{
    return solidPixels(core, QRect(0, 0, core.worldWidth(), core.worldHeight()));
}

} // namespace

class ExcavationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builderLaysFirstBrickOnFourthTick_data();
    void builderLaysFirstBrickOnFourthTick();
    void builderRunClimbsFortyFiveOverOneHundredFortyFour_data();
    void builderRunClimbsFortyFiveOverOneHundredFortyFour();
    void basherApproachesDistantMaterialWithoutCutting_data();
    void basherApproachesDistantMaterialWithoutCutting();
    void basherInOpenAirGivesUpOnEleventhScan();
    void basherCutsThroughAWallAndWalksOn_data();
    void basherCutsThroughAWallAndWalksOn();
    void diggerFallsFromWhereItBrokeThrough();
    void minerInThickGroundKeepsMining_data();
    void minerInThickGroundKeepsMining();
    void minerInOpenAirDropsOnSixthEmptyTick();
    void minerDropsIntoAChamberBeforeItsWall();
    void walkersFollowMinerDownItsTunnel();
    void demolitionBlastsEveryoneWithinThirtyAfterFuse();
    void earlierReleasedDemolisherBlastsFirst();
};

void ExcavationTest::builderLaysFirstBrickOnFourthTick_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<qreal>("x");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QRect>("brick"); // as far as it lies inside the world
    QTest::addColumn<bool>("stops");

    // The edge rule uses the layout's own width; bricks are clipped at the world's border.
    QTest::newRow("right") << int(Landscape) << 300.0 << 1 << QRect(302, 397, 12, 4) << false;
    QTest::newRow("left") << int(Landscape) << 300.0 << -1 << QRect(286, 397, 12, 4) << false;
    QTest::newRow("landscape, ends 6 from the right")
        << int(Landscape) << 946.0 << 1 << QRect(948, 397, 12, 4) << false;
    QTest::newRow("landscape, ends 5 from the right")
        << int(Landscape) << 947.0 << 1 << QRect(949, 397, 11, 4) << true;
    QTest::newRow("landscape, at the right border")
        << int(Landscape) << 952.0 << 1 << QRect(954, 397, 6, 4) << true;
    QTest::newRow("portrait, ends 5 from the right")
        << int(Portrait) << 527.0 << 1 << QRect(529, 397, 11, 4) << true;
    QTest::newRow("ends at x 5") << int(Landscape) << 13.0 << -1 << QRect(0, 397, 11, 4) << false;
    QTest::newRow("ends at x 4") << int(Landscape) << 12.0 << -1 << QRect(0, 397, 10, 4) << true;
    QTest::newRow("portrait, at the left border")
        << int(Portrait) << 8.0 << -1 << QRect(0, 397, 6, 4) << true;
}

// A builder stands still for three ticks, then lays a 12 by 4 brick ahead and steps 8 along and 2.5 up; when
// that step takes it below x 5 or to within 5 of the right edge it walks on after that one brick.
void ExcavationTest::builderLaysFirstBrickOnFourthTick()
{
    QFETCH(int, layout);
    QFETCH(qreal, x);
    QFETCH(int, direction);
    QFETCH(QRect, brick);
    QFETCH(bool, stops);

    GameCore core = emptyWorld(LayoutMode(layout));
    const int index = addMember(core, QPointF(x, kStandingY), Building, direction);
    runPlacedCrew(core, 3);
    QCOMPARE(core.crew.at(index).pos, QPointF(x, kStandingY));
    QCOMPARE(solidPixels(core), 0);

    runPlacedCrew(core, 1);
    const CrewMember &builder = core.crew.at(index);
    const int brickPixels = brick.width() * brick.height();
    QCOMPARE(solidPixels(core), brickPixels);
    QCOMPARE(solidPixels(core, brick), brickPixels);
    QCOMPARE(builder.pos, QPointF(x + 8 * direction, kStandingY - 2.5));
    QCOMPARE(builder.state, stops ? Walking : Building);
    QCOMPARE(builder.bricks, stops ? 0 : 1);
    QCOMPARE(builder.actionTicks, 0);
}

void ExcavationTest::builderRunClimbsFortyFiveOverOneHundredFortyFour_data()
{
    addDirectionRows();
}

// Eighteen bricks take 72 ticks and lift the builder 45 over 144, when it walks on with its count reset.
void ExcavationTest::builderRunClimbsFortyFiveOverOneHundredFortyFour()
{
    QFETCH(int, direction);

    GameCore core = floorWorld(kSurface);
    const QPointF start(480, kStandingY);
    const int index = addMember(core, start, Building, direction);
    runPlacedCrew(core, 71);
    QCOMPARE(core.crew.at(index).state, Building);
    QCOMPARE(core.crew.at(index).bricks, 17);

    runPlacedCrew(core, 1);
    const CrewMember &builder = core.crew.at(index);
    QCOMPARE(builder.state, Walking);
    QCOMPARE(builder.bricks, 0);
    QCOMPARE(builder.pos, start + QPointF(144 * direction, -45));
    // It stands on its last brick and walks on along the top of it.
    QVERIFY(core.grounded(builder));
    runPlacedCrew(core, 1);
    QCOMPARE(core.crew.at(index).pos, start + QPointF(146 * direction, -45));
}

void ExcavationTest::basherApproachesDistantMaterialWithoutCutting_data()
{
    addDirectionRows();
}

// Material 20 ahead is approached at 2 per tick without cutting; within 14 the basher cuts and moves 1.7.
void ExcavationTest::basherApproachesDistantMaterialWithoutCutting()
{
    QFETCH(int, direction);

    GameCore core = floorWorld(kSurface);
    const qreal startX = 480;
    // The wall's near face is 20 ahead.
    const QRect wall = direction > 0 ? QRect(500, 300, 60, 100) : QRect(401, 300, 60, 100);
    fillGround(core, wall);
    const int solidBefore = solidPixels(core);
    const int index = addMember(core, QPointF(startX, kStandingY), Bashing, direction);

    runPlacedCrew(core, 3);
    QCOMPARE(core.crew.at(index).pos.x(), startX + 6 * direction);
    QCOMPARE(solidPixels(core), solidBefore);

    // The 4th tick finds the wall 14 ahead, an even tick: the first cut.
    runPlacedCrew(core, 1);
    QVERIFY(nearlyEqual(core.crew.at(index).pos.x(), startX + 7.7 * direction));
    QVERIFY(solidPixels(core) < solidBefore);
    QVERIFY(!core.isSolid(int(startX) + 22 * direction, 390));
    QCOMPARE(core.crew.at(index).state, Bashing);
}

// In open air a basher drifts 1.7 per tick for ten scans and returns to walking on the 11th, without moving.
void ExcavationTest::basherInOpenAirGivesUpOnEleventhScan()
{
    GameCore core = floorWorld(kSurface);
    const int index = addMember(core, QPointF(300, kStandingY), Bashing, -1);

    runPlacedCrew(core, 10);
    QCOMPARE(core.crew.at(index).state, Bashing);
    QCOMPARE(core.crew.at(index).idleTicks, 10);
    QVERIFY(nearlyEqual(core.crew.at(index).pos.x(), 300 - 17.0));

    runPlacedCrew(core, 1);
    QCOMPARE(core.crew.at(index).state, Walking);
    QCOMPARE(core.crew.at(index).idleTicks, 0);
    QVERIFY(nearlyEqual(core.crew.at(index).pos.x(), 300 - 17.0));
}

void ExcavationTest::basherCutsThroughAWallAndWalksOn_data()
{
    addDirectionRows();
}

// A basher tunnels through a wall 40 thick at its own height and walks out on the far side.
void ExcavationTest::basherCutsThroughAWallAndWalksOn()
{
    QFETCH(int, direction);

    GameCore core = floorWorld(kSurface);
    fillGround(core, direction > 0 ? QRect(500, 250, 40, 150) : QRect(420, 250, 40, 150));
    const int index = addMember(core, QPointF(480, kStandingY), Bashing, direction);

    runPlacedCrewUntil(
        core, [&] { return core.crew.at(index).state != Bashing; }, 200);
    QCOMPARE(core.crew.at(index).state, Walking);
    runPlacedCrew(core, 20);
    const CrewMember &basher = core.crew.at(index);
    QCOMPARE(basher.pos.y(), kStandingY);
    QCOMPARE(basher.direction, direction);
    QVERIFY(direction > 0 ? basher.pos.x() > 560 : basher.pos.x() < 400);
    // The tunnel is tall enough to walk back through.
    for (int x = 420; x < 540; x += 4)
        QVERIFY(!core.isSolid(x, kSurface - 5) && !core.isSolid(x, kSurface - 10));
}

// A digger sinks 1.25 per tick and falls once the ground below runs out; the fall is measured from there.
void ExcavationTest::diggerFallsFromWhereItBrokeThrough()
{
    GameCore core = emptyWorld();
    fillGround(core, QRect(0, kSurface, core.worldWidth(), 30)); // rows 400 to 429
    fillGround(core, QRect(0, 520, core.worldWidth(), 20));
    const int index = addMember(core, QPointF(300, kStandingY), Digging);

    runPlacedCrew(core, 16);
    QCOMPARE(core.crew.at(index).state, Digging);
    QCOMPARE(core.crew.at(index).pos, QPointF(300, kStandingY + 20));

    // Nothing is left within 12 below the feet: the probe reaches past the slab's last row.
    runPlacedCrew(core, 1);
    const CrewMember &digger = core.crew.at(index);
    QCOMPARE(digger.state, Falling);
    QCOMPARE(digger.pos, QPointF(300, kStandingY + 21.25));
    QCOMPARE(digger.fallStartY, float(kStandingY + 21.25));
    QCOMPARE(digger.vy, 0.5f);
    QVERIFY(!core.isSolid(300, kSurface + 20));

    // Landing 99 below the breakthrough is survivable, although it is 120 below where the digger began.
    runPlacedCrew(core, 40);
    QVERIFY(core.crew.at(index).active);
    QCOMPARE(core.crew.at(index).state, Walking);
    QVERIFY(core.crew.at(index).pos.y() > 519);
}

void ExcavationTest::minerInThickGroundKeepsMining_data()
{
    addDirectionRows();
}

// In thick ground the miner still mines after 60 ticks, 81 along and 48 down, leaving an open tunnel behind.
void ExcavationTest::minerInThickGroundKeepsMining()
{
    QFETCH(int, direction);

    GameCore core = floorWorld(300);
    const QPointF start(480, 299);
    const int index = addMember(core, start, Mining, direction);

    runPlacedCrew(core, 60);
    const CrewMember &miner = core.crew.at(index);
    QCOMPARE(miner.state, Mining);
    QCOMPARE(miner.idleTicks, 0);
    QVERIFY(nearlyEqual(miner.pos.x(), start.x() + 81 * direction));
    QVERIFY(nearlyEqual(miner.pos.y(), start.y() + 48));
    for (int t = 5; t <= 55; t += 10) {
        const QPoint onPath(qRound(start.x() + 1.35 * t * direction), qRound(start.y() + 0.8 * t));
        QVERIFY(!core.isSolid(onPath.x() + 8 * direction, onPath.y() + 4));
        QVERIFY(!core.isSolid(onPath.x() + 12 * direction, onPath.y() + 8));
    }
}

// With nothing ahead a miner moves 1.35 along and 0.8 down for five ticks and drops on the sixth.
void ExcavationTest::minerInOpenAirDropsOnSixthEmptyTick()
{
    GameCore core = emptyWorld();
    const QPointF start(480, 200);
    const int index = addMember(core, start, Mining, -1);

    runPlacedCrew(core, 5);
    QCOMPARE(core.crew.at(index).state, Mining);
    QCOMPARE(core.crew.at(index).idleTicks, 5);

    runPlacedCrew(core, 1);
    const CrewMember &miner = core.crew.at(index);
    QCOMPARE(miner.state, Falling);
    QCOMPARE(miner.idleTicks, 0);
    QCOMPARE(miner.vy, 0.5f);
    QVERIFY(nearlyEqual(miner.pos.x(), start.x() - 5 * 1.35));
    QVERIFY(nearlyEqual(miner.pos.y(), start.y() + 5 * 0.8));
    QCOMPARE(miner.fallStartY, float(miner.pos.y()));
}

// A miner tunnelling towards a hollow in the ground drops into it and never cuts into its far wall.
void ExcavationTest::minerDropsIntoAChamberBeforeItsWall()
{
    GameCore core = floorWorld(300);
    const QRect chamber(400, 330, 120, 90);
    core.carveRect(chamber);
    const int index = addMember(core, QPointF(300, 299), Mining);

    runPlacedCrewUntil(
        core, [&] { return core.crew.at(index).state != Mining; }, 200);
    QCOMPARE(core.crew.at(index).state, Falling);
    QVERIFY(core.crew.at(index).pos.x() < chamber.left());

    runPlacedCrew(core, 60);
    const CrewMember &miner = core.crew.at(index);
    QVERIFY(miner.active);
    QCOMPARE(miner.state, Walking);
    QVERIFY(core.grounded(miner) && miner.pos.y() >= chamber.bottom() - 0.5);
    QCOMPARE(solidPixels(core, QRect(chamber.right() + 1, chamber.top(), 10, chamber.height())), 10 * 90);
}

// Walkers that reach the mouth of a miner's tunnel walk and hop down it behind the miner, unharmed.
void ExcavationTest::walkersFollowMinerDownItsTunnel()
{
    GameCore core = floorWorld(300);
    const int miner = addMember(core, QPointF(300, 299), Mining);
    const int first = addMember(core, QPointF(250, 299));
    const int second = addMember(core, QPointF(200, 299));

    runPlacedCrew(core, 150);
    QCOMPARE(core.crew.at(miner).state, Mining);
    for (int index : { first, second }) {
        const CrewMember &walker = core.crew.at(index);
        QVERIFY(walker.active);
        QVERIFY(walker.pos.y() > 360);
        QVERIFY(walker.pos.x() < core.crew.at(miner).pos.x());
        // Still on the tunnel's line, not fallen through or stuck in the ground.
        QVERIFY(std::abs((walker.pos.y() - 299) - (walker.pos.x() - 300) * 0.8 / 1.35) < 16);
    }
}

// After 45 ticks the blast carves a crater of radius 30 and loses every active member within 30, itself too.
void ExcavationTest::demolitionBlastsEveryoneWithinThirtyAfterFuse()
{
    GameCore core = floorWorld(kSurface);
    const QPointF centre(300, kStandingY);
    const int demolisher = addMember(core, centre, Demolishing);
    // Bystanders wait as blockers so that they keep their places through the fuse.
    const QPointF inside[] = { centre + QPointF(30, 0), centre + QPointF(-18, -24),
                               centre + QPointF(0, -30) };
    const QPointF outside[] = { centre + QPointF(31, 0), centre + QPointF(19, -24),
                                centre + QPointF(-22, -21) };
    for (const QPointF &pos : inside)
        addMember(core, pos, Blocking);
    for (const QPointF &pos : outside)
        addMember(core, pos, Blocking);
    const int objectTriggersBefore = core.objectTriggers;

    runPlacedCrew(core, 44);
    QCOMPARE(core.activeCount(), 7);
    QVERIFY(core.isSolid(300, 410));

    runPlacedCrew(core, 1);
    QVERIFY(!core.crew.at(demolisher).active);
    for (int i = 1; i <= 3; ++i)
        QVERIFY(!core.crew.at(i).active);
    for (int i = 4; i <= 6; ++i)
        QVERIFY(core.crew.at(i).active);
    QCOMPARE(core.lost, 4);
    QCOMPARE(core.objectTriggers, objectTriggersBefore + 1);
    // The crater is centred 4 above the feet.
    QVERIFY(!core.isSolid(300, 422));
    QVERIFY(!core.isSolid(320, 410));
    QVERIFY(core.isSolid(300, 428));
    QVERIFY(core.isSolid(325, 420));
}

// Of two fuses ending on one tick, the earlier released member blasts first and takes the other with it.
void ExcavationTest::earlierReleasedDemolisherBlastsFirst()
{
    GameCore core = floorWorld(kSurface);
    const int earlier = addMember(core, QPointF(400, kStandingY), Demolishing);
    const int later = addMember(core, QPointF(380, kStandingY), Demolishing);

    runPlacedCrew(core, 45);
    QVERIFY(!core.crew.at(earlier).active);
    QVERIFY(!core.crew.at(later).active);
    QCOMPARE(core.lost, 2);
    QCOMPARE(core.objectTriggers, 1);
    // Only the earlier member's crater exists; the later one's would have reached x 350.
    QVERIFY(!core.isSolid(375, 405));
    QVERIFY(core.isSolid(355, 400));
}

QTEST_GUILESS_MAIN(ExcavationTest)
#include "tst_excavation.moc"
