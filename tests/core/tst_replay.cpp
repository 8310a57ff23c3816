#include "gamecore.h"
#include "replay.h"

#include <QtTest>

#include <limits>

using namespace Pellwick;

namespace {

const QByteArray kHead = "pellwick-replay 1\nlevel 7\nlayout landscape\n";

// Plays a level the way a hurried player would, recording every call it makes: a release-rate change, a
// skill offered to the first walker every so often (often refused), and optionally ending the run by hand.
Replay recordAttempt(int level, LayoutMode layout, Skill skill, int endAtTick, GameCore *played)
{
    Replay replay;
    replay.level = level;
    replay.layout = layout;
    GameCore core;
    core.setLayoutMode(layout, false);
    core.loadLevel(level);
    core.setReleaseRate(99);
    replay.events.append(ReplayEvent::releaseRate(core.tick, 99));
    while (!core.finished && core.tick < 6000) {
        if (core.tick == endAtTick) {
            core.endRun();
            replay.events.append(ReplayEvent::end(core.tick));
            break;
        }
        if (core.tick % 37 == 0 && !core.crew.isEmpty()) {
            const CrewMember &first = core.crew.constFirst();
            const QPointF point(first.pos.x() + 0.1, first.pos.y() - 8.0 / 3.0);
            core.applySkill(skill, point, first.id);
            replay.events.append(ReplayEvent::assign(core.tick, skill, first.id, point));
        }
        core.step();
    }
    if (core.finished)
        replay.finish(core);
    *played = core;
    return replay;
}

} // namespace

class ReplayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readerNamesTheFaultyLine_data();
    void readerNamesTheFaultyLine();
    void readerSkipsCommentsBlankLinesAndCarriageReturns();
    void writtenReplayReadsBackIdentical();
    void recordedAttemptReproducesItsResult_data();
    void recordedAttemptReproducesItsResult();
    void eventsAfterTheEndAreReportedUnapplied();
    void unfinishedReplayPlaysToItsLastEvent();
    void fileOnDiskRoundTripsAndRefusesHugeFiles();
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
    QTest::newRow("unknown event") << kHead + "10 jump\n" << 4 << "unknown event";
    QTest::newRow("unknown skill") << kHead + "10 assign Flyer 3 1 2\n" << 4 << "unknown skill";
    QTest::newRow("skill by number") << kHead + "10 assign 3 3 1 2\n" << 4 << "unknown skill";
    QTest::newRow("bad tick") << kHead + "1x rate 5\n" << 4 << "bad tick";
    QTest::newRow("negative tick") << kHead + "-1 rate 5\n" << 4 << "bad tick";
    QTest::newRow("tick beyond a day") << kHead + "99999999999 rate 5\n" << 4 << "bad tick";
    QTest::newRow("bad rate") << kHead + "10 rate 5.5\n" << 4 << "bad release rate";
    QTest::newRow("rate beyond int") << kHead + "10 rate 2147483648\n" << 4 << "bad release rate";
    QTest::newRow("bad crew id") << kHead + "10 assign Digger +3 1 2\n" << 4 << "bad crew id";
    QTest::newRow("coordinate not a number") << kHead + "10 assign Digger 3 nan 2\n" << 4 << "bad point";
    QTest::newRow("coordinate infinite") << kHead + "10 assign Digger 3 1 1e400\n" << 4 << "bad point";
    QTest::newRow("coordinate absurd") << kHead + "10 assign Digger 3 1e300 2\n" << 4 << "bad point";
    QTest::newRow("coordinate missing") << kHead + "10 assign Digger 3 1\n" << 4 << "expected";
    QTest::newRow("level out of range") << QByteArray("pellwick-replay 1\nlevel 21\n") << 2 << "bad level";
    QTest::newRow("negative level") << QByteArray("pellwick-replay 1\nlevel -1\n") << 2 << "bad level";
    QTest::newRow("level twice") << kHead + "level 3\n" << 4 << "twice";
    QTest::newRow("unknown layout") << QByteArray("pellwick-replay 1\nlayout square\n") << 2 << "layout";
    QTest::newRow("event before the layout")
        << QByteArray("pellwick-replay 1\nlevel 2\n5 rate 3\n") << 3 << "before the level";
    QTest::newRow("tick goes backwards") << kHead + "20 rate 5\n# note\n19 rate 6\n" << 6 << "goes back";
    QTest::newRow("result before the last event") << kHead + "20 end\nresult lost 0 0 10\n"
                                                  << 5 << "goes back";
    QTest::newRow("event after the result") << kHead + "result won 8 2 900\n901 rate 5\n" << 5 << "follow";
    QTest::newRow("bad result") << kHead + "result draw 1 2 3\n" << 4 << "expected";
    QTest::newRow("double space") << kHead + "10  rate 5\n" << 4 << "single spaces";
    QTest::newRow("trailing space") << kHead + "10 rate 5 \n" << 4 << "single spaces";
    QTest::newRow("no layout at all")
        << QByteArray("pellwick-replay 1\nlevel 2\n") << 3 << "without its layout";
    QTest::newRow("binary garbage") << kHead + QByteArray("\x00\xff\x10 \x80", 5) + "\n"
                                    << 4 << "unknown keyword";
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

