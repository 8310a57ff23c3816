#include "gamecore.h"
#include "snapshotsupport.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <limits>
#include <utility>

using namespace Pellwick;

namespace {

constexpr int kImageAt = 87;
constexpr int kCrewRecordBytes = 71;
constexpr int kObjectRecordBytes = 50;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr qint32 kInt32Max = std::numeric_limits<qint32>::max();

qint32 int32At(const QByteArray &data, int at)
{
    return qFromBigEndian<qint32>(data.constData() + at);
}

QByteArray withInt32(QByteArray data, int at, qint32 value)
{
    qToBigEndian(value, data.data() + at);
    return data;
}

QByteArray withDouble(QByteArray data, int at, double value)
{
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToBigEndian(bits, data.data() + at);
    return data;
}

int imageBytes(const QByteArray &data)
{
    return int32At(data, kImageAt);
}

int crewAt(const QByteArray &data, int index)
{
    return kImageAt + 4 + imageBytes(data) + 4 + kCrewRecordBytes * index;
}

int objectCountAt(const QByteArray &data)
{
    return crewAt(data, int32At(data, crewAt(data, 0) - 4));
}

int objectAt(const QByteArray &data, int index)
{
    return objectCountAt(data) + 4 + kObjectRecordBytes * index;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QByteArray withTerrainPng(const QByteArray &data, const QByteArray &png)
{
    QByteArray length(4, '\0');
    qToBigEndian(qint32(png.size()), length.data());
    return data.left(kImageAt) + length + png + data.mid(kImageAt + 4 + imageBytes(data));
}

// The terrain's PNG with a text chunk of the given type before its header.
QByteArray withTextChunk(const QByteArray &data, const char *type)
{
    const QByteArray png = data.mid(kImageAt + 4, imageBytes(data));
    const QByteArray chunk = QByteArray("\0\0\0\5", 4) + type + "hello" + QByteArray(4, '\0');
    return withTerrainPng(data, png.left(8) + chunk + png.mid(8));
}

// The snapshot without its terrain, which the same pixels may encode differently.
QByteArray withoutImage(const QByteArray &data)
{
    return data.left(kImageAt) + data.mid(kImageAt + 4 + imageBytes(data));
}

QImage alphaOf(const QImage &image)
{
    return image.convertToFormat(QImage::Format_Alpha8);
}

// The header's counters and flags, in their stored order.
QVector<int> headerValues(const GameCore &core)
{
    QVector<int> values { core.levelIndex,   core.layoutMode,  core.spawned,        core.saved,
                          core.lost,         core.releaseRate, core.spawnCountdown, core.nextCrewId,
                          core.nextObjectId, core.tick,        core.skillsUsed,     core.objectTriggers,
                          int(core.finished) };
    for (int stock : core.skillStock)
        values.append(stock);
    return values;
}

// Everything a run holds apart from the catalogue; the alpha stands for the terrain, as in the simulation.
void compareRuns(const GameCore &actual, const GameCore &expected)
{
    QCOMPARE(headerValues(actual), headerValues(expected));
    QCOMPARE(actual.crew, expected.crew);
    QCOMPARE(actual.objects, expected.objects);
    QCOMPARE(alphaOf(actual.terrain), alphaOf(expected.terrain));
}

// The busy run with its crew and objects repeated or cut to the given numbers.
GameCore withCrewAndObjects(int crewCount, int objectCount)
{
    GameCore core = busyRun(12, Landscape);
    const QVector<CrewMember> crew = std::exchange(core.crew, {});
    const QVector<WorldObject> objects = std::exchange(core.objects, {});
    for (int i = 0; i < crewCount; ++i)
        core.crew.append(crew.at(i % crew.size()));
    for (int i = 0; i < objectCount; ++i)
        core.objects.append(objects.at(i % objects.size()));
    return core;
}

} // namespace

class SnapshotTest : public QObject
{
    Q_OBJECT

private:
    GameCore m_busy = busyRun(12, Landscape);
    QByteArray m_snapshot = m_busy.serialize();

private Q_SLOTS:
    void busyRunRoundTripsAndPlaysOnIdentically_data();
    void busyRunRoundTripsAndPlaysOnIdentically();
    void snapshotIsJudgedByEveryField_data();
    void snapshotIsJudgedByEveryField();
    void recordsDifferingInOneFieldDiffer();
};

// A busy run restored into a fresh core holds the same counters, records and terrain, and both cores play
// the next hundred ticks identically.
void SnapshotTest::busyRunRoundTripsAndPlaysOnIdentically_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("layout");
    QTest::newRow("landscape") << 12 << int(Landscape);
    QTest::newRow("portrait") << 20 << int(Portrait);
}

