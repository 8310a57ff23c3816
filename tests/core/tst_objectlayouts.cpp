#include "coretestsupport.h"

#include <QtTest>

#include <QMap>
#include <QSet>

#include <limits>
#include <utility>

using namespace Pellwick;

namespace {

constexpr int kLevelCount = 21;

// What a level's objects are, apart from where they stand.
struct Kind
{
    ObjectType type;
    int direction;
    int link;
    bool operator==(const Kind &other) const
    {
        return type == other.type && direction == other.direction && link == other.link;
    }
};

QVector<Kind> kinds(const QVector<WorldObject> &objects)
{
    QVector<Kind> result;
    for (const WorldObject &object : objects)
        result.append({ object.type, object.direction, object.link });
    return result;
}

// True when some column of the rectangle has ground at its bottom edge and air just above.
bool restsOnSurface(const GameCore &core, const QRectF &rect)
{
    const int bottom = qRound(rect.bottom());
    for (int x = qRound(rect.left()); x < qRound(rect.right()); ++x) {
        if (core.isSolid(x, bottom) && !core.isSolid(x, bottom - 1))
            return true;
    }
    return false;
}

} // namespace

class ObjectLayoutsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bothLayoutsHoldTheSameObjects_data();
    void bothLayoutsHoldTheSameObjects();
    void objectsSitInTheirTerrain_data();
    void objectsSitInTheirTerrain();
    void linksNeverRepeatAcrossLevels();
    void indicesOutsideTheCatalogueHoldNothing();
    void levelSixteenSwitchOpensBothItsDoors();
    void landingOnTheSoilOverLevelNineteensLavaIsSafe_data();
    void landingOnTheSoilOverLevelNineteensLavaIsSafe();
};

void ObjectLayoutsTest::bothLayoutsHoldTheSameObjects_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("count");

    const int counts[kLevelCount] = { 0, 0, 0, 0, 1, 0, 0, 3, 3, 3, 2, 2, 6, 0, 1, 3, 7, 1, 6, 3, 7 };
    for (int index = 0; index < kLevelCount; ++index)
        QTest::addRow("level %d", index) << index << counts[index];
}

// Each level builds its objects with ids 1, 2, 3, ... and the same types, directions and links in both
// layouts.
void ObjectLayoutsTest::bothLayoutsHoldTheSameObjects()
{
    QFETCH(int, index);
    QFETCH(int, count);

    GameCore core = levelCore(index, Landscape);
    const QVector<WorldObject> landscape = core.objects;
    // A change of layout with a restart rebuilds the level's objects in the other layout.
    core.setLayoutMode(Portrait, true);
    const QVector<WorldObject> portrait = core.objects;

    QCOMPARE(landscape.size(), count);
    QCOMPARE(portrait.size(), count);
    QCOMPARE(core.nextObjectId, count + 1);
    for (int i = 0; i < count; ++i) {
        QCOMPARE(landscape.at(i).id, i + 1);
        QCOMPARE(portrait.at(i).id, i + 1);
        QVERIFY(landscape.at(i).active && !landscape.at(i).triggered);
    }
    QVERIFY(kinds(landscape) == kinds(portrait));
}

void ObjectLayoutsTest::objectsSitInTheirTerrain_data()
{
    addLevelRows();
}

// Pools and spikes reach the world's bottom edge; springs, switches and teleporters stand on a surface.
void ObjectLayoutsTest::objectsSitInTheirTerrain()
{
    QFETCH(int, level);
    QFETCH(int, layout);

    const GameCore core = levelCore(level, LayoutMode(layout));
    const QRectF world(0, 0, core.worldWidth(), core.worldHeight());
    for (const WorldObject &object : core.objects) {
        QVERIFY2(world.contains(object.rect), qPrintable(QString::number(object.id)));
        switch (object.type) {
        case Water:
        case Lava:
        case Spikes:
            QCOMPARE(object.rect.bottom(), world.bottom());
            break;
        case Spring:
        case Switch:
        case Teleporter:
            QVERIFY2(restsOnSurface(core, object.rect), qPrintable(QString::number(object.id)));
            break;
        case DirectionGate:
        case Fan:
        case Door:
        case Laser:
            break;
        }
    }
}

