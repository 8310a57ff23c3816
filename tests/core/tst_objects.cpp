#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

namespace {

constexpr int kSurface = 400;
constexpr qreal kStandingY = kSurface - 1;

// The point where a member sent to this teleporter arrives: the middle of its bottom edge.
QPointF arrivalPoint(const QRectF &teleporter)
{
    return QPointF(teleporter.center().x(), teleporter.bottom());
}

} // namespace

class ObjectsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void touchingLethalObjectsLosesTheMember_data();
    void touchingLethalObjectsLosesTheMember();
    void springLaunchesGroundedMember_data();
    void springLaunchesGroundedMember();
    void springIgnoresRisingMember();
    void teleporterSendsBackOnlyAfterCooldown();
    void teleporterSendsToFirstOtherOfItsLink_data();
    void teleporterSendsToFirstOtherOfItsLink();
    void teleportedMemberArrivesStanding();
    void directionGateImposesItsDirection_data();
    void directionGateImposesItsDirection();
    void firstFinalEffectEndsTheSearch_data();
    void firstFinalEffectEndsTheSearch();
    void switchOpensEveryDoorOfItsLinkOnce();
    void laserFollowsItsPhase_data();
    void laserFollowsItsPhase();
    void fanLiftsAndPushes_data();
    void fanLiftsAndPushes();
};

void ObjectsTest::touchingLethalObjectsLosesTheMember_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("laserOn");
    QTest::addColumn<QPointF>("feet");
    QTest::addColumn<bool>("lost");

    // The object is the rectangle (300, 300, 40, 60): touched from 298 to 342 and from 296 to 364.
    QTest::newRow("water") << int(Water) << true << QPointF(320, 330) << true;
    QTest::newRow("lava") << int(Lava) << true << QPointF(320, 330) << true;
    QTest::newRow("spikes") << int(Spikes) << true << QPointF(320, 330) << true;
    QTest::newRow("laser on") << int(Laser) << true << QPointF(320, 330) << true;
    QTest::newRow("laser off") << int(Laser) << false << QPointF(320, 330) << false;
    QTest::newRow("left margin edge") << int(Water) << true << QPointF(298, 330) << true;
    QTest::newRow("beyond left margin") << int(Water) << true << QPointF(297.9, 330) << false;
    QTest::newRow("right margin edge") << int(Water) << true << QPointF(342, 330) << true;
    QTest::newRow("beyond right margin") << int(Water) << true << QPointF(342.1, 330) << false;
    QTest::newRow("standing on top") << int(Water) << true << QPointF(320, 296) << true;
    QTest::newRow("above top margin") << int(Water) << true << QPointF(320, 295.9) << false;
    QTest::newRow("bottom margin edge") << int(Water) << true << QPointF(320, 364) << true;
    QTest::newRow("below bottom margin") << int(Water) << true << QPointF(320, 364.1) << false;
}

// Water, lava, spikes and a switched-on laser lose a member whose feet lie in the object grown by 2 and 4.
void ObjectsTest::touchingLethalObjectsLosesTheMember()
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

void ObjectsTest::springLaunchesGroundedMember_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("direction");

    QTest::newRow("walking onto it") << QPointF(190, kStandingY) << int(Walking) << 1;
    QTest::newRow("walking onto it leftwards") << QPointF(610, kStandingY) << int(Walking) << -1;
    QTest::newRow("falling 20") << QPointF(300, kStandingY - 20) << int(Falling) << 1;
    QTest::newRow("falling 350") << QPointF(300, kStandingY - 350) << int(Falling) << 1;
}

// A grounded member on a spring is thrown up at 7.2 and forward at 2.8 from 2 above, before any landing is
// judged.
void ObjectsTest::springLaunchesGroundedMember()
{
    QFETCH(QPointF, start);
    QFETCH(int, state);
    QFETCH(int, direction);

    GameCore core = floorWorld(kSurface);
    core.addObject(Spring, QRectF(200, 390, 400, 10), 0, 0);
    const int index = addMember(core, start, CrewState(state), direction);

    // Walkers reach the touch area, 8 away, in 4 ticks; the next tick begins there and launches them.
    const int ticks = runPlacedCrewUntil(
        core, [&core] { return core.objectTriggers > 0; }, 300);
    if (state == Walking)
        QCOMPARE(ticks, 5);
    const CrewMember &member = core.crew.at(index);
    QVERIFY(member.active);
    QCOMPARE(core.objectTriggers, 1);
    QCOMPARE(member.state, Falling);
    QVERIFY(member.fallStartY >= float(kStandingY) - 0.5f);
    QCOMPARE(member.fallStartY, float(member.pos.y() + 2.0));
    QCOMPARE(member.vy, -7.2f);
    QCOMPARE(member.vx, 2.8f * float(direction));
}

