#include "gamecore.h"
#include "snapshotsupport.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <cmath>
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
constexpr qint32 kInt32Min = std::numeric_limits<qint32>::min();

qint32 int32At(const QByteArray &data, int at)
{
    return qFromBigEndian<qint32>(data.constData() + at);
}

double doubleAt(const QByteArray &data, int at)
{
    const quint64 bits = qFromBigEndian<quint64>(data.constData() + at);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
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

QByteArray pngOf(const QImage &image, const char *format = "PNG")
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return png;
}

QByteArray storedPng(const QByteArray &data)
{
    return data.mid(kImageAt + 4, imageBytes(data));
}

QByteArray withTerrainPng(const QByteArray &data, const QByteArray &png)
{
    QByteArray length(4, '\0');
    qToBigEndian(qint32(png.size()), length.data());
    return data.left(kImageAt) + length + png + data.mid(kImageAt + 4 + imageBytes(data));
}

// The crew record decoded by the offsets of the byte layout, independently of QDataStream.
CrewMember crewRecord(const QByteArray &data, int at)
{
    CrewMember member;
    member.id = int32At(data, at);
    member.pos = QPointF(doubleAt(data, at + 4), doubleAt(data, at + 12));
    member.direction = int32At(data, at + 20);
    member.state = CrewState(int32At(data, at + 24));
    member.climber = data.at(at + 28) == 1;
    member.floater = data.at(at + 29) == 1;
    member.active = data.at(at + 30) == 1;
    member.fallStartY = float(doubleAt(data, at + 31));
    member.vy = float(doubleAt(data, at + 39));
    member.vx = float(doubleAt(data, at + 47));
    member.actionTicks = int32At(data, at + 55);
    member.bricks = int32At(data, at + 59);
    member.idleTicks = int32At(data, at + 63);
    member.teleportCooldown = int32At(data, at + 67);
    return member;
}

WorldObject objectRecord(const QByteArray &data, int at)
{
    WorldObject object;
    object.id = int32At(data, at);
    object.type = ObjectType(int32At(data, at + 4));
    object.rect = QRectF(doubleAt(data, at + 8), doubleAt(data, at + 16), doubleAt(data, at + 24),
                         doubleAt(data, at + 32));
    object.direction = int32At(data, at + 40);
    object.link = int32At(data, at + 44);
    object.active = data.at(at + 48) == 1;
    object.triggered = data.at(at + 49) == 1;
    return object;
}

quint32 pngCrc(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &payload)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(payload.size()), chunk.data());
    chunk += type + payload;
    QByteArray crc(4, '\0');
    qToBigEndian(pngCrc(type + payload), crc.data());
    return chunk + crc;
}

