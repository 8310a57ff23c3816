#include "coretestsupport.h"

#include <QtTest>

#include <limits>
#include <utility>

using namespace Pellwick;

namespace {

constexpr int kGroundTop = 400;
constexpr qreal kStandingY = kGroundTop - 1;

// A world with a floor and a full stock of every skill.
GameCore stockedWorld()
{
    GameCore core = floorWorld(kGroundTop);
    core.skillStock.fill(5);
    return core;
}

// The tap point that lies `distance` to the right of the member's target point, 8 above its feet.
QPointF tapBeside(const CrewMember &member, qreal distance)
{
    return QPointF(member.pos.x() + distance, member.pos.y() - 8.0);
}

} // namespace

class SkillsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eligibilityFollowsSkillAndState_data();
    void eligibilityFollowsSkillAndState();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void selectedMemberReachesFurtherThanFallback_data();
    void selectedMemberReachesFurtherThanFallback();
    void candidatesAreNearestFirstWithinRadius();
    void assignmentSetsTheWorkingStateAndCountsStock_data();
    void assignmentSetsTheWorkingStateAndCountsStock();
};

void SkillsTest::eligibilityFollowsSkillAndState_data()
{
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("state");
    // Letters for the member: g on the ground (else 40 above it), c climber, f floater, x out of play.
    QTest::addColumn<QString>("traits");
    QTest::addColumn<bool>("eligible");

    QTest::newRow("climber while falling") << int(Climber) << int(Falling) << QString("") << true;
    QTest::newRow("climber twice") << int(Climber) << int(Walking) << QString("gc") << false;
    QTest::newRow("floater for a climber") << int(Floater) << int(Walking) << QString("gc") << true;
    QTest::newRow("floater while falling") << int(Floater) << int(Falling) << QString("") << true;
    QTest::newRow("floater while bashing") << int(Floater) << int(Bashing) << QString("g") << true;
    QTest::newRow("floater twice") << int(Floater) << int(Falling) << QString("f") << false;
    QTest::newRow("blocker walking") << int(Blocker) << int(Walking) << QString("g") << true;
    QTest::newRow("blocker falling") << int(Blocker) << int(Falling) << QString("") << false;
    QTest::newRow("blocker twice") << int(Blocker) << int(Blocking) << QString("g") << false;
    QTest::newRow("builder releases blocker") << int(Builder) << int(Blocking) << QString("g") << true;
    QTest::newRow("basher releases blocker") << int(Basher) << int(Blocking) << QString("g") << true;
    QTest::newRow("miner releases blocker") << int(Miner) << int(Blocking) << QString("g") << true;
    QTest::newRow("demolition releases blocker") << int(Demolition) << int(Blocking) << QString("g") << true;
    QTest::newRow("builder while building") << int(Builder) << int(Building) << QString("g") << false;
    QTest::newRow("basher while climbing") << int(Basher) << int(Climbing) << QString("g") << false;
    QTest::newRow("miner while falling") << int(Miner) << int(Falling) << QString("") << false;
    QTest::newRow("demolition while digging") << int(Demolition) << int(Digging) << QString("g") << false;
    QTest::newRow("digger grounded") << int(Digger) << int(Walking) << QString("g") << true;
    QTest::newRow("digger blocking grounded") << int(Digger) << int(Blocking) << QString("g") << true;
    QTest::newRow("digger over a gap") << int(Digger) << int(Walking) << QString("") << false;
    QTest::newRow("saved or lost climber") << int(Climber) << int(Walking) << QString("gx") << false;
}

