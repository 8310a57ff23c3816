#include "canvasprobe.h"

#include <QtTest>

#include <cmath>

using namespace Pellwick;
using CanvasTest::SignalLog;
using CanvasTest::stored;

namespace {

const QPointF kMiss(-1000, -1000);

bool near(const QPointF &a, const QPointF &b, qreal tolerance = 0.01)
{
    return std::abs(a.x() - b.x()) <= tolerance && std::abs(a.y() - b.y()) <= tolerance;
}

// A canvas of the given size showing level 0 in the given layout, its clock held by the test.
CanvasProbe prepare(GameCanvas &canvas, const QSizeF &size, bool portraitWorld = false)
{
    CanvasProbe probe = CanvasProbe::holding(canvas);
    canvas.setPortraitLayout(portraitWorld);
    canvas.setSize(size);
    return probe;
}

} // namespace

// The world is fitted into the item, mapped both ways, kept in view, zoomed, dragged and followed, with the
// zoom remembered per orientation.
class CameraTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void baseScaleFitsTheWorld_data();
    void baseScaleFitsTheWorld();
    void mappingRoundTrips();
    void missesMapToTheMarker_data();
    void missesMapToTheMarker();
    void cameraIsClamped_data();
    void cameraIsClamped();
    void pinchKeepsTheAnchorUnderTheFingers();
    void pinchOutsideTheWorldKeepsTheCamera_data();
    void pinchOutsideTheWorldKeepsTheCamera();
    void dragsOnlyAboveZoomOne_data();
    void dragsOnlyAboveZoomOne();
    void followingStepsTowardTheSelectedMember();
    void dragHoldsFollowingForNinetySteppingFrames_data();
    void dragHoldsFollowingForNinetySteppingFrames();
    void zoomButtonsStepWithinTheRange();
    void zoomIsRememberedPerOrientation();
    void storedZoomIsBounded_data();
    void storedZoomIsBounded();
    void orientationChangeReloadsAnUntouchedLevel();
    void orientationChangeDuringARunOnlyRecentres();
    void geometryFlipRecentresAndFirstLayoutOnlyClamps();
};

// The fitted scale for each item shape and world layout, a wide item never showing the world below 48 %.
void CameraTest::baseScaleFitsTheWorld_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("portraitWorld");
    QTest::addColumn<float>("scale");

    QTest::newRow("landscape world, same size") << QSizeF(960, 540) << false << 1.0f;
    QTest::newRow("portrait world in a wide item") << QSizeF(960, 540) << true << float(960 * 0.48) / 540.0f;
    QTest::newRow("portrait world, same size") << QSizeF(540, 960) << true << 1.0f;
    QTest::newRow("landscape world in a tall item") << QSizeF(540, 960) << false << 0.5625f;
    QTest::newRow("twice the size") << QSizeF(1920, 1080) << false << 2.0f;
    QTest::newRow("slightly wide item") << QSizeF(1000, 800) << false << 1000.0f / 960.0f;
    QTest::newRow("not clearly wide") << QSizeF(1000, 850) << true << 850.0f / 960.0f;
    QTest::newRow("empty item") << QSizeF(0, 0) << false << 1.0f;
    QTest::newRow("no height") << QSizeF(960, 0) << false << 1.0f;
}

void CameraTest::baseScaleFitsTheWorld()
{
    QFETCH(QSizeF, size);
    QFETCH(bool, portraitWorld);
    QFETCH(float, scale);

    GameCanvas canvas;
    prepare(canvas, size, portraitWorld);
    QCOMPARE(canvas.core().worldWidth(), portraitWorld ? 540 : 960);
    QCOMPARE(canvas.baseScale(), scale);
}

