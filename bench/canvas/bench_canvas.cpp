#include "../../tests/canvas/canvasprobe.h"
#include "levelfile.h"

#include <QSet>
#include <QtTest>

#include <algorithm>
#include <vector>

using namespace Pellwick;

// What QML and the frame timer cost the canvas: the level list QML re-reads after every change of it, the
// folder of the player's own levels the chooser reads whenever it shows, and the frames of a busy minute of
// play.
class CanvasBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanupTestCase() { CanvasTest::removeSettings(); }

    void levelsList();
    void playerLevelFolder();
    void busyMinute();
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

// The game's 21 levels written out as the player's own: a folder read again, and listed.
void CanvasBench::playerLevelFolder()
{
    const GameCore game;
    QDir folder(GameCanvas::playerLevelFolder());
    folder.removeRecursively();
    QVERIFY(folder.mkpath(QStringLiteral(".")));
    for (int i = 0; i < game.levels.size(); ++i) {
        QFile file(folder.filePath(QStringLiteral("%1.level").arg(i)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(writeLevel(game.levels.at(i))) > 0);
    }
    GameCanvas canvas;
    QVariantList levels;
    QBENCHMARK
    {
        canvas.readPlayerLevels();
        levels = canvas.levels();
    }
    folder.removeRecursively();
    QCOMPARE(levels.size(), 42);
    QCOMPARE(levels.at(41).toMap().value("locked").toBool(), false);
}

namespace {

// Hands every walking member a digging skill, in turn, so that the ground changes all the time.
void keepDigging(GameCore &core)
{
    constexpr Skill kDiggingSkills[] = { Digger, Basher, Miner };
    core.skillStock.fill(99);
    int next = core.tick;
    for (const CrewMember &member : core.crew) {
        const Skill skill = kDiggingSkills[next % 3];
        if (member.active && member.state == Walking && core.canApplySkill(skill, member)) {
            core.applySkill(skill, member.pos, member.id);
            ++next;
        }
    }
}

} // namespace

// A minute of play in which members dig, bash and mine all the time, periodic saves included. A phone frame
// comes every 33 ms and a stall shows however good the mean is, so the worst frame is what counts.
void CanvasBench::busyMinute()
{
    constexpr int kFrames = 60 * 30;
    constexpr qint64 kFrameNs = 33000000;
    GameCanvas canvas;
    CanvasProbe probe(canvas);
    probe.holdFrameTimer();
    LevelSpec &level = probe.core().levels[probe.core().levelIndex];
    level.crewCount = 1000000;
    level.requiredCount = 0;
    probe.core().setReleaseRate(99);
    canvas.startLevel();
    // A deep bed of ground, and a new member on it whenever one has dug its way out, so that there is
    // always ground being dug, bashed and mined.
    GameCore &core = probe.core();
    core.drawGroundRect(0, 300, core.worldWidth(), core.worldHeight() - 300);
    int placed = 0;

    std::vector<qint64> frameNs;
    frameNs.reserve(kFrames);
    QElapsedTimer clock;
    int digFrames = 0;
    QSet<int> secondsWithDigging;
    for (int i = 0; i < kFrames; ++i) {
        while (core.activeCount() < 24)
            CanvasTest::placeMember(core, QPointF(30 + 38 * (placed++ % 24), 299));
        keepDigging(core);
        const qint64 groundBefore = probe.core().terrain.cacheKey();
        clock.start();
        probe.advanceFrame();
        frameNs.push_back(clock.nsecsElapsed());
        if (probe.core().terrain.cacheKey() != groundBefore) {
            ++digFrames;
            secondsWithDigging.insert(i / 30);
        }
        // The frame timer's pace, which gives the save worker the time it has in play.
        QThread::usleep(qMax<qint64>(0, kFrameNs - clock.nsecsElapsed()) / 1000);
    }
    std::sort(frameNs.begin(), frameNs.end());
    const double medianMs = frameNs[frameNs.size() / 2] / 1e6;
    const double worstMs = frameNs.back() / 1e6;
    const double slowestHundredthMs = frameNs[frameNs.size() * 99 / 100] / 1e6;
    qInfo("%d frames, the ground changed in %d: median %.3f ms, 99th percentile %.3f ms, worst %.3f ms",
          kFrames, digFrames, medianMs, slowestHundredthMs, worstMs);
    QTest::setBenchmarkResult(worstMs, QTest::WalltimeMilliseconds);

    probe.finishBackgroundSave();
    QVERIFY(!CanvasTest::stored("session/current/blob").toByteArray().isEmpty());
    // Every periodic save finds fresh ground to encode.
    QCOMPARE(secondsWithDigging.size(), kFrames / 30);
}

QTEST_MAIN(CanvasBench)
#include "bench_canvas.moc"
