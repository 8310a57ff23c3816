#include "coretestsupport.h"

#include <QtTest>

#include <utility>

using namespace Pellwick;

Q_DECLARE_METATYPE(Pellwick::CrewState)

namespace {

// Feet row of a member standing on the locomotion floor, whose top row is 300.
constexpr int kFeet = 299;
// Members placed on the other floors stand on this row's surface.
constexpr int kSurface = 400;
constexpr qreal kStandingY = kSurface - 1;
constexpr int kTickLimit = 6000;

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

// A world with a floor and a full stock of every skill.
GameCore stockedWorld()
{
    GameCore core = floorWorld(kSurface);
    core.skillStock.fill(5);
    return core;
}

// The tap point that lies `distance` to the right of the member's target point, 8 above its feet.
QPointF tapBeside(const CrewMember &member, qreal distance)
{
    return QPointF(member.pos.x() + distance, member.pos.y() - 8.0);
}

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

// An empty world whose level releases crewCount members and needs requiredCount, with `walking` members on
// the field and `saved` already home.
GameCore runInProgress(int crewCount, int requiredCount, int walking, int saved)
{
    GameCore core = emptyWorld();
    LevelSpec &level = core.levels[core.levelIndex];
    level.crewCount = crewCount;
    level.requiredCount = requiredCount;
    fillGround(core, QRect(0, kSurface, 960, 20));
    for (int i = 0; i < walking + saved; ++i)
        addMember(core, QPointF(100 + 30 * i, kStandingY));
    for (int i = 0; i < saved; ++i)
        core.saveCrew(core.crew[i]);
    return core;
}

} // namespace

// The rules of the simulation, one row each side of their boundaries: how the crew moves, digs, builds and
// meets objects, who may take a skill, and how the tick releases crew and ends the run.
class RulesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void landingSurvivesUpTo105_data();
    void landingSurvivesUpTo105();
    void blockerTurnsOnlyWalkersAhead_data();
    void blockerTurnsOnlyWalkersAhead();
    void exitReachSavesMembers_data();
    void exitReachSavesMembers();
    void worldMarginsLoseMembers_data();
    void worldMarginsLoseMembers();
    void builderLaysFirstBrickOnFourthTick_data();
    void builderLaysFirstBrickOnFourthTick();
    void basherInOpenAirGivesUpOnEleventhScan();
    void diggerFallsFromWhereItBrokeThrough();
    void minerInOpenAirDropsOnSixthEmptyTick();
    void touchingLethalObjectsLosesTheMember_data();
    void touchingLethalObjectsLosesTheMember();
    void eligibilityFollowsSkillAndState_data();
    void eligibilityFollowsSkillAndState();
    void selectedMemberReachesFurtherThanFallback_data();
    void selectedMemberReachesFurtherThanFallback();
    void releasesFollowTheRate_data();
    void releasesFollowTheRate();
    void levelIndexStaysInTheCatalogue_data();
    void levelIndexStaysInTheCatalogue();
    void endingJudgesTheRunAsItStands_data();
    void endingJudgesTheRunAsItStands();
};

void RulesTest::landingSurvivesUpTo105_data()
{
    QTest::addColumn<float>("fallStartY");
    QTest::addColumn<bool>("floater");
    QTest::addColumn<bool>("survives");
    QTest::newRow("fall of 105") << float(kFeet - 105) << false << true;
    QTest::newRow("fall of 105.5") << float(kFeet - 105.5) << false << false;
    QTest::newRow("floater, fall of 250") << float(kFeet - 250) << true << true;
}

// A non-floater dies of a landing more than 105 below the start of its fall; a floater never does.
void RulesTest::landingSurvivesUpTo105()
{
    QFETCH(float, fallStartY);
    QFETCH(bool, floater);
    QFETCH(bool, survives);
    GameCore core = floorWorld(kFeet + 1);
    const int i = addMember(core, QPointF(100, kFeet), Falling);
    core.crew[i].fallStartY = fallStartY;
    core.crew[i].vy = 3.5f;
    core.crew[i].floater = floater;
    core.simulateCrew(core.crew[i]);
    const CrewMember &m = core.crew.at(i);
    QCOMPARE(m.active, survives);
    QCOMPARE(core.lost, survives ? 0 : 1);
    if (survives) {
        QCOMPARE(m.state, Walking);
        QCOMPARE(m.fallStartY, -1.0f);
        QCOMPARE(m.vy, 0.0f);
        QCOMPARE(m.pos, QPointF(102, kFeet));
    }
}