// Item to world and back returns the same point at any zoom and camera; the camera sits at the item centre.
void CameraTest::mappingRoundTrips()
{
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(800, 600));
    canvas.setZoomAt(2.5f, 200, 150);
    const QPointF camera = probe.camera();
    QCOMPARE(canvas.worldToItem(camera), QPointF(400, 300));
    for (const QPointF &world : { QPointF(300, 200), QPointF(350.25, 240.5), camera }) {
        const QPointF item = canvas.worldToItem(world);
        QVERIFY(near(canvas.itemToWorld(float(item.x()), float(item.y())), world));
    }
    const qreal scale = canvas.baseScale() * canvas.zoom();
    QVERIFY(near(canvas.worldToItem(camera + QPointF(10, -4)), QPointF(400 + 10 * scale, 300 - 4 * scale)));
}

// A tap outside the item or outside the world is the miss marker (-1000, -1000).
void CameraTest::missesMapToTheMarker_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("portraitWorld");
    QTest::addColumn<QPointF>("item");
    QTest::addColumn<QPointF>("world");

    QTest::newRow("inside") << QSizeF(960, 540) << false << QPointF(959.5, 10) << QPointF(959.5, 10);
    QTest::newRow("left of the item") << QSizeF(960, 540) << false << QPointF(-1, 10) << kMiss;
    QTest::newRow("below the item") << QSizeF(960, 540) << false << QPointF(10, 541) << kMiss;
    QTest::newRow("item corner is the world's edge")
        << QSizeF(960, 540) << false << QPointF(960, 540) << kMiss;
    QTest::newRow("beside a narrow world") << QSizeF(960, 540) << true << QPointF(100, 270) << kMiss;
    QTest::newRow("right of a narrow world") << QSizeF(960, 540) << true << QPointF(900, 270) << kMiss;
    QTest::newRow("empty item") << QSizeF(0, 0) << false << QPointF(0, 0) << kMiss;
    QTest::newRow("not a number") << QSizeF(960, 540) << false << QPointF(qQNaN(), 10) << kMiss;
}

void CameraTest::missesMapToTheMarker()
{
    QFETCH(QSizeF, size);
    QFETCH(bool, portraitWorld);
    QFETCH(QPointF, item);
    QFETCH(QPointF, world);

    GameCanvas canvas;
    prepare(canvas, size, portraitWorld);
    QCOMPARE(canvas.itemToWorld(float(item.x()), float(item.y())), world);
}

// The camera keeps the view inside the world and centres a world smaller than the view.
void CameraTest::cameraIsClamped_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("portraitWorld");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QPointF>("requested");
    QTest::addColumn<QPointF>("camera");

    const qreal half = 540 / (960 * 0.48 / 540) / 2; // 316.40625 world units
    QTest::newRow("fitted world is pinned")
        << QSizeF(960, 540) << false << 1.0f << QPointF(100, 900) << QPointF(480, 270);
    QTest::newRow("tall world, top") << QSizeF(960, 540) << true << 1.0f << QPointF(0, 0)
                                     << QPointF(270, half);
    QTest::newRow("tall world, bottom")
        << QSizeF(960, 540) << true << 1.0f << QPointF(270, 2000) << QPointF(270, 960 - half);
    QTest::newRow("tall world, not a number")
        << QSizeF(960, 540) << true << 1.0f << QPointF(qQNaN(), qQNaN()) << QPointF(270, half);
    QTest::newRow("zoomed, low corner")
        << QSizeF(960, 540) << false << 2.0f << QPointF(0, 0) << QPointF(240, 135);
    QTest::newRow("zoomed, high corner")
        << QSizeF(960, 540) << false << 2.0f << QPointF(2000, 2000) << QPointF(720, 405);
    QTest::newRow("zoomed, inside") << QSizeF(960, 540) << false << 2.0f << QPointF(500, 300)
                                    << QPointF(500, 300);
    QTest::newRow("no view keeps a camera in the world")
        << QSizeF(0, 0) << false << 2.0f << QPointF(100, 100) << QPointF(100, 100);
    QTest::newRow("no view centres a camera outside the world")
        << QSizeF(0, 0) << false << 2.0f << QPointF(-5, 3000) << QPointF(480, 270);
}

