#include "canvasprobe.h"
#include "curvedshapes.h"
#include "paintstyle.h"

#include <QPainter>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>

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

    // A black picture of the item at a device pixel ratio.
    QImage blank(qreal ratio = 1) const
    {
        QImage image(QSizeF(canvas->width() * ratio, canvas->height() * ratio).toSize(),
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::black);
        return image;
    }

    QImage render(QPainter::RenderHints hints = {}, qreal ratio = 1) const
    {
        QImage image = blank(ratio);
        QPainter painter(&image);
        painter.setRenderHints(hints);
        canvas->paint(&painter);
        return image;
    }

    QImage renderExactly(qreal ratio) const
    {
        QImage image = blank(ratio);
        QPainter painter(&image);
        probe.paintExactly(&painter);
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
    void rewoundFrameIsTheFreshRunsFrame();
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
    stage.probe.setCamera(QPointF(230.1, 290.05));
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

    // The picture moves by whole pixels, to the nearest one: where a world unit is a whole number of pixels,
    // the ground's corner is on the pixel nearest to where the camera puts it.
    const float scale = stage.canvas->baseScale() * zoom;
    if (scale == std::round(scale)) {
        const QPointF corner = stage.canvas->worldToItem(QPointF(200, 300));
        const QPoint pixel(qRound(corner.x()), qRound(corner.y()));
        QCOMPARE(frame.pixel(pixel), ground);
        QVERIFY(frame.pixel(pixel - QPoint(1, 0)) != ground && frame.pixel(pixel - QPoint(0, 1)) != ground);
    }
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

// A frame that composes the sky and hills from what is kept and leaves out what is off screen looks like the
// frame painted from nothing: off by at most 2 in a channel, on at most one pixel in a thousand. The backdrop
// is first kept for a later game on another level, as a restored or rewound game finds it; then the camera
// moves a step each frame and rests, and last the theme, the zoom, the window and the screen change in turn.
void PaintingTest::keptFramesMatchExactOnes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("layout");
    QTest::addColumn<qreal>("ratio"); // of device pixels to item pixels
    QTest::addColumn<int>("theme");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QPointF>("cameraShare"); // of the world's width and height
    QTest::addColumn<QPointF>("step"); // in world units

    QTest::newRow("desktop, the whole portrait world")
        << QSize(1920, 1080) << int(Portrait) << 1.0 << 1 << 1.0f << QPointF(0.5, 0.5) << QPointF();
    QTest::newRow("desktop, left corner, following right")
        << QSize(1920, 1080) << int(Landscape) << 1.0 << 0 << 3.5f << QPointF(0.1, 0.9) << QPointF(2, 0);
    QTest::newRow("window, right edge, up a slope")
        << QSize(960, 540) << int(Landscape) << 1.0 << 2 << 2.0f << QPointF(0.95, 0.3) << QPointF(-1.5, -0.4);
    QTest::newRow("phone on its side, night, falling to the left")
        << QSize(1560, 720) << int(Landscape) << 1.0 << 3 << 2.7f << QPointF(0.6, 0.55) << QPointF(-80, 6);
    QTest::newRow("phone, panning past the kept part")
        << QSize(1080, 2520) << int(Portrait) << 1.0 << 0 << 3.5f << QPointF(0.2, 0.5) << QPointF(30, 0);
    QTest::newRow("sharp window, drifting")
        << QSize(960, 540) << int(Landscape) << 2.0 << 1 << 3.0f << QPointF(0.5, 0.5) << QPointF(1.3, 0.7);
}

