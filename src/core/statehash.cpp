#include "statehash.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <type_traits>

namespace Pellwick {

// The hashes are only as portable as the arithmetic they fingerprint: the core is compiled without fused
// multiply-adds and fast-math (src/core/CMakeLists.txt), and these hold wherever it is compiled.
static_assert(FLT_EVAL_METHOD == 0, "floats must round to their own precision, not the x87's wider one");
static_assert(std::is_same<qreal, double>::value, "a Qt built with float coordinates plays other ticks");
#if defined(__FAST_MATH__)
#error "the core must not be compiled with -ffast-math: it rounds differently from build to build"
#endif

namespace {

// FNV-1a over bytes fed in a fixed order, so that nothing of the machine's byte order reaches it.
class Hasher
{
public:
    void add(quint8 byte) { m_hash = (m_hash ^ byte) * 0x100000001b3ull; }
    void add(quint32 value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            add(quint8(value >> shift));
    }
    void add(quint64 value)
    {
        for (int shift = 0; shift < 64; shift += 8)
            add(quint8(value >> shift));
    }
    void add(qint32 value) { add(quint32(value)); }
    void add(bool value) { add(quint8(value ? 1 : 0)); }
    void add(float value)
    {
        quint32 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits);
    }
    void add(double value)
    {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        add(bits);
    }

    // Mixed once more at the end, so that every bit of the short hashes depends on every byte.
    quint64 value() const
    {
        quint64 h = m_hash;
        h = (h ^ (h >> 33)) * 0xff51afd7ed558ccdull;
        h = (h ^ (h >> 33)) * 0xc4ceb9fe1a85ec53ull;
        return h ^ (h >> 33);
    }
    quint16 shortValue() const { return quint16(value() >> 48); }

private:
    quint64 m_hash = 0xcbf29ce484222325ull;
};

template<Skill skill> qint32 stock(const GameCore &core)
{
    return core.skillStock[skill];
}

struct RunField
{
    const char *name;
    qint32 (*value)(const GameCore &);
};

const RunField kRunFields[] = {
    { "levelIndex",
      [](const GameCore &c) {
          return c.levelIndex;
      } },
    { "layoutMode",
      [](const GameCore &c) {
          return qint32(c.layoutMode);
      } },
    { "tick",
      [](const GameCore &c) {
          return c.tick;
      } },
    { "spawned",
      [](const GameCore &c) {
          return c.spawned;
      } },
    { "saved",
      [](const GameCore &c) {
          return c.saved;
      } },
    { "lost",
      [](const GameCore &c) {
          return c.lost;
      } },
    { "releaseRate",
      [](const GameCore &c) {
          return c.releaseRate;
      } },
    { "spawnCountdown",
      [](const GameCore &c) {
          return c.spawnCountdown;
      } },
    { "nextCrewId",
      [](const GameCore &c) {
          return c.nextCrewId;
      } },
    { "nextObjectId",
      [](const GameCore &c) {
          return c.nextObjectId;
      } },
    { "skillsUsed",
      [](const GameCore &c) {
          return c.skillsUsed;
      } },
    { "objectTriggers",
      [](const GameCore &c) {
          return c.objectTriggers;
      } },
    { "finished",
      [](const GameCore &c) {
          return qint32(c.finished);
      } },
    { "skillStock.Climber", stock<Climber> },
    { "skillStock.Floater", stock<Floater> },
    { "skillStock.Blocker", stock<Blocker> },
    { "skillStock.Builder", stock<Builder> },
    { "skillStock.Basher", stock<Basher> },
    { "skillStock.Digger", stock<Digger> },
    { "skillStock.Miner", stock<Miner> },
    { "skillStock.Demolition", stock<Demolition> },
};

template<typename Record> struct Field
{
    const char *name;
    void (*hash)(Hasher &, const Record &);
};

const Field<CrewMember> kCrewFields[] = {
    { "id",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.id);
      } },
    { "pos.x",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.pos.x());
      } },
    { "pos.y",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.pos.y());
      } },
    { "direction",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.direction);
      } },
    { "state",
      [](Hasher &h, const CrewMember &m) {
          h.add(qint32(m.state));
      } },
    { "climber",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.climber);
      } },
    { "floater",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.floater);
      } },
    { "active",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.active);
      } },
    { "fallStartY",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.fallStartY);
      } },
    { "vy",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.vy);
      } },
    { "vx",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.vx);
      } },
    { "actionTicks",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.actionTicks);
      } },
    { "bricks",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.bricks);
      } },
    { "idleTicks",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.idleTicks);
      } },
    { "teleportCooldown",
      [](Hasher &h, const CrewMember &m) {
          h.add(m.teleportCooldown);
      } },
};

