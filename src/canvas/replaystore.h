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

// Writes the attempt as the last one, and as the best when it is a win that beats the stored best. A disk
// that refuses costs only the replay.
void storeFinished(const Pellwick::Replay &replay, int skillsUsed);

} // namespace ReplayStore

#endif // PELLWICK_REPLAYSTORE_H
