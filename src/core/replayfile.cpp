#include "integertext.h"
#include "replay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace Pellwick {

namespace {

const QByteArray kMagic = QByteArrayLiteral("pellwick-replay");
constexpr int kFormatVersion = 1;
constexpr int kLevelCount = 21;
// A day of play at normal speed: no attempt of ours lasts that long, and a hostile tick cannot make the
// headless player run for ever.
constexpr qint64 kMaxTick = 30 * 60 * 60 * 24;
// Far outside every world, yet small enough that the core's float arithmetic stays defined.
constexpr double kMaxCoordinate = 1.0e6;
// A long attempt holds a few hundred events of some 40 bytes; anything far larger is not a replay.
constexpr qint64 kMaxFileSize = 1 << 20;
constexpr int kMaxHashLength = 64;
constexpr qint64 kMaxInt = std::numeric_limits<qint32>::max();
constexpr qint64 kMinInt = std::numeric_limits<qint32>::min();

bool parseCoordinate(const QByteArray &field, double *value)
{
    for (const char c : field) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
        if (!allowed)
            return false;
    }
    bool ok = false;
    const double number = field.toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::abs(number) > kMaxCoordinate)
        return false;
    *value = number;
    return true;
}

QByteArray coordinateText(double value)
{
    // The shortest text that reads back as the same double, independent of the locale and of Qt.
    char text[32];
    const auto written = std::to_chars(std::begin(text), std::end(text), value);
    return QByteArray(text, int(written.ptr - text));
}

class Reader
{
public:
    Reader(Replay *replay, ReplayError *error)
        : m_replay(replay)
        , m_error(error)
    { }

    bool read(const QByteArray &text)
    {
        const QList<QByteArray> lines = text.split('\n');
        for (QByteArray line : lines) {
            ++m_line;
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            if (!readRecord(line.split(' ')))
                return false;
        }
        return finishFile();
    }

private:
    bool fail(const QString &message)
    {
        if (m_error) {
            m_error->line = m_line;
            m_error->message = message;
        }
        return false;
    }

    bool readRecord(const QList<QByteArray> &fields)
    {
        if (fields.contains(QByteArray()))
            return fail(QStringLiteral("fields must be separated by single spaces"));
        if (!m_headerSeen)
            return readHeader(fields);
        if (m_replay->hasResult)
            return fail(QStringLiteral("nothing may follow the result"));
        const QByteArray &keyword = fields.first();
        if (keyword == "level")
            return readLevel(fields);
        if (keyword == "custom-level")
            return readCustomLevel(fields);
        if (keyword == "layout")
            return readLayout(fields);
        if (keyword == "result")
            return readResult(fields);
        if (!keyword.isEmpty() && (keyword[0] == '-' || (keyword[0] >= '0' && keyword[0] <= '9')))
            return readEvent(fields);
        return fail(QStringLiteral("unknown keyword \"%1\"").arg(QString::fromUtf8(keyword)));
    }

    bool readHeader(const QList<QByteArray> &fields)
    {
        qint32 version = 0;
        if (fields.size() != 2 || fields[0] != kMagic || !parseInteger(fields[1], kMinInt, kMaxInt, &version))
            return fail(QStringLiteral("not a replay: the first record must be \"pellwick-replay %1\"")
                            .arg(kFormatVersion));
        if (version != kFormatVersion)
            return fail(QStringLiteral("unsupported replay version %1").arg(version));
        m_headerSeen = true;
        return true;
    }

    bool readLevel(const QList<QByteArray> &fields)
    {
        if (m_levelSeen)
            return fail(QStringLiteral("the level is given twice"));
        if (fields.size() != 2)
            return fail(QStringLiteral("expected \"level N\""));
        if (!parseInteger(fields[1], 0, kLevelCount - 1, &m_replay->level))
            return fail(QStringLiteral("bad level \"%1\": expected 0 to %2")
                            .arg(QString::fromUtf8(fields[1]))
                            .arg(kLevelCount - 1));
        m_levelSeen = true;
        return true;
    }