// A member rising through a spring, even with ground under its feet, is not launched.
void ObjectsTest::springIgnoresRisingMember()
{
    GameCore core = floorWorld(kSurface);
    core.addObject(Spring, QRectF(200, 390, 400, 10), 0, 0);
    const int index = addMember(core, QPointF(300, kStandingY), Falling);
    core.crew[index].vy = -3.0f;

    runPlacedCrew(core, 1);
    QCOMPARE(core.objectTriggers, 0);
    QCOMPARE(core.crew.at(index).pos.y(), kStandingY - 3.0);
    QCOMPARE(core.crew.at(index).vy, -3.0f + 0.42f);
}

// A teleported member cannot be sent again for 34 ticks; still in the partner's area, it goes back on the
// 35th.
void ObjectsTest::teleporterSendsBackOnlyAfterCooldown()
{
    GameCore core = floorWorld(kSurface);
    const QRectF from(100, 360, 36, 40);
    const QRectF to(600, 360, 36, 40);
    core.addObject(Teleporter, from, 0, 1);
    core.addObject(Teleporter, to, 0, 1);
    // Walls keep the arriving member pacing inside the partner's touch area.
    fillGround(core, QRect(590, 340, 6, 60));
    fillGround(core, QRect(640, 340, 6, 60));
    const int index = addMember(core, QPointF(118, kStandingY));

    runPlacedCrew(core, 1);
    QCOMPARE(core.objectTriggers, 1);
    QCOMPARE(core.crew.at(index).pos, arrivalPoint(to));
    QCOMPARE(core.crew.at(index).teleportCooldown, 35);

    runPlacedCrew(core, 34);
    QCOMPARE(core.objectTriggers, 1);
    QVERIFY(std::abs(core.crew.at(index).pos.x() - to.center().x()) <= 20);

    runPlacedCrew(core, 1);
    QCOMPARE(core.objectTriggers, 2);
    QCOMPARE(core.crew.at(index).pos, arrivalPoint(from));
    QVERIFY(core.crew.at(index).active);
}

void ObjectsTest::teleporterSendsToFirstOtherOfItsLink_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("cooldown");
    QTest::addColumn<int>("to"); // -1: not moved

    // Teleporters 0, 1 and 2 share link 5; teleporter 3 is alone with link 6.
    QTest::newRow("first to second") << 0 << 0 << 1;
    QTest::newRow("second to first") << 1 << 0 << 0;
    QTest::newRow("third to first") << 2 << 0 << 0;
    QTest::newRow("alone is inert") << 3 << 0 << -1;
    QTest::newRow("cooling down") << 0 << 2 << -1;
    QTest::newRow("last tick of cooldown") << 0 << 1 << 1;
}

// A teleporter sends to the first other teleporter of its link in creation order, once the cooldown is over.
void ObjectsTest::teleporterSendsToFirstOtherOfItsLink()
{
    QFETCH(int, from);
    QFETCH(int, cooldown);
    QFETCH(int, to);

    GameCore core = emptyWorld();
    const QRectF rects[] = {
        { 100, 300, 36, 40 }, { 300, 300, 36, 40 }, { 500, 300, 36, 40 }, { 700, 300, 36, 40 }
    };
    const int links[] = { 5, 5, 5, 6 };
    for (int i = 0; i < 4; ++i)
        core.addObject(Teleporter, rects[i], 0, links[i]);
    const QPointF start = rects[from].center();
    const int index = addMember(core, start, Falling);
    core.crew[index].teleportCooldown = cooldown;
    core.crew[index].vx = 1.5f;

    const bool moved = to >= 0;
    QCOMPARE(core.interactWithObjects(core.crew[index]), moved);
    const CrewMember &member = core.crew.at(index);
    QCOMPARE(member.pos, moved ? arrivalPoint(rects[to]) : start);
    QCOMPARE(member.state, moved ? Walking : Falling);
    QCOMPARE(member.vx, moved ? 0.0f : 1.5f);
    QCOMPARE(member.teleportCooldown, moved ? 35 : std::max(cooldown - 1, 0));
    QCOMPARE(core.objectTriggers, moved ? 1 : 0);
}

