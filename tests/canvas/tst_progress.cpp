#include "canvasprobe.h"

#include <QFile>
#include <QtTest>

#include <climits>

using namespace Pellwick;
using CanvasTest::store;
using CanvasTest::stored;

namespace {

const QVariantList kUnplayed { 0, 0, false, 0, -1, -1 };

// Plays the loaded level to its end in one frame: `saved` members reach the exit, one more is lost when the
// run is to be lost, and the clock and skill count read `seconds` and `skillsUsed` at the end.
void finishRun(GameCanvas &canvas, int saved, bool won, int seconds = 0, int skillsUsed = 0)
{
    CanvasProbe probe(canvas);
    GameCore &core = probe.core();
    CanvasTest::arrangeOutcome(core, saved, won ? 0 : 1, won ? saved : saved + 1);
    core.tick = seconds * 30;
    core.skillsUsed = skillsUsed;
    canvas.startLevel();
    probe.advanceFrame();
}

} // namespace

// Progress and statistics live in the settings file: read with defaults, unlocked by wins, recorded once per
// attempt, and never lost or crashed on by damaged values.
class ProgressTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void firstStartCreatesFileAndMarker();
    void unlockedLevelReadBack_data();
    void unlockedLevelReadBack();
    void winUnlocksOnlyAfterTheNewestLevel_data();
    void winUnlocksOnlyAfterTheNewestLevel();
    void recordsAndTies_data();
    void recordsAndTies();
    void attemptCountedOnFirstRunningFrame();
    void clearStatisticsKeepsProgressAndTheRunningAttempt();
    void damagedFileReadsAsDefaults();
    void countersStopAtTheirBound();
    void resultRecordsResetOnlyWhenSet();
    void formattedTime_data();
    void formattedTime();
};

// With no file, the game starts at level 0 and creates the directory, the file and the migration marker.
void ProgressTest::firstStartCreatesFileAndMarker()
{
    QVERIFY(!QFile::exists(CanvasTest::settingsPath()));
    {
        GameCanvas canvas;
        QCOMPARE(canvas.unlockedLevel(), 0);
        QCOMPARE(canvas.levelIndex(), 0);
        QVERIFY(QFile::exists(CanvasTest::settingsPath()));
    }
    QCOMPARE(stored("migration/appConfigPath").toBool(), true);
    QCOMPARE(stored("progress/lastLevel").toInt(), 0);
    QVERIFY(!stored("progress/unlockedLevel").isValid());
}

// The stored unlocked level is bounded to the catalogue, and only a won level 12 is let through to 13.
void ProgressTest::unlockedLevelReadBack_data()
{
    QTest::addColumn<QVariant>("unlocked");
    QTest::addColumn<int>("wonLevel");
    QTest::addColumn<QVariant>("wins");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QVariant>("storedAfter");

    QTest::newRow("absent") << QVariant() << 0 << QVariant() << 0 << QVariant();
    QTest::newRow("inside") << QVariant(3) << 0 << QVariant() << 3 << QVariant(3);
    QTest::newRow("12 won is repaired") << QVariant(12) << 12 << QVariant(1) << 13 << QVariant(13);
    QTest::newRow("12 not won") << QVariant(12) << 12 << QVariant(0) << 12 << QVariant(12);
    QTest::newRow("12 with garbage wins") << QVariant(12) << 12 << QVariant("many") << 12 << QVariant(12);
    QTest::newRow("other won level") << QVariant(5) << 5 << QVariant(4) << 5 << QVariant(5);
    QTest::newRow("beyond the catalogue") << QVariant(99) << 0 << QVariant() << 20 << QVariant(99);
    QTest::newRow("negative") << QVariant(-4) << 0 << QVariant() << 0 << QVariant(-4);
    QTest::newRow("garbage") << QVariant("lots") << 0 << QVariant() << 0 << QVariant("lots");
}