    // A level of the player's own: its content hash in hexadecimal, then its name, which level files keep
    // free of control characters.
    bool readCustomLevel(const QList<QByteArray> &fields)
    {
        if (m_levelSeen)
            return fail(QStringLiteral("the level is given twice"));
        const QByteArray hash = fields.value(1);
        const QByteArray name = fields.mid(2).join(' ');
        const bool hex = std::all_of(hash.cbegin(), hash.cend(),
                                     [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
        const bool plain = std::none_of(name.cbegin(), name.cend(),
                                        [](char c) { return uchar(c) < 0x20 || uchar(c) == 0x7f; });
        if (name.isEmpty() || hash.size() > kMaxHashLength || !hex || !plain)
            return fail(QStringLiteral("expected \"custom-level HASH NAME\""));
        m_replay->level = -1;
        m_replay->levelHash = hash;
        m_replay->levelName = QString::fromUtf8(name);
        m_levelSeen = true;
        return true;
    }

    bool readLayout(const QList<QByteArray> &fields)
    {
        if (m_layoutSeen)
            return fail(QStringLiteral("the layout is given twice"));
        if (fields.size() != 2 || (fields[1] != "landscape" && fields[1] != "portrait"))
            return fail(QStringLiteral("expected \"layout landscape\" or \"layout portrait\""));
        m_replay->layout = fields[1] == "portrait" ? Portrait : Landscape;
        m_layoutSeen = true;
        return true;
    }

    bool readTick(const QByteArray &field, qint32 *tick)
    {
        if (!parseInteger(field, 0, kMaxTick, tick))
            return fail(QStringLiteral("bad tick \"%1\": expected 0 to %2")
                            .arg(QString::fromUtf8(field))
                            .arg(kMaxTick));
        if (*tick < m_lastTick)
            return fail(QStringLiteral("tick %1 goes back before tick %2").arg(*tick).arg(m_lastTick));
        m_lastTick = *tick;
        return true;
    }

    bool readEvent(const QList<QByteArray> &fields)
    {
        if (!m_levelSeen || !m_layoutSeen)
            return fail(QStringLiteral("an event before the level and the layout"));
        ReplayEvent event;
        if (!readTick(fields[0], &event.tick))
            return false;
        const QByteArray keyword = fields.value(1);
        if (keyword == "assign")
            return readAssign(fields, event);
        if (keyword == "rate")
            return readRate(fields, event);
        if (keyword == "end")
            return readEnd(fields, event);
        return fail(QStringLiteral("unknown event \"%1\"").arg(QString::fromUtf8(keyword)));
    }

    bool readAssign(const QList<QByteArray> &fields, ReplayEvent event)
    {
        if (fields.size() != 6)
            return fail(QStringLiteral("expected \"TICK assign SKILL CREW X Y\""));
        event.kind = ReplayEvent::Assign;
        if (!skillFromName(fields[2], &event.skill))
            return fail(QStringLiteral("unknown skill \"%1\"").arg(QString::fromUtf8(fields[2])));
        if (!parseInteger(fields[3], kMinInt, kMaxInt, &event.crewId))
            return fail(QStringLiteral("bad crew id \"%1\"").arg(QString::fromUtf8(fields[3])));
        double x = 0.0;
        double y = 0.0;
        if (!parseCoordinate(fields[4], &x) || !parseCoordinate(fields[5], &y))
            return fail(QStringLiteral("bad point \"%1 %2\": expected two numbers within %3")
                            .arg(QString::fromUtf8(fields[4]), QString::fromUtf8(fields[5]))
                            .arg(kMaxCoordinate));
        event.point = QPointF(x, y);
        m_replay->events.append(event);
        return true;
    }

    bool readRate(const QList<QByteArray> &fields, ReplayEvent event)
    {
        if (fields.size() != 3)
            return fail(QStringLiteral("expected \"TICK rate R\""));
        event.kind = ReplayEvent::Rate;
        if (!parseInteger(fields[2], kMinInt, kMaxInt, &event.rate))
            return fail(QStringLiteral("bad release rate \"%1\"").arg(QString::fromUtf8(fields[2])));
        m_replay->events.append(event);
        return true;
    }

    bool readEnd(const QList<QByteArray> &fields, ReplayEvent event)
    {
        if (fields.size() != 2)
            return fail(QStringLiteral("expected \"TICK end\""));
        event.kind = ReplayEvent::End;
        m_replay->events.append(event);
        return true;
    }

    bool readResult(const QList<QByteArray> &fields)
    {
        if (!m_levelSeen || !m_layoutSeen)
            return fail(QStringLiteral("a result before the level and the layout"));
        if (fields.size() != 5 || (fields[1] != "won" && fields[1] != "lost"))
            return fail(QStringLiteral("expected \"result won|lost SAVED LOST TICK\""));
        ReplayResult &result = m_replay->result;
        result.won = fields[1] == "won";
        if (!parseInteger(fields[2], 0, kMaxInt, &result.saved)
            || !parseInteger(fields[3], 0, kMaxInt, &result.lost))
            return fail(QStringLiteral("bad crew count in the result"));
        if (!readTick(fields[4], &result.tick))
            return false;
        m_replay->hasResult = true;
        return true;
    }

    bool finishFile()
    {
        if (!m_headerSeen)
            return fail(QStringLiteral("not a replay: the file is empty"));
        if (!m_levelSeen)
            return fail(QStringLiteral("the file ends without its level"));
        if (!m_layoutSeen)
            return fail(QStringLiteral("the file ends without its layout"));
        return true;
    }

    Replay *m_replay;
    ReplayError *m_error;
    int m_line = 0;
    qint32 m_lastTick = 0;
    bool m_headerSeen = false;
    bool m_levelSeen = false;
    bool m_layoutSeen = false;
};

QByteArray eventLine(const ReplayEvent &event)
{
    const QByteArray tick = QByteArray::number(event.tick);
    switch (event.kind) {
    case ReplayEvent::Assign:
        return tick + " assign " + skillName(event.skill) + ' ' + QByteArray::number(event.crewId) + ' '
            + coordinateText(event.point.x()) + ' ' + coordinateText(event.point.y());
    case ReplayEvent::Rate:
        return tick + " rate " + QByteArray::number(event.rate);
    case ReplayEvent::End:
        return tick + " end";
    }
    return tick;
}

} // namespace

bool readReplay(const QByteArray &text, Replay *replay, ReplayError *error)
{
    Replay parsed;
    if (!Reader(&parsed, error).read(text))
        return false;
    *replay = parsed;
    return true;
}

QByteArray writeReplay(const Replay &replay)
{
    QByteArray text = kMagic + ' ' + QByteArray::number(kFormatVersion) + '\n';
    if (replay.isOfCustomLevel())
        text += "custom-level " + replay.levelHash + ' ' + replay.levelName.toUtf8() + '\n';
    else
        text += "level " + QByteArray::number(replay.level) + '\n';
    text += replay.layout == Portrait ? "layout portrait\n" : "layout landscape\n";
    for (const ReplayEvent &event : replay.events)
        text += eventLine(event) + '\n';
    if (replay.hasResult) {
        const ReplayResult &result = replay.result;
        text += QByteArray("result ") + (result.won ? "won " : "lost ") + QByteArray::number(result.saved)
            + ' ' + QByteArray::number(result.lost) + ' ' + QByteArray::number(result.tick) + '\n';
    }
    return text;
}

bool readReplayFile(const QString &path, Replay *replay, ReplayError *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = { 0, QStringLiteral("cannot open: %1").arg(file.errorString()) };
        return false;
    }
    const QByteArray text = file.read(kMaxFileSize + 1);
    if (text.size() > kMaxFileSize) {
        if (error)
            *error = { 0, QStringLiteral("too large for a replay") };
        return false;
    }
    return readReplay(text, replay, error);
}

bool writeReplayFile(const QString &path, const Replay &replay)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = writeReplay(replay);
    if (file.write(text) != text.size())
        return false;
    return file.commit();
}

} // namespace Pellwick
