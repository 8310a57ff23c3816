#ifndef PELLWICK_REPLAYSTORE_H
#define PELLWICK_REPLAYSTORE_H

#include "replay.h"

#include <QString>

// Where the game keeps the replays of finished attempts: the last of each level and layout, and the best win.
namespace ReplayStore {

enum Kind {
    Last,
    Best,
};

QString path(int level, Pellwick::LayoutMode layout, Kind kind);

// Each returns false when a file was due but could not be written; the file is then left as it was.
// The finished attempt as the last one of its level and layout.
bool storeLast(const Pellwick::Replay &replay);
// A won attempt as the best one, when it beats the stored best; nothing is due otherwise.
bool storeBest(const Pellwick::Replay &replay, int skillsUsed);

} // namespace ReplayStore

#endif // PELLWICK_REPLAYSTORE_H