// A member teleported mid-fall arrives standing, so a later harmless hop in a fan is judged from the fan.
void ObjectsTest::teleportedMemberArrivesStanding()
{
    GameCore core = floorWorld(kSurface);
    core.addObject(Teleporter, QRectF(100, 200, 36, 40), 0, 1);
    const QRectF partner(600, 360, 36, 40);
    core.addObject(Teleporter, partner, 0, 1);
    core.addObject(Fan, QRectF(650, 380, 20, 20), 0, 0);
    // Falling from far up: its fall began 190 above the floor.
    const int index = addMember(core, QPointF(118, kStandingY - 190), Falling);

    runPlacedCrewUntil(
        core, [&core] { return core.objectTriggers > 0; }, 100);
    const CrewMember &arrived = core.crew.at(index);
    QCOMPARE(arrived.pos, arrivalPoint(partner));
    QCOMPARE(arrived.state, Walking);
    QCOMPARE(arrived.fallStartY, -1.0f);
    QCOMPARE(arrived.vy, 0.0f);

    runPlacedCrew(core, 60);
    const CrewMember &after = core.crew.at(index);
    QVERIFY(after.active);
    QCOMPARE(after.state, Walking);
    QVERIFY(after.pos.x() > 670);
}

void ObjectsTest::directionGateImposesItsDirection_data()
{
    QTest::addColumn<int>("gate");
    QTest::addColumn<int>("walking");
    QTest::addColumn<int>("expected");

    QTest::newRow("-1 turns a member walking right") << -1 << 1 << -1;
    QTest::newRow("-1 keeps a member walking left") << -1 << -1 << -1;
    QTest::newRow("+1 turns a member walking left") << 1 << -1 << 1;
    QTest::newRow("0 leaves a member walking left") << 0 << -1 << -1;
}

// A gate sets the direction of whoever touches it to its own, unless its direction is 0; the member moves on.
void ObjectsTest::directionGateImposesItsDirection()
{
    QFETCH(int, gate);
    QFETCH(int, walking);
    QFETCH(int, expected);

    GameCore core = floorWorld(kSurface);
    core.addObject(DirectionGate, QRectF(300, 360, 26, 40), gate, 0);
    const int index = addMember(core, QPointF(310, kStandingY), Walking, walking);

    QVERIFY(!core.interactWithObjects(core.crew[index]));
    QCOMPARE(core.crew.at(index).direction, expected);
    runPlacedCrew(core, 1);
    QCOMPARE(core.crew.at(index).pos.x(), 310.0 + 2 * expected);
}

void ObjectsTest::firstFinalEffectEndsTheSearch_data()
{
    QTest::addColumn<bool>("gateFirst");
    QTest::newRow("gate, then water") << true;
    QTest::newRow("water, then gate") << false;
}

// Effects apply in list order: a gate before a lethal zone turns the member and it is lost in the same tick.
void ObjectsTest::firstFinalEffectEndsTheSearch()
{
    QFETCH(bool, gateFirst);

    GameCore core = floorWorld(kSurface);
    const QRectF area(300, 360, 40, 40);
    if (gateFirst)
        core.addObject(DirectionGate, area, -1, 0);
    core.addObject(Water, area, 0, 0);
    if (!gateFirst)
        core.addObject(DirectionGate, area, -1, 0);
    const int index = addMember(core, QPointF(320, kStandingY));

    runPlacedCrew(core, 1);
    QVERIFY(!core.crew.at(index).active);
    QCOMPARE(core.lost, 1);
    QCOMPARE(core.crew.at(index).direction, gateFirst ? -1 : 1);
}

// Pressing a switch spends every switch and opens every door of its link, once, as exactly one object event.
void ObjectsTest::switchOpensEveryDoorOfItsLinkOnce()
{
    GameCore core = floorWorld(kSurface);
    core.addObject(Switch, QRectF(100, 390, 34, 10), 0, 2);
    core.addObject(Door, QRectF(300, 300, 28, 100), 0, 2);
    core.addObject(Switch, QRectF(500, 390, 34, 10), 0, 2);
    core.addObject(Door, QRectF(700, 300, 28, 100), 0, 3);
    core.addObject(Door, QRectF(800, 300, 28, 100), 0, 2);
    const int presser = addMember(core, QPointF(110, kStandingY));
    const int late = addMember(core, QPointF(510, kStandingY));
    QVERIFY(core.isSolid(310, 350));

    // A switch does not end the member's tick.
    QVERIFY(!core.interactWithObjects(core.crew[presser]));
    QCOMPARE(core.objectTriggers, 1);
    QVERIFY(core.objects.at(0).triggered && core.objects.at(2).triggered);
    QVERIFY(!core.objects.at(1).active && !core.objects.at(4).active);
    QVERIFY(core.objects.at(3).active);
    QVERIFY(!core.isSolid(310, 350));
    QVERIFY(!core.isSolid(810, 350));
    QVERIFY(core.isSolid(710, 350));

    // Spent switches stay spent, whoever touches them and however often the group is pressed.
    QVERIFY(!core.interactWithObjects(core.crew[late]));
    core.triggerSwitch(2);
    core.triggerSwitch(4);
    QCOMPARE(core.objectTriggers, 1);
    QVERIFY(core.objects.at(3).active);
}

