#include "canvasprobe.h"
#include "curvedshapes.h"
#include "paintstyle.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Pellwick;

namespace {

// A canvas of a given size showing level 0 in one layout, unzoomed and centred, its clock held by the test.
struct PaintStage
{
    PaintStage(const QSize &size, LayoutMode layout)
        : canvas(std::make_unique<GameCanvas>())
        , probe(CanvasProbe::holding(*canvas))
    {
        core().setLayoutMode(layout, false);
        core().loadLevel(0);
        canvas->setSize(size);
        canvas->setPaused(false);
        probe.setSelectedCrewId(-1);
        probe.setZoom(1.0f);
        probe.setCamera(QPointF(core().worldWidth() / 2.0, core().worldHeight() / 2.0));
    }

    GameCore &core() const { return probe.core(); }

    // Leaves only the sky: no ground, no objects, no crew.
    void clearWorld() const
    {
        core().terrain.fill(Qt::transparent);
        core().objects.clear();
        core().crew.clear();
    }

    QImage render(QPainter::RenderHints hints = {}) const
    {
        QImage image(QSize(int(canvas->width()), int(canvas->height())), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHints(hints);
        canvas->paint(&painter);
        return image;
    }

    std::unique_ptr<GameCanvas> canvas;
    CanvasProbe probe;
};

// The smallest rectangle holding every pixel in which two frames differ.
QRect differingArea(const QImage &a, const QImage &b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// How far apart two pixels are in their most different channel.
int channelDistance(QRgb a, QRgb b)
{
    return std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                      std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b)) });
}

} // namespace

// A few probes per picture: the world lands where the camera puts it, every object and member is drawn where
// it stands and in the right order, and the overlays sit on top.
class PaintingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void terrainAppearsWhereTheCameraPutsIt_data();
    void terrainAppearsWhereTheCameraPutsIt();
    void everyObjectIsDrawnInItsPlace_data();
    void everyObjectIsDrawnInItsPlace();
    void crewIsDrawnOverObjectsAndFacesItsWay();
    void pauseVeilCoversAllButAFinishedLevel();
    void keptFramesMatchExactOnes_data();
    void keptFramesMatchExactOnes();
    void curvedShapesLookAsQtDrawsThem_data();
    void curvedShapesLookAsQtDrawsThem();
};

void PaintingTest::terrainAppearsWhereTheCameraPutsIt_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("layout");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("smoothHints");
    QTest::newRow("phone portrait, zoom 1") << QSize(540, 960) << int(Portrait) << 1.0f << false;
    QTest::newRow("portrait world on desktop") << QSize(1920, 1080) << int(Portrait) << 1.35f << false;
    QTest::newRow("desktop, zoom 3.5, Qt Quick hints") << QSize(1920, 1080) << int(Landscape) << 3.5f << true;
}

// One world unit covers zoom × base scale pixels around the camera, never smoothed, whatever the painter
// asks.
void PaintingTest::terrainAppearsWhereTheCameraPutsIt()
{
    QFETCH(QSize, size);
    QFETCH(int, layout);
    QFETCH(float, zoom);
    QFETCH(bool, smoothHints);

    PaintStage stage(size, LayoutMode(layout));
    stage.clearWorld();
    const QRgb ground = qRgb(200, 30, 170);
    const QRgb vein = qRgb(20, 230, 40);
    QPainter(&stage.core().terrain).fillRect(QRect(200, 300, 12, 12), QColor(ground));
    stage.core().terrain.setPixel(206, 306, vein);
    stage.probe.setZoom(zoom);
    stage.probe.setCamera(QPointF(230, 290));
    const QImage frame = stage.render(smoothHints ? QPainter::Antialiasing | QPainter::SmoothPixmapTransform
                                                  : QPainter::RenderHints());
    const auto pixelAt = [&](double x, double y) {
        const QPointF p = stage.canvas->worldToItem(QPointF(x, y));
        return frame.pixel(int(std::floor(p.x())), int(std::floor(p.y())));
    };
    QCOMPARE(pixelAt(202.5, 302.5), ground);
    QCOMPARE(pixelAt(211.5, 311.5), ground);
    QCOMPARE(pixelAt(206.5, 306.5), vein);
    QVERIFY(pixelAt(197, 306) != ground && pixelAt(214, 306) != ground && pixelAt(206, 314) != ground);
}

void PaintingTest::everyObjectIsDrawnInItsPlace_data()
{
    QTest::addColumn<int>("type");
    for (int type = Water; type <= Laser; ++type)
        QTest::addRow("type %d", type) << type;
}

