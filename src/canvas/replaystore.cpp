#include "replaystore.h"
#include "storage.h"

#include <QStandardPaths>

#include <tuple>

using namespace Pellwick;

namespace ReplayStore {

namespace {

// The records' order: more saved, then fewer skills, then less time.
auto rank(const ReplayResult &result, int skillsUsed)
{
    return std::make_tuple(result.saved, -skillsUsed, -result.tick);
}

// The stored best is judged by playing it, since its file holds no skill count; a best that no longer
// reads or wins is no record to keep.
bool beatsStoredBest(const Replay &replay, int skillsUsed, const GameCore &catalogue)
{
    Replay best;
    if (!readReplayFile(path(replay, Best), &best, nullptr) || !best.hasResult)
        return true;
    GameCore core = catalogue;
    if (playReplay(best, core) != 0 || !core.won() || resultOf(core) != best.result)
        return true;
    return rank(replay.result, skillsUsed) > rank(best.result, core.skillsUsed);
}

bool store(const Replay &replay, Kind kind)
{
    return Storage::writeFile(path(replay, kind), writeReplay(replay));
}

QString pathOf(const QString &level, LayoutMode layout, Kind kind)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/replays/%1-%2-%3.txt")
              .arg(level, layout == Portrait ? QStringLiteral("portrait") : QStringLiteral("landscape"),
                   kind == Best ? QStringLiteral("best") : QStringLiteral("last"));
}

} // namespace

QString path(int level, LayoutMode layout, Kind kind)
{
    return pathOf(QStringLiteral("level-%1").arg(level, 2, 10, QLatin1Char('0')), layout, kind);
}

QString path(const QByteArray &levelHash, LayoutMode layout, Kind kind)
{
    return pathOf(QStringLiteral("custom-") + QLatin1String(levelHash), layout, kind);
}

QString path(const Replay &replay, Kind kind)
{
    return replay.isOfCustomLevel() ? path(replay.levelHash, replay.layout, kind)
                                    : path(replay.level, replay.layout, kind);
}

bool storeLast(const Replay &replay)
{
    return store(replay, Last);
}

bool storeBest(const Replay &replay, int skillsUsed, const GameCore &catalogue)
{
    return !replay.result.won || !beatsStoredBest(replay, skillsUsed, catalogue) || store(replay, Best);
}

} // namespace ReplayStore
