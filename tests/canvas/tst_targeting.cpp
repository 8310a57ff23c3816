#include "canvasprobe.h"

#include <QtTest>

#include <climits>

using namespace Pellwick;
using CanvasTest::SignalLog;

namespace {

// A member's target point is 8 units above its feet; with the world fitted 1:1 an item tap is a world tap.
constexpr qreal kTargetLift = 8;

const CrewMember *memberById(const GameCore &core, int id)
{
    for (const CrewMember &member : core.crew) {
        if (member.id == id)
            return &member;
    }
    return nullptr;
}

} // namespace

// A tap hands the held skill to the crew member under the finger; in a crowd it previews and cycles, and the
// timer commits the previewed member's skill unless something cancels it first.
class TargetingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void init();
    void cleanup();

    void singleCandidateIsAssignedAtOnce();
    void lastUseClearsTheSelectionFirst();
    void repeatedTapsCycleThroughTheCrowd();
    void distantTapStartsOver_data();
    void distantTapStartsOver();
    void timerCommitsThePreviewedMember();
    void commitKeepsTheCommittedSkill();
    void commitTakesWhoeverTheCoreChooses();
    void pendingAssignmentIsCancelled_data();
    void pendingAssignmentIsCancelled();
    void heldGameRefusesTaps_data();
    void heldGameRefusesTaps();
    void skillOutsideTheRangeIsNoSkill_data();
    void skillOutsideTheRangeIsNoSkill();
    void actionFocus_data();
    void actionFocus();

private:
    // Members standing in the air at the given feet points; nobody moves, since the test holds the clock.
    QVector<int> crowd(const QVector<QPointF> &feet);
    bool tap(const QPointF &feet)
    {
        return m_canvas->applySelectedSkill(float(feet.x()), float(feet.y() - kTargetLift));
    }

    GameCanvas *m_canvas = nullptr;
    CanvasProbe *m_probe = nullptr;
};

void TargetingTest::init()
{
    m_canvas = new GameCanvas;
    m_probe = new CanvasProbe(CanvasProbe::holding(*m_canvas));
    m_canvas->setSize(QSizeF(960, 540));
    m_canvas->startLevel();
    m_probe->core().crew.clear();
    m_probe->core().skillStock[Climber] = 3;
    m_canvas->selectSkill(Climber);
}

void TargetingTest::cleanup()
{
    delete m_probe;
    delete m_canvas;
    CanvasTest::removeSettings();
}

QVector<int> TargetingTest::crowd(const QVector<QPointF> &feet)
{
    QVector<int> ids;
    for (const QPointF &point : feet)
        ids.append(CanvasTest::placeMember(m_probe->core(), point, Falling));
    return ids;
}

// One eligible member takes the skill at once, without waiting, and the game is saved.
void TargetingTest::singleCandidateIsAssignedAtOnce()
{
    const QVector<int> ids = crowd({ QPointF(300, 300), QPointF(400, 300) });
    SignalLog log(*m_canvas);
    QVERIFY(tap(QPointF(300, 300)));
    QCOMPARE(log.take(),
             QStringList({ "selectedCrewIdChanged", "skillsChanged", "stateChanged", "skillAssigned(0)" }));
    QVERIFY(!m_probe->assignmentPending());
    QVERIFY(memberById(m_probe->core(), ids.at(0))->climber);
    QCOMPARE(m_canvas->selectedCrewId(), ids.at(0));
    QCOMPARE(m_canvas->selectedSkill(), int(Climber));
    QCOMPARE(m_probe->core().skillCount(Climber), 2);
    QCOMPARE(m_canvas->skillsUsed(), 1);
    QVERIFY(!CanvasTest::stored("session/current/blob").toByteArray().isEmpty());
}

// Handing out the last use drops the held skill, announced before the assignment itself.
void TargetingTest::lastUseClearsTheSelectionFirst()
{
    m_probe->core().skillStock[Climber] = 1;
    crowd({ QPointF(300, 300) });
    SignalLog log(*m_canvas);
    QVERIFY(tap(QPointF(300, 300)));
    QCOMPARE(log.take(),
             QStringList({ "selectedSkillChanged", "selectedCrewIdChanged", "skillsChanged", "stateChanged",
                           "skillAssigned(0)" }));
    QCOMPARE(m_canvas->selectedSkill(), -1);
    QVERIFY(!tap(QPointF(300, 300)));
}

// Taps on a crowd of three preview the members nearest first, 1/3, 2/3, 3/3 and round to 1/3, using no stock.
void TargetingTest::repeatedTapsCycleThroughTheCrowd()
{
    const QVector<int> ids = crowd({ QPointF(300, 300), QPointF(305, 300), QPointF(310, 300) });
    SignalLog log(*m_canvas);
    const int expected[] = { 0, 1, 2, 0 };
    for (int round = 0; round < 4; ++round) {
        QVERIFY(tap(QPointF(300, 300)));
        const int index = expected[round];
        QCOMPARE(log.take(),
                 QStringList({ "selectedCrewIdChanged",
                               QStringLiteral("crewTargetPreviewed(%1/3)").arg(index + 1) }));
        QCOMPARE(m_canvas->selectedCrewId(), ids.at(index));
        QVERIFY(m_probe->assignmentPending());
    }
    QCOMPARE(m_probe->core().skillCount(Climber), 3);
    QCOMPARE(m_canvas->skillsUsed(), 0);
}