// A well-formed PNG header that declares a size and holds no pixels at all.
QByteArray pngDeclaring(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bits per channel
    header[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IEND", {});
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

// A portrait run that is over, with no two neighbouring header fields alike, so that a field written in
// the wrong place shows.
GameCore finishedPortraitRun()
{
    GameCore core = busyRun(12, Portrait);
    core.finished = true;
    core.lost = 2;
    return core;
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
    GameCore m_finished = finishedPortraitRun();

private Q_SLOTS:
    void headerFieldsSitAtTheirOffsets_data();
    void headerFieldsSitAtTheirOffsets();
    void imageAndRecordsSitAtTheirOffsets();
    void busyRunRoundTripsAndPlaysOnIdentically_data();
    void busyRunRoundTripsAndPlaysOnIdentically();
    void version3IsReadWithoutMinerAndDemolition();
    void storedReleaseRateIsClamped_data();
    void storedReleaseRateIsClamped();
    void valuesAGameCanWriteAreAccepted_data();
    void valuesAGameCanWriteAreAccepted();
    void damagedSnapshotIsRejectedUntouched_data();
    void damagedSnapshotIsRejectedUntouched();
    void restoredTerrainIsPremultipliedWhateverThePng_data();
    void restoredTerrainIsPremultipliedWhateverThePng();
    void compressedTextInThePngIsNeverInflated();
    void encodedTerrainFollowsEveryChange_data();
    void encodedTerrainFollowsEveryChange();
};

// Every fixed field of the header is written big-endian at the offset the stored format gives it.
void SnapshotTest::headerFieldsSitAtTheirOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<qint64>("expected");
    const GameCore &c = m_finished;
    QTest::newRow("magic") << 0 << 4 << qint64(0x504C574B);
    QTest::newRow("version") << 4 << 2 << qint64(4);
    QTest::newRow("levelIndex") << 6 << 4 << qint64(c.levelIndex);
    QTest::newRow("layoutMode") << 10 << 4 << qint64(c.layoutMode);
    QTest::newRow("spawned") << 14 << 4 << qint64(c.spawned);
    QTest::newRow("saved") << 18 << 4 << qint64(c.saved);
    QTest::newRow("lost") << 22 << 4 << qint64(c.lost);
    QTest::newRow("releaseRate") << 26 << 4 << qint64(c.releaseRate);
    QTest::newRow("spawnCountdown") << 30 << 4 << qint64(c.spawnCountdown);
    QTest::newRow("nextCrewId") << 34 << 4 << qint64(c.nextCrewId);
    QTest::newRow("nextObjectId") << 38 << 4 << qint64(c.nextObjectId);
    QTest::newRow("tick") << 42 << 4 << qint64(c.tick);
    QTest::newRow("skillsUsed") << 46 << 4 << qint64(c.skillsUsed);
    QTest::newRow("objectTriggers") << 50 << 4 << qint64(c.objectTriggers);
    QTest::newRow("finished") << 54 << 1 << qint64(c.finished);
    for (int skill = 0; skill < kSkillCount; ++skill)
        QTest::addRow("skillStock[%d]", skill) << 55 + 4 * skill << 4 << qint64(c.skillStock[skill]);
    QTest::newRow("image length") << kImageAt << 4 << qint64(pngOf(c.terrain).size());
}

void SnapshotTest::headerFieldsSitAtTheirOffsets()
{
    QFETCH(int, offset);
    QFETCH(int, bytes);
    QFETCH(qint64, expected);
    const QByteArray data = m_finished.serialize();
    qint64 actual = 0;
    if (bytes == 4)
        actual = int32At(data, offset);
    else if (bytes == 2)
        actual = qFromBigEndian<qint16>(data.constData() + offset);
    else
        actual = quint8(data.at(offset));
    QCOMPARE(actual, expected);
}

// The image is the PNG that QImage writes, followed by the crew and object records of 71 and 50 bytes with
// every field at its offset, and nothing after them.
void SnapshotTest::imageAndRecordsSitAtTheirOffsets()
{
    const QByteArray &data = m_snapshot;
    QCOMPARE(storedPng(data), pngOf(m_busy.terrain));
    QVERIFY(storedPng(data).startsWith("\x89PNG"));
    QCOMPARE(int32At(data, crewAt(data, 0) - 4), m_busy.crew.size());
    for (int i = 0; i < m_busy.crew.size(); ++i)
        QCOMPARE(crewRecord(data, crewAt(data, i)), m_busy.crew.at(i));
    QCOMPARE(int32At(data, objectCountAt(data)), m_busy.objects.size());
    for (int i = 0; i < m_busy.objects.size(); ++i)
        QCOMPARE(objectRecord(data, objectAt(data, i)), m_busy.objects.at(i));
    QCOMPARE(data.size(), objectAt(data, m_busy.objects.size()));
    QCOMPARE(data.size(), 99 + imageBytes(data) + 71 * m_busy.crew.size() + 50 * m_busy.objects.size());
}

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

// A snapshot of the previous format is read with its six skills, and the Miner and Demolition stock is 0.
void SnapshotTest::version3IsReadWithoutMinerAndDemolition()
{
    GameCore original = busyRun(12, Portrait);
    for (CrewMember &member : original.crew)
        member.state = CrewState(std::min(int(member.state), int(Climbing)));
    GameCore restored;
    restored.loadLevel(20); // holds Miner and Demolition stock
    QVERIFY(restored.restore(asVersion3(original.serialize())));
    original.skillStock[Miner] = 0;
    original.skillStock[Demolition] = 0;
    compareRuns(restored, original);
}

// A stored release rate comes back within 1..99.
void SnapshotTest::storedReleaseRateIsClamped_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("restored");
    QTest::newRow("0") << 0 << 1;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("99") << 99 << 99;
    QTest::newRow("100") << 100 << 99;
    QTest::newRow("int max") << kInt32Max << 99;
}

