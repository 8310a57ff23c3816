#include "painttestsupport.h"

#include <QtTest>

using namespace Pellwick;
using namespace PaintTest;

namespace {

// A landscape world shown 1:1 in a 960 × 540 item, emptied so that each figure is drawn over the scenery
// alone: a world point is the item pixel of the same coordinates.
PaintStage emptyStage(int theme = 0)
{
    PaintStage stage(QSize(960, 540), levelOfTheme(GameCore(), theme), Landscape);
    stage.clearWorld();
    return stage;
}

void addObject(const PaintStage &stage, ObjectType type, const QRectF &rect, int direction = 0)
{
    stage.core().addObject(type, rect, direction, 1);
}

const QPointF kFeet(300.5, 200);

} // namespace

// Objects show their state, and crew members what they are doing and which way they face.
class FigurePaintingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup() { CanvasTest::removeSettings(); }

    void doorShowsWhetherClosed_data();
    void doorShowsWhetherClosed();
    void switchShowsWhetherPressed();
    void laserShowsWhetherOn();
    void gateArrowPointsItsWay_data();
    void gateArrowPointsItsWay();
    void spikesFillTheirStrip_data();
    void spikesFillTheirStrip();
    void inactiveMemberDrawsNothing_data();
    void inactiveMemberDrawsNothing();
    void bodyColourTellsState_data();
    void bodyColourTellsState();
    void figureFacesItsDirection();
    void umbrellaOnlyWhileFloaterFalls_data();
    void umbrellaOnlyWhileFloaterFalls();
    void fuseCountsDownThreeTwoOne_data();
    void fuseCountsDownThreeTwoOne();
};

// A closed door is a dark barred panel; an open one is filled with the brush the theme's scenery left.
void FigurePaintingTest::doorShowsWhetherClosed_data()
{
    QTest::addColumn<int>("theme");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QColor>("fill");

    QTest::newRow("closed") << 0 << true << QColor(68, 75, 84, 230);
    QTest::newRow("open, theme 0") << 0 << false << QColor(31, 74, 61, 120);
    QTest::newRow("open, theme 1") << 1 << false << QColor(50, 58, 62, 95);
    QTest::newRow("open, theme 2") << 2 << false << QColor(125, 72, 61, 75);
    QTest::newRow("open, theme 3") << 3 << false << QColor(15, 24, 39, 150);
}

void FigurePaintingTest::doorShowsWhetherClosed()
{
    QFETCH(int, theme);
    QFETCH(bool, closed);
    QFETCH(QColor, fill);

    const PaintStage stage = emptyStage(theme);
    const QImage bare = stage.render();
    addObject(stage, Door, QRectF(400, 100, 40, 80));
    stage.core().objects.last().active = closed;
    const QImage frame = stage.render();

    // Between the bars at x 406 and 414.
    QVERIFY(near(frame.pixel(410, 140), over(fill, bare.pixel(410, 140)), 2));
    QCOMPARE(near(frame.pixel(406, 140), over(QColor(144, 151, 160), bare.pixel(406, 140)), 2), closed);
}

// A switch turns from amber to green once pressed.
void FigurePaintingTest::switchShowsWhetherPressed()
{
    const PaintStage stage = emptyStage();
    addObject(stage, Switch, QRectF(300, 200, 20, 8));
    QVERIFY(near(stage.render().pixel(310, 204), QColor(104, 82, 38), 1));
    stage.core().objects.last().triggered = true;
    QVERIFY(near(stage.render().pixel(310, 204), QColor(61, 123, 86), 1));
}

// A laser that is on shows a red beam down its middle; one that is off only a faint dashed line.
void FigurePaintingTest::laserShowsWhetherOn()
{
    const PaintStage stage = emptyStage();
    const QImage bare = stage.render();
    addObject(stage, Laser, QRectF(500, 100, 10, 100));
    const QColor beam(255, 74, 74, 210);
    for (int y : { 120, 150, 190 })
        QVERIFY(near(stage.render().pixel(505, y), over(beam, bare.pixel(505, y)), 2));
    stage.core().objects.last().active = false;
    const QImage off = stage.render();
    for (int y : { 120, 150, 190 })
        QVERIFY(qRed(off.pixel(505, y)) < 130);
}