void RulesTest::blockerTurnsOnlyWalkersAhead_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<qreal>("dx");
    QTest::addColumn<qreal>("dy");
    QTest::addColumn<CrewState>("otherState");
    QTest::addColumn<bool>("otherActive");
    QTest::addColumn<bool>("turns");
    QTest::newRow("14.9 ahead") << 1 << 14.9 << 0.0 << Blocking << true << true;
    QTest::newRow("15 ahead") << 1 << 15.0 << 0.0 << Blocking << true << false;
    QTest::newRow("walking left, 14 ahead") << -1 << -14.0 << 0.0 << Blocking << true << true;
    QTest::newRow("walking left, 15 ahead") << -1 << -15.0 << 0.0 << Blocking << true << false;
    QTest::newRow("13 above") << 1 << 5.0 << -13.0 << Blocking << true << true;
    QTest::newRow("14 above") << 1 << 5.0 << -14.0 << Blocking << true << false;
    QTest::newRow("saved blocker") << 1 << 5.0 << 0.0 << Blocking << false << false;
}

// Only an active blocker strictly less than 15 ahead and less than 14 above or below turns a walker, which
// then stays in place for that tick; walkers pass through each other.
void RulesTest::blockerTurnsOnlyWalkersAhead()
{
    QFETCH(int, direction);
    QFETCH(qreal, dx);
    QFETCH(qreal, dy);
    QFETCH(CrewState, otherState);
    QFETCH(bool, otherActive);
    QFETCH(bool, turns);
    GameCore core = floorWorld(kFeet + 1);
    const int other = addMember(core, QPointF(200 + dx, kFeet + dy), otherState);
    core.crew[other].active = otherActive;
    const int i = addMember(core, QPointF(200, kFeet), Walking, direction);
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).direction, turns ? -direction : direction);
    QCOMPARE(core.crew.at(i).pos.x(), turns ? 200.0 : 200.0 + 2 * direction);
}

void RulesTest::exitReachSavesMembers_data()
{
    QTest::addColumn<qreal>("dx");
    QTest::addColumn<qreal>("dy");
    QTest::addColumn<bool>("saved");
    QTest::newRow("17 right, 29 below") << 17.0 << 29.0 << true;
    QTest::newRow("18 left") << -18.0 << 0.0 << false;
    QTest::newRow("30 above") << 0.0 << -30.0 << false;
}

// Within 18 across and 30 up or down of the exit point a member is saved.
void RulesTest::exitReachSavesMembers()
{
    QFETCH(qreal, dx);
    QFETCH(qreal, dy);
    QFETCH(bool, saved);
    GameCore core = floorWorld(kFeet + 1);
    core.levels[core.levelIndex].landscapeExit = QPointF(500, 250);
    const int i = addMember(core, QPointF(500 + dx, 250 + dy), Falling);
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.saved, saved ? 1 : 0);
    QCOMPARE(core.crew.at(i).active, !saved);
}

void RulesTest::worldMarginsLoseMembers_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("edge");
    QTest::addColumn<qreal>("beyond");
    QTest::addColumn<bool>("lost");
    for (LayoutMode layout : { Landscape, Portrait }) {
        const char *name = layout == Portrait ? "portrait" : "landscape";
        QTest::addRow("%s, 16 below", name) << int(layout) << "bottom" << 16.0 << true;
        QTest::addRow("%s, 15 below", name) << int(layout) << "bottom" << 15.0 << false;
        QTest::addRow("%s, 21 left", name) << int(layout) << "left" << 21.0 << true;
        QTest::addRow("%s, 20 left", name) << int(layout) << "left" << 20.0 << false;
        QTest::addRow("%s, 21 right", name) << int(layout) << "right" << 21.0 << true;
        QTest::addRow("%s, 20 right", name) << int(layout) << "right" << 20.0 << false;
    }
}

