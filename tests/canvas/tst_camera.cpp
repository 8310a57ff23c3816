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
    void cameraAfterSteps_data();
    void cameraAfterSteps();
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
    QTest::newRow("world's left edge") << QSizeF(960, 540) << false << QPointF(0, 10) << QPointF(0, 10);
    QTest::newRow("world's right edge") << QSizeF(960, 540) << false << QPointF(960, 10) << kMiss;
    QTest::newRow("world's bottom edge") << QSizeF(960, 540) << false << QPointF(10, 540) << kMiss;
    QTest::newRow("top edge, a wide item") << QSizeF(1152, 960) << true << QPointF(576, 0) << QPointF(270, 0);
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

// Where the camera ends after the player's moves, on a 960 x 540 canvas showing the landscape world with a
// member at (300, 300) selected. Steps: size W H, zoom Z X Y (a pinch), pan DX DY (a drag), at X Y (the
// camera put there), follow (switched on), step N (following frames), frames N (the game's own frames),
// focus.
void CameraTest::cameraAfterSteps_data()
{
    QTest::addColumn<QPointF>("camera");

    // Each following frame closes 12 % of the way to a point just ahead of and above the member.
    const QPointF followed(300 + float((324.0 - 300.0f) * 0.12f), 300 + float((292.0 - 300.0f) * 0.12f));
    QTest::newRow("zoom 3 480 270 follow") << QPointF(300, 300);
    QTest::newRow("zoom 3 480 270 follow frames 1") << followed;
    QTest::newRow("zoom 3 480 270 follow pan 0 0 step 89: a drag holds following back") << QPointF(300, 300);
    QTest::newRow("zoom 3 480 270 follow pan 0 0 step 90") << followed;
    QTest::newRow("zoom 3 480 270 pan 0 0 step 90: not following") << QPointF(480, 270);
    QTest::newRow("zoom 3 480 270 pan 30 -30") << QPointF(470, 280);
    QTest::newRow("pan 100 0: no drag unzoomed") << QPointF(480, 270);
    QTest::newRow("zoom 2 100 100: the pinched point stays put") << QPointF(290, 185);
    QTest::newRow("zoom 2 480 0: pinched on the world's top edge") << QPointF(480, 135);
    QTest::newRow("zoom 3 480 270 at 200 200 size 900 540: resized, kept") << QPointF(200, 200);
    QTest::newRow("zoom 3 480 270 at 200 200 size 540 540: turned square, recentred") << QPointF(300, 300);
    QTest::newRow("size 540 540 zoom 3 270 270 at 200 200 size 540 960: square to upright")
        << QPointF(200, 270);
    QTest::newRow("zoom 3 480 270 size 0 540 at 100 100 size 960 540: first size") << QPointF(160, 100);
    QTest::newRow("size 0 0 at 960 540 zoom 2 0 0: kept for the first size") << QPointF(960, 540);
    QTest::newRow("size 0 0 at 961 100 zoom 2 0 0: outside the world") << QPointF(480, 270);
    QTest::newRow("size 960 0 at 100 -1 zoom 2 0 0: outside the world") << QPointF(480, 270);
}

void CameraTest::cameraAfterSteps()
{
    QFETCH(QPointF, camera);
    GameCanvas canvas;
    auto probe = prepare(canvas, QSizeF(960, 540));
    probe.setSelectedCrewId(CanvasTest::placeMember(probe.core(), QPointF(300, 300), Blocking));
    const QStringList words = QString::fromLatin1(QTest::currentDataTag()).section(':', 0, 0).split(' ');
    const auto number = [&words](int i) {
        return words.value(i).toFloat();
    };
    for (int i = 0; i < words.size(); ++i) {
        const QString &step = words.at(i);
        if (step == QLatin1String("size")) {
            canvas.setSize(QSizeF(number(i + 1), number(i + 2)));
            i += 2;
        } else if (step == QLatin1String("zoom")) {
            canvas.setZoomAt(number(i + 1), number(i + 2), number(i + 3));
            i += 3;
        } else if (step == QLatin1String("pan")) {
            canvas.panByItemDelta(number(i + 1), number(i + 2));
            i += 2;
        } else if (step == QLatin1String("at")) {
            probe.setCamera(QPointF(number(i + 1), number(i + 2)));
            i += 2;
        } else if (step == QLatin1String("step")) {
            for (int n = int(number(++i)); n > 0; --n)
                probe.followStep();
        } else if (step == QLatin1String("frames")) {
            canvas.startLevel();
            probe.advanceFrames(int(number(++i)));
        } else if (step == QLatin1String("follow")) {
            canvas.setFollowSelectedCrew(true);
        } else {
            QCOMPARE(step, QStringLiteral("focus"));
            canvas.focusAction();
        }
    }
    QCOMPARE(probe.camera(), camera);
}

QTEST_MAIN(CameraTest)
#include "tst_camera.moc"
