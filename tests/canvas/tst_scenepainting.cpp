#include "painttestsupport.h"

#include "busyrun.h"

#include <QtTest>

using namespace Pellwick;
using namespace PaintTest;

// Whole frames at phone and desktop sizes: the sky, the terrain through the camera and the overlays.
class ScenePaintingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void skyGradientFollowsTheme_data();
    void skyGradientFollowsTheme();
    void terrainAppearsWhereTheCameraPutsIt_data();
    void terrainAppearsWhereTheCameraPutsIt();
    void selectionMarkerPointsAtOffscreenMember_data();
    void selectionMarkerPointsAtOffscreenMember();
    void pauseVeilDarkensUnlessFinished_data();
    void pauseVeilDarkensUnlessFinished();
    void overlayTextSizes_data();
    void overlayTextSizes();
    void zoomLabelShowsAboveThreshold_data();
    void zoomLabelShowsAboveThreshold();
    void paintingChangesNothing();
    void keptFramesMatchExactOnes_data();
    void keptFramesMatchExactOnes();
};

// The sky spans the item's whole height in the three stops of the level's theme, wherever the world is.
void ScenePaintingTest::skyGradientFollowsTheme_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("top");
    QTest::addColumn<QColor>("middle");
    QTest::addColumn<QColor>("bottom");

    const QColor stops[4][3] = {
        { QColor(13, 33, 53), QColor(30, 59, 70), QColor(46, 74, 76) },
        { QColor(28, 40, 49), QColor(55, 66, 71), QColor(74, 75, 70) },
        { QColor(45, 24, 37), QColor(90, 43, 48), QColor(129, 68, 48) },
        { QColor(5, 12, 30), QColor(15, 28, 53), QColor(31, 44, 61) },
    };
    for (int theme = 0; theme < 4; ++theme) {
        for (const QSize &size : { QSize(960, 540), QSize(1920, 1080) }) {
            QTest::addRow("theme %d at %dx%d", theme, size.width(), size.height())
                << theme << size << stops[theme][0] << stops[theme][1] << stops[theme][2];
        }
    }
}

void ScenePaintingTest::skyGradientFollowsTheme()
{
    QFETCH(int, theme);
    QFETCH(QSize, size);
    QFETCH(QColor, top);
    QFETCH(QColor, middle);
    QFETCH(QColor, bottom);

    // A portrait world in a wide item leaves bare sky beside it, from the top edge to the bottom edge.
    PaintStage stage(size, levelOfTheme(GameCore(), theme), Portrait);
    const QImage frame = stage.render();
    QVERIFY(near(frame.pixel(2, 0), top, 2));
    QVERIFY(near(frame.pixel(2, qRound(size.height() * 0.55)), middle, 2));
    QVERIFY(near(frame.pixel(2, size.height() - 1), bottom, 2));
}

// One world unit covers zoom × base scale pixels, centred on the camera, and is never smoothed, not even
// on the painter Qt Quick hands an antialiased item, which asks for smooth image scaling.
void ScenePaintingTest::terrainAppearsWhereTheCameraPutsIt_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("layout");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<bool>("quickPainter");

    QTest::newRow("phone portrait, zoom 1") << QSize(540, 960) << int(Portrait) << 1.0f << false;
    QTest::newRow("phone portrait, zoom 3.5") << QSize(540, 960) << int(Portrait) << 3.5f << false;
    QTest::newRow("phone landscape, zoom 2.46") << QSize(960, 540) << int(Landscape) << 2.460375f << false;
    QTest::newRow("desktop, zoom 1") << QSize(1920, 1080) << int(Landscape) << 1.0f << false;
    QTest::newRow("desktop, zoom 3.5") << QSize(1920, 1080) << int(Landscape) << 3.5f << false;
    QTest::newRow("portrait world on desktop, zoom 1.35")
        << QSize(1920, 1080) << int(Portrait) << 1.35f << false;
    QTest::newRow("desktop, zoom 3.5, Qt Quick painter")
        << QSize(1920, 1080) << int(Landscape) << 3.5f << true;
    QTest::newRow("phone portrait, zoom 2.46, Qt Quick painter")
        << QSize(540, 960) << int(Portrait) << 2.460375f << true;
}

