#include "canvasprobe.h"

#include <QtTest>

using namespace Pellwick;

namespace {

const QPointF kMiss(-1000, -1000);

// A canvas of the given size showing level 0 in the given layout, its clock held by the test.
CanvasProbe prepare(GameCanvas &canvas, const QSizeF &size, bool portraitWorld = false)
{
    CanvasProbe probe = CanvasProbe::holding(canvas);
    canvas.setPortraitLayout(portraitWorld);
    canvas.setSize(size);
    return probe;
}

} // namespace

// Taps outside the world miss it, and the camera follows the selected member.
class CameraTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void missesMapToTheMarker_data();
    void missesMapToTheMarker();
    void followingStepsTowardTheSelectedMember();
};

// A tap outside the item or outside the world is the miss marker (-1000, -1000).
void CameraTest::missesMapToTheMarker_data()
{
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("portraitWorld");
    QTest::addColumn<QPointF>("item");
    QTest::addColumn<QPointF>("world");

    QTest::newRow("inside") << QSizeF(960, 540) << false << QPointF(959.5, 10) << QPointF(959.5, 10);
    QTest::newRow("left of the item") << QSizeF(960, 540) << false << QPointF(-1, 10) << kMiss;
    QTest::newRow("item corner is the world's edge")
        << QSizeF(960, 540) << false << QPointF(960, 540) << kMiss;
    QTest::newRow("beside a narrow world") << QSizeF(960, 540) << true << QPointF(100, 270) << kMiss;
    QTest::newRow("empty item") << QSizeF(0, 0) << false << QPointF(0, 0) << kMiss;
    QTest::newRow("item without height") << QSizeF(960, 0) << false << QPointF(10, 0) << kMiss;
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
}

QTEST_MAIN(CameraTest)
#include "tst_camera.moc"
