#include "canvasprobe.h"
#include "replaystore.h"

#include <QtTest>

using namespace Pellwick;

namespace {

struct Attempt
{
    Replay replay;
    int skillsUsed = 0;
};

// Plays a level with no help but an optional floater for the first member, and ends it by hand `lateBy`
// ticks after `enough` members are home (or lets it finish by itself when `enough` is never reached).
Attempt play(int level, int enough, int lateBy, bool floater)
{
    Attempt attempt;
    attempt.replay.level = level;
    GameCore core;
    core.loadLevel(level);
    int homeAt = -1;
    while (!core.finished && core.tick < 6000) {
        if (floater && core.crew.size() == 1 && core.skillsUsed == 0) {
            const QPointF point = core.crew.first().pos - QPointF(0, 8);
            core.applySkill(Floater, point, 1);
            attempt.replay.events.append(ReplayEvent::assign(core.tick, Floater, 1, point));
        }
        if (homeAt < 0 && core.saved >= enough)
            homeAt = core.tick;
        if (homeAt >= 0 && core.tick >= homeAt + lateBy) {
            attempt.replay.events.append(ReplayEvent::end(core.tick));
            core.endRun();
            break;
        }
        core.step();
    }
    attempt.replay.finish(core);
    attempt.skillsUsed = core.skillsUsed;
    return attempt;
}

Replay stored(int level, ReplayStore::Kind kind)
{
    Replay replay;
    readReplayFile(ReplayStore::path(level, Landscape, kind), &replay, nullptr);
    return replay;
}

} // namespace

Q_DECLARE_METATYPE(Attempt)

// The last attempt is always kept; the best is replaced only by a win that beats it in the records' order.
class ReplayStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup()
    {
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    }

    void bestFollowsTheRecordsOrder_data();
    void bestFollowsTheRecordsOrder();
    void unwritableFolderCostsOnlyTheReplay();
};

void ReplayStoreTest::bestFollowsTheRecordsOrder_data()
{
    QTest::addColumn<Attempt>("first");
    QTest::addColumn<Attempt>("second");
    QTest::addColumn<bool>("secondIsBest");

    // Level 0 needs 6 of 8 and is won with no skill; level 9 too, and it has floaters to spend on nothing.
    const Attempt six = play(0, 6, 0, false);
    const Attempt sixLater = play(0, 6, 10, false);
    const Attempt everyone = play(0, 99, 0, false);
    const Attempt lossByHand = play(0, 0, 30, false);
    QVERIFY(six.replay.result.won && sixLater.replay.result.won && everyone.replay.result.won);
    QCOMPARE(sixLater.replay.result.saved, six.replay.result.saved);
    QVERIFY(everyone.replay.result.saved > six.replay.result.saved);
    QVERIFY(everyone.replay.result.tick > six.replay.result.tick);
    QVERIFY(!lossByHand.replay.result.won);
    const Attempt floated = play(9, 9, 0, true);
    const Attempt plainButSlower = play(9, 9, 15, false);
    QCOMPARE(floated.skillsUsed, 1);
    QCOMPARE(plainButSlower.skillsUsed, 0);
    QVERIFY(floated.replay.result.won && plainButSlower.replay.result.won);
    QCOMPARE(plainButSlower.replay.result.saved, floated.replay.result.saved);
    QVERIFY(plainButSlower.replay.result.tick > floated.replay.result.tick);

    QTest::newRow("more saved beats a faster win") << six << everyone << true;
    QTest::newRow("fewer saved never beats") << everyone << six << false;
    QTest::newRow("same saved, faster beats") << sixLater << six << true;
    QTest::newRow("same saved, slower does not beat") << six << sixLater << false;
    QTest::newRow("the same win again does not replace") << six << six << false;
    QTest::newRow("a loss is never the best") << six << lossByHand << false;
    QTest::newRow("same saved, fewer skills beats a faster win") << floated << plainButSlower << true;
    QTest::newRow("same saved, more skills never beats") << plainButSlower << floated << false;
}

void ReplayStoreTest::bestFollowsTheRecordsOrder()
{
    // After two finished attempts the last is the second, and the best is whichever ranks higher.
    QFETCH(Attempt, first);
    QFETCH(Attempt, second);
    QFETCH(bool, secondIsBest);

    const int level = first.replay.level;
    ReplayStore::storeFinished(first.replay, first.skillsUsed);
    ReplayStore::storeFinished(second.replay, second.skillsUsed);

    QVERIFY(stored(level, ReplayStore::Last).result == second.replay.result);
    QVERIFY(stored(level, ReplayStore::Last).events == second.replay.events);
    const Replay &expected = (secondIsBest ? second : first).replay;
    QVERIFY(stored(level, ReplayStore::Best).result == expected.result);
    QVERIFY(stored(level, ReplayStore::Best).events == expected.events);
}

void ReplayStoreTest::unwritableFolderCostsOnlyTheReplay()
{
    // A file where the replay folder should be makes every write fail quietly, and a damaged best is no
    // record.
    const QString folder = QFileInfo(ReplayStore::path(0, Landscape, ReplayStore::Last)).absolutePath();
    QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Attempt six = play(0, 6, 0, false);
    ReplayStore::storeFinished(six.replay, six.skillsUsed);
    QVERIFY(QFileInfo(folder).isFile());

    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkpath(folder));
    QFile damaged(ReplayStore::path(0, Landscape, ReplayStore::Best));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("pellwick-replay 1\nlevel 0\nlayout landscape\nresult won 99 0 1\n");
    damaged.close();
    ReplayStore::storeFinished(six.replay, six.skillsUsed);
    QVERIFY(stored(0, ReplayStore::Best).result == six.replay.result);
}

QTEST_GUILESS_MAIN(ReplayStoreTest)
#include "tst_replaystore.moc"