// Each kind of object paints over the ground it stands in, and only about its own rectangle.
void PaintingTest::everyObjectIsDrawnInItsPlace()
{
    QFETCH(int, type);

    PaintStage stage(QSize(960, 540), Landscape);
    stage.clearWorld();
    QPainter(&stage.core().terrain).fillRect(QRect(380, 80, 120, 140), QColor(116, 77, 46));
    const QImage bare = stage.render();
    const QRectF rect(400, 100, 40, 80);
    stage.core().addObject(ObjectType(type), rect, 1, 1);
    const QRect drawn = differingArea(bare, stage.render());
    QVERIFY(!drawn.isEmpty());
    QVERIFY(drawn.intersects(rect.toRect()));
    QVERIFY(rect.adjusted(-12, -12, 12, 12).contains(drawn));
}

// A member is drawn over an object in front of it, and facing left is the mirror image of facing right.
void PaintingTest::crewIsDrawnOverObjectsAndFacesItsWay()
{
    PaintStage stage(QSize(960, 540), Landscape);
    stage.clearWorld();
    const QPointF feet(300.5, 200);
    stage.core().addObject(Door, QRectF(280, 150, 40, 60), 0, 1);
    const QImage withDoor = stage.render();
    CanvasTest::placeMember(stage.core(), feet, Bashing);
    const QRect right = differingArea(withDoor, stage.render());
    QVERIFY(!right.isEmpty());
    stage.core().crew.last().direction = -1;
    const QRect left = differingArea(withDoor, stage.render());

    QVERIFY(right.right() > feet.x() + 13);
    QVERIFY(qAbs((feet.x() - left.left()) - (right.right() + 1 - feet.x())) <= 1);
    QVERIFY(qAbs((left.right() + 1 - feet.x()) - (feet.x() - right.left())) <= 1);
    QCOMPARE(left.top(), right.top());
}

// The pause veil darkens the whole item, scenery and all; once the level is over nothing is veiled.
void PaintingTest::pauseVeilCoversAllButAFinishedLevel()
{
    PaintStage stage(QSize(960, 540), Landscape);
    const QImage running = stage.render();
    stage.canvas->setPaused(true);
    const QImage paused = stage.render();
    for (const QPoint &p : { QPoint(5, 5), QPoint(955, 180), QPoint(240, 535) })
        QVERIFY(qGray(paused.pixel(p)) < qGray(running.pixel(p)));

    PaintStage over(QSize(960, 540), Landscape);
    over.core().finished = true;
    const QImage finished = over.render();
    over.canvas->setPaused(true);
    QCOMPARE(over.render(), finished);
}

// A frame that reuses the sky and scenery and leaves out what is off screen looks like the frame painted from
// nothing: off by at most 2 in a channel, on at most one pixel in a thousand. The view moves between the two
// frames, so the kept backdrop has to follow it; or the run is taken back under a view that stays, and
// nothing kept shows the ground dug since (the rewound run is the fresh run at its tick, as the storage tests
// show).
void PaintingTest::keptFramesMatchExactOnes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("theme");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QPointF>("cameraShare"); // of the world's width and height
    QTest::addColumn<bool>("rewound"); // from tick 760 of level 3's solution, just before its Digger at 623

    QTest::newRow("phone, whole world") << QSize(1080, 2520) << 1 << 1.0f << QPointF(0.5, 0.5) << false;
    QTest::newRow("desktop, left corner") << QSize(1920, 1080) << 0 << 3.5f << QPointF(0.1, 0.9) << false;
    QTest::newRow("window, right edge") << QSize(960, 540) << 2 << 2.0f << QPointF(0.95, 0.3) << false;
    QTest::newRow("phone on its side, night") << QSize(1560, 720) << 3 << 2.7f << QPointF(0.4, 0.6) << false;
    QTest::newRow("window, over a hole taken back")
        << QSize(960, 540) << 0 << 2.0f << QPointF(0.12, 0.6) << true;
}

void PaintingTest::keptFramesMatchExactOnes()
{
    QFETCH(QSize, size);
    QFETCH(int, theme);
    QFETCH(float, zoom);
    QFETCH(QPointF, cameraShare);
    QFETCH(bool, rewound);

    CanvasTest::store({ { "progress/unlockedLevel", 3 } });
    PaintStage stage(size, size.width() > size.height() ? Landscape : Portrait);
    stage.core().levels[stage.core().levelIndex].theme = theme;
    Replay plan;
    QVERIFY(readReplayFile(QFINDTESTDATA("../../replays/solutions/level-03-landscape.txt"), &plan, nullptr));
    for (int tick = 0; tick < 400 && !rewound; ++tick)
        stage.core().step();
    if (rewound)
        CanvasTest::playPlan(*stage.canvas, plan, true, 760);
    stage.probe.setZoom(zoom);
    const QPointF camera(cameraShare.x() * stage.core().worldWidth(),
                         cameraShare.y() * stage.core().worldHeight());
    if (rewound)
        stage.probe.setCamera(camera);
    // A backdrop kept for the view before, which the new view must not reuse.
    const QImage before = stage.render();
    QVERIFY(stage.render() == before && (!rewound || stage.canvas->rewind(150)));
    stage.probe.setCamera(camera);
    stage.probe.clampCamera();

    // The first frame at a new view draws the backdrop in place, the next ones copy it.
    const QImage moved = stage.render();
    const QImage kept = stage.render();
    QImage exact(size, QImage::Format_ARGB32_Premultiplied);
    exact.fill(Qt::black);
    QPainter painter(&exact);
    stage.probe.paintExactly(&painter);
    painter.end();

    QVERIFY(!rewound || kept != before);
    for (const QImage &frame : { moved, kept }) {
        int differing = 0;
        int worst = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const int off = channelDistance(frame.pixel(x, y), exact.pixel(x, y));
                differing += off > 0;
                worst = std::max(worst, off);
            }
        }
        QVERIFY2(worst <= 2, qPrintable(QStringLiteral("a channel off by %1").arg(worst)));
        QVERIFY2(differing * 1000 <= size.width() * size.height(), qPrintable(QString::number(differing)));
    }
}

