#include "canvasprobe.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace Pellwick;
using CanvasTest::store;
using CanvasTest::stored;

namespace {

// The snapshot of a run of `level` in `layout` that has gone on for `ticks` ticks, made once per program.
QByteArray runBlob(int level, LayoutMode layout, int ticks)
{
    static QHash<QString, QByteArray> made;
    const QString key = QStringLiteral("%1 %2 %3").arg(level).arg(layout).arg(ticks);
    if (made.contains(key))
        return made.value(key);
    GameCore core;
    core.setLayoutMode(layout, false);
    core.loadLevel(level);
    for (int i = 0; i < ticks; ++i)
        core.step();
    made.insert(key, core.serialize());
    return made.value(key);
}

void writeSlot(const QString &slot, const QVariantMap &values)
{
    QVariantMap keyed;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        keyed.insert(slot + '/' + it.key(), it.value());
    CanvasTest::store(keyed);
}

QStringList storedSessionKeys()
{
    return CanvasTest::storedKeys("session");
}

} // namespace

// An interrupted run is kept in the settings file and resumed exactly by the next canvas; stored runs that
// cannot be used are dropped without harm to progress or statistics.
class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void resumesExactlyWhereItWasLeft_data();
    void resumesExactlyWhereItWasLeft();
    void nothingIsWrittenBeforeTheFirstTick();
    void periodicSaveEveryThirtySteppingFrames_data();
    void periodicSaveEveryThirtySteppingFrames();
    void savesWhileTheGroundChangesKeepOneState_data();
    void savesWhileTheGroundChangesKeepOneState();
    void saveFinishingAfterARestartStoresNothing();
    void endedRunLeavesNoSession_data();
    void endedRunLeavesNoSession();
    void wonLevelRuleAppliesBelowFormatFour_data();
    void wonLevelRuleAppliesBelowFormatFour();
    void sessionBeyondTheUnlockedLevelIsRemoved();
    void legacySlotsAreConverted_data();
    void legacySlotsAreConverted();
    void damagedSessionStartsAFreshLevel_data();
    void damagedSessionStartsAFreshLevel();
    void damagedViewValuesAreTamed_data();
    void damagedViewValuesAreTamed();
};

// A canvas closed half-way through a level is resumed by the next one: same tick, terrain, crew, objects,
// stock, zoom and camera, in its layout, without the introduction and without counting the attempt again.
void SessionTest::resumesExactlyWhereItWasLeft_data()
{
    QTest::addColumn<bool>("portrait");
    QTest::newRow("landscape") << false;
    QTest::newRow("portrait") << true;
}

void SessionTest::resumesExactlyWhereItWasLeft()
{
    QFETCH(bool, portrait);

    GameCore before;
    QPointF camera;
    {
        GameCanvas canvas;
        auto probe = CanvasProbe::holding(canvas);
        canvas.setSize(QSizeF(960, 540));
        canvas.setPortraitLayout(portrait);
        canvas.startLevel();
        probe.core().skillStock[Climber] = 2;
        probe.advanceFrames(40);
        const QPointF member = canvas.worldToItem(probe.core().crew.at(0).pos - QPointF(0, 8));
        canvas.selectSkill(Climber);
        QVERIFY(canvas.applySelectedSkill(float(member.x()), float(member.y())));
        probe.core().carveRect(QRect(40, 400, 60, 40));
        canvas.setZoomAt(2.5f, 300, 200);
        canvas.panByItemDelta(-30, 12);
        before = probe.core();
        camera = probe.camera();
    }
    QCOMPARE(stored("stats/0/attempts").toInt(), 1);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    const GameCore &after = probe.core();
    QVERIFY(!canvas.levelIntroVisible());
    QCOMPARE(canvas.portraitLayout(), portrait);
    QCOMPARE(after.layoutMode, before.layoutMode);
    QCOMPARE(after.tick, before.tick);
    QCOMPARE(after.levelIndex, before.levelIndex);
    QCOMPARE(after.crew, before.crew);
    QCOMPARE(after.objects, before.objects);
    QCOMPARE(after.skillStock, before.skillStock);
    QCOMPARE(after.skillCount(Climber), 1);
    QCOMPARE(after.spawned, before.spawned);
    QCOMPARE(after.skillsUsed, 1);
    QCOMPARE(after.terrain.convertToFormat(QImage::Format_ARGB32),
             before.terrain.convertToFormat(QImage::Format_ARGB32));
    QCOMPARE(canvas.zoom(), 2.5f);
    QCOMPARE(probe.camera(), camera);
    QCOMPARE(stored("progress/lastLevel").toInt(), 0);

    probe.advanceFrame();
    QCOMPARE(after.tick, before.tick + 1);
    QCOMPARE(stored("stats/0/attempts").toInt(), 1);
}

