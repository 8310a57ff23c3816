#include "coretestsupport.h"

#include <QtTest>

using namespace Pellwick;

class EndRunTest : public QObject
{
    Q_OBJECT

private:
    // An empty world whose level releases crewCount members and needs requiredCount, with `walking` members
    // on the field and `saved` already home.
    static GameCore runInProgress(int crewCount, int requiredCount, int walking, int saved)
    {
        GameCore core = emptyWorld();
        LevelSpec &level = core.levels[core.levelIndex];
        level.crewCount = crewCount;
        level.requiredCount = requiredCount;
        fillGround(core, QRect(0, 400, 960, 20));
        for (int i = 0; i < walking + saved; ++i)
            addMember(core, QPointF(100 + 30 * i, 399));
        for (int i = 0; i < saved; ++i)
            core.saveCrew(core.crew[i]);
        return core;
    }

private Q_SLOTS:
    void endingJudgesTheRunAsItStands_data();
    void endingJudgesTheRunAsItStands();
    void membersStillInThePortalAreNeverReleased();
    void secondEndChangesNothing();
    void runThatFinishedByItselfCannotBeEnded();
};

void EndRunTest::endingJudgesTheRunAsItStands_data()
{
    QTest::addColumn<int>("crewCount");
    QTest::addColumn<int>("requiredCount");
    QTest::addColumn<int>("walking");
    QTest::addColumn<int>("saved");
    QTest::addColumn<bool>("won");

    QTest::newRow("enough saved, one trapped") << 5 << 3 << 1 << 4 << true;
    QTest::newRow("exactly the required count") << 5 << 3 << 2 << 3 << true;
    QTest::newRow("one short of the required count") << 5 << 3 << 3 << 2 << false;
    QTest::newRow("nobody home, nobody left outside") << 4 << 1 << 0 << 0 << false;
    QTest::newRow("nothing required") << 4 << 0 << 2 << 0 << true;
    QTest::newRow("saved enough while others wait in the portal") << 10 << 2 << 1 << 2 << true;
}

void EndRunTest::endingJudgesTheRunAsItStands()
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
    QCOMPARE(core.tick, tickBefore);
    QCOMPARE(core.spawned, core.saved + core.lost);
}

void EndRunTest::membersStillInThePortalAreNeverReleased()
{
    // Crew not yet released count neither as lost nor as spawned, and no later step lets them out.
    GameCore core;
    for (int i = 0; i < 200 && core.spawned < 2; ++i)
        core.step();
    QCOMPARE(core.spawned, 2);
    QVERIFY(core.spawned < core.currentLevel().crewCount);

    QVERIFY(core.endRun());
    QCOMPARE(core.lost, 2);
    const GameCore ended = core;
    for (int i = 0; i < 200; ++i)
        core.step();
    QCOMPARE(core.spawned, 2);
    QCOMPARE(core.crew.size(), 2);
    QCOMPARE(core.tick, ended.tick);
    QCOMPARE(core.lost, 2);
}

void EndRunTest::secondEndChangesNothing()
{
    // Ending an ended run is refused and leaves every count and member as the first end left them.
    GameCore core = runInProgress(6, 2, 3, 1);
    QVERIFY(core.endRun());
    const GameCore ended = core;
    QVERIFY(!core.endRun());
    QCOMPARE(core.lost, ended.lost);
    QCOMPARE(core.saved, ended.saved);
    QCOMPARE(core.crew, ended.crew);
    QCOMPARE(core.won(), ended.won());
}

void EndRunTest::runThatFinishedByItselfCannotBeEnded()
{
    // A run lost early by the outcome rule keeps its walkers active; ending it afterwards loses nobody.
    GameCore core = runInProgress(4, 4, 3, 0);
    core.loseCrew(core.crew[0]);
    core.step();
    QVERIFY(core.finished);
    QCOMPARE(core.activeCount(), 2);

    QVERIFY(!core.endRun());
    QCOMPARE(core.activeCount(), 2);
    QCOMPARE(core.lost, 1);
    QVERIFY(!core.won());
}

QTEST_GUILESS_MAIN(EndRunTest)
#include "tst_endrun.moc"
