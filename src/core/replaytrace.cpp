#include "replaytrace.h"

#include "statehash.h"

#include <QList>
#include <QMap>
#include <QStringList>

namespace Pellwick {

namespace {

const QByteArray kTraceVersion = "pellwick-trace 1\n";

// The sections of a sampled line, in order, after its tick. The head of the file names the columns of the
// three sections of plain values or per-field hashes, so that a trace says what it holds.
const QByteArray kState = "state";
const QByteArray kRun = "run";
const QByteArray kTerrain = "terrain";
const QByteArray kCrewFields = "crew-fields";
const QByteArray kMembers = "members";
const QByteArray kObjectFields = "object-fields";
const QByteArray kObjects = "objects";

QByteArray hex(quint64 value, int digits)
{
    return QByteArray::number(value, 16).rightJustified(digits, '0');
}

QByteArray headLine(const QByteArray &section, const QVector<QByteArray> &names)
{
    QByteArray line = section;
    for (const QByteArray &name : names)
        line += ' ' + name;
    return line + '\n';
}

QByteArray traceHead()
{
    return kTraceVersion + headLine(kRun, runFieldNames()) + headLine(kCrewFields, crewFieldNames())
        + headLine(kObjectFields, objectFieldNames());
}

void appendHashes(QByteArray &line, const QByteArray &section, const QVector<quint16> &hashes)
{
    line += ' ' + section;
    for (quint16 hash : hashes)
        line += ' ' + hex(hash, 4);
}

void appendRecords(QByteArray &line, const QByteArray &section, const QVector<RecordHash> &records)
{
    line += ' ' + section;
    for (const RecordHash &record : records)
        line += ' ' + QByteArray::number(record.id) + ':' + hex(record.hash, 4);
}

QByteArray sampleLine(const GameCore &core)
{
    const StateDigest digest = digestState(core);
    QByteArray line = QByteArray::number(core.tick) + ' ' + kState + ' ' + hex(digest.whole, 16) + ' ' + kRun;
    for (qint32 value : digest.run)
        line += ' ' + QByteArray::number(value);
    line += ' ' + kTerrain + ' ' + hex(digest.terrain, 8);
    appendHashes(line, kCrewFields, digest.crewFields);
    appendRecords(line, kMembers, digest.members);
    appendHashes(line, kObjectFields, digest.objectFields);
    appendRecords(line, kObjects, digest.objects);
    return line + '\n';
}

using Sections = QMap<QByteArray, QList<QByteArray>>;

Sections sectionsOf(const QByteArray &line)
{
    static const QList<QByteArray> names = { kState,   kRun,          kTerrain, kCrewFields,
                                             kMembers, kObjectFields, kObjects };
    Sections sections;
    QByteArray current;
    const QList<QByteArray> tokens = line.split(' ');
    for (int i = 1; i < tokens.size(); ++i) {
        if (names.contains(tokens.at(i)))
            current = tokens.at(i);
        else
            sections[current].append(tokens.at(i));
    }
    return sections;
}

int tickOf(const QByteArray &line)
{
    return line.left(line.indexOf(' ')).toInt();
}

// "member 3" or "members 3, 5".
QString counted(const QString &noun, const QStringList &items)
{
    return noun + (items.size() > 1 ? QStringLiteral("s ") : QStringLiteral(" "))
        + items.join(QStringLiteral(", "));
}

// The named columns whose values differ.
QStringList differingColumns(const QList<QByteArray> &golden, const QList<QByteArray> &played,
                             const QVector<QByteArray> &names)
{
    QStringList columns;
    for (int i = 0; i < names.size(); ++i) {
        if (golden.value(i) != played.value(i))
            columns.append(QString::fromLatin1(names.at(i)));
    }
    return columns;
}

QMap<QByteArray, QByteArray> recordHashes(const QList<QByteArray> &tokens)
{
    QMap<QByteArray, QByteArray> hashes;
    for (const QByteArray &token : tokens) {
        const int colon = token.indexOf(':');
        hashes.insert(token.left(colon), token.mid(colon + 1));
    }
    return hashes;
}

// The ids of the records whose hashes differ or that only one of the runs holds, in list order.
QStringList differingRecords(const QList<QByteArray> &golden, const QList<QByteArray> &played)
{
    const QMap<QByteArray, QByteArray> goldenHashes = recordHashes(golden);
    const QMap<QByteArray, QByteArray> playedHashes = recordHashes(played);
    QStringList ids;
    for (const QByteArray &token : golden + played) {
        const QByteArray id = token.left(token.indexOf(':'));
        if (goldenHashes.value(id) != playedHashes.value(id) && !ids.contains(QString::fromLatin1(id)))
            ids.append(QString::fromLatin1(id));
    }
    return ids;
}

// "member 3 in crew field pos.y": the records whose hashes differ, in the fields whose hashes differ.
QString recordDifference(const Sections &golden, const Sections &played, const QByteArray &recordSection,
                         const QString &record, const QByteArray &fieldSection, const QString &field,
                         const QVector<QByteArray> &fieldNames)
{
    const QStringList ids = differingRecords(golden[recordSection], played[recordSection]);
    const QStringList fields = differingColumns(golden[fieldSection], played[fieldSection], fieldNames);
    QStringList parts;
    if (!ids.isEmpty())
        parts.append(counted(record, ids));
    if (!fields.isEmpty())
        parts.append(counted(field, fields));
    return parts.join(QStringLiteral(" in "));
}

QString sampleDifference(const QByteArray &goldenLine, const QByteArray &playedLine)
{
    const Sections golden = sectionsOf(goldenLine);
    const Sections played = sectionsOf(playedLine);
    QStringList parts = {
        recordDifference(golden, played, kMembers, QStringLiteral("member"), kCrewFields,
                         QStringLiteral("crew field"), crewFieldNames()),
        recordDifference(golden, played, kObjects, QStringLiteral("object"), kObjectFields,
                         QStringLiteral("object field"), objectFieldNames()),
    };
    const QVector<QByteArray> runNames = runFieldNames();
    for (int i = 0; i < runNames.size(); ++i) {
        const QByteArray goldenValue = golden[kRun].value(i);
        const QByteArray playedValue = played[kRun].value(i);
        if (goldenValue != playedValue)
            parts.append(QStringLiteral("run field %1 (golden %2, played %3)")
                             .arg(QString::fromLatin1(runNames.at(i)), QString::fromLatin1(goldenValue),
                                  QString::fromLatin1(playedValue)));
    }
    if (golden[kTerrain] != played[kTerrain])
        parts.append(QStringLiteral("terrain"));
    parts.removeAll(QString());
    if (parts.isEmpty())
        parts.append(QStringLiteral("the state hash, though no part of it differs"));
    return parts.join(QStringLiteral("; "));
}

} // namespace

QByteArray traceReplay(const Replay &replay, GameCore core)
{
    ReplayPlayer player(replay);
    if (!player.start(core))
        return QByteArray();
    QByteArray trace = traceHead();
    const int endTick = replay.endTick();
    for (;;) {
        player.applyDueEvents(core);
        const bool end = core.finished || core.tick >= endTick;
        if (end || core.tick % kTraceInterval == 0)
            trace += sampleLine(core);
        if (end)
            return trace;
        core.step();
    }
}

QString tracePath(const QString &replayPath)
{
    const QLatin1String suffix(".txt");
    const QString stem =
        replayPath.endsWith(suffix) ? replayPath.left(replayPath.size() - suffix.size()) : replayPath;
    return stem + QStringLiteral(".trace");
}

QString traceDifference(const QByteArray &golden, const QByteArray &played)
{
    const QByteArray head = traceHead();
    if (!golden.startsWith(head) || !played.startsWith(head))
        return QStringLiteral("the trace holds other fields than this build hashes: rewrite it with "
                              "pellwick-replay trace");
    const QList<QByteArray> goldenLines = golden.trimmed().split('\n');
    const QList<QByteArray> playedLines = played.trimmed().split('\n');
    QString agreed = QStringLiteral("they differ from the start");
    for (int i = int(head.count('\n')); i < goldenLines.size() || i < playedLines.size(); ++i) {
        const QByteArray goldenLine = goldenLines.value(i);
        const QByteArray playedLine = playedLines.value(i);
        if (goldenLine == playedLine) {
            agreed = QStringLiteral("the runs agree at tick %1").arg(tickOf(goldenLine));
            continue;
        }
        if (goldenLine.isEmpty() || playedLine.isEmpty() || tickOf(goldenLine) != tickOf(playedLine))
            return QStringLiteral(
                       "the runs end apart (%1): the golden run at tick %2, the played one at tick %3")
                .arg(agreed)
                .arg(tickOf(goldenLines.constLast()))
                .arg(tickOf(playedLines.constLast()));
        return QStringLiteral("first difference at tick %1 (%2): %3")
            .arg(tickOf(goldenLine))
            .arg(agreed, sampleDifference(goldenLine, playedLine));
    }
    return QString();
}

} // namespace Pellwick
