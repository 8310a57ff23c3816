#include "../../tests/canvas/canvasprobe.h"

#include <QtTest>

using namespace Pellwick;

// What QML and the frame timer cost the canvas: the level list QML re-reads after every change of it, and
// one frame of the loop, held and running.
class CanvasBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanupTestCase() { CanvasTest::removeSettings(); }

    void levelsList();
    void advanceFrame_data();
    void advanceFrame();
};

// 21 maps with five settings reads each.
void CanvasBench::levelsList()
{
    QSettings(CanvasTest::settingsPath(), QSettings::IniFormat).setValue("stats/4/wins", 2);
    GameCanvas canvas;
    QVariantList levels;
    QBENCHMARK
    {
        levels = canvas.levels();
    }
    QCOMPARE(levels.size(), 21);
    QCOMPARE(levels.at(4).toMap().value("completed").toBool(), true);
    QCOMPARE(levels.at(20).toMap().value("locked").toBool(), true);
}

void CanvasBench::advanceFrame_data()
{
    QTest::addColumn<bool>("running");
    QTest::newRow("idle: introduction") << false;
    QTest::newRow("stepping: busy field, periodic save included") << true;
}

// A held frame only asks for a repaint; a running one steps a field kept busy by an endless stream of crew.
void CanvasBench::advanceFrame()
{
    QFETCH(bool, running);

    GameCanvas canvas;
    CanvasProbe probe(canvas);
    probe.holdFrameTimer();
    LevelSpec &level = probe.core().levels[probe.core().levelIndex];
    level.crewCount = 1000000;
    level.requiredCount = 0;
    probe.core().setReleaseRate(99);
    if (running) {
        canvas.startLevel();
        probe.advanceFrames(600);
    }
    const int before = probe.core().tick;
    int frames = 0;
    QBENCHMARK
    {
        probe.advanceFrame();
        ++frames;
    }
    QCOMPARE(probe.core().tick - before, running ? frames : 0);
    QVERIFY(!running || canvas.activeCrew() > 0);
}

QTEST_MAIN(CanvasBench)
#include "bench_canvas.moc"
