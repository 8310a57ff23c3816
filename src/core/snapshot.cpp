#include "gamecore.h"

#include <QBuffer>
#include <QDataStream>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace Pellwick {

namespace {

// The byte layout is a contract with every stored game: version 4 is written for the built-in levels and
// version 5 for the player's own, versions 3 to 5 are read. Version 5 names its level by identity, the
// hash and the name, where version 4 holds the index; the rest is the same.
constexpr qint32 kMagic = 0x504C574B; // "PLWK"
constexpr qint16 kVersion = 4;
constexpr qint16 kCustomLevelVersion = 5;
constexpr qint16 kOldestVersion = 3;
constexpr int kMaxIdentityBytes = 256;
constexpr int kStreamVersion = QDataStream::Qt_5_6;
constexpr int kVersion3Skills = 6;
constexpr int kVersion3LastState = Climbing;
constexpr int kLastState = Demolishing;
constexpr int kMaxCrew = 200;
constexpr int kMaxObjects = 100;
constexpr int kFixedBytes = 99; // everything but the image data and the records
constexpr int kCrewRecordBytes = 71;
constexpr int kObjectRecordBytes = 50;

// Bounds that no game of ours comes near. They keep damaged data from making later arithmetic overflow,
// rounding or narrowing undefined, or painting endless:
// - tick, counters and per-member tick counts: a billion ticks is over a year of play at 30 ticks a second,
//   and leaves room for every later + 1;
constexpr qint32 kMaxCount = 1000000000;
// - positions, fall heights and object rectangles: ten times the world's longer side (members are lost 20
//   units outside the world, and objects lie inside it);
constexpr double kMaxCoordinate = 10000.0;
// - speeds in units per tick: a spring launches at 7.2, a fan pushes at 2.4;
constexpr double kMaxSpeed = 100.0;
// - links: small group keys and laser phases, so tick / 60 + link stays far from overflowing.
constexpr qint32 kMaxLink = 1000000;

// The ten counters in their stored order, between the layout and the finished flag.
constexpr qint32 GameCore::*kCounters[] = {
    &GameCore::spawned,        &GameCore::saved,          &GameCore::lost,         &GameCore::releaseRate,
    &GameCore::spawnCountdown, &GameCore::nextCrewId,     &GameCore::nextObjectId, &GameCore::tick,
    &GameCore::skillsUsed,     &GameCore::objectTriggers,
};

bool isCount(qint32 value)
{
    return value >= 0 && value <= kMaxCount;
}

bool areCounts(std::initializer_list<qint32> values)
{
    return std::all_of(values.begin(), values.end(), isCount);
}

bool isWithin(double value, double bound)
{
    return std::isfinite(value) && std::abs(value) <= bound;
}

bool isDirection(qint32 direction)
{
    return direction >= -1 && direction <= 1;
}

bool isWorldRect(const QRectF &rect)
{
    return isWithin(rect.x(), kMaxCoordinate) && isWithin(rect.y(), kMaxCoordinate)
        && isWithin(rect.width(), kMaxCoordinate) && isWithin(rect.height(), kMaxCoordinate)
        && rect.width() >= 0.0 && rect.height() >= 0.0;
}

// Float fields are stored as doubles; writing them as such keeps the bytes independent of stream settings.
void writeCrewMember(QDataStream &out, const CrewMember &member)
{
    out << member.id << member.pos << member.direction << qint32(member.state) << member.climber
        << member.floater << member.active << double(member.fallStartY) << double(member.vy)
        << double(member.vx) << member.actionTicks << member.bricks << member.idleTicks
        << member.teleportCooldown;
}

void writeObject(QDataStream &out, const WorldObject &object)
{
    out << object.id << qint32(object.type) << object.rect << object.direction << object.link << object.active
        << object.triggered;
}

// The doubles are checked before they are narrowed to float: narrowing one out of range is undefined.
bool readCrewMember(QDataStream &in, int lastState, CrewMember &member)
{
    qint32 state = 0;
    double fallStartY = 0.0;
    double vy = 0.0;
    double vx = 0.0;
    in >> member.id >> member.pos >> member.direction >> state >> member.climber >> member.floater
        >> member.active >> fallStartY >> vy >> vx >> member.actionTicks >> member.bricks >> member.idleTicks
        >> member.teleportCooldown;
    if (state < 0 || state > lastState || !isDirection(member.direction)
        || !isWithin(member.pos.x(), kMaxCoordinate) || !isWithin(member.pos.y(), kMaxCoordinate)
        || !isWithin(fallStartY, kMaxCoordinate) || !isWithin(vy, kMaxSpeed) || !isWithin(vx, kMaxSpeed)
        || !areCounts({ member.actionTicks, member.bricks, member.idleTicks }))
        return false;
    member.state = CrewState(state);
    member.fallStartY = float(fallStartY);
    member.vy = float(vy);
    member.vx = float(vx);
    return true;
}

bool readObject(QDataStream &in, WorldObject &object)
{
    qint32 type = 0;
    in >> object.id >> type >> object.rect >> object.direction >> object.link >> object.active
        >> object.triggered;
    if (type < 0 || type >= kObjectTypeCount || !isWorldRect(object.rect) || !isDirection(object.direction)
        || object.link < -kMaxLink || object.link > kMaxLink)
        return false;
    object.type = ObjectType(type);
    return true;
}

template<typename Record, typename ReadRecord>
bool readRecords(QDataStream &in, int maxCount, QVector<Record> &records, ReadRecord readRecord)
{
    qint32 count = 0;
    in >> count;
    if (count < 0 || count > maxCount)
        return false;
    records.clear();
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        Record record;
        if (!readRecord(in, record))
            return false;
        records.append(record);
    }
    return true;
}