void SnapshotTest::storedReleaseRateIsClamped()
{
    QFETCH(int, stored);
    QFETCH(int, restored);
    GameCore core;
    QVERIFY(core.restore(withInt32(m_snapshot, 26, stored)));
    QCOMPARE(core.releaseRate, restored);
}

// Values a game of ours can store, up to the bounds of the checks, are restored as stored.
void SnapshotTest::valuesAGameCanWriteAreAccepted_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray &s = m_snapshot;
    const int member = crewAt(s, 0);
    const int object = objectAt(s, 0);
    QTest::newRow("200 crew") << withCrewAndObjects(200, 13).serialize();
    QTest::newRow("100 objects") << withCrewAndObjects(12, 100).serialize();
    QTest::newRow("no crew, no objects") << withCrewAndObjects(0, 0).serialize();
    QTest::newRow("level 20") << withInt32(s, 6, 20);
    QTest::newRow("tick a billion") << withInt32(s, 42, 1000000000);
    QTest::newRow("negative stock") << withInt32(s, 55, -3);
    QTest::newRow("member standing still") << withInt32(s, member + 20, 0);
    QTest::newRow("member about to be lost left") << withDouble(s, member + 4, -20.0);
    QTest::newRow("member far above the world") << withDouble(s, member + 12, -10000.0);
    QTest::newRow("member not falling") << withDouble(s, member + 31, -1.0);
    QTest::newRow("speed 100") << withDouble(s, member + 39, -100.0);
    QTest::newRow("action ticks a billion") << withInt32(s, member + 55, 1000000000);
    QTest::newRow("any member id") << withInt32(s, member, kInt32Min);
    QTest::newRow("object of zero size") << withDouble(withDouble(s, object + 24, 0.0), object + 32, 0.0);
    QTest::newRow("object off the world") << withDouble(s, object + 8, -10000.0);
    QTest::newRow("link a million") << withInt32(s, object + 44, 1000000);
    QTest::newRow("link minus a million") << withInt32(s, object + 44, -1000000);
    QTest::newRow("bytes after the objects") << s + QByteArray(16, '\x7f');
}

void SnapshotTest::valuesAGameCanWriteAreAccepted()
{
    QFETCH(QByteArray, data);
    GameCore core;
    QVERIFY(core.restore(data));
    QCOMPARE(core.levelIndex, int32At(data, 6));
    QCOMPARE(core.tick, int32At(data, 42));
    QCOMPARE(core.skillStock[Climber], int32At(data, 55));
    QCOMPARE(core.crew.size(), int32At(data, crewAt(data, 0) - 4));
    for (int i = 0; i < core.crew.size(); ++i)
        QCOMPARE(core.crew.at(i), crewRecord(data, crewAt(data, i)));
    QCOMPARE(core.objects.size(), int32At(data, objectCountAt(data)));
    for (int i = 0; i < core.objects.size(); ++i)
        QCOMPARE(core.objects.at(i), objectRecord(data, objectAt(data, i)));
}