// The arrow's head sits on the side it sends walkers to; a gate of direction 0 points right.
void FigurePaintingTest::gateArrowPointsItsWay_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<bool>("right");

    QTest::newRow("left") << -1 << false;
    QTest::newRow("none") << 0 << true;
    QTest::newRow("right") << 1 << true;
}

void FigurePaintingTest::gateArrowPointsItsWay()
{
    QFETCH(int, direction);
    QFETCH(bool, right);

    const PaintStage stage = emptyStage();
    addObject(stage, DirectionGate, QRectF(600, 100, 30, 40), direction);
    const QImage frame = stage.render();
    int leftInk = 0;
    int rightInk = 0;
    for (int y = 112; y < 128; ++y) {
        for (int x = 605; x < 625; ++x) {
            if (qBlue(frame.pixel(x, y)) > 150)
                ++(x < 615 ? leftInk : rightInk);
        }
    }
    QCOMPARE(rightInk > leftInk + 8, right);
    QCOMPARE(leftInk > rightInk + 8, !right);
}

// The spike count is the width in tens, rounded down, at least one; the teeth widen to fill the strip.
void FigurePaintingTest::spikesFillTheirStrip_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<double>>("tips");

    QTest::newRow("15 wide, one") << 15 << QVector<double> { 7.5 };
    QTest::newRow("20 wide, two") << 20 << QVector<double> { 5, 15 };
    QTest::newRow("35 wide, three") << 35 << QVector<double> { 35 / 6.0, 17.5, 35 * 5 / 6.0 };
}

void FigurePaintingTest::spikesFillTheirStrip()
{
    QFETCH(int, width);
    QFETCH(QVector<double>, tips);

    const PaintStage stage = emptyStage();
    const QImage bare = stage.render();
    addObject(stage, Spikes, QRectF(200, 300, width, 10));
    const QImage frame = stage.render();
    const QColor steel(195, 204, 211);
    // Three rows below the top, a tooth is about 0.35 of its width across; between teeth is bare.
    for (int i = 0; i < tips.size(); ++i) {
        const int tip = int(200 + tips.at(i));
        QVERIFY(near(frame.pixel(tip, 303), steel, 2));
        const int gap = int(200 + width * (i + 1.0) / tips.size());
        if (i + 1 < tips.size())
            QCOMPARE(frame.pixel(gap, 301), bare.pixel(gap, 301));
    }
    // The last tooth ends at the strip's right edge.
    QVERIFY(near(frame.pixel(200 + width - 2, 309), steel, 2));
}

// A saved or lost member draws nothing at all, not even its selection halo.
void FigurePaintingTest::inactiveMemberDrawsNothing_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("selected");

    QTest::newRow("active") << true << false;
    QTest::newRow("active and selected") << true << true;
    QTest::newRow("inactive") << false << false;
    QTest::newRow("inactive and selected") << false << true;
}

void FigurePaintingTest::inactiveMemberDrawsNothing()
{
    QFETCH(bool, active);
    QFETCH(bool, selected);

    const PaintStage stage = emptyStage();
    const QImage bare = stage.render();
    const int id = CanvasTest::placeMember(stage.core(), kFeet);
    stage.core().crew.last().active = active;
    if (selected)
        stage.probe.setSelectedCrewId(id);
    const QRect drawn = differingArea(bare, stage.render());
    QCOMPARE(drawn.isEmpty(), !active);
    if (active)
        QCOMPARE(drawn.top() < kFeet.y() - 28, selected);
}