// A level that was only shown, or paused before its first tick, leaves nothing to resume.
void SessionTest::nothingIsWrittenBeforeTheFirstTick()
{
    {
        GameCanvas canvas;
        CanvasProbe(canvas).holdFrameTimer();
        canvas.startLevel();
        canvas.setPaused(true);
        canvas.setReleaseRate(90);
    }
    QCOMPARE(storedSessionKeys(), QStringList());
    GameCanvas canvas;
    QVERIFY(canvas.levelIntroVisible());
}

// The run is saved once every 30 frames that ran ticks, not per tick and not in frames without one.
void SessionTest::periodicSaveEveryThirtySteppingFrames_data()
{
    QTest::addColumn<float>("speed");
    QTest::addColumn<int>("framesPerStep");
    QTest::newRow("speed 0.5") << 0.5f << 2;
    QTest::newRow("speed 3") << 3.0f << 1;
}

void SessionTest::periodicSaveEveryThirtySteppingFrames()
{
    QFETCH(float, speed);
    QFETCH(int, framesPerStep);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.setSpeedMultiplier(speed);
    canvas.startLevel();
    probe.advanceFrames(29 * framesPerStep);
    QVERIFY(!stored("session/current/blob").isValid());
    probe.advanceFrames(framesPerStep);
    probe.finishBackgroundSave();
    QCOMPARE(stored("session/current/format").toInt(), 4);
    GameCore saved;
    QVERIFY(saved.restore(stored("session/current/blob").toByteArray()));
    QCOMPARE(saved.tick, probe.core().tick);
}

namespace {

// Digs a new hole every frame, so that every periodic save has fresh ground to encode.
void digAndAdvance(const CanvasProbe &probe, int frames)
{
    for (int i = 0; i < frames; ++i) {
        probe.core().carveRect(QRect(40 + 7 * (probe.core().tick % 120), 200, 5, 60));
        probe.advanceFrame();
    }
}

} // namespace

// The periodic save stores the run as it was when the save was due, even though the ground changed while
// it was being encoded; a canvas closed at any moment stores its very last state.
void SessionTest::savesWhileTheGroundChangesKeepOneState_data()
{
    QTest::addColumn<int>("framesAfterDue");
    QTest::newRow("closed while the save is encoded") << 0;
    QTest::newRow("closed a few frames after it was stored") << 3;
}

void SessionTest::savesWhileTheGroundChangesKeepOneState()
{
    QFETCH(int, framesAfterDue);

    auto canvas = std::make_unique<GameCanvas>();
    auto probe = CanvasProbe::holding(*canvas);
    canvas->startLevel();
    digAndAdvance(probe, 30);
    const QByteArray due = GameCore(probe.core()).serialize();
    digAndAdvance(probe, 1);
    if (framesAfterDue > 0) {
        probe.awaitSaveWorker();
        digAndAdvance(probe, framesAfterDue);
        QCOMPARE(stored("session/current/blob").toByteArray(), due);
    }
    const QByteArray last = GameCore(probe.core()).serialize();
    canvas.reset();
    QCOMPARE(stored("session/current/blob").toByteArray(), last);
}