void CameraTest::cameraIsClamped()
{
    QFETCH(QSizeF, size);
    QFETCH(bool, portraitWorld);
    QFETCH(float, zoom);
    QFETCH(QPointF, requested);
    QFETCH(QPointF, camera);

    GameCanvas canvas;
    auto probe = prepare(canvas, size, portraitWorld);
    probe.setZoom(zoom);
    probe.setCamera(requested);
    probe.clampCamera();
    QVERIFY(near(probe.camera(), camera));
}

// A pinch keeps the world point under the fingers at the same item point.
void CameraTest::pinchKeepsTheAnchorUnderTheFingers()
{
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    QSignalSpy zoomChanged(&canvas, &GameCanvas::zoomChanged);
    QVERIFY(zoomChanged.isValid());

    canvas.setZoomAt(2.0f, 600, 200);
    QCOMPARE(zoomChanged.count(), 1);
    QCOMPARE(probe.camera(), QPointF(540, 235));
    QVERIFY(near(canvas.worldToItem(QPointF(600, 200)), QPointF(600, 200)));

    const QPointF anchor = canvas.itemToWorld(100, 100);
    canvas.setZoomAt(3.0f, 100, 100);
    QVERIFY(near(canvas.worldToItem(anchor), QPointF(100, 100)));
    QCOMPARE(stored("view/landscapeZoom").toFloat(), 3.0f);

    canvas.setZoomAt(3.0005f, 300, 300);
    QCOMPARE(zoomChanged.count(), 2);
}

// A pinch centred outside the world, or outside the item, zooms about the current camera.
void CameraTest::pinchOutsideTheWorldKeepsTheCamera_data()
{
    QTest::addColumn<QPointF>("fingers");
    QTest::newRow("beside the narrow world") << QPointF(50, 270);
    QTest::newRow("outside the item") << QPointF(-10, -10);
}

void CameraTest::pinchOutsideTheWorldKeepsTheCamera()
{
    QFETCH(QPointF, fingers);

    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540), true);
    probe.setCamera(QPointF(270, 500));
    canvas.setZoomAt(2.0f, float(fingers.x()), float(fingers.y()));
    QCOMPARE(canvas.zoom(), 2.0f);
    QCOMPARE(probe.camera(), QPointF(270, 500));
}

// A drag moves the world with the finger only when zoomed in, and then holds following for 90 frames.
void CameraTest::dragsOnlyAboveZoomOne_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("moves");
    QTest::newRow("1.0") << 1.0f << false;
    QTest::newRow("1.0005") << 1.0005f << false;
    QTest::newRow("2.0") << 2.0f << true;
}

void CameraTest::dragsOnlyAboveZoomOne()
{
    QFETCH(float, zoom);
    QFETCH(bool, moves);

    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    probe.setZoom(zoom);
    probe.setCamera(QPointF(480, 270));
    canvas.panByItemDelta(40, -20);
    QCOMPARE(probe.camera(), moves ? QPointF(460, 280) : QPointF(480, 270));
    QCOMPARE(probe.panHoldFrames(), moves ? 90 : 0);
}

// Each stepping frame the camera closes 12 % of the way to a point just ahead of the selected member.
void CameraTest::followingStepsTowardTheSelectedMember()
{
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    const int id = CanvasTest::placeMember(probe.core(), QPointF(300, 300), Blocking);
    probe.setSelectedCrewId(id);
    canvas.setZoomAt(3.0f, 480, 270);
    canvas.setFollowSelectedCrew(true);
    QCOMPARE(probe.camera(), QPointF(300, 300)); // focusAction: on the member itself
    canvas.startLevel();
    probe.advanceFrame();
    const float x = 300 + float((324.0 - 300.0f) * 0.12f);
    const float y = 300 + float((292.0 - 300.0f) * 0.12f);
    QCOMPARE(probe.camera(), QPointF(x, y));

    // Without a selected member nothing moves.
    probe.setSelectedCrewId(-1);
    const QPointF held = probe.camera();
    probe.advanceFrame();
    QCOMPARE(probe.camera(), held);
}

