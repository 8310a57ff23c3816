#include "busyrun.h"
#include "canvasprobe.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

#include <algorithm>

using namespace Pellwick;

namespace {

constexpr int kLegFrames = 90;
constexpr qreal kWalkStep = 2.0;

// The place nearest to a member's from which a camera following it can go half a leg's walk either way, as
// far as the view can move at all.
QPointF reachableCentre(const CanvasProbe &probe, const QPointF &near)
{
    probe.setCamera(QPointF(-1e6, -1e6));
    probe.clampCamera();
    const QPointF least = probe.camera();
    probe.setCamera(QPointF(1e6, 1e6));
    probe.clampCamera();
    const QPointF most = probe.camera();
    const qreal reach = std::min(kLegFrames * kWalkStep / 2, (most.x() - least.x()) / 2);
    return QPointF(qBound(least.x() + reach, near.x(), most.x() - reach),
                   qBound(least.y(), near.y(), most.y()));
}

// Starts at the centre, walks out one way, back across to the other side and home again.
void walk(CrewMember &member, const QPointF &centre, int frame)
{
    const int lap = (frame + kLegFrames / 2) % (2 * kLegFrames);
    const bool outward = lap < kLegFrames;
    const int along = outward ? lap : 2 * kLegFrames - lap;
    const qreal x = kWalkStep * (along - kLegFrames / 2);
    const qreal y = (frame / 10) % 3 == 0 ? -1 : 0;
    member.pos = centre + QPointF(x, y);
    member.direction = outward ? 1 : -1;
}

} // namespace

// One frame of a busy run. A phone frame comes every 33 ms.
class PaintBenchmark : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanupTestCase() { CanvasTest::removeSettings(); }

    void paintBusyFrame_data();
    void paintBusyFrame();
};

void PaintBenchmark::paintBusyFrame_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("cameraMoving");

    // A small window, the desktop, and the two phone screens in both orientations; a camera that stays, and,
    // zoomed in, one that follows a walking member. Unzoomed, the whole world is in view and the camera
    // never moves.
    for (const QSize &size : { QSize(540, 960), QSize(960, 540), QSize(1920, 1080), QSize(1080, 2520),
                               QSize(2520, 1080), QSize(720, 1560), QSize(1560, 720) }) {
        QTest::addRow("%dx%d zoom 1.0", size.width(), size.height()) << size << 1.0f << false;
        QTest::addRow("%dx%d zoom 3.5", size.width(), size.height()) << size << 3.5f << false;
        QTest::addRow("%dx%d zoom 3.5 moving", size.width(), size.height()) << size << 3.5f << true;
    }
}

void PaintBenchmark::paintBusyFrame()
{
    QFETCH(QSize, size);
    QFETCH(float, zoom);
    QFETCH(bool, cameraMoving);

    // The busiest level: sixteen crew among springs, switches, doors, teleporters and a laser.
    constexpr int kChainReaction = 16;
    GameCanvas canvas;
    CanvasProbe probe(canvas);
    probe.holdFrameTimer();
    probe.core().setLayoutMode(size.width() > size.height() ? Landscape : Portrait, false);
    probe.core().loadLevel(kChainReaction);
    BusyRun::play(probe.core());
    canvas.setSize(size);
    canvas.setPaused(false);
    const int followed = BusyRun::firstActiveId(probe.core());
    probe.setSelectedCrewId(followed);
    probe.setZoom(zoom);

    // The member in view stands where the view can follow it half a walk either way. Followed, it walks two
    // units a frame, as at normal speed, back and forth over a stretch wider than the screen, stepping up a
    // unit now and then as on rough ground.
    CrewMember &member = *std::find_if(probe.core().crew.begin(), probe.core().crew.end(),
                                       [followed](const CrewMember &m) { return m.id == followed; });
    const QPointF walkCentre = reachableCentre(probe, member.pos);
    walk(member, walkCentre, 0);
    probe.setCamera(canvas.actionFocusWorld());
    probe.clampCamera();
    canvas.setFollowSelectedCrew(cameraMoving);
    int frameNumber = 0;
    const auto paintFrame = [&](QImage *frame) {
        if (cameraMoving) {
            walk(member, walkCentre, frameNumber++);
            probe.followStep();
        }
        QPainter painter(frame);
        canvas.paint(&painter);
    };

    // The first frames of a view also draw what the following ones keep; the benchmark times the following.
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    paintFrame(&frame);
    paintFrame(&frame);
    QBENCHMARK
    {
        paintFrame(&frame);
    }

    // A fast blank frame must not pass: a real one holds the sky, the scenery, the ground and the crew.
    QSet<QRgb> colours;
    for (int y = 0; y < frame.height(); y += 4) {
        for (int x = 0; x < frame.width(); x += 4)
            colours.insert(frame.pixel(x, y));
    }
    QVERIFY(colours.size() > 100);
}

QTEST_MAIN(PaintBenchmark)
#include "bench_paint.moc"