// A periodic save still being encoded when its run is restarted belongs to no run any more.
void SessionTest::saveFinishingAfterARestartStoresNothing()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    canvas.startLevel();
    digAndAdvance(probe, 30);
    canvas.restartLevel();
    probe.finishBackgroundSave();
    QCOMPARE(storedSessionKeys(), QStringList());
}

// A run that has finished, been restarted or left for another level leaves no session key, not even after
// the canvas is closed.
void SessionTest::endedRunLeavesNoSession_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("finished") << "finished";
    QTest::newRow("restart") << "restart";
    QTest::newRow("level choice") << "level";
}

void SessionTest::endedRunLeavesNoSession()
{
    QFETCH(QString, end);
    {
        GameCanvas canvas;
        auto probe = CanvasProbe::holding(canvas);
        canvas.startLevel();
        probe.advanceFrames(30);
        probe.finishBackgroundSave();
        QVERIFY(!storedSessionKeys().isEmpty());
        if (end == "finished") {
            CanvasTest::arrangeOutcome(probe.core(), 1, 0, 1);
            probe.advanceFrame();
            QVERIFY(canvas.levelFinished());
        } else if (end == "restart") {
            canvas.restartLevel();
        } else {
            QVERIFY(canvas.setLevel(0));
        }
        QCOMPARE(storedSessionKeys(), QStringList());
        canvas.setPaused(true);
    }
    QCOMPARE(storedSessionKeys(), QStringList());
}

// A run stored by an older version (format below 4) of a level won since is dropped; format 4 is kept.
void SessionTest::wonLevelRuleAppliesBelowFormatFour_data()
{
    QTest::addColumn<QVariant>("format");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("wins");
    QTest::addColumn<bool>("resumed");

    QTest::newRow("format 4, won") << QVariant(4) << 1 << 1 << true;
    QTest::newRow("format 3, won") << QVariant(3) << 1 << 1 << false;
    QTest::newRow("garbage format, won") << QVariant("four") << 1 << 1 << false;
    QTest::newRow("format 3, not won") << QVariant(3) << 1 << 0 << true;
    QTest::newRow("format 3, unlocked level won") << QVariant(3) << 2 << 1 << true;
}

void SessionTest::wonLevelRuleAppliesBelowFormatFour()
{
    QFETCH(QVariant, format);
    QFETCH(int, level);
    QFETCH(int, wins);
    QFETCH(bool, resumed);

    store({ { "progress/unlockedLevel", 2 }, { QStringLiteral("stats/%1/wins").arg(level), wins } });
    QVariantMap slot { { "blob", runBlob(level, Landscape, 20) } };
    if (format.isValid())
        slot.insert("format", format);
    writeSlot("session/current", slot);

    GameCanvas canvas;
    QCOMPARE(canvas.levelIntroVisible(), !resumed);
    QCOMPARE(canvas.levelIndex(), resumed ? level : 2);
    QCOMPARE(canvas.core().tick, resumed ? 20 : 0);
    QCOMPARE(storedSessionKeys().isEmpty(), !resumed);
    QCOMPARE(stored(QStringLiteral("stats/%1/wins").arg(level)).toInt(), wins);
}

// A stored run of a level the player has not unlocked is not resumed and is gone after start-up.
void SessionTest::sessionBeyondTheUnlockedLevelIsRemoved()
{
    store({ { "progress/unlockedLevel", 1 } });
    writeSlot("session/current", { { "blob", runBlob(3, Landscape, 20) }, { "format", 4 } });
    GameCanvas canvas;
    QCOMPARE(canvas.levelIndex(), 1);
    QVERIFY(canvas.levelIntroVisible());
    QCOMPARE(storedSessionKeys(), QStringList());
    QCOMPARE(canvas.unlockedLevel(), 1);
}

