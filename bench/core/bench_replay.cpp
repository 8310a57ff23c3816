#include "gamecore.h"
#include "replay.h"

#include <QtTest>

using namespace Pellwick;

// How long checking the stored winning replays takes, all of them and the slowest kinds alone.
class ReplayBenchmark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void verifySolutions_data();
    void verifySolutions();
};

void ReplayBenchmark::verifySolutions_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("all solutions") << QStringLiteral("level-*.txt");
    QTest::newRow("landscape only") << QStringLiteral("level-*-landscape.txt");
    QTest::newRow("portrait only") << QStringLiteral("level-*-portrait.txt");
}

void ReplayBenchmark::verifySolutions()
{
    QFETCH(QString, pattern);
    const QString folder = QFINDTESTDATA("../../replays/solutions");
    QVERIFY(!folder.isEmpty());
    const QFileInfoList files = QDir(folder).entryInfoList({ pattern }, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());

    int reproduced = 0;
    QBENCHMARK
    {
        reproduced = 0;
        for (const QFileInfo &file : files) {
            Replay replay;
            GameCore core;
            if (readReplayFile(file.filePath(), &replay, nullptr) && playReplay(replay, core) == 0
                && resultOf(core) == replay.result && core.won())
                ++reproduced;
        }
    }
    QCOMPARE(reproduced, int(files.size()));
}

QTEST_GUILESS_MAIN(ReplayBenchmark)
#include "bench_replay.moc"