void ObjectsTest::laserFollowsItsPhase_data()
{
    QTest::addColumn<int>("link");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<bool>("on");

    QTest::newRow("link 0 tick 59") << 0 << 59 << true;
    QTest::newRow("link 0 tick 60") << 0 << 60 << false;
    QTest::newRow("link 0 tick 119") << 0 << 119 << false;
    QTest::newRow("link 0 tick 120") << 0 << 120 << true;
    QTest::newRow("link 1 at creation") << 1 << 0 << true;
    QTest::newRow("link 1 tick 1") << 1 << 1 << false;
    QTest::newRow("link 1 tick 59") << 1 << 59 << false;
    QTest::newRow("link 1 tick 60") << 1 << 60 << true;
    QTest::newRow("link -1 tick 60") << -1 << 60 << true;
    QTest::newRow("link 2 tick 1") << 2 << 1 << true;
}

// A laser is on from creation; after every tick, whatever it was, it is on exactly while (tick / 60 + link)
// is even.
void ObjectsTest::laserFollowsItsPhase()
{
    QFETCH(int, link);
    QFETCH(int, ticks);
    QFETCH(bool, on);

    GameCore core = emptyWorld();
    core.addObject(Laser, QRectF(300, 300, 12, 100), 0, link);
    if (ticks > 0)
        core.objects[0].active = !on;
    // A blocker far from the laser keeps the run going.
    addMember(core, QPointF(800, 200), Blocking);

    runPlacedCrew(core, ticks);
    QCOMPARE(core.tick, ticks);
    QCOMPARE(core.objects.at(0).active, on);
}

void ObjectsTest::fanLiftsAndPushes_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("direction");
    QTest::addColumn<float>("fallStartY");
    QTest::addColumn<float>("vy");
    QTest::addColumn<float>("vx");
    QTest::addColumn<float>("expectedFallStartY");
    QTest::addColumn<float>("expectedVy");
    QTest::addColumn<float>("expectedVx");

    QTest::newRow("walking in") << int(Walking) << 1 << -1.0f << 0.0f << 0.0f << 350.0f << -1.45f << 2.4f;
    QTest::newRow("falling in keeps its fall")
        << int(Falling) << 1 << 120.0f << 3.5f << 0.0f << 120.0f << -1.45f << 2.4f;
    QTest::newRow("rising faster keeps its speed")
        << int(Falling) << 1 << 300.0f << -5.0f << 1.0f << 300.0f << -5.0f << 2.4f;
    QTest::newRow("fast drift turned to its direction")
        << int(Falling) << 1 << 300.0f << 1.0f << -3.0f << 300.0f << -1.45f << 3.0f;
    QTest::newRow("working member caught")
        << int(Bashing) << -1 << -1.0f << 0.0f << 0.0f << 350.0f << -1.45f << -2.4f;
}

// A fan catches a member as falling, lifts it 4, pushes it at least 2.4 its way and ends its tick.
void ObjectsTest::fanLiftsAndPushes()
{
    QFETCH(int, state);
    QFETCH(int, direction);
    QFETCH(float, fallStartY);
    QFETCH(float, vy);
    QFETCH(float, vx);
    QFETCH(float, expectedFallStartY);
    QFETCH(float, expectedVy);
    QFETCH(float, expectedVx);

    GameCore core = emptyWorld();
    core.addObject(Fan, QRectF(200, 100, 200, 300), 0, 3);
    const int index = addMember(core, QPointF(300, 350), CrewState(state), direction);
    CrewMember &member = core.crew[index];
    member.fallStartY = fallStartY;
    member.vy = vy;
    member.vx = vx;

    QVERIFY(core.interactWithObjects(member));
    const CrewMember &lifted = core.crew.at(index);
    QCOMPARE(lifted.state, Falling);
    QCOMPARE(lifted.fallStartY, expectedFallStartY);
    QCOMPARE(lifted.vy, expectedVy);
    QCOMPARE(lifted.vx, expectedVx);
    QCOMPARE(lifted.pos, QPointF(300 + qreal(expectedVx), 346));

    // Still inside the fan, it goes on rising 4 per tick.
    runPlacedCrew(core, 5);
    QCOMPARE(core.crew.at(index).pos.y(), 326.0);
}

QTEST_GUILESS_MAIN(ObjectsTest)
#include "tst_objects.moc"