void ScenePaintingTest::terrainAppearsWhereTheCameraPutsIt()
{
    QFETCH(QSize, size);
    QFETCH(int, layout);
    QFETCH(float, zoom);
    QFETCH(bool, quickPainter);

    PaintStage stage(size, 0, LayoutMode(layout));
    stage.clearWorld();
    const QColor ground(200, 30, 170);
    const QColor vein(20, 230, 40);
    const QRect block(200, 300, 12, 12);
    QPainter(&stage.core().terrain).fillRect(block, ground);
    stage.core().terrain.setPixelColor(206, 306, vein);
    stage.probe.setZoom(zoom);
    stage.centreOn(QPointF(230, 290));
    const QPainter::RenderHints quickHints =
        QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform;
    const QImage frame = stage.render(nullptr, quickPainter ? quickHints : QPainter::RenderHints());

    // The pixel whose area holds the world point.
    const auto pixelAt = [&](double x, double y) {
        const QPointF p = stage.canvas->worldToItem(QPointF(x, y));
        return frame.pixel(int(std::floor(p.x())), int(std::floor(p.y())));
    };
    QVERIFY(near(pixelAt(202.5, 302.5), ground, 0));
    QVERIFY(near(pixelAt(210.5, 310.5), ground, 0));
    QVERIFY(!near(pixelAt(197, 306), ground, 60));
    QVERIFY(!near(pixelAt(215, 306), ground, 60));
    QVERIFY(!near(pixelAt(206, 316), ground, 60));
    if (stage.canvas->baseScale() * zoom >= 2) {
        // Nearest-neighbour scaling keeps the single vein unit sharp right up to its edges.
        QVERIFY(near(pixelAt(206.5, 306.5), vein, 0));
        QVERIFY(near(pixelAt(206.3, 306.3), vein, 0));
        QVERIFY(near(pixelAt(206.7, 306.7), vein, 0));
        QVERIFY(near(pixelAt(207.3, 306.5), ground, 0));
    }
}

// A selected member beyond the 20-pixel inset gets an arrow on the inset's edge, tip toward it; a member
// on screen, or one no longer active, gets none.
void ScenePaintingTest::selectionMarkerPointsAtOffscreenMember_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QPoint>("direction");

    for (const QSize &size : { QSize(540, 960), QSize(960, 540), QSize(1920, 1080) }) {
        const int w = size.width();
        const int h = size.height();
        QTest::addRow("%dx%d right", w, h) << size << QPointF(200, 0) << true << QPoint(1, 0);
        QTest::addRow("%dx%d left", w, h) << size << QPointF(-200, 0) << true << QPoint(-1, 0);
        QTest::addRow("%dx%d above", w, h) << size << QPointF(0, -250) << true << QPoint(0, -1);
        QTest::addRow("%dx%d below", w, h) << size << QPointF(0, 250) << true << QPoint(0, 1);
        QTest::addRow("%dx%d on screen", w, h) << size << QPointF(15, 10) << true << QPoint();
        QTest::addRow("%dx%d saved", w, h) << size << QPointF(200, 0) << false << QPoint();
    }
}

void ScenePaintingTest::selectionMarkerPointsAtOffscreenMember()
{
    QFETCH(QSize, size);
    QFETCH(QPointF, offset);
    QFETCH(bool, active);
    QFETCH(QPoint, direction);

    const LayoutMode layout = size.width() > size.height() ? Landscape : Portrait;
    PaintStage stage(size, 0, layout);
    stage.clearWorld();
    stage.probe.setZoom(3.5f);
    const QPointF centre(stage.core().worldWidth() / 2.0, stage.core().worldHeight() / 2.0);
    const int id = CanvasTest::placeMember(stage.core(), centre + offset);
    stage.core().crew.last().active = active;
    const QImage unselected = stage.render();
    stage.probe.setSelectedCrewId(id);
    const QImage selected = stage.render();

    const QRect inset = QRect(QPoint(0, 0), size).adjusted(20, 20, -20, -20);
    const QRect changed = differingArea(unselected, selected);
    if (direction.isNull()) {
        QVERIFY(active ? inset.contains(changed) : changed.isEmpty());
        return;
    }
    // The arrow is anchored where the line from the centre to the member leaves the inset, at the
    // middle of an edge here; it reaches 10 pixels beyond that point toward the member and 6 behind it.
    const QPointF edge(direction.x() == 0      ? size.width() / 2.0
                           : direction.x() > 0 ? size.width() - 20.0
                                               : 20.0,
                       direction.y() == 0      ? size.height() / 2.0
                           : direction.y() > 0 ? size.height() - 20.0
                                               : 20.0);
    const QPoint ahead = (edge + QPointF(direction) * 4).toPoint();
    const QPoint behind = (edge - QPointF(direction) * 9).toPoint();
    const QRgb tip = selected.pixel(ahead);
    QVERIFY(qRed(tip) > 200 && qGreen(tip) > 170 && qBlue(tip) < 150);
    QCOMPARE(selected.pixel(behind), unselected.pixel(behind));
    QVERIFY(QRectF(edge - QPointF(11, 11), QSizeF(22, 22)).contains(changed));
}