// A second tap more than 18 units away starts again at the nearest member of the new spot.
void TargetingTest::distantTapStartsOver_data()
{
    QTest::addColumn<qreal>("shift");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<int>("member");
    QTest::newRow("17 units cycles") << 17.0 << "crewTargetPreviewed(2/3)" << 1;
    QTest::newRow("19 units starts over") << 19.0 << "crewTargetPreviewed(1/3)" << 2;
}

void TargetingTest::distantTapStartsOver()
{
    QFETCH(qreal, shift);
    QFETCH(QString, preview);
    QFETCH(int, member);

    const QVector<int> ids = crowd({ QPointF(300, 300), QPointF(305, 300), QPointF(310, 300) });
    QVERIFY(tap(QPointF(300, 300)));
    SignalLog log(*m_canvas);
    QVERIFY(tap(QPointF(300 + shift, 300)));
    QCOMPARE(log.take(), QStringList({ "selectedCrewIdChanged", preview }));
    QCOMPARE(m_canvas->selectedCrewId(), ids.at(member));
}

// When the wait runs out, the timer hands the skill to the previewed member.
void TargetingTest::timerCommitsThePreviewedMember()
{
    const QVector<int> ids = crowd({ QPointF(300, 300), QPointF(305, 300), QPointF(310, 300) });
    SignalLog log(*m_canvas);
    QSignalSpy assigned(m_canvas, &GameCanvas::skillAssigned);
    QVERIFY(assigned.isValid());
    QVERIFY(tap(QPointF(300, 300)));
    QVERIFY(tap(QPointF(300, 300)));
    QVERIFY(assigned.wait(2000));
    QCOMPARE(log.take(),
             QStringList({ "selectedCrewIdChanged", "crewTargetPreviewed(1/3)", "selectedCrewIdChanged",
                           "crewTargetPreviewed(2/3)", "selectedCrewIdChanged", "skillsChanged",
                           "stateChanged", "skillAssigned(0)" }));
    QVERIFY(memberById(m_probe->core(), ids.at(1))->climber);
    QVERIFY(!memberById(m_probe->core(), ids.at(0))->climber);
    QCOMPARE(m_canvas->selectedCrewId(), ids.at(1));
    QCOMPARE(m_probe->core().skillCount(Climber), 2);
}

// The commit checks the stock of the skill it handed out: with two left the selection stays, with the last
// one it goes, and skillAssigned names that skill both times.
void TargetingTest::commitKeepsTheCommittedSkill()
{
    m_probe->core().skillStock[Climber] = 2;
    crowd({ QPointF(200, 300), QPointF(204, 300), QPointF(600, 300), QPointF(604, 300) });
    QSignalSpy assigned(m_canvas, &GameCanvas::skillAssigned);
    QVERIFY(assigned.isValid());
    SignalLog log(*m_canvas);

    QVERIFY(tap(QPointF(200, 300)));
    QVERIFY(assigned.wait(2000));
    QCOMPARE(log.take(),
             QStringList({ "selectedCrewIdChanged", "crewTargetPreviewed(1/2)", "selectedCrewIdChanged",
                           "skillsChanged", "stateChanged", "skillAssigned(0)" }));
    QCOMPARE(m_canvas->selectedSkill(), int(Climber));

    QVERIFY(tap(QPointF(600, 300)));
    QVERIFY(assigned.wait(2000));
    QCOMPARE(log.take(),
             QStringList({ "selectedCrewIdChanged", "crewTargetPreviewed(1/2)", "selectedSkillChanged",
                           "selectedCrewIdChanged", "skillsChanged", "stateChanged", "skillAssigned(0)" }));
    QCOMPARE(m_canvas->selectedSkill(), -1);
    QCOMPARE(m_probe->core().skillCount(Climber), 0);
    QCOMPARE(assigned.count(), 2);
}

// The core may give the skill to another member than the previewed one; the selection follows the core.
void TargetingTest::commitTakesWhoeverTheCoreChooses()
{
    const QVector<int> ids = crowd({ QPointF(300, 300), QPointF(305, 300) });
    QVERIFY(tap(QPointF(300, 300)));
    QCOMPARE(m_canvas->selectedCrewId(), ids.at(0));
    m_probe->core().crew[0].active = false; // saved while the wait ran
    m_probe->commitPendingAssignment();
    QCOMPARE(m_canvas->selectedCrewId(), ids.at(1));
    QVERIFY(memberById(m_probe->core(), ids.at(1))->climber);
}