// Compressed text chunks may each inflate to megabytes that the terrain never needs, and a hostile snapshot
// could pile up hundreds of them; they are dropped before decoding. Every chunk that shapes the pixels stays.
QByteArray withoutCompressedText(const QByteArray &png)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (!png.startsWith(signature))
        return png;
    constexpr int kChunkFrame = 12; // length, type and checksum around the chunk's data
    QByteArray kept = signature;
    kept.reserve(png.size());
    int at = signature.size();
    while (png.size() - at >= kChunkFrame) {
        const quint32 length = qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(png.constData() + at));
        if (length > quint32(png.size() - at - kChunkFrame))
            break;
        const int chunkSize = kChunkFrame + int(length);
        const QByteArray type = QByteArray::fromRawData(png.constData() + at + 4, 4);
        if (type != "zTXt" && type != "iTXt")
            kept.append(png.constData() + at, chunkSize);
        at += chunkSize;
    }
    kept.append(png.constData() + at, png.size() - at);
    return kept;
}

// The size in the PNG's header is checked before any pixel memory is taken, so a damaged or hostile size
// costs nothing. A null image means the data is no terrain for this world.
QImage decodeTerrain(const QByteArray &png, const QSize &worldSize)
{
    QBuffer buffer;
    buffer.setData(withoutCompressedText(png));
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    if (reader.size() != worldSize)
        return {};
    const QImage image = reader.read();
    if (image.size() != worldSize)
        return {};
    // The painting primitives and isSolid expect premultiplied pixels whatever the PNG held.
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

const QByteArray &GameCore::encodedTerrain() const
{
    if (terrainPng.isNull() || terrainPngKey != terrain.cacheKey()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        terrain.save(&buffer, "PNG");
        terrainPng = png;
        terrainPngKey = terrain.cacheKey();
    }
    return terrainPng;
}

void GameCore::keepTerrainEncoding(const GameCore &encoded)
{
    if (encoded.terrainPng.isNull() || encoded.terrainPngKey != terrain.cacheKey())
        return;
    terrainPng = encoded.terrainPng;
    terrainPngKey = encoded.terrainPngKey;
}

void GameCore::dropTerrainEncoding()
{
    terrainPng = QByteArray();
    terrainPngKey = 0;
}

QByteArray GameCore::serialize() const
{
    const QByteArray &png = encodedTerrain();
    QByteArray data;
    data.reserve(kFixedBytes + png.size() + kCrewRecordBytes * crew.size()
                 + kObjectRecordBytes * objects.size());
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);

    const LevelSpec &level = currentLevel();
    if (level.isCustom())
        out << kMagic << kCustomLevelVersion << level.hash << level.name;
    else
        out << kMagic << kVersion << levelIndex;
    out << qint32(layoutMode);
    for (qint32 GameCore::*counter : kCounters)
        out << this->*counter;
    out << finished;
    for (int count : skillStock)
        out << qint32(count);
    out << png;
    out << qint32(crew.size());
    for (const CrewMember &member : crew)
        writeCrewMember(out, member);
    out << qint32(objects.size());
    for (const WorldObject &object : objects)
        writeObject(out, object);
    return data;
}

// Everything is read into a copy of this core, which is adopted only when the whole snapshot has passed,
// so a rejected snapshot leaves this core untouched.
bool GameCore::restore(const QByteArray &data, QString *refusal)
{
    if (data.isEmpty())
        return false;
    QDataStream in(data);
    in.setVersion(kStreamVersion);

    qint32 magic = 0;
    qint16 version = 0;
    in >> magic >> version;
    if (magic != kMagic || version < kOldestVersion || version > kCustomLevelVersion)
        return false;

    GameCore next = *this;
    if (version == kCustomLevelVersion) {
        QByteArray hash;
        QString name;
        in >> hash >> name;
        if (in.status() != QDataStream::Ok || hash.size() > kMaxIdentityBytes
            || name.size() > kMaxIdentityBytes)
            return false;
        next.levelIndex = findLevel(name, hash, refusal);
    } else {
        in >> next.levelIndex;
    }
    qint32 layout = 0;
    in >> layout;
    if (next.levelIndex < 0 || next.levelIndex >= levels.size()
        || (layout != Landscape && layout != Portrait))
        return false;
    next.layoutMode = LayoutMode(layout);
    if (!next.currentLevel().layout(next.layoutMode).defined)
        return false;

    for (qint32 GameCore::*counter : kCounters)
        in >> next.*counter;
    in >> next.finished;
    if (!areCounts({ next.spawned, next.saved, next.lost, next.spawnCountdown, next.nextCrewId,
                     next.nextObjectId, next.tick, next.skillsUsed, next.objectTriggers }))
        return false;
    next.releaseRate = std::clamp(next.releaseRate, 1, 99);

    next.skillStock.fill(0);
    const int storedSkills = version >= kVersion ? kSkillCount : kVersion3Skills;
    for (int i = 0; i < storedSkills; ++i) {
        qint32 count = 0;
        in >> count;
        next.skillStock[i] = count;
    }

    QByteArray png;
    in >> png;
    next.terrain = decodeTerrain(png, QSize(next.worldWidth(), next.worldHeight()));
    if (next.terrain.isNull())
        return false;

    const int lastState = version >= kVersion ? kLastState : kVersion3LastState;
    const auto readMember = [lastState](QDataStream &stream, CrewMember &member) {
        return readCrewMember(stream, lastState, member);
    };
    if (!readRecords(in, kMaxCrew, next.crew, readMember)
        || !readRecords(in, kMaxObjects, next.objects, readObject))
        return false;
    if (in.status() != QDataStream::Ok)
        return false;

    *this = std::move(next);
    return true;
}

} // namespace Pellwick