void ReplayTest::readerSkipsCommentsBlankLinesAndCarriageReturns()
{
    // Comments, blank lines and Windows line ends carry nothing; the records around them read as written.
    const QByteArray text = "# shared by a friend\r\npellwick-replay 1\r\n\r\nlayout portrait\r\nlevel 20\r\n"
                            "0 rate 7\r\n# the line below ends the run\r\n3 end\r\nresult lost 0 0 3";
    Replay replay;
    ReplayError error;
    QVERIFY2(readReplay(text, &replay, &error), qPrintable(error.message));
    QCOMPARE(replay.level, 20);
    QCOMPARE(replay.layout, Portrait);
    QCOMPARE(replay.events.size(), 2);
    QVERIFY(replay.events.at(0) == ReplayEvent::releaseRate(0, 7));
    QVERIFY(replay.events.at(1) == ReplayEvent::end(3));
    QVERIFY(replay.hasResult);
    QVERIFY(replay.result == (ReplayResult { false, 0, 0, 3 }));
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

void ReplayTest::recordedAttemptReproducesItsResult_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("skill");
    QTest::addColumn<int>("endAtTick");

    QTest::newRow("level 0 landscape, played out") << 0 << int(Landscape) << int(Builder) << -1;
    QTest::newRow("level 1 portrait, builders") << 1 << int(Portrait) << int(Builder) << -1;
    QTest::newRow("level 3 landscape, diggers") << 3 << int(Landscape) << int(Digger) << -1;
    QTest::newRow("level 14 landscape, blasts") << 14 << int(Landscape) << int(Demolition) << -1;
    QTest::newRow("level 6 portrait, ended by hand") << 6 << int(Portrait) << int(Basher) << 700;
}

void ReplayTest::recordedAttemptReproducesItsResult()
{
    // A recorded attempt, written out and read back, plays on a fresh core to the very same world and result.
    QFETCH(int, level);
    QFETCH(int, layout);
    QFETCH(int, skill);
    QFETCH(int, endAtTick);

    GameCore played;
    const Replay recorded = recordAttempt(level, LayoutMode(layout), Skill(skill), endAtTick, &played);
    QVERIFY(recorded.hasResult);
    Replay replay;
    ReplayError error;
    QVERIFY2(readReplay(writeReplay(recorded), &replay, &error), qPrintable(error.message));

    GameCore core;
    QCOMPARE(playReplay(replay, core), 0);
    QVERIFY(core.finished);
    QVERIFY(resultOf(core) == recorded.result);
    QCOMPARE(core.crew, played.crew);
    QCOMPARE(core.skillsUsed, played.skillsUsed);
    QCOMPARE(core.skillStock, played.skillStock);
    QCOMPARE(core.objects, played.objects);
    QCOMPARE(core.terrain, played.terrain);
}

void ReplayTest::eventsAfterTheEndAreReportedUnapplied()
{
    // A run that ends before some of its events cannot take them: they are counted, not applied.
    Replay replay;
    replay.events = { ReplayEvent::end(40), ReplayEvent::releaseRate(40, 3), ReplayEvent::end(41) };
    replay.hasResult = true;
    replay.result = { false, 0, 1, 41 };
    GameCore core;
    QCOMPARE(playReplay(replay, core), 2);
    QVERIFY(core.finished);
    QCOMPARE(core.tick, 40);
    QCOMPARE(core.releaseRate, core.currentLevel().releaseRate);
}

void ReplayTest::unfinishedReplayPlaysToItsLastEvent()
{
    // Without a result the player stops at the last event's tick, with that event applied.
    Replay replay;
    replay.level = 2;
    replay.layout = Portrait;
    replay.events = { ReplayEvent::releaseRate(0, 1), ReplayEvent::releaseRate(75, 80) };
    GameCore core;
    QCOMPARE(playReplay(replay, core), 0);
    QVERIFY(!core.finished);
    QCOMPARE(core.tick, 75);
    QCOMPARE(core.releaseRate, 80);
    QCOMPARE(core.levelIndex, 2);
    QCOMPARE(core.layoutMode, Portrait);
    QCOMPARE(core.spawned, 1);
}

void ReplayTest::fileOnDiskRoundTripsAndRefusesHugeFiles()
{
    // A replay written to disk reads back; a file far beyond any replay's size is refused before parsing.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Replay replay;
    replay.level = 4;
    replay.events = { ReplayEvent::releaseRate(3, 60) };
    const QString path = dir.path() + QStringLiteral("/deeper/level-04-landscape-last.txt");
    QVERIFY(writeReplayFile(path, replay));
    Replay back;
    ReplayError error;
    QVERIFY(readReplayFile(path, &back, &error));
    QVERIFY(back.events == replay.events);

    QFile huge(dir.path() + QStringLiteral("/huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    huge.write(kHead + QByteArray(2 << 20, '#'));
    huge.close();
    QVERIFY(!readReplayFile(huge.fileName(), &back, &error));
    QCOMPARE(error.line, 0);
    QVERIFY(!readReplayFile(dir.path() + QStringLiteral("/missing.txt"), &back, &error));
    QCOMPARE(error.line, 0);
}

QTEST_GUILESS_MAIN(ReplayTest)
#include "tst_replay.moc"