void PaintingTest::keptFramesMatchExactOnes()
{
    QFETCH(QSize, size);
    QFETCH(int, layout);
    QFETCH(qreal, ratio);
    QFETCH(int, theme);
    QFETCH(float, zoom);
    QFETCH(QPointF, cameraShare);
    QFETCH(QPointF, step);

    PaintStage stage(size, LayoutMode(layout));
    GameCore &core = stage.core();
    // What is wrong with the next kept frame, if anything.
    qreal frameRatio = ratio;
    const auto keptAgainstExact = [&](const QString &when) {
        const QImage kept = stage.render(QPainter::RenderHints(), frameRatio);
        const QImage exact = stage.renderExactly(frameRatio);
        int differing = 0;
        int worst = 0;
        for (int y = 0; y < kept.height(); ++y) {
            const auto *keptRow = reinterpret_cast<const QRgb *>(kept.constScanLine(y));
            const auto *exactRow = reinterpret_cast<const QRgb *>(exact.constScanLine(y));
            for (int x = 0; x < kept.width(); ++x) {
                if (keptRow[x] == exactRow[x])
                    continue;
                ++differing;
                worst = std::max(worst, channelDistance(keptRow[x], exactRow[x]));
            }
        }
        if (worst <= 2 && differing * 1000 <= kept.width() * kept.height())
            return QString();
        return QStringLiteral("%1: %2 pixels differ, by up to %3").arg(when).arg(differing).arg(worst);
    };

    core.levels[core.levelIndex].theme = theme;
    for (int tick = 0; tick < 400; ++tick)
        core.step();
    const GameCore earlier = core;
    stage.probe.setZoom(zoom);
    const QPointF start(cameraShare.x() * core.worldWidth(), cameraShare.y() * core.worldHeight());
    const auto placeCamera = [&](const QPointF &world) {
        stage.probe.setCamera(world);
        stage.probe.clampCamera();
    };

    constexpr int kLaterLevel = 5;
    core.levels[kLaterLevel].theme = theme;
    core.loadLevel(kLaterLevel);
    placeCamera(start);
    QCOMPARE(keptAgainstExact(QStringLiteral("later level")), QString());
    QCOMPARE(keptAgainstExact(QStringLiteral("later level, kept")), QString());

    core = earlier;
    constexpr int kSteps = 4;
    for (int frame = 0; frame <= kSteps + 1; ++frame) {
        placeCamera(start + std::min(frame, kSteps) * step);
        QCOMPARE(keptAgainstExact(QStringLiteral("step %1").arg(frame)), QString());
    }

    // Then each of the other things the kept picture shows changes in turn.
    const float scale = stage.canvas->baseScale();
    const std::pair<const char *, std::function<void()>> changes[] = {
        { "another theme",
          [&] {
              core.levels[core.levelIndex].theme = (theme + 1) % 4;
          } },
        { "another zoom",
          [&] {
              stage.probe.setZoom(zoom * 1.1f);
              placeCamera(start);
          } },
        { "a larger window at the same scale",
          [&] {
              stage.canvas->setSize(size + QSize(0, 80));
              if (stage.canvas->baseScale() != scale)
                  stage.canvas->setSize(size + QSize(80, 0));
          } },
        { "another screen",
          [&] {
              frameRatio = 3 - ratio;
          } },
    };
    for (const auto &change : changes) {
        change.second();
        QCOMPARE(stage.canvas->baseScale(), scale);
        QCOMPARE(keptAgainstExact(QLatin1String(change.first)), QString());
        QCOMPARE(keptAgainstExact(QLatin1String(change.first) + QLatin1String(", kept")), QString());
    }
}

// Taken back from tick 760 of level 3's solution to 610, before its Digger at 623, the frame is the one a
// fresh run paints at 610 under the same view: nothing kept shows the ground dug since.
void PaintingTest::rewoundFrameIsTheFreshRunsFrame()
{
    CanvasTest::store({ { "progress/unlockedLevel", 3 } });
    Replay plan;
    QVERIFY(readReplayFile(QFINDTESTDATA("../../replays/solutions/level-03-landscape.txt"), &plan, nullptr));
    const auto frameOf = [](const PaintStage &stage) {
        stage.probe.setSelectedCrewId(-1);
        stage.probe.setZoom(2.0f);
        stage.probe.setCamera(QPointF(0.12 * stage.core().worldWidth(), 0.6 * stage.core().worldHeight()));
        return stage.render();
    };
    PaintStage rewound(QSize(960, 540), Landscape);
    CanvasTest::playPlan(*rewound.canvas, plan, true, 760);
    const QImage later = frameOf(rewound);
    QVERIFY(rewound.canvas->rewind(150));
    QCOMPARE(rewound.core().tick, 610);
    const QImage taken = frameOf(rewound);
    QVERIFY(taken != later);

    PaintStage fresh(QSize(960, 540), Landscape);
    CanvasTest::playPlan(*fresh.canvas, plan, true, 610);
    QCOMPARE(taken, frameOf(fresh));
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