// Every damaged or hostile snapshot is refused, and the refusal changes nothing in the core.
void SnapshotTest::damagedSnapshotIsRejectedUntouched_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray &s = m_snapshot;
    const int member = crewAt(s, 1);
    const int object = objectAt(s, 1);
    const QImage &terrain = m_busy.terrain;

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("wrong magic") << withInt32(s, 0, 0x504C574C);
    QTest::newRow("version 2") << asVersion3(s).replace(5, 1, "\x02", 1);
    QTest::newRow("version 5") << s.left(5) + '\x05' + s.mid(6);
    QTest::newRow("level -1") << withInt32(s, 6, -1);
    QTest::newRow("level 21") << withInt32(s, 6, 21);
    QTest::newRow("layout -1") << withInt32(s, 10, -1);
    QTest::newRow("layout 2") << withInt32(s, 10, 2);
    QTest::newRow("landscape image in portrait") << withInt32(s, 10, Portrait);
    QTest::newRow("image one row short") << withTerrainPng(s, pngOf(terrain.copy(0, 0, 960, 539)));
    QTest::newRow("image declaring 30000 x 30000") << withTerrainPng(s, pngDeclaring(30000, 30000));
    QTest::newRow("image declaring 4 billion wide") << withTerrainPng(s, pngDeclaring(0xffffffffu, 540));
    QTest::newRow("image of the world's size as BMP") << withTerrainPng(s, pngOf(terrain, "BMP"));
    QTest::newRow("image not decodable") << withTerrainPng(s, QByteArray(4000, 'x'));
    QTest::newRow("image null")
        << withTerrainPng(s, QByteArray()).replace(kImageAt, 4, "\xff\xff\xff\xff", 4);
    QTest::newRow("image pixels damaged")
        << s.left(kImageAt + 200) + QByteArray(300, '\0') + s.mid(kImageAt + 500);
    QTest::newRow("crew count -1") << withInt32(s, crewAt(s, 0) - 4, -1);
    QTest::newRow("201 crew") << withCrewAndObjects(201, 13).serialize();
    QTest::newRow("101 objects") << withCrewAndObjects(12, 101).serialize();
    QTest::newRow("object count -1") << withInt32(s, objectCountAt(s), -1);
    QTest::newRow("state -1") << withInt32(s, member + 24, -1);
    QTest::newRow("state 9") << withInt32(s, member + 24, 9);
    QTest::newRow("version 3 with state 7") << asVersion3(s);
    QTest::newRow("type -1") << withInt32(s, object + 4, -1);
    QTest::newRow("type 10") << withInt32(s, object + 4, 10);

    QTest::newRow("truncated in the image length") << s.left(kImageAt + 2);
    QTest::newRow("truncated in the image") << s.left(kImageAt + 4 + imageBytes(s) / 2);
    QTest::newRow("truncated in a member") << s.left(member + 40);
    QTest::newRow("one byte short") << s.left(s.size() - 1);

    // Counters that are negative or so large that a later + 1 could overflow.
    const char *counters[] = { "spawned",    "saved",        "lost", nullptr,      "spawnCountdown",
                               "nextCrewId", "nextObjectId", "tick", "skillsUsed", "objectTriggers" };
    for (int i = 0; i < 10; ++i) {
        if (!counters[i])
            continue;
        QTest::addRow("%s -1", counters[i]) << withInt32(s, 14 + 4 * i, -1);
        QTest::addRow("%s int max", counters[i]) << withInt32(s, 14 + 4 * i, kInt32Max);
    }
    QTest::newRow("tick beyond a billion") << withInt32(s, 42, 1000000001);

    // Member values that no game writes and that rounding, narrowing or a later + 1 cannot take.
    const struct
    {
        const char *name;
        int offset;
        double value;
    } doubles[] = {
        { "x not a number", 4, kNaN },      { "y infinite", 12, kInfinity }, { "x 1e300", 4, 1e300 },
        { "y beyond 10000", 12, -10000.5 }, { "fall start nan", 31, kNaN },  { "fall start 1e40", 31, 1e40 },
        { "vy infinite", 39, -kInfinity },  { "vy beyond 100", 39, 100.5 },  { "vx 1e9", 47, 1e9 },
        { "vx not a number", 47, kNaN },
    };
    for (const auto &field : doubles)
        QTest::addRow("member %s", field.name) << withDouble(s, member + field.offset, field.value);
    QTest::newRow("member direction 2") << withInt32(s, member + 20, 2);
    QTest::newRow("member direction -2") << withInt32(s, member + 20, -2);
    QTest::newRow("action ticks -1") << withInt32(s, member + 55, -1);
    QTest::newRow("action ticks int max") << withInt32(s, member + 55, kInt32Max);
    QTest::newRow("bricks -1") << withInt32(s, member + 59, -1);
    QTest::newRow("bricks int max") << withInt32(s, member + 59, kInt32Max);
    QTest::newRow("idle ticks -1") << withInt32(s, member + 63, -1);
    QTest::newRow("idle ticks beyond a billion") << withInt32(s, member + 63, 1000000001);

    // Object values that would make painting endless or the laser phase overflow.
    QTest::newRow("rect x not a number") << withDouble(s, object + 8, kNaN);
    QTest::newRow("rect y -1e12") << withDouble(s, object + 16, -1e12);
    QTest::newRow("rect width infinite") << withDouble(s, object + 24, kInfinity);
    QTest::newRow("rect width a million") << withDouble(s, object + 24, 1e6);
    QTest::newRow("rect height -1") << withDouble(s, object + 32, -1.0);
    QTest::newRow("object direction 2") << withInt32(s, object + 40, 2);
    QTest::newRow("object direction -2") << withInt32(s, object + 40, -2);
    QTest::newRow("link beyond a million") << withInt32(s, object + 44, 1000001);
    QTest::newRow("link int max") << withInt32(s, object + 44, kInt32Max);
    QTest::newRow("link int min") << withInt32(s, object + 44, kInt32Min);
}