// A member may take a skill exactly in the states its rule allows, and only while in play.
void SkillsTest::eligibilityFollowsSkillAndState()
{
    QFETCH(int, skill);
    QFETCH(int, state);
    QFETCH(QString, traits);
    QFETCH(bool, eligible);

    GameCore core = stockedWorld();
    const qreal y = traits.contains('g') ? kStandingY : kGroundTop - 40.0;
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

void SkillsTest::refusalsChangeNothing_data()
{
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("stock");

    QTest::newRow("no skill (-1)") << -1 << 5;
    QTest::newRow("value 8") << 8 << 5;
    QTest::newRow("large value") << 1000000 << 5;
    QTest::newRow("most negative value") << std::numeric_limits<int>::min() << 5;
    QTest::newRow("empty stock") << int(Builder) << 0;
}

// A value that is no skill, or a skill out of stock, has no count, no candidate and no effect.
void SkillsTest::refusalsChangeNothing()
{
    QFETCH(int, skill);
    QFETCH(int, stock);

    GameCore core = stockedWorld();
    core.skillStock.fill(stock);
    const int index = addMember(core, QPointF(300, kStandingY));
    const QPointF tap = tapBeside(core.crew.at(index), 0.0);
    const QVector<CrewMember> crewBefore = core.crew;
    const auto stockBefore = core.skillStock;

    QCOMPARE(core.skillCount(Skill(skill)), 0);
    QVERIFY(!core.canApplySkill(Skill(skill), core.crew.at(index)));
    QVERIFY(core.applicableCrewIds(Skill(skill), tap, 30.0f).isEmpty());
    QCOMPARE(core.applySkill(Skill(skill), tap, core.crew.at(index).id), -1);
    QCOMPARE(core.applySkill(Skill(skill), tap, -1), -1);
    QCOMPARE(core.crew, crewBefore);
    QCOMPARE(core.skillStock, stockBefore);
    QCOMPARE(core.skillsUsed, 0);
}

void SkillsTest::selectedMemberReachesFurtherThanFallback_data()
{
    QTest::addColumn<qreal>("selectedDistance");
    QTest::addColumn<bool>("selectedEligible");
    QTest::addColumn<qreal>("otherDistance");
    QTest::addColumn<int>("crewId");
    QTest::addColumn<int>("expectedId");

    // Member 1 stands left of the tap, member 2 right of it; crew id 99 names nobody.
    QTest::newRow("selected at exactly 30") << 30.0 << true << 100.0 << 1 << 1;
    QTest::newRow("unselected at 28") << 28.0 << true << 100.0 << -1 << -1;
    QTest::newRow("unknown id, member at 28") << 28.0 << true << 100.0 << 99 << -1;
    QTest::newRow("unselected at exactly 26") << 26.0 << true << 100.0 << -1 << -1;
    QTest::newRow("unselected at 25.9") << 25.9 << true << 100.0 << -1 << 1;
    QTest::newRow("selected at 31 yields to nearest") << 31.0 << true << 20.0 << 1 << 2;
    QTest::newRow("selected at 31, nobody within 26") << 31.0 << true << 27.0 << 1 << -1;
    QTest::newRow("selected but ineligible") << 5.0 << false << 20.0 << 1 << 2;
    QTest::newRow("other one selected") << 5.0 << true << 29.0 << 2 << 2;
    QTest::newRow("nearest wins without selection") << 20.0 << true << 10.0 << -1 << 2;
    QTest::newRow("tie goes to the earlier release") << 10.0 << true << 10.0 << -1 << 1;
}

// A selected member is reached up to 30 away; otherwise the nearest eligible member strictly within 26 is.
void SkillsTest::selectedMemberReachesFurtherThanFallback()
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

// Candidates are every eligible member within the radius, edge included, nearest first.
void SkillsTest::candidatesAreNearestFirstWithinRadius()
{
    GameCore core = stockedWorld();
    const QPointF tap(400, kStandingY - 8.0);
    const qreal offsets[] = { 20.0, -5.0, 12.0, 5.0, 30.0, -31.0, 3.0 };
    for (qreal dx : offsets)
        addMember(core, QPointF(tap.x() + dx, kStandingY));
    core.crew[6].state = Falling; // nearest of all, but a falling member cannot build

    const QVector<int> expected { 2, 4, 3, 1, 5 };
    QCOMPARE(core.applicableCrewIds(Builder, tap, 30.0f), expected);
    QCOMPARE(core.applicableCrewIds(Builder, tap, 11.0f), (QVector<int> { 2, 4 }));
    QCOMPARE(core.applicableCrewIds(Floater, tap, 4.0f), QVector<int> { 7 });
}

void SkillsTest::assignmentSetsTheWorkingStateAndCountsStock_data()
{
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("expectedState");

    QTest::newRow("climber") << int(Climber) << int(Blocking);
    QTest::newRow("floater") << int(Floater) << int(Blocking);
    QTest::newRow("builder") << int(Builder) << int(Building);
    QTest::newRow("basher") << int(Basher) << int(Bashing);
    QTest::newRow("digger") << int(Digger) << int(Digging);
    QTest::newRow("miner") << int(Miner) << int(Mining);
    QTest::newRow("demolition") << int(Demolition) << int(Demolishing);
}

// A skill given to a blocker sets its state and fresh counters, keeps where it stands and faces, and costs
// one.
void SkillsTest::assignmentSetsTheWorkingStateAndCountsStock()
{
    QFETCH(int, skill);
    QFETCH(int, expectedState);

    GameCore core = stockedWorld();
    const int index = addMember(core, QPointF(300.4, kStandingY), Blocking, -1);
    CrewMember &blocker = core.crew[index];
    blocker.actionTicks = 200;
    blocker.bricks = 7;
    blocker.idleTicks = 3;
    const CrewMember before = core.crew.at(index);

    QCOMPARE(core.applySkill(Skill(skill), tapBeside(before, 0.0), -1), before.id);
    const CrewMember &after = core.crew.at(index);
    QCOMPARE(int(after.state), expectedState);
    QCOMPARE(after.climber, skill == Climber);
    QCOMPARE(after.floater, skill == Floater);
    QCOMPARE(after.pos, before.pos);
    QCOMPARE(after.direction, -1);
    QCOMPARE(after.vy, before.vy);
    const bool ability = skill == Climber || skill == Floater;
    QCOMPARE(after.actionTicks, ability ? 200 : 0);
    QCOMPARE(after.bricks, skill == Builder ? 0 : 7);
    QCOMPARE(after.idleTicks, skill == Basher || skill == Miner ? 0 : 3);
    QCOMPARE(core.skillCount(Skill(skill)), 4);
    QCOMPARE(core.skillsUsed, 1);
}

QTEST_GUILESS_MAIN(SkillsTest)
#include "tst_skills.moc"
