#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

Q_DECLARE_METATYPE(Pellwick::CrewState)

namespace {

// Feet row of a member standing on the test floor, whose top row is 300.
constexpr int kFeet = 299;

} // namespace

class LocomotionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void landingSurvivesUpTo105_data();
    void landingSurvivesUpTo105();
    void floaterSurvivesAFallThatKillsOthers();
    void walkingOffALedgeFallsOnTheNextTick();
    void wallRowsDecideLiftTurnOrClimb_data();
    void wallRowsDecideLiftTurnOrClimb();
    void bumpAfterAStepLiftsUpToThree_data();
    void bumpAfterAStepLiftsUpToThree();
    void climberClimbsAndHopsOverTheTop();
    void blockerTurnsOnlyWalkersAhead_data();
    void blockerTurnsOnlyWalkersAhead();
    void blockerWalksOnAfter360Ticks();
    void exitReachSavesInAnyState_data();
    void exitReachSavesInAnyState();
    void worldMarginsLoseMembers_data();
    void worldMarginsLoseMembers();
};

void LocomotionTest::landingSurvivesUpTo105_data()
{
    QTest::addColumn<float>("fallStartY");
    QTest::addColumn<bool>("floater");
    QTest::addColumn<bool>("survives");
    QTest::newRow("fall of 105") << float(kFeet - 105) << false << true;
    QTest::newRow("fall of 105.5") << float(kFeet - 105.5) << false << false;
    QTest::newRow("fall of 106") << float(kFeet - 106) << false << false;
    QTest::newRow("floater, fall of 250") << float(kFeet - 250) << true << true;
    QTest::newRow("no recorded start") << -1.0f << false << true;
    QTest::newRow("landing above the start") << float(kFeet + 40) << false << true;
}

// A non-floater dies of a landing more than 105 below the start of its fall; a floater never does.
void LocomotionTest::landingSurvivesUpTo105()
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

// Off a ledge 200 high a floater sinks slowly, drifting 1.35 a tick, and lands alive; anyone else dies.
void LocomotionTest::floaterSurvivesAFallThatKillsOthers()
{
    GameCore core = emptyWorld();
    fillGround(core, QRect(0, 100, 100, 10));
    fillGround(core, QRect(0, 300, core.worldWidth(), 20));
    const int floater = addMember(core, QPointF(100, 99));
    core.crew[floater].floater = true;
    const int other = addMember(core, QPointF(100, 99));

    for (int tick = 0; tick < 3; ++tick)
        core.simulateCrew(core.crew[floater]);
    QCOMPARE(core.crew.at(floater).state, Falling);
    QCOMPARE(core.crew.at(floater).vy, 0.62f + 0.12f);
    QCOMPARE(core.crew.at(floater).pos.x(), 102 + 1.35 + 1.35);
    for (int tick = 0; tick < 400; ++tick) {
        core.simulateCrew(core.crew[floater]);
        core.simulateCrew(core.crew[other]);
    }
    QVERIFY(core.crew.at(floater).active);
    QCOMPARE(core.crew.at(floater).state, Walking);
    QVERIFY(!core.crew.at(other).active);
    QCOMPARE(core.lost, 1);
}

// Walking off an edge, a member first makes its full step at the ledge height and falls from the next tick.
void LocomotionTest::walkingOffALedgeFallsOnTheNextTick()
{
    GameCore core = emptyWorld();
    fillGround(core, QRect(0, kFeet + 1, 100, 20));
    const int i = addMember(core, QPointF(100, kFeet));
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).pos, QPointF(102, kFeet));
    QCOMPARE(core.crew.at(i).state, Walking);

    core.simulateCrew(core.crew[i]);
    const CrewMember &m = core.crew.at(i);
    QCOMPARE(m.state, Falling);
    QCOMPARE(m.fallStartY, float(kFeet));
    QCOMPARE(m.vy, 0.92f);
    QCOMPARE(m.pos, QPointF(103, kFeet + qreal(0.92f)));

    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).vy, 0.92f + 0.42f);
    QCOMPARE(core.crew.at(i).pos, QPointF(104, kFeet + qreal(0.92f) + qreal(0.92f + 0.42f)));
}