void SnapshotTest::damagedSnapshotIsRejectedUntouched()
{
    QFETCH(QByteArray, data);
    GameCore core;
    core.loadLevel(3);
    core.setLayoutMode(Portrait, true);
    core.step();
    const GameCore before = core;
    QVERIFY(!core.restore(data));
    compareRuns(core, before);
}

// Whatever format the PNG decodes to, the restored terrain is premultiplied and keeps every pixel's alpha.
void SnapshotTest::restoredTerrainIsPremultipliedWhateverThePng_data()
{
    QTest::addColumn<QImage>("image");
    const QImage &terrain = m_busy.terrain;
    QTest::newRow("ARGB32") << terrain.convertToFormat(QImage::Format_ARGB32);
    QTest::newRow("RGB32") << terrain.convertToFormat(QImage::Format_RGB32);
    QTest::newRow("grayscale") << terrain.convertToFormat(QImage::Format_Grayscale8);
#if QT_VERSION >= QT_VERSION_CHECK(5, 12, 0) // older Qts neither make nor read 16-bit images
    QTest::newRow("16 bits per channel") << terrain.convertToFormat(QImage::Format_RGBA64);
#endif
    QImage twoColours(terrain.size(), QImage::Format_Indexed8);
    twoColours.setColorTable({ qRgba(0, 0, 0, 0), qRgba(116, 77, 46, 255) });
    for (int y = 0; y < terrain.height(); ++y) {
        for (int x = 0; x < terrain.width(); ++x)
            twoColours.setPixel(x, y, qAlpha(terrain.pixel(x, y)) >= 9 ? 1 : 0);
    }
    QTest::newRow("palette with transparency") << twoColours;
}

void SnapshotTest::restoredTerrainIsPremultipliedWhateverThePng()
{
    QFETCH(QImage, image);
    GameCore core;
    QVERIFY(core.restore(withTerrainPng(m_snapshot, pngOf(image))));
    QCOMPARE(core.terrain.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(alphaOf(core.terrain), alphaOf(image));
}

// A PNG carrying compressed text is still a terrain, but its text, which could inflate to megabytes, is
// never unpacked.
void SnapshotTest::compressedTextInThePngIsNeverInflated()
{
    const QByteArray png = pngOf(m_busy.terrain);
    constexpr int kAfterHeader = 8 + 25;
    const QByteArray text =
        pngChunk("zTXt", QByteArray("Comment\0\0", 9) + qCompress(QByteArray(100000, 'a')).mid(4));
    GameCore core;
    QVERIFY(core.restore(withTerrainPng(m_snapshot, png.left(kAfterHeader) + text + png.mid(kAfterHeader))));
    QVERIFY(core.terrain.textKeys().isEmpty());
    QCOMPARE(alphaOf(core.terrain), alphaOf(m_busy.terrain));
}

// The snapshot's image is always the encoding of the terrain as it is now, however it was changed, and a
// copy of the core that changes its terrain leaves the original's snapshot alone.
void SnapshotTest::encodedTerrainFollowsEveryChange_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("unchanged") << 0;
    QTest::newRow("carved") << 1;
    QTest::newRow("pixel set") << 2;
    QTest::newRow("level restarted") << 3;
    QTest::newRow("restored") << 4;
}

void SnapshotTest::encodedTerrainFollowsEveryChange()
{
    QFETCH(int, change);
    GameCore core = m_busy;
    const QByteArray before = core.serialize();
    GameCore copy = core;
    switch (change) {
    case 1:
        core.carveEllipse(QRect(100, 380, 60, 60));
        break;
    case 2:
        core.terrain.setPixel(500, 400, 0);
        break;
    case 3:
        core.restartLevel();
        break;
    case 4:
        QVERIFY(core.restore(GameCore().serialize()));
        break;
    }
    QCOMPARE(storedPng(core.serialize()), pngOf(core.terrain));
    QCOMPARE(copy.serialize(), before);
}

QTEST_GUILESS_MAIN(SnapshotTest)
#include "tst_snapshot.moc"
