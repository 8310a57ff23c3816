#include "coretestsupport.h"

#include <QPainter>
#include <QtTest>

using namespace Pellwick;

namespace {

// Soil, grass, strata and blade colours of one ground theme, as painted over air.
struct GroundColours
{
    QRgb soil, grass, strata;
};

// What a translucent band looks like blended over a body colour.
QRgb blended(QRgb body, const QColor &band)
{
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.fill(body);
    QPainter painter(&pixel);
    painter.fillRect(QRect(0, 0, 1, 1), band);
    painter.end();
    return pixel.pixel(0, 0);
}

// One letter per row of a block's column: g grass, s soil, t strata band, ? anything else.
QString rowProfile(const GameCore &core, int x, int top, int rows, const GroundColours &colours)
{
    QString profile;
    for (int y = top; y < top + rows; ++y) {
        const QRgb pixel = core.terrain.pixel(x, y);
        profile += pixel == colours.grass ? 'g'
            : pixel == colours.soil       ? 's'
            : pixel == colours.strata     ? 't'
                                          : '?';
    }
    return profile;
}

} // namespace

class TerrainTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void outsideTheWorldIsAir_data();
    void outsideTheWorldIsAir();
    void groundNeedsAlphaNine_data();
    void groundNeedsAlphaNine();
    void closedDoorIsSolidOverAir();
    void groundRectDecorationRows_data();
    void groundRectDecorationRows();
    void grassBladesStandAboveTheBlock();
    void themesPickTheirPalettes_data();
    void themesPickTheirPalettes();
    void carvingLeavesOnlyCleanAir();
};

void TerrainTest::outsideTheWorldIsAir_data()
{
    addLayoutRows();
}

// Every point outside the world rectangle is air, even when the whole image is ground.
void TerrainTest::outsideTheWorldIsAir()
{
    QFETCH(int, layout);
    GameCore core = emptyWorld(LayoutMode(layout));
    core.terrain.fill(qRgb(0, 0, 0));
    const int w = core.worldWidth();
    const int h = core.worldHeight();
    QVERIFY(core.isSolid(0, 0));
    QVERIFY(core.isSolid(w - 1, h - 1));
    QVERIFY(!core.isSolid(-1, 10));
    QVERIFY(!core.isSolid(w, 10));
    QVERIFY(!core.isSolid(10, -1));
    QVERIFY(!core.isSolid(10, h));
    QVERIFY(!core.isSolid(w + 500, h + 500));
}

void TerrainTest::groundNeedsAlphaNine_data()
{
    QTest::addColumn<uint>("pixel");
    QTest::addColumn<bool>("solid");
    QTest::newRow("alpha 8, black") << 0x08000000u << false;
    QTest::newRow("alpha 8, brightest premultiplied") << 0x08080808u << false;
    QTest::newRow("alpha 9, black") << 0x09000000u << true;
    QTest::newRow("opaque") << 0xff745a2eu << true;
}

// Solidity is carried by alpha alone: 8 is still air, 9 is ground, whatever the colour.
void TerrainTest::groundNeedsAlphaNine()
{
    QFETCH(uint, pixel);
    QFETCH(bool, solid);
    GameCore core = emptyWorld();
    core.terrain.setPixel(40, 50, pixel);
    QCOMPARE(core.isSolid(40, 50), solid);
}

// A closed door is solid over air on its whole rectangle, edges included; opened, the image answers again.
void TerrainTest::closedDoorIsSolidOverAir()
{
    GameCore core = emptyWorld();
    WorldObject door;
    door.type = Door;
    door.rect = QRectF(100, 200, 20, 30);
    core.objects.append(door);
    WorldObject flatDoor = door;
    flatDoor.rect = QRectF(300, 200, 0, 30);
    core.objects.append(flatDoor);

    QVERIFY(core.isSolid(100, 200));
    QVERIFY(core.isSolid(110, 215));
    QVERIFY(core.isSolid(120, 230));
    QVERIFY(!core.isSolid(99, 215));
    QVERIFY(!core.isSolid(121, 215));
    QVERIFY(!core.isSolid(110, 231));
    QVERIFY(!core.isSolid(300, 210));

    core.objects[0].active = false;
    QVERIFY(!core.isSolid(110, 215));
    fillGround(core, QRect(110, 215, 1, 1));
    QVERIFY(core.isSolid(110, 215));
}

void TerrainTest::groundRectDecorationRows_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("profile");
    const QString soil(40, 's');
    QTest::newRow("height 7 is all grass") << 7 << QString("ggggggg");
    QTest::newRow("height 18 has no band") << 18 << QString("ggggggg") + soil.left(11);
    QTest::newRow("height 24 has one band") << 24 << QString("ggggggg") + soil.left(11) + "tt" + soil.left(4);
    QTest::newRow("height 50 has two bands")
        << 50 << QString("ggggggg") + soil.left(11) + "tt" + soil.left(22) + "tt" + soil.left(6);
}

