#include "gamecore.h"
#include "replay.h"

#include <QtTest>

using namespace Pellwick;

namespace {

const QByteArray kHead = "pellwick-replay 1\nlevel 7\nlayout landscape\n";

} // namespace

class ReplayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerJudgesEachLine_data();
    void readerJudgesEachLine();
    void fileOfAMegabyteAtMost();
    void writtenReplayReadsBackIdentical();
};

// A line of 0 marks a replay that is read, and the fragment is then a line its writing gives back.
void ReplayTest::readerJudgesEachLine_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("fragment");
    const QByteArray &h = kHead;
    const QByteArray c = "pellwick-replay 1\ncustom-level ";
    const QByteArray l = "pellwick-replay 1\nlevel ";

    QTest::newRow("empty file") << QByteArray() << 1 << "empty";
    QTest::newRow("not a replay") << QByteArray("hello\n") << 1 << "not a replay";
    QTest::newRow("other version") << QByteArray("pellwick-replay 2\n") << 1 << "version 2";
    QTest::newRow("unknown keyword") << h + "10 rate 5\nspeed 3\n" << 5 << "unknown keyword";
    QTest::newRow("unknown skill") << h + "10 assign Flyer 3 1 2\n" << 4 << "unknown skill \"Flyer\"";
    QTest::newRow("bad tick") << h + "1x rate 5\n" << 4 << "bad tick";
    QTest::newRow("tick at a day") << h + "2592000 end\n" << 0 << "2592000 end";
    QTest::newRow("tick beyond a day") << h + "2592001 rate 5\n" << 4 << "bad tick";
    QTest::newRow("tick of nine") << h + "9 rate 5\n# note\n" << 0 << "9 rate 5";
    QTest::newRow("bad rate") << h + "10 rate 5.5\n" << 4 << "bad release rate";
    QTest::newRow("bad crew id") << h + "10 assign Digger +3 1 2\n" << 4 << "bad crew id";
    QTest::newRow("coordinate forms") << h + "1 assign Miner 3 +1.5E1 -.5e-1\n" << 0 << "Miner 3 15 -0.05";
    QTest::newRow("coordinate with a tab") << h + "10 assign Digger 3 1\t 2\n" << 4 << "bad point";
    QTest::newRow("coordinate not a number") << h + "10 assign Digger 3 nan 2\n" << 4 << "bad point";
    QTest::newRow("coordinate absurd") << h + "10 assign Digger 3 1e300 2\n" << 4 << "bad point";
    QTest::newRow("two spaces") << h + "10  rate 5\n" << 4 << "single spaces";
    QTest::newRow("line ends in CRLF")
        << QByteArray("pellwick-replay 1\r\nlevel 7\r\nlayout portrait\r\n") << 0 << "portrait";
    QTest::newRow("line end damaged") << h + "10 rate 5\r\r\n" << 4 << "bad release rate";
    QTest::newRow("custom level") << c + "0123456789abcdef Pit Two\nlayout landscape\n" << 0 << "f Pit Two";
    QTest::newRow("custom hash of 64") << c + QByteArray(64, 'e') + " P\nlayout landscape\n" << 0 << "e P";
    QTest::newRow("custom hash of 65") << c + QByteArray(65, 'e') + " P\n" << 2 << "HASH";
    QTest::newRow("custom hash not hex") << c + "0X1 Pit\n" << 2 << "HASH";
    QTest::newRow("custom level unnamed") << c + "0a1\n" << 2 << "HASH";
    QTest::newRow("custom name with a control") << c + "0a1 P\x7fit\n" << 2 << "HASH";
    QTest::newRow("level 20") << (l + "20\nlayout landscape\n") << 0 << "level 20";
    QTest::newRow("level 21") << (l + "21\n") << 2 << "expected 0 to 20";
    QTest::newRow("level twice") << h + "level 7\n" << 4 << "given twice";
    QTest::newRow("layout twice") << h + "layout landscape\n" << 4 << "given twice";
    QTest::newRow("no layout") << (l + "2\n") << 3 << "without its layout";
    QTest::newRow("event before the layout") << (l + "2\n5 rate 3\n") << 3 << "before the level";
    QTest::newRow("tick goes backwards") << h + "20 rate 5\n# note\n19 rate 6\n" << 6 << "goes back";
    QTest::newRow("result") << h + "5 end\nresult lost 0 3 5\n" << 0 << "result lost 0 3 5";
    QTest::newRow("result short") << h + "result won 8 2\n" << 4 << "expected \"result";
    QTest::newRow("result drawn") << h + "result drawn 8 2 900\n" << 4 << "expected \"result";
    QTest::newRow("result saved -1") << h + "result won -1 2 900\n" << 4 << "bad crew count";
    QTest::newRow("event after the result") << h + "result won 8 2 900\n901 rate 5\n" << 5 << "follow";
}

void ReplayTest::readerJudgesEachLine()
{
    // A malformed record is refused with an error that names its line, and nothing is handed back.
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, fragment);

    Replay replay;
    replay.level = 13;
    ReplayError error;
    if (line == 0) {
        QVERIFY2(readReplay(text, &replay, &error), qPrintable(error.message));
        const QByteArray written = writeReplay(replay);
        QVERIFY2(written.contains(fragment.toUtf8() + '\n'), written.constData());
        QCOMPARE(replay.hasResult, text.contains("result"));
        return;
    }
    QVERIFY(!readReplay(text, &replay, &error));
    QCOMPARE(error.line, line);
    QVERIFY2(error.message.contains(fragment), qPrintable(error.message));
    QCOMPARE(replay.level, 13);
}

// A replay file is read up to a megabyte and refused beyond, as is a file that is not there.
void ReplayTest::fileOfAMegabyteAtMost()
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("long.replay");
    QByteArray text = kHead + "#";
    text += QByteArray((1 << 20) - text.size() - 1, '#') + '\n';
    Replay replay;
    for (const bool fits : { true, false }) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        QCOMPARE(readReplayFile(path, &replay, nullptr), fits);
        text += '\n';
    }
    QVERIFY(!readReplayFile(QDir(folder.path()).filePath("missing.replay"), &replay, nullptr));
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
    QVERIFY(back.events == replay.events);
    QCOMPARE(writeReplay(back), text);
    for (const ReplayResult other : { ReplayResult { false, 3, 4, 12 }, ReplayResult { true, 2, 4, 12 },
                                      ReplayResult { true, 3, 5, 12 }, ReplayResult { true, 3, 4, 11 } })
        QVERIFY(back.result == replay.result && !(other == replay.result));
}

QTEST_GUILESS_MAIN(ReplayTest)
#include "tst_replay.moc"
