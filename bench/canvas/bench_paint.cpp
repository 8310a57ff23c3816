#include "busyrun.h"
#include "canvasprobe.h"

#include <QPainter>
#include <QSet>
#include <QtTest>

using namespace Pellwick;

// One frame of a busy run, painted from nothing. A phone frame comes every 33 ms.
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

    // A small window, the desktop, and the two phone screens in both orientations.
    for (const QSize &size : { QSize(540, 960), QSize(960, 540), QSize(1920, 1080), QSize(1080, 2520),
                               QSize(2520, 1080), QSize(720, 1560), QSize(1560, 720) }) {
        for (float zoom : { 1.0f, 3.5f })
            QTest::addRow("%dx%d zoom %.1f", size.width(), size.height(), double(zoom)) << size << zoom;
    }
}

void PaintBenchmark::paintBusyFrame()
{
    QFETCH(QSize, size);
    QFETCH(float, zoom);

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
    probe.setSelectedCrewId(BusyRun::firstActiveId(probe.core()));
    probe.setZoom(zoom);
    probe.setCamera(canvas.actionFocusWorld());
    probe.clampCamera();

    // The first frame of a view also draws what the following ones keep; the benchmark times the following.
    QImage frame(size, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&frame);
        canvas.paint(&painter);
    }
    QBENCHMARK
    {
        QPainter painter(&frame);
        canvas.paint(&painter);
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