void ProgressTest::unlockedLevelReadBack()
{
    QFETCH(QVariant, unlocked);
    QFETCH(int, wonLevel);
    QFETCH(QVariant, wins);
    QFETCH(int, expected);
    QFETCH(QVariant, storedAfter);

    QVariantMap values;
    if (unlocked.isValid())
        values.insert("progress/unlockedLevel", unlocked);
    if (wins.isValid())
        values.insert(QStringLiteral("stats/%1/wins").arg(wonLevel), wins);
    store(values);

    GameCanvas canvas;
    QCOMPARE(canvas.unlockedLevel(), expected);
    QCOMPARE(canvas.levelIndex(), expected);
    QCOMPARE(stored("progress/unlockedLevel").toString(), storedAfter.toString());
    QCOMPARE(stored("progress/lastLevel").toInt(), expected);
}

// A win of the newest level unlocks the next one; any other ending only remembers where the player was.
void ProgressTest::winUnlocksOnlyAfterTheNewestLevel_data()
{
    QTest::addColumn<int>("unlocked");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("won");
    QTest::addColumn<int>("unlockedAfter");
    QTest::addColumn<int>("announcements"); // levelsChanged: attempt, unlock, statistics

    QTest::newRow("newest won") << 4 << 4 << true << 5 << 3;
    QTest::newRow("earlier won") << 4 << 2 << true << 4 << 2;
    QTest::newRow("newest lost") << 4 << 4 << false << 4 << 2;
    QTest::newRow("last level won") << 20 << 20 << true << 20 << 2;
}

void ProgressTest::winUnlocksOnlyAfterTheNewestLevel()
{
    QFETCH(int, unlocked);
    QFETCH(int, level);
    QFETCH(bool, won);
    QFETCH(int, unlockedAfter);
    QFETCH(int, announcements);

    store({ { "progress/unlockedLevel", unlocked } });
    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    QVERIFY(canvas.setLevel(level));
    QSignalSpy levelsChanged(&canvas, &GameCanvas::levelsChanged);
    QVERIFY(levelsChanged.isValid());
    finishRun(canvas, 3, won);
    QCOMPARE(canvas.unlockedLevel(), unlockedAfter);
    QCOMPARE(levelsChanged.count(), announcements);
    QCOMPARE(stored("progress/unlockedLevel").toInt(), unlockedAfter);
    QCOMPARE(stored("progress/lastLevel").toInt(), level);
    QCOMPARE(canvas.setLevel(unlockedAfter + 1), false);
}

// Records need strictly better results; time and skills are only set by wins, most saved by any ending.
void ProgressTest::recordsAndTies_data()
{
    QTest::addColumn<QVariantList>("before"); // bestTime, bestSkills, bestSaved, wins
    QTest::addColumn<bool>("won");
    QTest::addColumn<QVariantList>("flags"); // newBestTime, newBestSkills, newBestSaved
    QTest::addColumn<QVariantList>("after");

    const QVariant none;
    QTest::newRow("first win") << QVariantList { none, none, none, none } << true
                               << QVariantList { true, true, true } << QVariantList { 40, 2, 3, 1 };
    QTest::newRow("ties") << QVariantList { 40, 2, 3, 5 } << true << QVariantList { false, false, false }
                          << QVariantList { 40, 2, 3, 6 };
    QTest::newRow("better") << QVariantList { 41, 3, 2, 1 } << true << QVariantList { true, true, true }
                            << QVariantList { 40, 2, 3, 2 };
    QTest::newRow("worse") << QVariantList { 30, 1, 5, 1 } << true << QVariantList { false, false, false }
                           << QVariantList { 30, 1, 5, 2 };
    QTest::newRow("negative is no record")
        << QVariantList { -5, -1, -2, -3 } << true << QVariantList { true, true, true }
        << QVariantList { 40, 2, 3, 1 };
    QTest::newRow("garbage is no record")
        << QVariantList { "soon", "1x", "lots", "x" } << true << QVariantList { true, true, true }
        << QVariantList { 40, 2, 3, 1 };
    QTest::newRow("lost with more saved")
        << QVariantList { 50, 3, 2, none } << false << QVariantList { false, false, true }
        << QVariantList { 50, 3, 3, none };
    QTest::newRow("lost with fewer saved")
        << QVariantList { none, none, 7, none } << false << QVariantList { false, false, false }
        << QVariantList { none, none, 7, none };
}