// A soil block has a grass top of up to 7 rows and a 2-row strata band 18 rows below its top, then every 24.
void TerrainTest::groundRectDecorationRows()
{
    QFETCH(int, height);
    QFETCH(QString, profile);
    GameCore core = emptyWorld();
    core.drawGroundRect(100, 200, 60, height);
    const QRgb soil = qRgb(116, 77, 46);
    const GroundColours colours { soil, qRgb(74, 151, 84), blended(soil, QColor(88, 58, 40, 80)) };
    // Column 107 lies between the first blade (103) and the first speck column (111).
    QCOMPARE(rowProfile(core, 107, 200, height, colours), profile);
    QVERIFY(!core.isSolid(107, 200 + height));
}

// Blades make air above a block into ground: upright ones up to 3 rows, leaning ones up to 4.
void TerrainTest::grassBladesStandAboveTheBlock()
{
    GameCore core = emptyWorld();
    core.drawGroundRect(0, 300, 40, 20);
    // Blades are rooted at columns 3 (leaning left), 14 (upright), 25 (leaning right) and 36 (leaning left).
    QVERIFY(core.isSolid(2, 299));
    QVERIFY(core.isSolid(1, 296));
    QVERIFY(core.isSolid(14, 297));
    QVERIFY(!core.isSolid(14, 296));
    QVERIFY(core.isSolid(27, 296));
    QVERIFY(core.isSolid(34, 296));
    for (int x = 0; x < 45; ++x)
        QVERIFY(!core.isSolid(x, 295));
    QVERIFY(!core.isSolid(8, 299));
    QVERIFY(!core.isSolid(19, 299));
}

void TerrainTest::themesPickTheirPalettes_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<QVector<uint>>("palette"); // soil, grass, rock, rock top
    const QVector<uint> standard { qRgb(116, 77, 46), qRgb(74, 151, 84), qRgb(101, 111, 121),
                                   qRgb(130, 141, 151) };
    QTest::newRow("default") << 0 << standard;
    QTest::newRow("muted, default rock")
        << 1
        << QVector<uint> { qRgb(92, 82, 72), qRgb(96, 135, 91), qRgb(101, 111, 121), qRgb(130, 141, 151) };
    QTest::newRow("ember") << 2
                           << QVector<uint> { qRgb(91, 58, 53), qRgb(123, 86, 62), qRgb(84, 65, 65),
                                              qRgb(118, 84, 76) };
    QTest::newRow("night") << 3
                           << QVector<uint> { qRgb(66, 70, 78), qRgb(67, 111, 103), qRgb(69, 78, 95),
                                              qRgb(94, 110, 130) };
    QTest::newRow("4 is default") << 4 << standard;
    QTest::newRow("-1 is default") << -1 << standard;
}

// The current level's theme picks the colours of soil, grass, rock and the rock's top band.
void TerrainTest::themesPickTheirPalettes()
{
    QFETCH(int, theme);
    QFETCH(QVector<uint>, palette);
    GameCore core = emptyWorld();
    core.levels[core.levelIndex].theme = theme;
    core.drawGroundRect(100, 100, 60, 40);
    core.drawRockRect(QRect(300, 100, 60, 40));
    const QVector<uint> painted { core.terrain.pixel(107, 110), core.terrain.pixel(107, 103),
                                  core.terrain.pixel(302, 110), core.terrain.pixel(302, 106) };
    QCOMPARE(painted, palette);
}

// Carving turns soil and rock alike into fully clear air, with no half-transparent edge left behind.
void TerrainTest::carvingLeavesOnlyCleanAir()
{
    GameCore core = emptyWorld();
    core.drawGroundRect(100, 100, 200, 100);
    core.drawRockRect(QRect(180, 90, 60, 110));
    const QImage before = core.terrain.copy();
    core.carveEllipse(QRect(150, 120, 61, 41));
    core.carveRect(QRect(220, 130, 30, 50));

    QVERIFY(!core.isSolid(180, 140));
    QVERIFY(!core.isSolid(200, 140));
    QVERIFY(!core.isSolid(235, 150));
    QVERIFY(core.isSolid(251, 150));
    int blurred = 0;
    for (int y = 0; y < core.worldHeight(); ++y) {
        for (int x = 0; x < core.worldWidth(); ++x) {
            const QRgb pixel = core.terrain.pixel(x, y);
            if (pixel != 0 && pixel != before.pixel(x, y))
                ++blurred;
        }
    }
    QCOMPARE(blurred, 0);
}

QTEST_GUILESS_MAIN(TerrainTest)
#include "tst_terrain.moc"
