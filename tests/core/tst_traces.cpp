#include "gamecore.h"
#include "replay.h"
#include "replaytrace.h"

#include <QtTest>

using namespace Pellwick;

namespace {

// The line of the given tick with one token of a section changed: a plain value, or the hash of a record.
QByteArray tampered(const QByteArray &trace, int tick, const QByteArray &section, int index)
{
    QList<QByteArray> lines = trace.split('\n');
    for (QByteArray &line : lines) {
        if (!line.startsWith(QByteArray::number(tick) + ' '))
            continue;
        QList<QByteArray> tokens = line.split(' ');
        QByteArray &token = tokens[tokens.indexOf(section) + 1 + index];
        token = token.left(token.indexOf(':') + 1) + "99999";
        line = tokens.join(' ');
    }
    return lines.join('\n');
}

} // namespace

class TracesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playedRunFollowsItsGoldenTrace_data();
    void playedRunFollowsItsGoldenTrace();
    void differenceNamesTickMemberAndField_data();
    void differenceNamesTickMemberAndField();
};

void TracesTest::playedRunFollowsItsGoldenTrace_data()
{
    QTest::addColumn<QString>("path");
    const QDir replays(QStringLiteral(PELLWICK_REPLAYS_DIR));
    for (const QString &folder : { QStringLiteral("solutions"), QStringLiteral("skills") }) {
        const QDir dir(replays.filePath(folder));
        for (const QString &name : dir.entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(folder + '/' + name)) << dir.filePath(name);
    }
    // core-solutions checks that every layout of every level has its solution; here they must be found.
    QVERIFY(QDir(replays.filePath(QStringLiteral("solutions"))).entryList({ QStringLiteral("*.txt") }).size()
            == 2 * GameCore().levels.size());
}

void TracesTest::playedRunFollowsItsGoldenTrace()
{
    // A fresh play of every stored replay passes through the very states its trace holds, on every tick
    // sampled; the message names where it first leaves them.
    QFETCH(QString, path);
    Replay replay;
    QVERIFY(readReplayFile(path, &replay, nullptr));
    QFile golden(tracePath(path));
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable("no trace: pellwick-replay trace " + path));
    const QString difference = traceDifference(golden.readAll(), traceReplay(replay));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TracesTest::differenceNamesTickMemberAndField_data()
{
    QTest::addColumn<QByteArrayList>("changes");
    QTest::addColumn<QStringList>("named");

    QTest::newRow("a member's field")
        << QByteArrayList { "members 1", "crew-fields 2" }
        << QStringList { "tick 250 (the runs agree at tick 225)", ": member 2 in crew field pos.y" };
    QTest::newRow("two fields of two members")
        << QByteArrayList { "members 0", "members 2", "crew-fields 9", "crew-fields 10" }
        << QStringList { "members 1, 3 in crew fields vy, vx" };
    QTest::newRow("an object") << QByteArrayList { "objects 1", "object-fields 8" }
                               << QStringList { "object 2 in object field active" };
    QTest::newRow("a counter of the run")
        << QByteArrayList { "run 5" } << QStringList { "run field lost (golden 0, played 99999)" };
    QTest::newRow("the terrain") << QByteArrayList { "terrain 0" } << QStringList { ": terrain" };
}

void TracesTest::differenceNamesTickMemberAndField()
{
    // A trace that parts from its golden one is told by the first sampled tick where they differ, and by what
    // differs there: the member or object by id, the field by name, a counter with both values.
    QFETCH(QByteArrayList, changes);
    QFETCH(QStringList, named);

    Replay replay;
    QVERIFY(readReplayFile(QStringLiteral(PELLWICK_REPLAYS_DIR "/solutions/level-08-landscape.txt"), &replay,
                           nullptr));
    const QByteArray golden = traceReplay(replay);
    QByteArray played = golden;
    for (const QByteArray &change : changes)
        played = tampered(played, 250, change.split(' ').first(), change.split(' ').last().toInt());
    const QString difference = traceDifference(golden, played);
    for (const QString &fragment : named)
        QVERIFY2(difference.contains(fragment), qPrintable(difference));
}

QTEST_GUILESS_MAIN(TracesTest)
#include "tst_traces.moc"
