#ifndef PELLWICK_REPLAYTRACE_H
#define PELLWICK_REPLAYTRACE_H

#include "replay.h"

#include <QByteArray>
#include <QString>

namespace Pellwick {

// A golden trace pins every tick of a replay's run on every CPU and Qt: the state's digest (statehash.h)
// every kTraceInterval ticks and at the end, one text line each, after the events of that tick. A run can
// wander by a pixel and still end alike; its trace cannot.
constexpr int kTraceInterval = 25;

// Plays the replay on the given core, which must hold its level (a level of the player's own is added to a
// core first); empty when the level is not there.
QByteArray traceReplay(const Replay &replay, GameCore core = GameCore());

// Beside the replay: "level-07-landscape.trace" for "level-07-landscape.txt".
QString tracePath(const QString &replayPath);

// Empty when the traces agree. Otherwise where they first part: the sampled tick, the last tick at which
// they still agreed, the members and objects by id, their fields by name, the run's counters that differ
// with both values, and whether the terrain does.
QString traceDifference(const QByteArray &golden, const QByteArray &played);

} // namespace Pellwick

#endif // PELLWICK_REPLAYTRACE_H