void SnapshotTest::busyRunRoundTripsAndPlaysOnIdentically()
{
    QFETCH(int, level);
    QFETCH(int, layout);
    GameCore original = busyRun(level, LayoutMode(layout));
    GameCore restored;
    QVERIFY(restored.restore(original.serialize()));
    compareRuns(restored, original);
    QCOMPARE(restored.terrain.format(), QImage::Format_ARGB32_Premultiplied);
    for (int tick = 0; tick < 100; ++tick) {
        original.step();
        restored.step();
        compareRuns(restored, original);
    }
}

// Every damaged or hostile snapshot is refused, and the refusal changes nothing in the core; values at their
// bounds are taken whole.
void SnapshotTest::snapshotIsJudgedByEveryField_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("kept");
    const QByteArray &s = m_snapshot;
    const int member = crewAt(s, 1);
    const int object = objectAt(s, 1);
    const QImage &terrain = m_busy.terrain;

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("wrong magic") << withInt32(s, 0, 0x504C574C) << false;
    QTest::newRow("version 2") << asVersion3(s).replace(5, 1, "\x02", 1) << false;
    QTest::newRow("version 6") << s.left(5) + '\x06' + s.mid(6) << false;
    QTest::newRow("level -1") << withInt32(s, 6, -1) << false;
    QTest::newRow("level 21") << withInt32(s, 6, 21) << false;
    QTest::newRow("image one row short") << withTerrainPng(s, pngOf(terrain.copy(0, 0, 960, 539))) << false;
    QTest::newRow("image null") << withTerrainPng(s, QByteArray()).replace(kImageAt, 4, "\xff\xff\xff\xff", 4)
                                << false;
    QTest::newRow("crew count -1") << withInt32(s, crewAt(s, 0) - 4, -1) << false;
    QTest::newRow("201 crew") << withCrewAndObjects(201, 13).serialize() << false;
    QTest::newRow("101 objects") << withCrewAndObjects(12, 101).serialize() << false;
    QTest::newRow("state 9") << withInt32(s, member + 24, 9) << false;
    QTest::newRow("state -1") << withInt32(s, member + 24, -1) << false;
    QTest::newRow("member direction -2") << withInt32(s, member + 20, -2) << false;
    QTest::newRow("type 10") << withInt32(s, object + 4, 10) << false;
    QTest::newRow("type -1") << withInt32(s, object + 4, -1) << false;

    QTest::newRow("one byte short") << s.left(s.size() - 1) << false;

    // Counters that are negative or so large that a later + 1 could overflow.
    const char *counters[] = { "spawned",    "saved",        "lost", nullptr,      "spawnCountdown",
                               "nextCrewId", "nextObjectId", "tick", "skillsUsed", "objectTriggers" };
    for (int i = 0; i < 10; ++i) {
        if (!counters[i])
            continue;
        QTest::addRow("%s -1", counters[i]) << withInt32(s, 14 + 4 * i, -1) << false;
        QTest::addRow("%s int max", counters[i]) << withInt32(s, 14 + 4 * i, kInt32Max) << false;
    }
    QTest::newRow("tick beyond a billion") << withInt32(s, 42, 1000000001) << false;

    // Member values that no game writes and that rounding, narrowing or a later + 1 cannot take.
    const struct
    {
        const char *name;
        int offset;
        double value;
    } doubles[] = {
        { "x not a number", 4, kNaN },   { "y infinite", 12, kInfinity }, { "x 10000.5", 4, 10000.5 },
        { "fall start 1e40", 31, 1e40 }, { "vy beyond 100", 39, 100.5 },
    };
    for (const auto &field : doubles)
        QTest::addRow("member %s", field.name) << withDouble(s, member + field.offset, field.value) << false;
    QTest::newRow("action ticks int max") << withInt32(s, member + 55, kInt32Max) << false;
    QTest::newRow("idle ticks beyond a billion") << withInt32(s, member + 63, 1000000001) << false;

    // Object values that would make painting endless or the laser phase overflow.
    QTest::newRow("rect height -1") << withDouble(s, object + 32, -1.0) << false;
    QTest::newRow("rect width -0.5") << withDouble(s, object + 24, -0.5) << false;
    QTest::newRow("rect x 10001") << withDouble(s, object + 8, 10001.0) << false;
    QTest::newRow("object direction 2") << withInt32(s, object + 40, 2) << false;
    QTest::newRow("link 1000001") << withInt32(s, object + 44, 1000001) << false;
    QTest::newRow("link -1000001") << withInt32(s, object + 44, -1000001) << false;

    // Values at the very bounds of their fields are kept, and text chunks, which only cost memory, dropped.
    QTest::newRow("member x 10000") << withDouble(s, member + 4, 10000.0) << true;
    QTest::newRow("member y -10000") << withDouble(s, member + 12, -10000.0) << true;
    QTest::newRow("vx -100") << withDouble(s, member + 47, -100.0) << true;
    QTest::newRow("tick a billion") << withInt32(s, 42, 1000000000) << true;
    QTest::newRow("rect of no size") << withDouble(withDouble(s, object + 24, 0.0), object + 32, 0.0) << true;
    QTest::newRow("rect y 10000") << withDouble(s, object + 16, 10000.0) << true;
    QTest::newRow("link 1000000") << withInt32(s, object + 44, 1000000) << true;
    QTest::newRow("link -1000000") << withInt32(s, object + 44, -1000000) << true;
    QTest::newRow("zTXt before the header") << withTextChunk(s, "zTXt") << true;
    QTest::newRow("iTXt before the header") << withTextChunk(s, "iTXt") << true;
}