// A member is lost more than 20 beyond the left or right edge or more than 15 below the bottom edge.
void RulesTest::worldMarginsLoseMembers()
{
    QFETCH(int, layout);
    QFETCH(QString, edge);
    QFETCH(qreal, beyond);
    QFETCH(bool, lost);
    GameCore core = emptyWorld(LayoutMode(layout));
    QPointF pos(100, core.worldHeight() + beyond);
    if (edge == "left")
        pos = QPointF(-beyond, 100);
    else if (edge == "right")
        pos = QPointF(core.worldWidth() + beyond, 100);
    const int i = addMember(core, pos, Falling);
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.lost, lost ? 1 : 0);
    QCOMPARE(core.crew.at(i).active, !lost);
}

void RulesTest::builderLaysFirstBrickOnFourthTick_data()
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
    QTest::newRow("portrait, ends 5 from the right")
        << int(Portrait) << 527.0 << 1 << QRect(529, 397, 11, 4) << true;
    QTest::newRow("ends at x 5") << int(Landscape) << 13.0 << -1 << QRect(0, 397, 11, 4) << false;
    QTest::newRow("ends at x 4") << int(Landscape) << 12.0 << -1 << QRect(0, 397, 10, 4) << true;
}

// A builder stands still for three ticks, then lays a 12 by 4 brick ahead and steps 8 along and 2.5 up; when
// that step takes it below x 5 or to within 5 of the right edge it walks on after that one brick.
void RulesTest::builderLaysFirstBrickOnFourthTick()
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

// In open air a basher drifts 1.7 per tick for ten scans and returns to walking on the 11th, without moving.
void RulesTest::basherInOpenAirGivesUpOnEleventhScan()
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