// The veil darkens the play field and says "PAUSED", but not once the level is over.
void ScenePaintingTest::pauseVeilDarkensUnlessFinished_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("finished");

    for (const QSize &size : { QSize(540, 960), QSize(960, 540), QSize(1920, 1080) }) {
        const int w = size.width();
        const int h = size.height();
        QTest::addRow("%dx%d running", w, h) << size << false;
        QTest::addRow("%dx%d finished", w, h) << size << true;
    }
}

void ScenePaintingTest::pauseVeilDarkensUnlessFinished()
{
    QFETCH(QSize, size);
    QFETCH(bool, finished);

    PaintStage stage(size, 0, size.width() > size.height() ? Landscape : Portrait);
    stage.core().finished = finished;
    const QImage running = stage.render();
    stage.canvas->setPaused(true);
    const QImage paused = stage.render();

    if (finished) {
        QCOMPARE(paused, running);
        return;
    }
    const QColor veil(0, 0, 0, 65);
    for (const QPoint &p : { QPoint(5, 5), QPoint(size.width() - 5, size.height() / 3),
                             QPoint(size.width() / 4, size.height() - 5) })
        QVERIFY(near(paused.pixel(p), over(veil, running.pixel(p)), 1));
    int lettering = 0;
    for (int y = size.height() / 2 - 40; y < size.height() / 2 + 40; ++y) {
        for (int x = size.width() / 4; x < size.width() * 3 / 4; ++x) {
            const QColor white(255, 255, 255);
            lettering += near(paused.pixel(x, y), white, 40) && !near(running.pixel(x, y), white, 40) ? 1 : 0;
        }
    }
    QVERIFY(lettering > 20);
}

// The pause text is 6 % and the zoom label 2.5 % of the short side (at least 11), the label bold after
// the veil; on a tiny item the pause text keeps a size of at least one pixel.
void ScenePaintingTest::overlayTextSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("phone portrait paused") << QSize(540, 960) << true << 1.0f << 32 << true;
    QTest::newRow("phone portrait zoom label") << QSize(540, 960) << false << 2.0f << 14 << false;
    QTest::newRow("label after veil") << QSize(540, 960) << true << 2.0f << 14 << true;
    QTest::newRow("desktop paused") << QSize(1920, 1080) << true << 1.0f << 65 << true;
    QTest::newRow("desktop zoom label") << QSize(1920, 1080) << false << 3.5f << 27 << false;
    QTest::newRow("short side 400 label") << QSize(700, 400) << false << 1.5f << 11 << false;
    QTest::newRow("tiny item paused") << QSize(8, 8) << true << 1.0f << 1 << true;
}

void ScenePaintingTest::overlayTextSizes()
{
    QFETCH(QSize, size);
    QFETCH(bool, paused);
    QFETCH(float, zoom);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);

    PaintStage stage(size, 0, Landscape);
    stage.canvas->setPaused(paused);
    stage.probe.setZoom(zoom);
    QFont font;
    stage.render(&font);
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
}

// The label appears only above 1.01 and shows the zoom to one decimal with a multiplication sign, in the
// top right corner of the play field.
void ScenePaintingTest::zoomLabelShowsAboveThreshold_data()
{
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QString>("text");

    QTest::newRow("1.01") << 1.01f << QString();
    QTest::newRow("1.02") << 1.02f << QStringLiteral("1.0\u00d7");
    QTest::newRow("1.35") << 1.35f << QStringLiteral("1.4\u00d7");
    QTest::newRow("3.5") << 3.5f << QStringLiteral("3.5\u00d7");
}