void SnapshotTest::snapshotIsJudgedByEveryField()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, kept);
    GameCore core;
    core.loadLevel(3);
    core.setLayoutMode(Portrait, true);
    core.step();
    const GameCore before = core;
    QCOMPARE(core.restore(data), kept);
    if (!kept)
        return compareRuns(core, before);
    QCOMPARE(withoutImage(core.serialize()), withoutImage(data));
    QCOMPARE(alphaOf(core.terrain), alphaOf(m_busy.terrain));
}

// Runs are compared record by record, so a member or an object that differs in any one field must differ.
void SnapshotTest::recordsDifferingInOneFieldDiffer()
{
    const CrewMember m = m_busy.crew.at(Falling);
    QVector<CrewMember> members(14, m);
    members[0].id += 1;
    members[1].pos.rx() += 1;
    members[2].direction = -m.direction;
    members[3].state = Walking;
    members[4].climber = !m.climber;
    members[5].floater = !m.floater;
    members[6].active = !m.active;
    members[7].fallStartY += 1;
    members[8].vy += 1;
    members[9].vx += 1;
    members[10].actionTicks += 1;
    members[11].bricks += 1;
    members[12].idleTicks += 1;
    members[13].teleportCooldown += 1;
    for (const CrewMember &changed : members)
        QVERIFY(!(changed == m));

    const WorldObject o = m_busy.objects.at(9);
    QVector<WorldObject> objects(7, o);
    objects[0].id += 1;
    objects[1].type = Water;
    objects[2].rect.moveTop(1);
    objects[3].direction = 1;
    objects[4].link += 1;
    objects[5].active = !o.active;
    objects[6].triggered = !o.triggered;
    for (const WorldObject &changed : objects)
        QVERIFY(!(changed == o));
}

QTEST_GUILESS_MAIN(SnapshotTest)
#include "tst_snapshot.moc"
