#include "gamecore.h"
#include "replay.h"
#include "rewindsupport.h"
#include "runhistory.h"

#include <QtTest>

#include <algorithm>

using namespace Pellwick;

namespace {

Replay solution(const QString &name)
{
    Replay replay;
    readReplayFile(QFINDTESTDATA("../../replays/solutions/" + name), &replay, nullptr);
    return replay;
}

// The replay without its events at or after `tick`, and without its result.
Replay cut(Replay replay, int tick)
{
    const auto late = [tick](const ReplayEvent &event) {
        return event.tick >= tick;
    };
    replay.events.erase(std::remove_if(replay.events.begin(), replay.events.end(), late),
                        replay.events.end());
    replay.hasResult = false;
    return replay;
}

} // namespace

class RewindTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewoundRunIsAFreshRun_data();
    void rewoundRunIsAFreshRun();
    void resumedRunRewindsAsFarAsItsRecordingHolds_data();
    void resumedRunRewindsAsFarAsItsRecordingHolds();
    void whatIsNoRewindChangesNothing();
};

void RewindTest::rewoundRunIsAFreshRun_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("watching");
    QTest::newRow("diggers, floaters and a hand-ended run") << "level-03-landscape.txt" << false;
    QTest::newRow("five skills in a tall world") << "level-06-portrait.txt" << false;
    QTest::newRow("miners and bashers, watched") << "level-17-landscape.txt" << true;
}

void RewindTest::rewoundRunIsAFreshRun()
{
    // Every rewound tick is byte for byte what a fresh run with the events before it reaches, the cut events
    // played on reach the same end, and a tick taken back again after that is still exact.
    QFETCH(QString, file);
    QFETCH(bool, watching);
    const Replay replay = solution(file);
    const int end = replay.endTick();
    const int firstEvent = replay.events.constFirst().tick;
    const RunHistory played = playedHistory(replay, watching);
    GameCore whole;
    playReplay(replay, whole);
    const QByteArray wholeRun = whole.serialize();

    for (const int tick : { -5, 0, 1, firstEvent, firstEvent + 1, 89, 90, 91, end / 2, end - 1, end }) {
        RunHistory history = played;
        GameCore run;
        QVERIFY(history.rewind(tick, run));
        QVERIFY2(run.serialize() == freshRun(replay, tick), qPrintable(QString::number(tick)));
        QCOMPARE(history.presentTick(), std::max(tick, 0));
        QVERIFY(history.events() == (watching ? replay : cut(replay, tick)).events);

        playOn(replay, run, history, watching);
        QVERIFY2(run.serialize() == wholeRun, qPrintable(QString::number(tick)));
        const int later = (std::max(tick, 0) + end) / 2;
        QVERIFY(history.rewind(later, run));
        QVERIFY2(run.serialize() == freshRun(replay, later), qPrintable(QString::number(tick)));
    }
}

void RewindTest::resumedRunRewindsAsFarAsItsRecordingHolds_data()
{
    QTest::addColumn<int>("droppedEvents");
    QTest::newRow("recording complete from the start") << 0;
    QTest::newRow("recording without its first event") << 1;
}

void RewindTest::resumedRunRewindsAsFarAsItsRecordingHolds()
{
    // A restored run rewinds to its level's start when its recording reproduces it, else only to itself.
    QFETCH(int, droppedEvents);
    const Replay replay = solution("level-13-portrait.txt");
    const int stored = replay.events.at(1).tick + 40;
    GameCore restored;
    QVERIFY(restored.restore(freshRun(replay, stored)));
    Replay recording = cut(replay, stored);
    recording.events.remove(0, droppedEvents);

    RunHistory history;
    QCOMPARE(history.beginAtLevelStart(restored, recording), droppedEvents == 0);
    const int first = droppedEvents == 0 ? 0 : stored;
    QCOMPARE(history.firstTick(), first);
    GameCore run;
    QVERIFY(history.rewind(-1, run));
    QVERIFY(run.serialize() == freshRun(replay, first));
    playOn(replay, run, history, false);
    QCOMPARE(resultOf(run), replay.result);
}

void RewindTest::whatIsNoRewindChangesNothing()
{
    // A tick beyond the present, or a timeline never begun, leaves the run and the history as they were.
    RunHistory empty;
    GameCore run;
    run.loadLevel(4);
    QVERIFY(!empty.rewind(0, run));
    QCOMPARE(run.levelIndex, 4);

    const Replay replay = solution("level-01-landscape.txt");
    RunHistory history = playedHistory(replay, false);
    QVERIFY(!history.rewind(replay.endTick() + 1, run));
    QCOMPARE(run.levelIndex, 4);
    QCOMPARE(history.presentTick(), replay.endTick());
    QVERIFY(history.events() == replay.events);
}

QTEST_GUILESS_MAIN(RewindTest)
#include "tst_rewind.moc"