// A teleporter pair, a switch with its doors and a fan each own a link that no other level uses.
void ObjectLayoutsTest::linksNeverRepeatAcrossLevels()
{
    QMap<int, int> levelOfLink;
    for (int index = 0; index < kLevelCount; ++index) {
        const GameCore core = levelCore(index, Landscape);
        QMap<int, int> teleporters;
        QSet<int> switches;
        QSet<int> doors;
        for (const WorldObject &object : core.objects) {
            if (object.type == Laser || object.link == 0)
                continue;
            QCOMPARE(levelOfLink.value(object.link, index), index);
            levelOfLink.insert(object.link, index);
            if (object.type == Teleporter)
                ++teleporters[object.link];
            else if (object.type == Switch)
                switches.insert(object.link);
            else if (object.type == Door)
                doors.insert(object.link);
        }
        for (int pairs : std::as_const(teleporters))
            QCOMPARE(pairs, 2);
        QCOMPARE(switches, doors);
    }
    QCOMPARE(levelOfLink.size(), 12);
}

// An index outside 0 to 20 places nothing, whatever the layout.
void ObjectLayoutsTest::indicesOutsideTheCatalogueHoldNothing()
{
    GameCore core = emptyWorld();
    for (int index : { -1, 21, 1000, std::numeric_limits<int>::min() }) {
        core.buildLandscapeObjects(index);
        core.buildPortraitObjects(index);
        core.buildObjects(index);
    }
    QVERIFY(core.objects.isEmpty());
    QCOMPARE(core.nextObjectId, 1);
}

// Level 16's switch is object 2 and opens both doors, objects 3 and 4, in either layout.
void ObjectLayoutsTest::levelSixteenSwitchOpensBothItsDoors()
{
    for (LayoutMode layout : { Landscape, Portrait }) {
        GameCore core = levelCore(16, layout);
        const WorldObject &pressed = core.objects.at(1);
        QCOMPARE(pressed.type, Switch);
        QCOMPARE(pressed.id, 2);
        core.triggerSwitch(pressed.link);
        QCOMPARE(core.objectTriggers, 1);
        QCOMPARE(core.objects.at(2).type, Door);
        QCOMPARE(core.objects.at(3).type, Door);
        QVERIFY(!core.objects.at(2).active && !core.objects.at(3).active);
    }
}

void ObjectLayoutsTest::landingOnTheSoilOverLevelNineteensLavaIsSafe_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<int>("state");
    QTest::addColumn<qreal>("surface");

    QTest::newRow("landscape, stepping off the high block")
        << int(Landscape) << QPointF(440, 329) << int(Walking) << 430.0;
    QTest::newRow("landscape, dropped 100") << int(Landscape) << QPointF(500, 329) << int(Falling) << 430.0;
    // Portrait has no block low enough to step off, so members drop onto the soil between block and rock.
    for (int height : { 95, 97, 99, 101 }) {
        QTest::addRow("portrait, dropped %d", height)
            << int(Portrait) << QPointF(264, 879 - height) << int(Falling) << 880.0;
    }
}

// Level 19's lava lies deep enough that a member landing hard on the soil above it lives and walks on.
void ObjectLayoutsTest::landingOnTheSoilOverLevelNineteensLavaIsSafe()
{
    QFETCH(int, layout);
    QFETCH(QPointF, start);
    QFETCH(int, state);
    QFETCH(qreal, surface);

    GameCore core = levelCore(19, LayoutMode(layout));
    const auto lava = std::find_if(core.objects.cbegin(), core.objects.cend(),
                                   [](const WorldObject &object) { return object.type == Lava; });
    QVERIFY(lava != core.objects.cend());
    const int index = addMember(core, start, CrewState(state));

    runPlacedCrew(core, 300);
    const CrewMember &member = core.crew.at(index);
    QVERIFY(member.active);
    QCOMPARE(core.lost, 0);
    QCOMPARE(member.state, Walking);
    QVERIFY(std::abs(member.pos.y() - (surface - 1)) < 1.0);
    QVERIFY(member.pos.x() >= lava->rect.left() && member.pos.x() <= lava->rect.right());
}

QTEST_GUILESS_MAIN(ObjectLayoutsTest)
#include "tst_objectlayouts.moc"