// Of the two slots of the older arrangement the longer run is resumed (portrait on a tie), moved into the
// current slot in format 4, and the old slots are removed.
void SessionTest::legacySlotsAreConverted_data()
{
    QTest::addColumn<QVariant>("portrait"); // a tick count, or a damaged blob
    QTest::addColumn<QVariant>("landscape");
    QTest::addColumn<QString>("winner");

    QTest::newRow("landscape ran longer") << QVariant(20) << QVariant(50) << "landscape";
    QTest::newRow("portrait ran longer") << QVariant(50) << QVariant(20) << "portrait";
    QTest::newRow("tie goes to portrait") << QVariant(30) << QVariant(30) << "portrait";
    QTest::newRow("damaged portrait") << QVariant(QByteArray("PLWK broken")) << QVariant(20) << "landscape";
    QTest::newRow("only landscape") << QVariant() << QVariant(5) << "landscape";
}

void SessionTest::legacySlotsAreConverted()
{
    QFETCH(QVariant, portrait);
    QFETCH(QVariant, landscape);
    QFETCH(QString, winner);

    auto slotFor = [](const QVariant &run, LayoutMode layout, float zoom) {
        const QByteArray blob =
            run.type() == QVariant::ByteArray ? run.toByteArray() : runBlob(0, layout, run.toInt());
        return QVariantMap {
            { "blob", blob }, { "zoom", zoom }, { "cameraX", 250.0f }, { "cameraY", 400.0f }
        };
    };
    if (portrait.isValid())
        writeSlot("session/portrait", slotFor(portrait, Portrait, 2.0f));
    writeSlot("session/landscape", slotFor(landscape, Landscape, 3.0f));

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    const bool portraitWon = winner == "portrait";
    QVERIFY(!canvas.levelIntroVisible());
    QCOMPARE(canvas.portraitLayout(), portraitWon);
    QCOMPARE(canvas.core().tick, (portraitWon ? portrait : landscape).toInt());
    QCOMPARE(canvas.zoom(), portraitWon ? 2.0f : 3.0f);
    QCOMPARE(probe.camera(), QPointF(250, 400));

    QStringList keys = storedSessionKeys();
    keys.sort();
    QCOMPARE(keys,
             QStringList(
                 { "current/blob", "current/cameraX", "current/cameraY", "current/format", "current/zoom" }));
    QCOMPARE(stored("session/current/format").toInt(), 4);
    GameCore converted;
    QVERIFY(converted.restore(stored("session/current/blob").toByteArray()));
    QCOMPARE(converted.tick, canvas.core().tick);
    QCOMPARE(converted.layoutMode, portraitWon ? Portrait : Landscape);
}

// A damaged stored run (random bytes, cut short, the wrong layout, not bytes at all) starts a fresh level,
// is removed, and leaves progress and statistics as they were.
void SessionTest::damagedSessionStartsAFreshLevel_data()
{
    QTest::addColumn<QVariant>("blob");

    QByteArray random(4000, Qt::Uninitialized);
    QRandomGenerator generator(20261206);
    for (char &byte : random)
        byte = char(generator.bounded(256));
    const QByteArray good = runBlob(1, Landscape, 20);
    QByteArray wrongLayout = good;
    wrongLayout[13] = 1; // the layout field now says portrait, the terrain is still landscape-sized

    QTest::newRow("random bytes") << QVariant(random);
    QTest::newRow("random bytes behind the magic") << QVariant(good.left(6) + random);
    QTest::newRow("truncated") << QVariant(good.left(good.size() / 2));
    QTest::newRow("wrong layout") << QVariant(wrongLayout);
    QTest::newRow("a number") << QVariant(12345);
    QTest::newRow("a list") << QVariant(QVariantList { 1, "two" });
}

