#include "gamecore.h"
#include "replay.h"

#include <QtTest>

#include <limits>

using namespace Pellwick;

namespace {

const QByteArray kHead = "pellwick-replay 1\nlevel 7\nlayout landscape\n";

} // namespace

class ReplayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerNamesTheFaultyLine_data();
    void readerNamesTheFaultyLine();
    void writtenReplayReadsBackIdentical();
};

void ReplayTest::readerNamesTheFaultyLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("fragment");

    QTest::newRow("empty file") << QByteArray() << 1 << "empty";
    QTest::newRow("not a replay") << QByteArray("hello\n") << 1 << "not a replay";
    QTest::newRow("other version") << QByteArray("pellwick-replay 2\n") << 1 << "version 2";
    QTest::newRow("unknown keyword") << kHead + "10 rate 5\nspeed 3\n" << 5 << "unknown keyword";
    QTest::newRow("unknown skill") << kHead + "10 assign Flyer 3 1 2\n" << 4 << "unknown skill";
    QTest::newRow("bad tick") << kHead + "1x rate 5\n" << 4 << "bad tick";
    QTest::newRow("tick beyond a day") << kHead + "99999999999 rate 5\n" << 4 << "bad tick";
    QTest::newRow("bad rate") << kHead + "10 rate 5.5\n" << 4 << "bad release rate";
    QTest::newRow("bad crew id") << kHead + "10 assign Digger +3 1 2\n" << 4 << "bad crew id";
    QTest::newRow("coordinate not a number") << kHead + "10 assign Digger 3 nan 2\n" << 4 << "bad point";
    QTest::newRow("coordinate absurd") << kHead + "10 assign Digger 3 1e300 2\n" << 4 << "bad point";
    QTest::newRow("custom level hash not hex")
        << QByteArray("pellwick-replay 1\ncustom-level 0X1 Pit\n") << 2 << "HASH";
    QTest::newRow("level out of range") << QByteArray("pellwick-replay 1\nlevel 21\n") << 2 << "bad level";
    QTest::newRow("event before the layout")
        << QByteArray("pellwick-replay 1\nlevel 2\n5 rate 3\n") << 3 << "before the level";
    QTest::newRow("tick goes backwards") << kHead + "20 rate 5\n# note\n19 rate 6\n" << 6 << "goes back";
    QTest::newRow("event after the result") << kHead + "result won 8 2 900\n901 rate 5\n" << 5 << "follow";
}

void ReplayTest::readerNamesTheFaultyLine()
{
    // Every malformed record is refused with an error that names its line, and nothing is handed back.
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, fragment);

    Replay replay;
    replay.level = 13;
    ReplayError error;
    QVERIFY(!readReplay(text, &replay, &error));
    QCOMPARE(error.line, line);
    QVERIFY2(error.message.contains(fragment), qPrintable(error.message));
    QCOMPARE(replay.level, 13);
}

void ReplayTest::writtenReplayReadsBackIdentical()
{
    // Writing and reading gives back every event bit for bit, the awkward doubles included.
    Replay replay;
    replay.level = 11;
    replay.layout = Portrait;
    const double third = 1.0 / 3.0;
    replay.events = { ReplayEvent::assign(0, Climber, -1, QPointF(0.1, -0.0)),
                      ReplayEvent::assign(5, Demolition, 2147483647, QPointF(third, 412.5)),
                      ReplayEvent::assign(5, Miner, 4, QPointF(1.0e-7, 999999.99999999988)),
                      ReplayEvent::releaseRate(9, -2147483647 - 1), ReplayEvent::end(12) };
    replay.hasResult = true;
    replay.result = { true, 3, 4, 12 };

    const QByteArray text = writeReplay(replay);
    Replay back;
    ReplayError error;
    QVERIFY2(readReplay(text, &back, &error), qPrintable(error.message));
    QCOMPARE(back.level, replay.level);
    QCOMPARE(back.layout, replay.layout);
    QCOMPARE(back.events.size(), replay.events.size());
    for (int i = 0; i < replay.events.size(); ++i)
        QVERIFY2(back.events.at(i) == replay.events.at(i), qPrintable(QString::number(i)));
    QVERIFY(back.hasResult);
    QVERIFY(back.result == replay.result);
    QCOMPARE(writeReplay(back), text);
    QVERIFY(text.contains("\n5 assign Demolition 2147483647 0.3333333333333333 412.5\n"));
}

QTEST_GUILESS_MAIN(ReplayTest)
#include "tst_replay.moc"