// After a drag, following waits for 90 frames that ran ticks and resumes in the 90th; focusAction resumes it
// at once.
void CameraTest::dragHoldsFollowingForNinetySteppingFrames_data()
{
    QTest::addColumn<float>("speed");
    QTest::addColumn<int>("framesPerStep");
    QTest::newRow("speed 1") << 1.0f << 1;
    QTest::newRow("speed 0.5") << 0.5f << 2;
}

void CameraTest::dragHoldsFollowingForNinetySteppingFrames()
{
    QFETCH(float, speed);
    QFETCH(int, framesPerStep);

    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    const int id = CanvasTest::placeMember(probe.core(), QPointF(300, 300), Blocking);
    probe.setSelectedCrewId(id);
    canvas.setZoomAt(3.0f, 480, 270);
    canvas.setFollowSelectedCrew(true);
    canvas.setSpeedMultiplier(speed);
    canvas.startLevel();

    canvas.panByItemDelta(-60, 0);
    const QPointF dragged = probe.camera();
    probe.advanceFrames(89 * framesPerStep);
    QCOMPARE(probe.camera(), dragged);
    QCOMPARE(probe.panHoldFrames(), 1);
    probe.advanceFrames(framesPerStep);
    QVERIFY(probe.camera() != dragged);
    QCOMPARE(probe.panHoldFrames(), 0);

    canvas.panByItemDelta(-60, 0);
    canvas.focusAction();
    QCOMPARE(probe.panHoldFrames(), 0);
    QCOMPARE(probe.camera(), QPointF(300, 300));
    probe.advanceFrames(framesPerStep);
    QVERIFY(probe.camera() != QPointF(300, 300));
}

// The zoom buttons step by 1.35 up to 3.5 and back down to 1.0; a step that changes nothing writes nothing.
void CameraTest::zoomButtonsStepWithinTheRange()
{
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    QSignalSpy zoomChanged(&canvas, &GameCanvas::zoomChanged);
    QVERIFY(zoomChanged.isValid());

    canvas.zoomOut();
    QCOMPARE(zoomChanged.count(), 0);
    QVERIFY(!stored("view/landscapeZoom").isValid());

    const float steps[] = { 1.35f, 1.8225f, 2.460375f, 3.3215063f, 3.5f };
    for (float step : steps) {
        canvas.zoomIn();
        QCOMPARE(canvas.zoom(), step);
    }
    canvas.zoomIn();
    QCOMPARE(zoomChanged.count(), 5);
    QCOMPARE(stored("view/landscapeZoom").toFloat(), 3.5f);

    // Button zoom recentres on the action: halfway between entry and exit on an empty field.
    const QPointF action = (probe.core().entry() + probe.core().exit()) / 2;
    QCOMPARE(probe.camera(), QPointF(action.x(), std::min(action.y(), 540 - 270 / 3.5)));

    canvas.zoomOut();
    QCOMPARE(canvas.zoom(), float(3.5 / 1.35));
    canvas.resetView();
    QCOMPARE(canvas.zoom(), 1.0f);
    QCOMPARE(probe.camera(), QPointF(480, 270));
    canvas.resetView();
    QCOMPARE(zoomChanged.count(), 7);
}

// Each orientation keeps its own zoom, across orientation switches, level changes and restarts of the game.
void CameraTest::zoomIsRememberedPerOrientation()
{
    {
        GameCanvas canvas;
        prepare(canvas, QSizeF(960, 540));
        canvas.zoomIn();
        canvas.setPortraitLayout(true);
        QCOMPARE(canvas.zoom(), 1.0f);
        canvas.zoomIn();
        canvas.zoomIn();
        QCOMPARE(canvas.zoom(), 1.8225f);
        canvas.setPortraitLayout(false);
        QCOMPARE(canvas.zoom(), 1.35f);
        canvas.setZoomAt(2.0f, 480, 270);
        QVERIFY(canvas.setLevel(0));
        QCOMPARE(canvas.zoom(), 2.0f);
    }
    QCOMPARE(stored("view/portraitZoom").toFloat(), 1.8225f);
    QCOMPARE(stored("view/landscapeZoom").toFloat(), 2.0f);
    GameCanvas again;
    QCOMPARE(again.zoom(), 2.0f);
    again.setPortraitLayout(true);
    QCOMPARE(again.zoom(), 1.8225f);
}

