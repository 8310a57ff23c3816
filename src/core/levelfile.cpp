#include "levelfile.h"

#include "integertext.h"
#include "replay.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <iterator>
#include <limits>

namespace Pellwick {

namespace {

const QByteArray kMagic = QByteArrayLiteral("pellwick-level");
constexpr int kFormatVersion = 1;
constexpr qint64 kMaxFileSize = 1 << 20;
constexpr int kMaxCrew = 100;
constexpr int kMaxRate = 99;
constexpr int kMaxStock = 99;
constexpr int kMaxNameLength = 60;
constexpr int kMaxBriefingLength = 300;
// Our layouts paint at most six blocks; 400 keeps the painting of a hostile file short. A snapshot holds
// at most 100 objects.
constexpr int kMaxBlocks = 400;
constexpr int kMaxObjects = 100;
constexpr int kMaxLink = 9999;
// Enough of the content's SHA-256 that no two levels share it by chance, or by anyone's design.
constexpr int kHashLength = 32;

const char *const kStageNames[] = { "training", "fieldwork", "rescue-ops", "night-ops" };
const char *const kThemeNames[] = { "default", "muted", "ember", "night" };
const char *const kMaterialNames[] = { "soil", "stone" };

// What follows an object's rectangle.
enum class Extra { None, Direction, Link, OptionalLink };

struct ObjectKind
{
    const char *keyword;
    Extra extra;
    const char *usage;
};

// In ObjectType order.
const ObjectKind kObjectKinds[kObjectTypeCount] = {
    { "water", Extra::None, "water X Y W H" },
    { "lava", Extra::None, "lava X Y W H" },
    { "spikes", Extra::None, "spikes X Y W H" },
    { "spring", Extra::None, "spring X Y W H" },
    { "gate", Extra::Direction, "gate X Y W H left|right" },
    { "teleporter", Extra::Link, "teleporter X Y W H link N" },
    { "fan", Extra::OptionalLink, "fan X Y W H [link N]" },
    { "door", Extra::Link, "door X Y W H link N" },
    { "switch", Extra::Link, "switch X Y W H link N" },
    { "laser", Extra::OptionalLink, "laser X Y W H [link N]" },
};

const QByteArray kLevelFields[] = { "name",     "name-hu", "briefing", "briefing-hu", "crew",
                                    "required", "rate",    "stage",    "theme",       "skills" };

// A field as a message quotes it: a hostile file's megabyte of one word need not be shown whole.
QString fieldText(const QByteArray &field)
{
    constexpr int kQuotedBytes = 40;
    return QString::fromUtf8(field.left(kQuotedBytes));
}

template<size_t N> int indexOfName(const char *const (&names)[N], const QByteArray &field)
{
    const auto found = std::find_if(std::begin(names), std::end(names),
                                    [&field](const char *name) { return field == name; });
    return found == std::end(names) ? -1 : int(found - std::begin(names));
}

int objectTypeOf(const QByteArray &keyword)
{
    for (int type = 0; type < kObjectTypeCount; ++type) {
        if (keyword == kObjectKinds[type].keyword)
            return type;
    }
    return -1;
}

bool isLevelField(const QByteArray &keyword)
{
    return std::find(std::begin(kLevelFields), std::end(kLevelFields), keyword) != std::end(kLevelFields);
}

bool isLayoutField(const QByteArray &keyword)
{
    return keyword == "entry" || keyword == "exit" || indexOfName(kMaterialNames, keyword) >= 0
        || objectTypeOf(keyword) >= 0;
}

QPointF &entryOf(LevelSpec &level, LayoutMode mode)
{
    return mode == Portrait ? level.portraitEntry : level.landscapeEntry;
}

QPointF &exitOf(LevelSpec &level, LayoutMode mode)
{
    return mode == Portrait ? level.portraitExit : level.landscapeExit;
}

// Where each part of the layout being read was written, for the checks made when it is complete.
struct LayoutLines
{
    int header = 0;
    int entry = 0;
    int exit = 0;
    QVector<int> blocks;
    QVector<int> objects;
};

// The messages are for players, who see them in the level chooser, so they are translated where they are
// made, with the game's other texts.
class Reader
{
    Q_DECLARE_TR_FUNCTIONS(GameCanvas)

public:
    Reader(LevelSpec *level, LevelError *error)
        : m_level(level)
        , m_error(error)
    { }