void LocomotionTest::wallRowsDecideLiftTurnOrClimb_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("climber");
    QTest::addColumn<int>("lift");
    QTest::addColumn<int>("newDirection");
    QTest::addColumn<CrewState>("state");
    // rows: how far above the feet row the wall's top row lies. lift -1 means no forward step at all.
    QTest::newRow("1 row: no wall") << 1 << 1 << false << 0 << 1 << Walking;
    QTest::newRow("3 rows: no wall") << 3 << 1 << false << 0 << 1 << Walking;
    QTest::newRow("4 rows: lift 1") << 4 << 1 << false << 1 << 1 << Walking;
    QTest::newRow("5 rows: lift 2") << 5 << 1 << false << 2 << 1 << Walking;
    QTest::newRow("6 rows: lift 3") << 6 << 1 << false << 3 << 1 << Walking;
    QTest::newRow("7 rows: lift 4") << 7 << 1 << false << 4 << 1 << Walking;
    QTest::newRow("7 rows, climber: lift 4") << 7 << 1 << true << 4 << 1 << Walking;
    QTest::newRow("7 rows, walking left: lift 4") << 7 << -1 << false << 4 << -1 << Walking;
    QTest::newRow("8 rows: turns") << 8 << 1 << false << -1 << -1 << Walking;
    QTest::newRow("8 rows, walking left: turns") << 8 << -1 << false << -1 << 1 << Walking;
    QTest::newRow("30 rows: turns") << 30 << 1 << false << -1 << -1 << Walking;
    QTest::newRow("8 rows, climber: climbs") << 8 << 1 << true << -1 << 1 << Climbing;
    QTest::newRow("30 rows, climber walking left: climbs") << 30 << -1 << true << -1 << -1 << Climbing;
}

// A wall whose top lies 4 to 7 rows above the feet is stepped up by 1 to 4 in the same tick; a lower one is
// no wall; a higher one turns the member around, or starts a climber climbing, without a forward step.
void LocomotionTest::wallRowsDecideLiftTurnOrClimb()
{
    QFETCH(int, rows);
    QFETCH(int, direction);
    QFETCH(bool, climber);
    QFETCH(int, lift);
    QFETCH(int, newDirection);
    QFETCH(CrewState, state);
    GameCore core = floorWorld(kFeet + 1);
    const int wallColumn = direction > 0 ? 105 : 95;
    const int wallLeft = direction > 0 ? wallColumn : wallColumn - 29;
    fillGround(core, QRect(wallLeft, kFeet - rows, 30, rows + 1));
    const int i = addMember(core, QPointF(100, kFeet), Walking, direction);
    core.crew[i].climber = climber;
    core.simulateCrew(core.crew[i]);

    const CrewMember &m = core.crew.at(i);
    QVERIFY(m.active);
    QCOMPARE(m.direction, newDirection);
    QCOMPARE(m.state, state);
    QCOMPARE(m.pos, lift < 0 ? QPointF(100, kFeet) : QPointF(100 + 2 * direction, kFeet - lift));
}

void LocomotionTest::bumpAfterAStepLiftsUpToThree_data()
{
    QTest::addColumn<int>("bumpRow");
    QTest::addColumn<int>("lift");
    QTest::newRow("bump in the feet row") << kFeet << 1;
    QTest::newRow("bump 1 above the feet") << kFeet - 1 << 2;
    QTest::newRow("bump 2 above the feet") << kFeet - 2 << 3;
    QTest::newRow("bump 3 above the feet: none") << kFeet - 3 << 0;
}

// When a step leaves the member without ground, a solid pixel in its own column within 3 rows lifts it onto
// it.
void LocomotionTest::bumpAfterAStepLiftsUpToThree()
{
    QFETCH(int, bumpRow);
    QFETCH(int, lift);
    GameCore core = emptyWorld();
    fillGround(core, QRect(0, kFeet + 1, 99, 10));
    fillGround(core, QRect(102, bumpRow, 1, 1));
    const int i = addMember(core, QPointF(100, kFeet));
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).pos, QPointF(102, kFeet - lift));
    QCOMPARE(core.crew.at(i).state, Walking);
}

// A climber rises 2 a tick while the wall ahead goes on, then hops 1 up and 7 forward over the top.
void LocomotionTest::climberClimbsAndHopsOverTheTop()
{
    GameCore core = floorWorld(kFeet + 1);
    fillGround(core, QRect(105, 279, 30, 21));
    const int i = addMember(core, QPointF(100, kFeet));
    core.crew[i].climber = true;

    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).state, Climbing);
    QCOMPARE(core.crew.at(i).pos, QPointF(100, kFeet));
    // Contact ends once neither 5 nor 10 rows above the feet reach the top row 279: at feet row 283.
    for (int climb = 1; climb <= 8; ++climb) {
        core.simulateCrew(core.crew[i]);
        QCOMPARE(core.crew.at(i).state, Climbing);
        QCOMPARE(core.crew.at(i).pos, QPointF(100, kFeet - 2 * climb));
    }
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).state, Walking);
    QCOMPARE(core.crew.at(i).pos, QPointF(107, 282));
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).pos, QPointF(109, 282));
    QCOMPARE(core.crew.at(i).direction, 1);
}