// A stored zoom that is not a number, or out of range, reads as 1.0 or the nearer bound.
void CameraTest::storedZoomIsBounded_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<float>("zoom");
    QTest::newRow("inside") << QVariant(2.5) << 2.5f;
    QTest::newRow("below") << QVariant(0.5) << 1.0f;
    QTest::newRow("above") << QVariant(5.0) << 3.5f;
    QTest::newRow("nan") << QVariant("nan") << 1.0f;
    QTest::newRow("inf") << QVariant("inf") << 3.5f;
    QTest::newRow("-inf") << QVariant("-inf") << 1.0f;
    QTest::newRow("text") << QVariant("wide") << 1.0f;
    QTest::newRow("empty") << QVariant("") << 1.0f;
    QTest::newRow("huge") << QVariant(1e300) << 3.5f;
}

void CameraTest::storedZoomIsBounded()
{
    QFETCH(QVariant, value);
    QFETCH(float, zoom);

    CanvasTest::store({ { "view/landscapeZoom", value } });
    GameCanvas canvas;
    QCOMPARE(canvas.zoom(), zoom);
}

// Turning the phone before the level has started reloads it in the other layout with that layout's zoom.
void CameraTest::orientationChangeReloadsAnUntouchedLevel()
{
    CanvasTest::store({ { "view/portraitZoom", 2.0 } });
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(540, 960));
    SignalLog log(canvas);

    canvas.setPortraitLayout(true);
    QCOMPARE(log.take(),
             QStringList({ "portraitLayoutChanged", "zoomChanged", "levelChanged", "stateChanged",
                           "skillsChanged", "releaseRateChanged", "selectedCrewIdChanged", "zoomChanged" }));
    QCOMPARE(probe.core().layoutMode, Portrait);
    QCOMPARE(probe.core().terrain.size(), QSize(540, 960));
    QCOMPARE(canvas.zoom(), 2.0f);
    QVERIFY(canvas.levelIntroVisible());

    canvas.setPortraitLayout(true);
    QCOMPARE(log.take(), QStringList());
    canvas.setPortraitLayout(false);
    QCOMPARE(probe.core().layoutMode, Landscape);
    QCOMPARE(canvas.zoom(), 1.0f);
    QCOMPARE(stored("view/portraitZoom").toFloat(), 2.0f);
}

// Turning the phone during a run keeps the layout the level was started in and only recentres and saves.
void CameraTest::orientationChangeDuringARunOnlyRecentres()
{
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    canvas.startLevel();
    probe.advanceFrames(3);
    SignalLog log(canvas);

    canvas.setPortraitLayout(true);
    QCOMPARE(log.take(), QStringList({ "portraitLayoutChanged", "zoomChanged" }));
    QCOMPARE(probe.core().layoutMode, Landscape);
    QCOMPARE(probe.core().tick, 3);
    QCOMPARE(probe.camera(), QPointF(480, 270));
    QVERIFY(!stored("session/current/blob").toByteArray().isEmpty());
}

// Turning the item from landscape to portrait recentres on the action; the first layout pass only clamps.
void CameraTest::geometryFlipRecentresAndFirstLayoutOnlyClamps()
{
    GameCanvas canvas;
    auto probe = CanvasProbe::holding(canvas);
    probe.setZoom(2.0f);
    probe.setCamera(QPointF(600, 300));
    canvas.setSize(QSizeF(960, 540));
    QCOMPARE(probe.camera(), QPointF(600, 300));

    canvas.setSize(QSizeF(540, 960));
    // The tall view shows the whole height of the world, so only x tells the action from the old camera.
    const QPointF action = (probe.core().entry() + probe.core().exit()) / 2;
    QCOMPARE(probe.camera(), QPointF(action.x(), 270));
}

QTEST_MAIN(CameraTest)
#include "tst_camera.moc"