    bool read(const QByteArray &text)
    {
        // An editor's byte order mark is no part of the level.
        const QByteArray bom = QByteArrayLiteral("\xef\xbb\xbf");
        const QList<QByteArray> lines = (text.startsWith(bom) ? text.mid(bom.size()) : text).split('\n');
        for (const QByteArray &line : lines) {
            ++m_line;
            const QByteArray record = line.trimmed();
            if (record.isEmpty() || record.startsWith('#'))
                continue;
            if (!readRecord(record))
                return false;
        }
        return finishFile();
    }

private:
    bool fail(const QString &message) { return failAt(m_line, message); }

    bool failAt(int line, const QString &message)
    {
        if (m_error)
            *m_error = { line, message };
        return false;
    }

    bool expected(const char *usage) { return fail(tr("expected \"%1\"").arg(QLatin1String(usage))); }

    bool readRecord(const QByteArray &record)
    {
        const QList<QByteArray> fields = record.simplified().split(' ');
        const QByteArray &keyword = fields.first();
        if (!m_headerSeen)
            return readHeader(fields);
        if (keyword == "landscape" || keyword == "portrait")
            return beginLayout(fields);
        if (isLevelField(keyword)) {
            if (m_layoutOpen)
                return fail(tr("\"%1\" belongs before the layouts").arg(fieldText(keyword)));
            if (m_seen.contains(keyword))
                return fail(tr("\"%1\" is given twice").arg(fieldText(keyword)));
            m_seen.insert(keyword, m_line);
            return readLevelField(fields, record.mid(keyword.size()));
        }
        if (isLayoutField(keyword)) {
            if (!m_layoutOpen)
                return fail(tr("\"%1\" belongs in a layout: begin one with \"landscape\" or \"portrait\"")
                                .arg(fieldText(keyword)));
            return readLayoutField(fields);
        }
        return fail(tr("unknown field \"%1\"").arg(fieldText(keyword)));
    }

    bool readHeader(const QList<QByteArray> &fields)
    {
        qint32 version = 0;
        if (fields.size() != 2 || fields[0] != kMagic
            || !parseInteger(fields[1], 0, std::numeric_limits<qint32>::max(), &version))
            return fail(tr("not a level file: it must begin with \"%1 %2\"")
                            .arg(QString::fromLatin1(kMagic))
                            .arg(kFormatVersion));
        if (version != kFormatVersion)
            return fail(tr("unsupported level file version %1").arg(version));
        m_headerSeen = true;
        return true;
    }

    bool readLevelField(const QList<QByteArray> &fields, const QByteArray &rest)
    {
        const QByteArray &keyword = fields.first();
        if (keyword == "name")
            return readText(rest, kMaxNameLength, &m_level->name);
        if (keyword == "name-hu")
            return readText(rest, kMaxNameLength, &m_level->hungarianName);
        if (keyword == "briefing")
            return readText(rest, kMaxBriefingLength, &m_level->briefing);
        if (keyword == "briefing-hu")
            return readText(rest, kMaxBriefingLength, &m_level->hungarianBriefing);
        if (keyword == "crew")
            return readCount(fields, "crew N", 1, kMaxCrew, &m_level->crewCount);
        if (keyword == "required")
            return readCount(fields, "required N", 1, kMaxCrew, &m_level->requiredCount);
        if (keyword == "rate")
            return readCount(fields, "rate N", 1, kMaxRate, &m_level->releaseRate);
        if (keyword == "stage")
            return readChoice(fields, kStageNames, "stage training|fieldwork|rescue-ops|night-ops",
                              &m_level->stage);
        if (keyword == "theme")
            return readChoice(fields, kThemeNames, "theme default|muted|ember|night", &m_level->theme);
        return readSkills(fields);
    }

    // The rest of the line, its spaces evened out: one line of plain UTF-8 text.
    bool readText(const QByteArray &rest, int maxLength, QString *field)
    {
        const QString value = QString::fromUtf8(rest);
        if (value.toUtf8() != rest)
            return fail(tr("the text is not UTF-8"));
        const QString simplified = value.simplified();
        if (simplified.isEmpty())
            return fail(tr("the text is missing"));
        if (simplified.size() > maxLength)
            return fail(tr("the text is longer than %1 characters").arg(maxLength));
        const bool control = std::any_of(simplified.cbegin(), simplified.cend(),
                                         [](QChar c) { return c.category() == QChar::Other_Control; });
        if (control)
            return fail(tr("the text holds control characters"));
        *field = simplified;
        return true;
    }

    bool readNumber(const QByteArray &field, int min, int max, qint32 *value)
    {
        if (parseInteger(field, min, max, value))
            return true;
        return fail(tr("bad number \"%1\": expected a whole number from %2 to %3")
                        .arg(fieldText(field))
                        .arg(min)
                        .arg(max));
    }