void PaintingTest::curvedShapesLookAsQtDrawsThem_data()
{
    QTest::addColumn<QTransform>("transform");
    QTest::addColumn<qreal>("unit"); // of the shapes, so that each covers about the same pixels
    const QTransform zoomed = QTransform::fromTranslate(100, 120).scale(9, 9);
    const QTransform shrunk = QTransform::fromTranslate(100, 120).scale(0.75, 0.75);
    QTest::newRow("zoomed") << zoomed << 1.0;
    QTest::newRow("facing left") << QTransform(zoomed).scale(-1, 1) << 1.0;
    QTest::newRow("upside down") << QTransform(zoomed).scale(1, -1) << 1.0;
    QTest::newRow("turned") << QTransform(zoomed).rotate(30) << 1.0;
    QTest::newRow("shrunk, as on a small screen") << shrunk << 12.0;
    QTest::newRow("shrunk, facing left") << QTransform(shrunk).scale(-1, 1) << 12.0;
}

// Drawn in device pixels, a shape may move its edges by a fraction of a pixel, never its parts: a pie or an
// arc on a mirrored member keeps to the same side.
void PaintingTest::curvedShapesLookAsQtDrawsThem()
{
    QFETCH(QTransform, transform);
    QFETCH(qreal, unit);
    const QRectF r(-8 * unit, -6 * unit, 14 * unit, 10 * unit);
    const QLineF line(-6 * unit, -4 * unit, 5 * unit, 3 * unit);
    QImage blank(200, 240, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::white);
    for (int shape = 0; shape < 5; ++shape) {
        QImage pictures[2];
        for (int i = 0; i < 2; ++i) {
            const bool qtsOwn = i == 0;
            pictures[i] = blank.copy();
            QPainter p(&pictures[i]);
            p.setRenderHint(QPainter::Antialiasing);
            p.setTransform(transform);
            p.setPen(PaintStyle::solidPen(QColor(30, 40, 50), 1.5 * unit, Qt::RoundCap));
            p.setBrush(QColor(240, 120, 60));
            switch (shape) {
            case 0:
                qtsOwn ? p.drawEllipse(r) : CurvedShapes::drawEllipse(&p, r);
                break;
            case 1:
                qtsOwn ? p.drawRoundedRect(r, 3 * unit, 3 * unit)
                       : CurvedShapes::drawRoundedRect(&p, r, 3 * unit);
                break;
            case 2:
                qtsOwn ? p.drawPie(r, 30 * 16, 120 * 16) : CurvedShapes::drawPie(&p, r, 30 * 16, 120 * 16);
                break;
            case 3:
                qtsOwn ? p.drawArc(r, -20 * 16, 250 * 16) : CurvedShapes::drawArc(&p, r, -20 * 16, 250 * 16);
                break;
            default:
                qtsOwn ? p.drawLine(line) : CurvedShapes::drawLine(&p, line);
            }
            QCOMPARE(p.transform(), transform);
            QCOMPARE(p.pen().widthF(), 1.5 * unit);
        }
        QVERIFY(pictures[0] != blank);

        // A pixel changed together with its four neighbours is part of a moved or missing patch, not an edge.
        const auto changed = [&](int x, int y) {
            return channelDistance(pictures[0].pixel(x, y), pictures[1].pixel(x, y)) > 64;
        };
        int patchPixels = 0;
        for (int y = 1; y < 239; ++y) {
            for (int x = 1; x < 199; ++x) {
                patchPixels += changed(x, y) && changed(x - 1, y) && changed(x + 1, y) && changed(x, y - 1)
                    && changed(x, y + 1);
            }
        }
        QVERIFY2(patchPixels == 0, qPrintable(QStringLiteral("shape %1: %2").arg(shape).arg(patchPixels)));
    }
}

QTEST_MAIN(PaintingTest)
#include "tst_painting.moc"