// A digger sinks 1.25 per tick and falls once the ground below runs out; the fall is measured from there.
void RulesTest::diggerFallsFromWhereItBrokeThrough()
{
    GameCore core = emptyWorld();
    fillGround(core, QRect(0, kSurface, core.worldWidth(), 30)); // rows 400 to 429
    fillGround(core, QRect(0, 520, core.worldWidth(), 20));
    const int index = addMember(core, QPointF(300, kStandingY), Digging);

    runPlacedCrew(core, 16);
    QCOMPARE(core.crew.at(index).state, Digging);
    QCOMPARE(core.crew.at(index).pos, QPointF(300, kStandingY + 20));
    // The shaft is centred on the digger: 8 either side is cut, 12 either side is left.
    QVERIFY(!core.isSolid(292, 410) && !core.isSolid(308, 410));
    QVERIFY(core.isSolid(288, 410) && core.isSolid(312, 410));

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

// With nothing ahead a miner moves 1.35 along and 0.8 down for five ticks and drops on the sixth; in thick
// ground every tick finds material and its patience never runs down.
void RulesTest::minerInOpenAirDropsOnSixthEmptyTick()
{
    GameCore ground = floorWorld(kSurface);
    const int digging = addMember(ground, QPointF(480, kStandingY), Mining);
    runPlacedCrew(ground, 30);
    QCOMPARE(ground.crew.at(digging).state, Mining);
    QCOMPARE(ground.crew.at(digging).idleTicks, 0);

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

void RulesTest::touchingLethalObjectsLosesTheMember_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("laserOn");
    QTest::addColumn<QPointF>("feet");
    QTest::addColumn<bool>("lost");

    // The object is the rectangle (300, 300, 40, 60): touched from 298 to 342 and from 296 to 364.
    QTest::newRow("water") << int(Water) << true << QPointF(320, 330) << true;
    QTest::newRow("laser on") << int(Laser) << true << QPointF(320, 330) << true;
    QTest::newRow("right margin edge") << int(Water) << true << QPointF(342, 330) << true;
    QTest::newRow("beyond right margin") << int(Water) << true << QPointF(342.1, 330) << false;
    QTest::newRow("standing on top") << int(Water) << true << QPointF(320, 296) << true;
    QTest::newRow("above top margin") << int(Water) << true << QPointF(320, 295.9) << false;
    QTest::newRow("bottom margin edge") << int(Water) << true << QPointF(320, 364) << true;
    QTest::newRow("below bottom margin") << int(Water) << true << QPointF(320, 364.1) << false;
}

// Water, lava, spikes and a switched-on laser lose a member whose feet lie in the object grown by 2 and 4.
void RulesTest::touchingLethalObjectsLosesTheMember()
{
    QFETCH(int, type);
    QFETCH(bool, laserOn);
    QFETCH(QPointF, feet);
    QFETCH(bool, lost);

    GameCore core = emptyWorld();
    core.addObject(ObjectType(type), QRectF(300, 300, 40, 60), 0, 0);
    core.objects[0].active = laserOn;
    const int index = addMember(core, feet, Falling);

    QCOMPARE(core.interactWithObjects(core.crew[index]), lost);
    QCOMPARE(core.crew.at(index).active, !lost);
    QCOMPARE(core.lost, lost ? 1 : 0);
    QCOMPARE(core.crew.at(index).pos, feet);
}

void RulesTest::eligibilityFollowsSkillAndState_data()
{
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("state");
    // Letters for the member: g on the ground (else 40 above it), c climber, f floater, x out of play.
    QTest::addColumn<QString>("traits");
    QTest::addColumn<bool>("eligible");

    QTest::newRow("climber while falling") << int(Climber) << int(Falling) << QString("") << true;
    QTest::newRow("climber twice") << int(Climber) << int(Walking) << QString("gc") << false;
    QTest::newRow("floater for a climber") << int(Floater) << int(Walking) << QString("gc") << true;
    QTest::newRow("floater twice") << int(Floater) << int(Falling) << QString("f") << false;
    QTest::newRow("blocker walking") << int(Blocker) << int(Walking) << QString("g") << true;
    QTest::newRow("blocker falling") << int(Blocker) << int(Falling) << QString("") << false;
    QTest::newRow("basher releases blocker") << int(Basher) << int(Blocking) << QString("g") << true;
    QTest::newRow("builder while building") << int(Builder) << int(Building) << QString("g") << false;
    QTest::newRow("basher while climbing") << int(Basher) << int(Climbing) << QString("g") << false;
    QTest::newRow("digger grounded") << int(Digger) << int(Walking) << QString("g") << true;
    QTest::newRow("digger over a gap") << int(Digger) << int(Walking) << QString("") << false;
    QTest::newRow("saved or lost climber") << int(Climber) << int(Walking) << QString("gx") << false;
}

// A member may take a skill exactly in the states its rule allows, and only while in play.
void RulesTest::eligibilityFollowsSkillAndState()
{
    QFETCH(int, skill);
    QFETCH(int, state);
    QFETCH(QString, traits);
    QFETCH(bool, eligible);

    GameCore core = stockedWorld();
    const qreal y = traits.contains('g') ? kStandingY : kSurface - 40.0;
    const int index = addMember(core, QPointF(300, y), CrewState(state));
    CrewMember &member = core.crew[index];
    member.climber = traits.contains('c');
    member.floater = traits.contains('f');
    member.active = !traits.contains('x');

    const CrewMember &placed = core.crew.at(index);
    QCOMPARE(core.canApplySkill(Skill(skill), placed), eligible);
    const QVector<int> candidates = core.applicableCrewIds(Skill(skill), tapBeside(placed, 0.0), 30.0f);
    QCOMPARE(candidates.contains(placed.id), eligible);
    QCOMPARE(core.applySkill(Skill(skill), tapBeside(placed, 0.0), placed.id), eligible ? placed.id : -1);
}

void RulesTest::selectedMemberReachesFurtherThanFallback_data()
{
    QTest::addColumn<qreal>("selectedDistance");
    QTest::addColumn<bool>("selectedEligible");
    QTest::addColumn<qreal>("otherDistance");
    QTest::addColumn<int>("crewId");
    QTest::addColumn<int>("expectedId");

    // Member 1 stands left of the tap, member 2 right of it; crew id 99 names nobody.
    QTest::newRow("selected at exactly 30") << 30.0 << true << 100.0 << 1 << 1;
    QTest::newRow("unselected at exactly 26") << 26.0 << true << 100.0 << -1 << -1;
    QTest::newRow("unselected at 25.9") << 25.9 << true << 100.0 << -1 << 1;
    QTest::newRow("selected at 31 yields to nearest") << 31.0 << true << 20.0 << 1 << 2;
    QTest::newRow("selected at 31, nobody within 26") << 31.0 << true << 27.0 << 1 << -1;
    QTest::newRow("nearest wins without selection") << 20.0 << true << 10.0 << -1 << 2;
    QTest::newRow("tie goes to the earlier release") << 10.0 << true << 10.0 << -1 << 1;
}

// A selected member is reached up to 30 away; otherwise the nearest eligible member strictly within 26 is.
void RulesTest::selectedMemberReachesFurtherThanFallback()
{
    QFETCH(qreal, selectedDistance);
    QFETCH(bool, selectedEligible);
    QFETCH(qreal, otherDistance);
    QFETCH(int, crewId);
    QFETCH(int, expectedId);

    GameCore core = stockedWorld();
    const QPointF tap(400, kStandingY - 8.0);
    addMember(core, QPointF(tap.x() - selectedDistance, kStandingY), selectedEligible ? Walking : Building);
    addMember(core, QPointF(tap.x() + otherDistance, kStandingY));

    QCOMPARE(core.applySkill(Blocker, tap, crewId), expectedId);
    QCOMPARE(core.skillCount(Blocker), expectedId < 0 ? 5 : 4);
    QCOMPARE(core.skillsUsed, expectedId < 0 ? 0 : 1);
    for (const CrewMember &member : std::as_const(core.crew))
        QCOMPARE(member.state == Blocking, member.id == expectedId);
}

void RulesTest::releasesFollowTheRate_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QVector<int>>("ticks");
    QTest::newRow("rate 0 is 1") << 0 << 1 << QVector<int> { 13, 84, 155 };
    QTest::newRow("rate 3") << 3 << 3 << QVector<int> { 13, 83, 153 };
    QTest::newRow("rate 99") << 99 << 99 << QVector<int> { 13, 35, 57 };
    QTest::newRow("rate 150 is 99") << 150 << 99 << QVector<int> { 13, 35, 57 };
}