void LocomotionTest::blockerTurnsOnlyWalkersAhead_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<qreal>("dx");
    QTest::addColumn<qreal>("dy");
    QTest::addColumn<CrewState>("otherState");
    QTest::addColumn<bool>("otherActive");
    QTest::addColumn<bool>("turns");
    QTest::newRow("14.9 ahead") << 1 << 14.9 << 0.0 << Blocking << true << true;
    QTest::newRow("15 ahead") << 1 << 15.0 << 0.0 << Blocking << true << false;
    QTest::newRow("same column") << 1 << 0.0 << 0.0 << Blocking << true << false;
    QTest::newRow("behind") << 1 << -5.0 << 0.0 << Blocking << true << false;
    QTest::newRow("walking left, 14 ahead") << -1 << -14.0 << 0.0 << Blocking << true << true;
    QTest::newRow("walking left, behind") << -1 << 5.0 << 0.0 << Blocking << true << false;
    QTest::newRow("13 above") << 1 << 5.0 << -13.0 << Blocking << true << true;
    QTest::newRow("14 above") << 1 << 5.0 << -14.0 << Blocking << true << false;
    QTest::newRow("13 below") << 1 << 5.0 << 13.0 << Blocking << true << true;
    QTest::newRow("walker ahead") << 1 << 5.0 << 0.0 << Walking << true << false;
    QTest::newRow("saved blocker") << 1 << 5.0 << 0.0 << Blocking << false << false;
}

// Only an active blocker strictly less than 15 ahead and less than 14 above or below turns a walker, which
// then stays in place for that tick; walkers pass through each other.
void LocomotionTest::blockerTurnsOnlyWalkersAhead()
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

// A blocker stands for 360 ticks and on the last of them walks on in the direction it had.
void LocomotionTest::blockerWalksOnAfter360Ticks()
{
    GameCore core = floorWorld(kFeet + 1);
    const int i = addMember(core, QPointF(200, kFeet), Blocking, -1);
    const int walker = addMember(core, QPointF(190, kFeet));
    for (int tick = 1; tick < 360; ++tick)
        core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).state, Blocking);
    QCOMPARE(core.crew.at(i).actionTicks, 359);
    QCOMPARE(core.crew.at(i).pos, QPointF(200, kFeet));
    core.simulateCrew(core.crew[walker]);
    QCOMPARE(core.crew.at(walker).direction, -1);

    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.crew.at(i).state, Walking);
    QCOMPARE(core.crew.at(i).actionTicks, 0);
    QCOMPARE(core.crew.at(i).pos, QPointF(198, kFeet));
    QCOMPARE(core.crew.at(i).direction, -1);
}

void LocomotionTest::exitReachSavesInAnyState_data()
{
    QTest::addColumn<qreal>("dx");
    QTest::addColumn<qreal>("dy");
    QTest::addColumn<CrewState>("state");
    QTest::addColumn<bool>("saved");
    QTest::newRow("17 right, 29 below") << 17.0 << 29.0 << Walking << true;
    QTest::newRow("17.9 left, 29.9 above") << -17.9 << -29.9 << Walking << true;
    QTest::newRow("18 right") << 18.0 << 0.0 << Walking << false;
    QTest::newRow("18 left") << -18.0 << 0.0 << Walking << false;
    QTest::newRow("30 below") << 0.0 << 30.0 << Walking << false;
    QTest::newRow("30 above") << 0.0 << -30.0 << Walking << false;
    QTest::newRow("falling") << 10.0 << -20.0 << Falling << true;
    QTest::newRow("blocking") << -10.0 << 0.0 << Blocking << true;
    QTest::newRow("digging") << 0.0 << 0.0 << Digging << true;
}

// Within 18 across and 30 up or down of the exit point a member is saved, whatever it is doing.
void LocomotionTest::exitReachSavesInAnyState()
{
    QFETCH(qreal, dx);
    QFETCH(qreal, dy);
    QFETCH(CrewState, state);
    QFETCH(bool, saved);
    GameCore core = floorWorld(kFeet + 1);
    core.levels[core.levelIndex].landscapeExit = QPointF(500, 250);
    const int i = addMember(core, QPointF(500 + dx, 250 + dy), state);
    core.simulateCrew(core.crew[i]);
    QCOMPARE(core.saved, saved ? 1 : 0);
    QCOMPARE(core.crew.at(i).active, !saved);
    QCOMPARE(core.lost, 0);
}

void LocomotionTest::worldMarginsLoseMembers_data()
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
void LocomotionTest::worldMarginsLoseMembers()
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

QTEST_GUILESS_MAIN(LocomotionTest)
#include "tst_locomotion.moc"