void ScenePaintingTest::zoomLabelShowsAboveThreshold()
{
    QFETCH(float, zoom);
    QFETCH(QString, text);

    // The camera shows the world's top right corner, where only the sky lies under the label.
    PaintStage stage(QSize(960, 540), 0, Landscape);
    stage.clearWorld();
    const auto frameAt = [&](float value) {
        stage.probe.setZoom(value);
        stage.centreOn(QPointF(960 - 480 / value, 270 / value));
        return stage.render();
    };
    QImage expected = frameAt(1.0f);
    QPainter painter(&expected);
    QFont font;
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 120));
    painter.drawText(QRectF(8, 6, 944, 528), Qt::AlignRight | Qt::AlignTop, text);
    painter.end();

    const QRect labelArea(760, 0, 200, 40);
    QCOMPARE(frameAt(zoom).copy(labelArea), expected.copy(labelArea));
}

// Painting reads the game and changes nothing: the same state paints the same frame, and the terrain
// image is neither modified nor copied.
void ScenePaintingTest::paintingChangesNothing()
{
    PaintStage stage(QSize(960, 540), levelOfTheme(GameCore(), 3), Landscape);
    for (int i = 0; i < 240; ++i)
        stage.core().step();
    QVERIFY(!stage.core().crew.isEmpty());
    stage.probe.setSelectedCrewId(stage.core().crew.first().id);
    stage.probe.setZoom(1.8f);
    stage.canvas->setPaused(true);
    const QVector<CrewMember> crew = stage.core().crew;
    const QVector<WorldObject> objects = stage.core().objects;
    const qint64 terrainKey = stage.core().terrain.cacheKey();
    const QPointF camera = stage.probe.camera();

    const QImage first = stage.render();
    QCOMPARE(stage.render(), first);
    QCOMPARE(stage.core().crew, crew);
    QCOMPARE(stage.core().objects, objects);
    QCOMPARE(stage.core().terrain.cacheKey(), terrainKey);
    QCOMPARE(stage.probe.camera(), camera);
    QCOMPARE(stage.probe.zoom(), 1.8f);
}

// A frame that reuses the sky and scenery and leaves out what is off screen looks like the frame painted from
// nothing: off by at most 2 in a channel, on at most one pixel in a thousand. The view moves between the
// two frames, so the kept backdrop has to follow it.
void ScenePaintingTest::keptFramesMatchExactOnes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("theme");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<QPointF>("cameraShare"); // of the world's width and height

    QTest::newRow("phone, towers, whole world") << QSize(1080, 2520) << 1 << 1.0f << QPointF(0.5, 0.5);
    QTest::newRow("desktop, pines, left corner") << QSize(1920, 1080) << 0 << 3.5f << QPointF(0.1, 0.9);
    QTest::newRow("window, clouds, right edge") << QSize(960, 540) << 2 << 2.0f << QPointF(0.95, 0.3);
    QTest::newRow("phone, night, middle") << QSize(1560, 720) << 3 << 2.7f << QPointF(0.4, 0.6);
}

void ScenePaintingTest::keptFramesMatchExactOnes()
{
    QFETCH(QSize, size);
    QFETCH(int, theme);
    QFETCH(float, zoom);
    QFETCH(QPointF, cameraShare);

    const LayoutMode layout = size.width() > size.height() ? Landscape : Portrait;
    PaintStage stage(size, levelOfTheme(GameCore(), theme), layout);
    BusyRun::play(stage.core());
    stage.probe.setSelectedCrewId(BusyRun::firstActiveId(stage.core()));
    stage.probe.setZoom(zoom);
    stage.render();
    stage.centreOn(
        QPointF(cameraShare.x() * stage.core().worldWidth(), cameraShare.y() * stage.core().worldHeight()));
    stage.probe.clampCamera();

    const QImage kept = stage.render();
    QImage exact(size, QImage::Format_ARGB32_Premultiplied);
    exact.fill(Qt::black);
    QPainter painter(&exact);
    stage.probe.paintExactly(&painter);
    painter.end();

    int differing = 0;
    int worst = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb a = kept.pixel(x, y);
            const QRgb b = exact.pixel(x, y);
            const int off = std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                       std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b)) });
            differing += off > 0;
            worst = std::max(worst, off);
        }
    }
    QVERIFY2(worst <= 2, qPrintable(QStringLiteral("a channel off by %1").arg(worst)));
    QVERIFY2(differing * 1000 <= size.width() * size.height(), qPrintable(QString::number(differing)));
}

QTEST_MAIN(ScenePaintingTest)
#include "tst_scenepainting.moc"