void SessionTest::damagedSessionStartsAFreshLevel()
{
    QFETCH(QVariant, blob);

    store({ { "progress/unlockedLevel", 2 },
            { "stats/1/wins", 3 },
            { "stats/1/bestTime", 42 },
            { "view/landscapeZoom", 1.5f } });
    writeSlot("session/current", { { "blob", blob }, { "format", 4 }, { "zoom", 2.0f } });
    writeSlot("session/portrait", { { "blob", blob } });

    GameCanvas canvas;
    QVERIFY(canvas.levelIntroVisible());
    QCOMPARE(canvas.levelIndex(), 2);
    QCOMPARE(canvas.core().tick, 0);
    QCOMPARE(canvas.zoom(), 1.5f);
    QCOMPARE(canvas.unlockedLevel(), 2);
    QCOMPARE(storedSessionKeys(), QStringList());
    QCOMPARE(stored("stats/1/wins").toInt(), 3);
    QCOMPARE(stored("stats/1/bestTime").toInt(), 42);
    QCOMPARE(stored("progress/unlockedLevel").toInt(), 2);
}

// Garbage zoom and camera values beside a good run resume the run with a usable view: zoom 1.0 for
// anything that is not a number, the bounds for numbers outside them, the world's centre for a camera
// that is not a place.
void SessionTest::damagedViewValuesAreTamed_data()
{
    QTest::addColumn<QVariant>("zoom");
    QTest::addColumn<QVariant>("cameraX");
    QTest::addColumn<QVariant>("cameraY");
    QTest::addColumn<float>("expectedZoom");
    QTest::addColumn<QPointF>("expectedCamera");

    QTest::newRow("nan zoom") << QVariant("nan") << QVariant(300.0f) << QVariant(200.0f) << 1.0f
                              << QPointF(300, 200);
    QTest::newRow("text zoom") << QVariant("near") << QVariant() << QVariant() << 1.0f << QPointF(480, 270);
    QTest::newRow("small zoom") << QVariant(0.5f) << QVariant(300.0f) << QVariant(200.0f) << 1.0f
                                << QPointF(300, 200);
    QTest::newRow("large zoom") << QVariant(5.0f) << QVariant(300.0f) << QVariant(200.0f) << 3.5f
                                << QPointF(300, 200);
    QTest::newRow("nan camera") << QVariant(2.0f) << QVariant("nan") << QVariant("inf") << 2.0f
                                << QPointF(480, 270);
    QTest::newRow("huge camera") << QVariant(2.0f) << QVariant(1e300) << QVariant(-1e300) << 2.0f
                                 << QPointF(480, 270);
    QTest::newRow("camera outside the world")
        << QVariant(2.0f) << QVariant(5000.0f) << QVariant(-20.0f) << 2.0f << QPointF(480, 270);
}

void SessionTest::damagedViewValuesAreTamed()
{
    QFETCH(QVariant, zoom);
    QFETCH(QVariant, cameraX);
    QFETCH(QVariant, cameraY);
    QFETCH(float, expectedZoom);
    QFETCH(QPointF, expectedCamera);

    QVariantMap slot { { "blob", runBlob(0, Landscape, 20) }, { "format", 4 }, { "zoom", zoom } };
    if (cameraX.isValid())
        slot.insert("cameraX", cameraX);
    if (cameraY.isValid())
        slot.insert("cameraY", cameraY);
    writeSlot("session/current", slot);

    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    QVERIFY(!canvas.levelIntroVisible());
    QCOMPARE(canvas.core().tick, 20);
    QCOMPARE(canvas.zoom(), expectedZoom);
    QCOMPARE(probe.camera(), expectedCamera);

    // Once the item has a size the camera is held inside the world.
    canvas.setSize(QSizeF(960, 540));
    const qreal halfWidth = 480 / canvas.zoom();
    QVERIFY(probe.camera().x() >= halfWidth && probe.camera().x() <= 960 - halfWidth);
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