void ProgressTest::recordsAndTies()
{
    QFETCH(QVariantList, before);
    QFETCH(bool, won);
    QFETCH(QVariantList, flags);
    QFETCH(QVariantList, after);

    const QStringList keys { "stats/0/bestTime", "stats/0/bestSkills", "stats/0/bestSaved", "stats/0/wins" };
    QVariantMap values;
    for (int i = 0; i < keys.size(); ++i) {
        if (before.at(i).isValid())
            values.insert(keys.at(i), before.at(i));
    }
    store(values);

    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    QSignalSpy records(&canvas, &GameCanvas::resultRecordsChanged);
    QVERIFY(records.isValid());
    finishRun(canvas, 3, won, 40, 2);
    QCOMPARE(records.count(), 1);
    QCOMPARE(QVariantList({ canvas.newBestTime(), canvas.newBestSkills(), canvas.newBestSaved() }), flags);
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(stored(keys.at(i)).toString(), after.at(i).toString());
    QCOMPARE(canvas.bestSaved(), after.at(2).toInt());
    QCOMPARE(canvas.bestTime(), after.at(0).isValid() ? after.at(0).toInt() : -1);
    QCOMPARE(canvas.bestSkills(), after.at(1).isValid() ? after.at(1).toInt() : -1);
}

// An attempt is counted once, on its first running frame, even when that frame owes no tick yet.
void ProgressTest::attemptCountedOnFirstRunningFrame()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    auto attempts = [&canvas] {
        return canvas.levels().at(0).toMap().value("attempts").toInt();
    };

    canvas.setSpeedMultiplier(0.5f);
    probe.advanceFrames(3);
    QCOMPARE(attempts(), 0);
    canvas.startLevel();
    probe.advanceFrame();
    QCOMPARE(probe.core().tick, 0);
    QCOMPARE(attempts(), 1);
    probe.advanceFrames(5);
    QCOMPARE(attempts(), 1);

    canvas.restartLevel();
    probe.advanceFrames(3);
    QCOMPARE(attempts(), 1);
    canvas.startLevel();
    probe.advanceFrame();
    QCOMPARE(attempts(), 2);
    QCOMPARE(stored("stats/0/attempts").toInt(), 2);
}

// Clearing statistics erases the whole stats group and nothing else, and does not count the running attempt
// again.
void ProgressTest::clearStatisticsKeepsProgressAndTheRunningAttempt()
{
    store({ { "progress/unlockedLevel", 3 },
            { "stats/0/wins", 2 },
            { "stats/2/bestTime", 30 },
            { "view/landscapeZoom", 2.0 } });
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    probe.advanceFrame();
    QCOMPARE(stored("stats/3/attempts").toInt(), 1);

    QSignalSpy levelsChanged(&canvas, &GameCanvas::levelsChanged);
    QVERIFY(levelsChanged.isValid());
    canvas.clearStatistics();
    QCOMPARE(levelsChanged.count(), 1);
    QCOMPARE(CanvasTest::storedKeys("stats"), QStringList());
    QCOMPARE(stored("progress/unlockedLevel").toInt(), 3);
    QCOMPARE(stored("view/landscapeZoom").toDouble(), 2.0);
    QCOMPARE(canvas.unlockedLevel(), 3);

    probe.advanceFrames(3);
    QCOMPARE(CanvasTest::levelStats(canvas, 3), kUnplayed);
}