// Rates are kept within 1 to 99; the first member leaves on tick 13 and the next ones follow every
// 70 - rate / 2 ticks plus one.
void RulesTest::releasesFollowTheRate()
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

void RulesTest::levelIndexStaysInTheCatalogue_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("loaded");
    QTest::newRow("-1 is the first") << -1 << 0;
    QTest::newRow("the last") << 20 << 20;
    QTest::newRow("one past the last is the last") << 21 << 20;
    QTest::newRow("far past the last is the last") << 1000 << 20;
}

void RulesTest::levelIndexStaysInTheCatalogue()
{
    QFETCH(int, index);
    QFETCH(int, loaded);
    GameCore core;
    core.loadLevel(index);
    QCOMPARE(core.levelIndex, loaded);
    QVERIFY(core.currentLevel() == core.levels.at(loaded));
}

void RulesTest::endingJudgesTheRunAsItStands_data()
{
    QTest::addColumn<int>("crewCount");
    QTest::addColumn<int>("requiredCount");
    QTest::addColumn<int>("walking");
    QTest::addColumn<int>("saved");
    QTest::addColumn<bool>("won");

    QTest::newRow("exactly the required count") << 5 << 3 << 2 << 3 << true;
    QTest::newRow("one short of the required count") << 5 << 3 << 3 << 2 << false;
    QTest::newRow("nobody home, nobody left outside") << 4 << 1 << 0 << 0 << false;
    QTest::newRow("saved enough while others wait in the portal") << 10 << 2 << 1 << 2 << true;
}

void RulesTest::endingJudgesTheRunAsItStands()
{
    // Ending loses every active member, finishes at once, and is a win exactly when saved reaches required.
    QFETCH(int, crewCount);
    QFETCH(int, requiredCount);
    QFETCH(int, walking);
    QFETCH(int, saved);
    QFETCH(bool, won);

    GameCore core = runInProgress(crewCount, requiredCount, walking, saved);
    const int tickBefore = core.tick;
    QVERIFY(core.endRun());
    QVERIFY(core.finished);
    QCOMPARE(core.won(), won);
    QCOMPARE(core.saved, saved);
    QCOMPARE(core.lost, walking);
    QCOMPARE(core.activeCount(), 0);
    QCOMPARE(core.spawned, core.saved + core.lost);
    // A finished run changes nothing at all, not even the tick, and cannot be ended again.
    QVERIFY(!core.endRun());
    core.step();
    QCOMPARE(core.tick, tickBefore);
}

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