// Changing the skill, pausing, choosing a level or restarting drops the waiting assignment for good.
void TargetingTest::pendingAssignmentIsCancelled_data()
{
    QTest::addColumn<QString>("cancel");
    QTest::newRow("another skill") << "skill";
    QTest::newRow("pause") << "pause";
    QTest::newRow("level change") << "level";
    QTest::newRow("restart") << "restart";
}

void TargetingTest::pendingAssignmentIsCancelled()
{
    QFETCH(QString, cancel);

    crowd({ QPointF(300, 300), QPointF(305, 300) });
    QVERIFY(tap(QPointF(300, 300)));
    QVERIFY(m_probe->assignmentPending());
    if (cancel == "skill") {
        m_canvas->selectSkill(Floater);
    } else if (cancel == "pause") {
        m_canvas->setPaused(true);
        m_canvas->setPaused(false);
    } else if (cancel == "level") {
        QVERIFY(m_canvas->setLevel(0));
    } else {
        m_canvas->restartLevel();
    }
    QVERIFY(!m_probe->assignmentPending());

    QSignalSpy assigned(m_canvas, &GameCanvas::skillAssigned);
    QVERIFY(assigned.isValid());
    m_probe->commitPendingAssignment();
    QCOMPARE(assigned.count(), 0);
    for (const CrewMember &member : m_probe->core().crew)
        QVERIFY(!member.climber && !member.floater);
    QCOMPARE(m_probe->core().skillsUsed, 0);
}

// In the introduction, paused, after the end or outside the world, a tap does nothing at all.
void TargetingTest::heldGameRefusesTaps_data()
{
    QTest::addColumn<QString>("hold");
    QTest::newRow("introduction") << "introduction";
    QTest::newRow("paused") << "paused";
    QTest::newRow("finished") << "finished";
    QTest::newRow("outside the world") << "outside";
}

void TargetingTest::heldGameRefusesTaps()
{
    QFETCH(QString, hold);

    crowd({ QPointF(300, 300) });
    if (hold == "introduction") {
        m_canvas->restartLevel();
        m_probe->core().skillStock[Climber] = 3;
        crowd({ QPointF(300, 300) });
    }
    if (hold == "paused")
        m_canvas->setPaused(true);
    if (hold == "finished")
        m_probe->core().finished = true;
    SignalLog log(*m_canvas);
    const bool accepted = hold == "outside" ? m_canvas->applySelectedSkill(-5, 100) : tap(QPointF(300, 300));
    QVERIFY(!accepted);
    QCOMPARE(log.take(), QStringList());
    QCOMPARE(m_probe->core().skillsUsed, 0);
}

// Any value outside 0 to 7 is no skill: it clears the selection once, and taps then find nobody.
void TargetingTest::skillOutsideTheRangeIsNoSkill_data()
{
    QTest::addColumn<int>("skill");
    QTest::newRow("-1") << -1;
    QTest::newRow("8") << 8;
    QTest::newRow("most negative") << int(INT_MIN);
}

void TargetingTest::skillOutsideTheRangeIsNoSkill()
{
    QFETCH(int, skill);

    crowd({ QPointF(300, 300) });
    QSignalSpy changed(m_canvas, &GameCanvas::selectedSkillChanged);
    QVERIFY(changed.isValid());
    m_canvas->setSelectedSkill(skill);
    QCOMPARE(m_canvas->selectedSkill(), -1);
    QCOMPARE(changed.count(), 1);
    m_canvas->selectSkill(skill);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!tap(QPointF(300, 300)));
    QCOMPARE(m_probe->core().skillsUsed, 0);
}

// The action is the selected active member, else the middle of the active crew, else halfway from entry to
// exit.
void TargetingTest::actionFocus_data()
{
    QTest::addColumn<bool>("selectFirst");
    QTest::addColumn<bool>("firstActive");
    QTest::addColumn<int>("activeCount");
    QTest::addColumn<QString>("focus");
    QTest::newRow("selected member") << true << true << 3 << "first";
    QTest::newRow("selected but gone") << true << false << 3 << "mean";
    QTest::newRow("nobody selected") << false << true << 3 << "mean";
    QTest::newRow("nobody active") << false << false << 0 << "portals";
}

void TargetingTest::actionFocus()
{
    QFETCH(bool, selectFirst);
    QFETCH(bool, firstActive);
    QFETCH(int, activeCount);
    QFETCH(QString, focus);

    const QVector<int> ids = crowd({ QPointF(100, 200), QPointF(200, 300), QPointF(600, 100) });
    GameCore &core = m_probe->core();
    core.crew[0].active = firstActive;
    for (int i = activeCount; i < core.crew.size(); ++i)
        core.crew[i].active = false;
    m_probe->setSelectedCrewId(selectFirst ? ids.at(0) : -1);

    QPointF expected = (core.entry() + core.exit()) / 2;
    if (focus == "first")
        expected = QPointF(100, 200);
    if (focus == "mean")
        expected = firstActive ? QPointF(300, 200) : QPointF(400, 200);
    QCOMPARE(m_canvas->actionFocusWorld(), expected);
}

QTEST_MAIN(TargetingTest)
#include "tst_targeting.moc"