    bool readCount(const QList<QByteArray> &fields, const char *usage, int min, int max, qint32 *value)
    {
        if (fields.size() != 2)
            return expected(usage);
        return readNumber(fields[1], min, max, value);
    }

    template<size_t N>
    bool readChoice(const QList<QByteArray> &fields, const char *const (&names)[N], const char *usage,
                    qint32 *value)
    {
        const int index = fields.size() == 2 ? indexOfName(names, fields[1]) : -1;
        if (index < 0)
            return expected(usage);
        *value = index;
        return true;
    }

    bool readSkills(const QList<QByteArray> &fields)
    {
        if (fields.size() % 2 != 1)
            return expected("skills SKILL N SKILL N ...");
        std::array<bool, kSkillCount> given {};
        for (int i = 1; i < fields.size(); i += 2) {
            Skill skill = Climber;
            if (!skillFromName(fields[i], &skill))
                return fail(tr("unknown skill \"%1\"").arg(fieldText(fields[i])));
            if (given[skill])
                return fail(tr("\"%1\" is given twice").arg(fieldText(fields[i])));
            given[skill] = true;
            if (!readNumber(fields[i + 1], 0, kMaxStock, &m_level->skills[skill]))
                return false;
        }
        return true;
    }

    bool beginLayout(const QList<QByteArray> &fields)
    {
        if (fields.size() != 1)
            return expected(fields.first() == "portrait" ? "portrait" : "landscape");
        if (m_layoutOpen && !finishLayout())
            return false;
        m_layout = fields.first() == "portrait" ? Portrait : Landscape;
        LevelLayout &layout = m_level->layout(m_layout);
        if (layout.defined)
            return fail(tr("\"%1\" is given twice").arg(fieldText(fields.first())));
        layout.defined = true;
        m_layoutOpen = true;
        m_lines = LayoutLines();
        m_lines.header = m_line;
        return true;
    }

    bool readLayoutField(const QList<QByteArray> &fields)
    {
        const QByteArray &keyword = fields.first();
        if (keyword == "entry")
            return readPoint(fields, &m_lines.entry, &entryOf(*m_level, m_layout));
        if (keyword == "exit")
            return readPoint(fields, &m_lines.exit, &exitOf(*m_level, m_layout));
        const int material = indexOfName(kMaterialNames, keyword);
        if (material >= 0)
            return readBlock(fields, TerrainBlock::Material(material));
        return readObject(fields, ObjectType(objectTypeOf(keyword)));
    }

    bool readPoint(const QList<QByteArray> &fields, int *line, QPointF *point)
    {
        if (*line)
            return fail(tr("\"%1\" is given twice").arg(fieldText(fields.first())));
        if (fields.size() != 3)
            return expected(fields.first() == "entry" ? "entry X Y" : "exit X Y");
        const QSize world = worldSize(m_layout);
        qint32 x = 0;
        qint32 y = 0;
        if (!readNumber(fields[1], 0, world.width() - 1, &x)
            || !readNumber(fields[2], 0, world.height() - 1, &y))
            return false;
        *point = QPointF(x, y);
        *line = m_line;
        return true;
    }

    bool readRect(const QList<QByteArray> &fields, QRect *rect)
    {
        const QSize world = worldSize(m_layout);
        qint32 x = 0;
        qint32 y = 0;
        qint32 w = 0;
        qint32 h = 0;
        if (!readNumber(fields[1], 0, world.width() - 1, &x)
            || !readNumber(fields[2], 0, world.height() - 1, &y)
            || !readNumber(fields[3], 1, world.width(), &w) || !readNumber(fields[4], 1, world.height(), &h))
            return false;
        if (x + w > world.width() || y + h > world.height())
            return fail(tr("the rectangle %1 %2 %3 %4 reaches outside the %5 × %6 world")
                            .arg(x)
                            .arg(y)
                            .arg(w)
                            .arg(h)
                            .arg(world.width())
                            .arg(world.height()));
        *rect = QRect(x, y, w, h);
        return true;
    }

    bool readBlock(const QList<QByteArray> &fields, TerrainBlock::Material material)
    {
        if (fields.size() != 5)
            return expected(material == TerrainBlock::Stone ? "stone X Y W H" : "soil X Y W H");
        QVector<TerrainBlock> &terrain = m_level->layout(m_layout).terrain;
        if (terrain.size() >= kMaxBlocks)
            return fail(tr("a layout holds at most %1 terrain blocks").arg(kMaxBlocks));
        TerrainBlock block;
        block.material = material;
        if (!readRect(fields, &block.rect))
            return false;
        terrain.append(block);
        m_lines.blocks.append(m_line);
        return true;
    }

