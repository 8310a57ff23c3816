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

// A built-in level's replays are named by its index; those of a level of the player's own by its content
// hash, so that an edited file, a new level, has none.
QString path(int level, Pellwick::LayoutMode layout, Kind kind);
QString path(const QByteArray &levelHash, Pellwick::LayoutMode layout, Kind kind);
QString path(const Pellwick::Replay &replay, Kind kind);

// Each returns false when a file was due but could not be written; the file is then left as it was.
// The finished attempt as the last one of its level and layout.
bool storeLast(const Pellwick::Replay &replay);
// A won attempt as the best one, when it beats the stored best, which is played on a copy of `catalogue`
// (a core that holds the level); nothing is due otherwise.
bool storeBest(const Pellwick::Replay &replay, int skillsUsed, const Pellwick::GameCore &catalogue);

} // namespace ReplayStore

#endif // PELLWICK_REPLAYSTORE_H
