#include "statehash.h"

#include "replay.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <type_traits>
#include <utility>

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

// The run's counters and stock with their names, in the order the traces list them.
template<typename Visit> void visitRun(const GameCore &c, Visit visit)
{
    visit("levelIndex", c.levelIndex);
    visit("layoutMode", qint32(c.layoutMode));
    visit("tick", c.tick);
    visit("spawned", c.spawned);
    visit("saved", c.saved);
    visit("lost", c.lost);
    visit("releaseRate", c.releaseRate);
    visit("spawnCountdown", c.spawnCountdown);
    visit("nextCrewId", c.nextCrewId);
    visit("nextObjectId", c.nextObjectId);
    visit("skillsUsed", c.skillsUsed);
    visit("objectTriggers", c.objectTriggers);
    visit("finished", qint32(c.finished));
    for (int skill = 0; skill < kSkillCount; ++skill)
        visit(QByteArray("skillStock." + skillName(Skill(skill))), qint32(c.skillStock[skill]));
}

template<typename Visit> void visitFields(const CrewMember &m, Visit visit)
{
    visit("id", m.id);
    visit("pos.x", m.pos.x());
    visit("pos.y", m.pos.y());
    visit("direction", m.direction);
    visit("state", qint32(m.state));
    visit("climber", m.climber);
    visit("floater", m.floater);
    visit("active", m.active);
    visit("fallStartY", m.fallStartY);
    visit("vy", m.vy);
    visit("vx", m.vx);
    visit("actionTicks", m.actionTicks);
    visit("bricks", m.bricks);
    visit("idleTicks", m.idleTicks);
    visit("teleportCooldown", m.teleportCooldown);
}

template<typename Visit> void visitFields(const WorldObject &o, Visit visit)
{
    visit("id", o.id);
    visit("type", qint32(o.type));
    visit("rect.x", o.rect.x());
    visit("rect.y", o.rect.y());
    visit("rect.width", o.rect.width());
    visit("rect.height", o.rect.height());
    visit("direction", o.direction);
    visit("link", o.link);
    visit("active", o.active);
    visit("triggered", o.triggered);
}

template<typename Record> QVector<QByteArray> fieldNames()
{
    QVector<QByteArray> names;
    visitFields(Record(), [&names](const auto &name, auto) { names.append(QByteArray(name)); });
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

template<typename Record> void hashRecord(Hasher &hasher, const Record &record)
{
    visitFields(record, [&hasher](const auto &, auto value) { hasher.add(value); });
}

// One short hash per field across the list, which names the field that parts two runs, and one per record,
// which names the member or object.
template<typename Record>
void digestRecords(const QVector<Record> &records, QVector<quint16> &perField, QVector<RecordHash> &perRecord)
{
    QVector<Hasher> fieldHashers(fieldNames<Record>().size());
    for (const Record &record : records) {
        Hasher recordHasher;
        int field = 0;
        visitFields(record, [&](const auto &, auto value) {
            fieldHashers[field++].add(value);
            recordHasher.add(value);
        });
        perRecord.append({ record.id, recordHasher.shortValue() });
    }
    for (const Hasher &hasher : std::as_const(fieldHashers))
        perField.append(hasher.shortValue());
}

quint64 wholeHash(const GameCore &core, quint64 terrain)
{
    Hasher hasher;
    visitRun(core, [&hasher](const auto &, qint32 value) { hasher.add(value); });
    hasher.add(terrain);
    hasher.add(qint32(core.crew.size()));
    for (const CrewMember &member : core.crew)
        hashRecord(hasher, member);
    hasher.add(qint32(core.objects.size()));
    for (const WorldObject &object : core.objects)
        hashRecord(hasher, object);
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
    visitRun(core, [&digest](const auto &, qint32 value) { digest.run.append(value); });
    digest.terrain = quint32(terrain >> 32);
    digestRecords(core.crew, digest.crewFields, digest.members);
    digestRecords(core.objects, digest.objectFields, digest.objects);
    return digest;
}

QVector<QByteArray> runFieldNames()
{
    // Names only: any core will do, and the first one built is kept.
    static const QVector<QByteArray> names = [] {
        QVector<QByteArray> collected;
        visitRun(GameCore(), [&collected](const auto &name, qint32) { collected.append(QByteArray(name)); });
        return collected;
    }();
    return names;
}

QVector<QByteArray> crewFieldNames()
{
    return fieldNames<CrewMember>();
}

QVector<QByteArray> objectFieldNames()
{
    return fieldNames<WorldObject>();
}

} // namespace Pellwick