    bool readObject(const QList<QByteArray> &fields, ObjectType type)
    {
        const ObjectKind &kind = kObjectKinds[type];
        const int extras = int(fields.size()) - 5;
        const bool fits = (kind.extra == Extra::None && extras == 0)
            || (kind.extra == Extra::Direction && extras == 1)
            || (kind.extra == Extra::Link && extras == 2 && fields[5] == "link")
            || (kind.extra == Extra::OptionalLink && (extras == 0 || (extras == 2 && fields[5] == "link")));
        if (!fits)
            return expected(kind.usage);
        QVector<ObjectPlacement> &objects = m_level->layout(m_layout).objects;
        if (objects.size() >= kMaxObjects)
            return fail(tr("a layout holds at most %1 objects").arg(kMaxObjects));
        ObjectPlacement object;
        object.type = type;
        if (!readRect(fields, &object.rect))
            return false;
        if (kind.extra == Extra::Direction) {
            if (fields[5] != "left" && fields[5] != "right")
                return expected(kind.usage);
            object.direction = fields[5] == "left" ? -1 : 1;
        }
        if (extras == 2 && !readNumber(fields[6], 0, kMaxLink, &object.link))
            return false;
        objects.append(object);
        m_lines.objects.append(m_line);
        return true;
    }

    // The checks that need the whole layout: both points given, standing in the open, and every link with
    // its partner.
    bool finishLayout()
    {
        const LevelLayout &layout = m_level->layout(m_layout);
        if (!checkPoint("entry", m_lines.entry, entryOf(*m_level, m_layout))
            || !checkPoint("exit", m_lines.exit, exitOf(*m_level, m_layout)))
            return false;
        for (int i = 0; i < layout.objects.size(); ++i) {
            const ObjectPlacement &object = layout.objects.at(i);
            if (!linkPartnered(layout.objects, object))
                return failAt(m_lines.objects.at(i),
                              tr("link %1 has no partner: teleporters come in pairs, and switches with doors")
                                  .arg(object.link));
        }
        m_layoutOpen = false;
        return true;
    }

    bool checkPoint(const char *name, int line, const QPointF &point)
    {
        if (!line)
            return failAt(m_lines.header, tr("the layout has no \"%1\"").arg(QLatin1String(name)));
        const QVector<TerrainBlock> &terrain = m_level->layout(m_layout).terrain;
        for (int i = 0; i < terrain.size(); ++i) {
            if (terrain.at(i).rect.contains(point.toPoint()))
                return failAt(line,
                              tr("\"%1\" lies inside the terrain of line %2")
                                  .arg(QLatin1String(name))
                                  .arg(m_lines.blocks.at(i)));
        }
        return true;
    }

    static int countLinked(const QVector<ObjectPlacement> &objects, ObjectType type, int link)
    {
        return int(std::count_if(objects.cbegin(), objects.cend(), [type, link](const ObjectPlacement &o) {
            return o.type == type && o.link == link;
        }));
    }

    static bool linkPartnered(const QVector<ObjectPlacement> &objects, const ObjectPlacement &object)
    {
        switch (object.type) {
        case Teleporter:
            return countLinked(objects, Teleporter, object.link) == 2;
        case Switch:
            return countLinked(objects, Door, object.link) > 0;
        case Door:
            return countLinked(objects, Switch, object.link) > 0;
        default:
            return true;
        }
    }

    bool finishFile()
    {
        if (!m_headerSeen)
            return failAt(0, tr("not a level file: it is empty"));
        if (m_layoutOpen && !finishLayout())
            return false;
        if (!m_seen.contains("name"))
            return failAt(0, tr("the file has no \"name\""));
        if (!m_level->landscape.defined && !m_level->portrait.defined)
            return failAt(0, tr("the file has no layout: begin one with \"landscape\" or \"portrait\""));
        if (m_level->requiredCount > m_level->crewCount)
            return failAt(
                std::max(m_seen.value("crew"), m_seen.value("required")),
                tr("%1 required of a crew of %2").arg(m_level->requiredCount).arg(m_level->crewCount));
        return true;
    }