// A file full of damage (broken variants, overflowing numbers, wrong types) reads as defaults, without a
// crash, and the game goes on writing good values.
void ProgressTest::damagedFileReadsAsDefaults()
{
    QDir().mkpath(QFileInfo(CanvasTest::settingsPath()).absolutePath());
    QFile file(CanvasTest::settingsPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[migration]\n"
               "appConfigPath=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x3)\n"
               "[progress]\n"
               "unlockedLevel=@Variant(\\0\\0\\0\\x87\\xff\\xff)\n"
               "[stats]\n"
               "0\\attempts=@ByteArray(\\xff\\xfe)\n"
               "0\\wins=1e999\n"
               "0\\bestTime=12abc\n"
               "0\\bestSkills=@Rect(1 2 3)\n"
               "0\\bestSaved=-7\n"
               "1\\attempts=99999999999999999999\n"
               "2\\wins=\"\n"
               "\\\\\\=\n"
               "[view]\n"
               "landscapeZoom=nan\n"
               "\x01\x02garbage without a section\xff\n");
    file.close();

    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    QCOMPARE(canvas.unlockedLevel(), 0);
    QCOMPARE(canvas.bestTime(), -1);
    QCOMPARE(canvas.bestSkills(), -1);
    QCOMPARE(canvas.bestSaved(), 0);
    QCOMPARE(canvas.zoom(), 1.0f);
    for (int index : { 0, 1, 2 })
        QCOMPARE(CanvasTest::levelStats(canvas, index), kUnplayed);

    finishRun(canvas, 3, true, 12, 1);
    QCOMPARE(stored("stats/0/attempts").toInt(), 1);
    QCOMPARE(stored("stats/0/wins").toInt(), 1);
    QCOMPARE(canvas.bestTime(), 12);
    QCOMPARE(canvas.bestSkills(), 1);
    QCOMPARE(canvas.bestSaved(), 3);
    QCOMPARE(canvas.unlockedLevel(), 1);
}

// Attempt and win counters stop at a large bound instead of overflowing.
void ProgressTest::countersStopAtTheirBound()
{
    store({ { "stats/0/attempts", INT_MAX }, { "stats/0/wins", 1000000000 } });
    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    finishRun(canvas, 3, true);
    QCOMPARE(stored("stats/0/attempts").toInt(), 1000000000);
    QCOMPARE(stored("stats/0/wins").toInt(), 1000000000);
}

// The record flags are cleared, with one announcement, only when one was set.
void ProgressTest::resultRecordsResetOnlyWhenSet()
{
    GameCanvas canvas;
    CanvasProbe(canvas).holdFrameTimer();
    finishRun(canvas, 3, true);
    QVERIFY(canvas.newBestTime() && canvas.newBestSkills() && canvas.newBestSaved());
    QSignalSpy records(&canvas, &GameCanvas::resultRecordsChanged);
    QVERIFY(records.isValid());
    canvas.restartLevel();
    QCOMPARE(records.count(), 1);
    QVERIFY(!canvas.newBestTime() && !canvas.newBestSkills() && !canvas.newBestSaved());
    canvas.restartLevel();
    QVERIFY(canvas.setLevel(0));
    QCOMPARE(records.count(), 1);
}

// Times read as minutes and seconds with two digits each; minutes may grow beyond two.
void ProgressTest::formattedTime_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("75") << 75 << "01:15";
    QTest::newRow("negative") << -5 << "00:00";
    QTest::newRow("most negative") << INT_MIN << "00:00";
    QTest::newRow("59") << 59 << "00:59";
    QTest::newRow("3599") << 3599 << "59:59";
    QTest::newRow("6000") << 6000 << "100:00";
    QTest::newRow("largest") << INT_MAX << "35791394:07";
}

void ProgressTest::formattedTime()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    GameCanvas canvas;
    QCOMPARE(canvas.formattedTime(seconds), text);
}

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
