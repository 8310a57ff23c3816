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
bool beatsStoredBest(const Replay &replay, int skillsUsed)
{
    Replay best;
    if (!readReplayFile(path(replay.level, replay.layout, Best), &best, nullptr) || !best.hasResult)
        return true;
    GameCore core;
    if (playReplay(best, core) != 0 || !core.won() || resultOf(core) != best.result)
        return true;
    return rank(replay.result, skillsUsed) > rank(best.result, core.skillsUsed);
}

bool store(const Replay &replay, Kind kind)
{
    return Storage::writeFile(path(replay.level, replay.layout, kind), writeReplay(replay));
}

} // namespace

QString path(int level, LayoutMode layout, Kind kind)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/replays/level-%1-%2-%3.txt")
              .arg(level, 2, 10, QLatin1Char('0'))
              .arg(layout == Portrait ? QStringLiteral("portrait") : QStringLiteral("landscape"),
                   kind == Best ? QStringLiteral("best") : QStringLiteral("last"));
}

bool storeLast(const Replay &replay)
{
    return store(replay, Last);
}

bool storeBest(const Replay &replay, int skillsUsed)
{
    return !replay.result.won || !beatsStoredBest(replay, skillsUsed) || store(replay, Best);
}

} // namespace ReplayStore