    LevelSpec *m_level;
    LevelError *m_error;
    int m_line = 0;
    bool m_headerSeen = false;
    QHash<QByteArray, int> m_seen; // the line of each level field given
    bool m_layoutOpen = false;
    LayoutMode m_layout = Landscape;
    LayoutLines m_lines;
};

QByteArray rectText(const QRect &rect)
{
    return QByteArray::number(rect.x()) + ' ' + QByteArray::number(rect.y()) + ' '
        + QByteArray::number(rect.width()) + ' ' + QByteArray::number(rect.height());
}

QByteArray pointText(const QPointF &point)
{
    return QByteArray::number(qRound(point.x())) + ' ' + QByteArray::number(qRound(point.y()));
}

QByteArray objectLine(const ObjectPlacement &object)
{
    const ObjectKind &kind = kObjectKinds[object.type];
    QByteArray line = QByteArray(kind.keyword) + ' ' + rectText(object.rect);
    if (kind.extra == Extra::Direction)
        line += object.direction < 0 ? " left" : " right";
    if (kind.extra == Extra::Link || (kind.extra == Extra::OptionalLink && object.link != 0))
        line += " link " + QByteArray::number(object.link);
    return line + '\n';
}

QByteArray layoutText(const char *name, const LevelLayout &layout, const QPointF &entry, const QPointF &exit)
{
    QByteArray text = QByteArray("\n") + name + '\n';
    text += "entry " + pointText(entry) + '\n';
    text += "exit " + pointText(exit) + '\n';
    for (const TerrainBlock &block : layout.terrain)
        text += QByteArray(kMaterialNames[block.material]) + ' ' + rectText(block.rect) + '\n';
    for (const ObjectPlacement &object : layout.objects)
        text += objectLine(object);
    return text;
}

QByteArray textLine(const char *keyword, const QString &value)
{
    return value.isEmpty() ? QByteArray() : QByteArray(keyword) + ' ' + value.toUtf8() + '\n';
}

} // namespace

bool readLevel(const QByteArray &text, LevelSpec *level, LevelError *error)
{
    LevelSpec parsed;
    if (!Reader(&parsed, error).read(text))
        return false;
    parsed.hash = QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex().left(kHashLength);
    *level = parsed;
    return true;
}

QByteArray writeLevel(const LevelSpec &level)
{
    QByteArray text = kMagic + ' ' + QByteArray::number(kFormatVersion) + '\n';
    text += textLine("name", level.name) + textLine("name-hu", level.hungarianName);
    text += textLine("briefing", level.briefing) + textLine("briefing-hu", level.hungarianBriefing);
    text += "crew " + QByteArray::number(level.crewCount) + '\n';
    text += "required " + QByteArray::number(level.requiredCount) + '\n';
    text += "rate " + QByteArray::number(level.releaseRate) + '\n';
    text += QByteArray("stage ") + kStageNames[std::clamp(level.stage, 0, 3)] + '\n';
    text += QByteArray("theme ") + kThemeNames[std::clamp(level.theme, 0, 3)] + '\n';
    QByteArray skills;
    for (int skill = 0; skill < kSkillCount; ++skill) {
        if (level.skills[skill] > 0)
            skills += ' ' + skillName(Skill(skill)) + ' ' + QByteArray::number(level.skills[skill]);
    }
    if (!skills.isEmpty())
        text += "skills" + skills + '\n';
    if (level.landscape.defined)
        text += layoutText("landscape", level.landscape, level.landscapeEntry, level.landscapeExit);
    if (level.portrait.defined)
        text += layoutText("portrait", level.portrait, level.portraitEntry, level.portraitExit);
    return text;
}

bool readLevelFile(const QString &path, LevelSpec *level, LevelError *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = { 0,
                       QCoreApplication::translate("GameCanvas", "cannot open: %1").arg(file.errorString()) };
        return false;
    }
    const QByteArray content = file.read(kMaxFileSize + 1);
    if (content.size() > kMaxFileSize) {
        if (error)
            *error = { 0, QCoreApplication::translate("GameCanvas", "larger than 1 MB") };
        return false;
    }
    return readLevel(content, level, error);
}

QVector<LevelFile> readLevelFolder(const QString &path)
{
    const QDir folder(path);
    const QStringList names = folder.entryList({ QStringLiteral("*.level") }, QDir::Files, QDir::Name);
    QVector<LevelFile> files;
    QHash<QByteArray, QString> fileOfHash;
    for (const QString &name : names) {
        LevelFile file;
        file.fileName = name;
        if (readLevelFile(folder.filePath(name), &file.level, &file.error)) {
            const QString earlier = fileOfHash.value(file.level.hash);
            if (earlier.isEmpty())
                fileOfHash.insert(file.level.hash, name);
            else
                file.error = {
                    0, QCoreApplication::translate("GameCanvas", "the same level as %1").arg(earlier)
                };
        }
        files.append(file);
    }
    return files;
}

} // namespace Pellwick