// The body's colour tells the state; an unknown state looks like a walker.
void FigurePaintingTest::bodyColourTellsState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QColor>("body");

    const QColor worker(224, 119, 92);
    const QColor walker(86, 205, 180);
    QTest::newRow("walking") << int(Walking) << walker;
    QTest::newRow("falling") << int(Falling) << walker;
    QTest::newRow("blocking") << int(Blocking) << QColor(239, 177, 75);
    QTest::newRow("building") << int(Building) << QColor(109, 177, 235);
    QTest::newRow("bashing") << int(Bashing) << worker;
    QTest::newRow("digging") << int(Digging) << worker;
    QTest::newRow("climbing") << int(Climbing) << QColor(133, 194, 239);
    QTest::newRow("mining") << int(Mining) << worker;
    QTest::newRow("demolishing") << int(Demolishing) << QColor(232, 91, 91);
    QTest::newRow("unknown") << 42 << walker;
}

void FigurePaintingTest::bodyColourTellsState()
{
    QFETCH(int, state);
    QFETCH(QColor, body);

    const PaintStage stage = emptyStage();
    CanvasTest::placeMember(stage.core(), kFeet, CrewState(state));
    // The middle of the body, 6 units above the feet, scaled by 1.1.
    QVERIFY(near(stage.render().pixel(300, 193), body, 1));
}

// A member facing left is the mirror image of one facing right: a basher's tool is always ahead of it.
void FigurePaintingTest::figureFacesItsDirection()
{
    const PaintStage stage = emptyStage();
    const QImage bare = stage.render();
    CanvasTest::placeMember(stage.core(), kFeet, Bashing);
    const QRect right = differingArea(bare, stage.render());
    stage.core().crew.last().direction = -1;
    const QRect left = differingArea(bare, stage.render());

    QVERIFY(right.right() > kFeet.x() + 13);
    QVERIFY(right.left() > kFeet.x() - 8);
    QVERIFY(qAbs((kFeet.x() - left.left()) - (right.right() + 1 - kFeet.x())) <= 1);
    QVERIFY(qAbs((left.right() + 1 - kFeet.x()) - (kFeet.x() - right.left())) <= 1);
    QCOMPARE(left.top(), right.top());
    QCOMPARE(left.bottom(), right.bottom());
}

// The umbrella opens only over a floater that is falling.
void FigurePaintingTest::umbrellaOnlyWhileFloaterFalls_data()
{
    QTest::addColumn<bool>("floater");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("umbrella");

    QTest::newRow("floater falling") << true << int(Falling) << true;
    QTest::newRow("floater walking") << true << int(Walking) << false;
    QTest::newRow("plain falling") << false << int(Falling) << false;
}

void FigurePaintingTest::umbrellaOnlyWhileFloaterFalls()
{
    QFETCH(bool, floater);
    QFETCH(int, state);
    QFETCH(bool, umbrella);

    const PaintStage stage = emptyStage();
    const QImage bare = stage.render();
    CanvasTest::placeMember(stage.core(), kFeet, CrewState(state));
    stage.core().crew.last().floater = floater;
    // The head ends 19.5 units up (21.5 pixels); the umbrella reaches 30 units (33 pixels).
    QCOMPARE(differingArea(bare, stage.render()).top() < kFeet.y() - 30, umbrella);
}

// The fuse digit reads 3, 2 and 1 for fifteen ticks each and then stays 1. Pairs of fuse times with the
// same ring size paint alike exactly when they show the same digit.
void FigurePaintingTest::fuseCountsDownThreeTwoOne_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("sameDigit");

    QTest::newRow("3 and 3") << 2 << 14 << true;
    QTest::newRow("3 and 2") << 3 << 15 << false;
    QTest::newRow("2 and 2") << 15 << 27 << true;
    QTest::newRow("2 and 1") << 29 << 41 << false;
    QTest::newRow("1 and 1") << 30 << 42 << true;
    QTest::newRow("1 after the blast time") << 44 << 56 << true;
}

void FigurePaintingTest::fuseCountsDownThreeTwoOne()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, sameDigit);

    const PaintStage stage = emptyStage();
    CanvasTest::placeMember(stage.core(), kFeet, Demolishing);
    stage.core().crew.last().actionTicks = first;
    const QImage before = stage.render();
    stage.core().crew.last().actionTicks = second;
    QCOMPARE(stage.render() == before, sameDigit);
}

QTEST_MAIN(FigurePaintingTest)
#include "tst_figurepainting.moc"
