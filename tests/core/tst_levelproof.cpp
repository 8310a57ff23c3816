#include "gamecore.h"
#include "legacy.h"

#include <QtTest>

using namespace Pellwick;

// The catalogue read from the level files is the one the C++ tables built: every field of every level, and
// in both layouts every terrain pixel and every object a run starts with.
class LevelProofTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesBuildTodaysCatalogue();
};

void LevelProofTest::filesBuildTodaysCatalogue()
{
    const QVector<LevelSpec> tables = legacyLevels();
    GameCore fromFiles;
    QCOMPARE(fromFiles.levels.size(), tables.size());
    QCOMPARE(tables.size(), 21);
    for (int index = 0; index < tables.size(); ++index) {
        LevelSpec table = tables.at(index);
        const LevelSpec &file = fromFiles.levels.at(index);
        QCOMPARE(file.name, table.name);
        QCOMPARE(file.crewCount, table.crewCount);
        QCOMPARE(file.requiredCount, table.requiredCount);
        QCOMPARE(file.releaseRate, table.releaseRate);
        QCOMPARE(file.landscapeEntry, table.landscapeEntry);
        QCOMPARE(file.landscapeExit, table.landscapeExit);
        QCOMPARE(file.portraitEntry, table.portraitEntry);
        QCOMPARE(file.portraitExit, table.portraitExit);
        QVERIFY(file.skills == table.skills);
        QCOMPARE(file.stage, table.stage);
        QCOMPARE(file.theme, table.theme);
        QCOMPARE(file.briefing, table.briefing);
        QVERIFY(file.hungarianName.isEmpty() && file.hungarianBriefing.isEmpty() && file.hash.isEmpty());
        legacyFillTerrain(table, index);
        legacyFillObjects(table, index);
        QVERIFY(file == table);
        for (LayoutMode mode : { Landscape, Portrait }) {
            GameCore legacy;
            legacy.levels = tables;
            legacy.setLayoutMode(mode, false);
            legacy.levelIndex = index;
            legacy.terrain =
                QImage(legacy.worldWidth(), legacy.worldHeight(), QImage::Format_ARGB32_Premultiplied);
            legacy.terrain.fill(Qt::transparent);
            legacy.objects.clear();
            legacy.nextObjectId = 1;
            legacyPaintTerrain(legacy, index);
            legacyAddObjects(legacy, index);

            fromFiles.setLayoutMode(mode, false);
            fromFiles.loadLevel(index);
            QCOMPARE(fromFiles.layoutMode, mode);
            QCOMPARE(fromFiles.terrain.format(), legacy.terrain.format());
            QVERIFY2(fromFiles.terrain == legacy.terrain, qPrintable(QString::number(index)));
            QCOMPARE(fromFiles.objects, legacy.objects);
            QCOMPARE(fromFiles.nextObjectId, legacy.nextObjectId);
            QCOMPARE(fromFiles.entry(), legacy.entry());
            QCOMPARE(fromFiles.exit(), legacy.exit());
        }
    }
}

QTEST_GUILESS_MAIN(LevelProofTest)
#include "tst_levelproof.moc"