const Field<WorldObject> kObjectFields[] = {
    { "id",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.id);
      } },
    { "type",
      [](Hasher &h, const WorldObject &o) {
          h.add(qint32(o.type));
      } },
    { "rect.x",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.rect.x());
      } },
    { "rect.y",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.rect.y());
      } },
    { "rect.width",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.rect.width());
      } },
    { "rect.height",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.rect.height());
      } },
    { "direction",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.direction);
      } },
    { "link",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.link);
      } },
    { "active",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.active);
      } },
    { "triggered",
      [](Hasher &h, const WorldObject &o) {
          h.add(o.triggered);
      } },
};

template<typename Table> QVector<QByteArray> namesOf(const Table &table)
{
    QVector<QByteArray> names;
    for (const auto &field : table)
        names.append(field.name);
    return names;
}

// Which pixels are ground, 64 to a word: all that isSolid reads of the image (closed doors are objects).
quint64 terrainHash(const QImage &terrain)
{
    Hasher hasher;
    hasher.add(qint32(terrain.width()));
    hasher.add(qint32(terrain.height()));
    for (int y = 0; y < terrain.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(terrain.constScanLine(y));
        for (int left = 0; left < terrain.width(); left += 64) {
            const int count = std::min(64, terrain.width() - left);
            quint64 word = 0;
            for (int i = 0; i < count; ++i)
                word |= quint64(isGroundPixel(row[left + i])) << i;
            hasher.add(word);
        }
    }
    return hasher.value();
}

template<typename Record, std::size_t N>
void hashRecord(Hasher &hasher, const Record &record, const Field<Record> (&fields)[N])
{
    for (const Field<Record> &field : fields)
        field.hash(hasher, record);
}

// One short hash per field across the list, which names the field that parts two runs, and one per record,
// which names the member or object.
template<typename Record, std::size_t N>
void digestRecords(const QVector<Record> &records, const Field<Record> (&fields)[N],
                   QVector<quint16> &perField, QVector<RecordHash> &perRecord)
{
    for (const Field<Record> &field : fields) {
        Hasher hasher;
        for (const Record &record : records)
            field.hash(hasher, record);
        perField.append(hasher.shortValue());
    }
    for (const Record &record : records) {
        Hasher hasher;
        hashRecord(hasher, record, fields);
        perRecord.append({ record.id, hasher.shortValue() });
    }
}

quint64 wholeHash(const GameCore &core, quint64 terrain)
{
    Hasher hasher;
    for (const RunField &field : kRunFields)
        hasher.add(field.value(core));
    hasher.add(terrain);
    hasher.add(qint32(core.crew.size()));
    for (const CrewMember &member : core.crew)
        hashRecord(hasher, member, kCrewFields);
    hasher.add(qint32(core.objects.size()));
    for (const WorldObject &object : core.objects)
        hashRecord(hasher, object, kObjectFields);
    return hasher.value();
}

} // namespace

quint64 stateHash(const GameCore &core)
{
    return wholeHash(core, terrainHash(core.terrain));
}

StateDigest digestState(const GameCore &core)
{
    StateDigest digest;
    const quint64 terrain = terrainHash(core.terrain);
    digest.whole = wholeHash(core, terrain);
    for (const RunField &field : kRunFields)
        digest.run.append(field.value(core));
    digest.terrain = quint32(terrain >> 32);
    digestRecords(core.crew, kCrewFields, digest.crewFields, digest.members);
    digestRecords(core.objects, kObjectFields, digest.objectFields, digest.objects);
    return digest;
}

QVector<QByteArray> runFieldNames()
{
    return namesOf(kRunFields);
}

QVector<QByteArray> crewFieldNames()
{
    return namesOf(kCrewFields);
}

QVector<QByteArray> objectFieldNames()
{
    return namesOf(kObjectFields);
}

} // namespace Pellwick
