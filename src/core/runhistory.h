#ifndef PELLWICK_RUNHISTORY_H
#define PELLWICK_RUNHISTORY_H

#include "gamecore.h"
#include "replay.h"
#include "terraintiles.h"

#include <QImage>
#include <QVector>

#include <vector>

namespace Pellwick {

// The timeline of one run, so that the run can be taken back: the moment it began, the player's events in
// order, and keyframes of the whole state every few seconds. Any earlier tick T is rebuilt from the nearest
// keyframe before it by playing the events on: exactly the state a fresh run reaches at T with the run's
// events before T, none of those at T or later applied.
//
// It is fed as the run goes: stepped() after every step, record() after every event of the player's.
// Rewinding the player's own run cuts the events at or after T, so holding rewind costs no memory; rewinding
// a watched replay keeps them, and applyDueEvents() plays them on.
class RunHistory
{
public:
    // Begins the timeline at the run as it stands: a level just loaded or restarted, or a restored run whose
    // earlier events are unknown. Rewinds stop here.
    void begin(const GameCore &run);
    // Begins at the start of a restored run's level and plays its recording on up to the restored tick. Keeps
    // that timeline, which rewinds all the way back, only when it reproduces the restored run byte for byte;
    // otherwise, or when the run is longer than twenty minutes, begins at the restored run. True when the
    // timeline reaches back to the level's start.
    bool beginAtLevelStart(const GameCore &restored, const Replay &recording);
    // Begins a watched replay at the start of its level.
    void beginWatching(const GameCore &levelStart, const Replay &replay);

    // After every step of the run: takes a keyframe when one is due.
    void stepped(const GameCore &run);
    // After an event of the player's has been applied to the run, at the run's tick; never while watching.
    void record(const ReplayEvent &event);
    // A watched replay's events due at the run's tick, before it is stepped; the player's own run has none.
    void applyDueEvents(GameCore &run);

    // Rebuilds the state at `tick` into `run`. A tick before the timeline's first stops there; a tick
    // beyond the present, or an empty timeline, changes nothing and answers false.
    bool rewind(int tick, GameCore &run);

    bool isEmpty() const;
    int firstTick() const;
    int presentTick() const;
    // The player's events of the timeline; the whole replay while watching.
    const QVector<ReplayEvent> &events() const;
    // What the keyframes hold in memory, shared terrain tiles counted once.
    qint64 keyframeBytes() const;

private:
    struct Keyframe
    {
        GameCore run; // without its terrain, which the tiles keep
        TerrainTiles terrain;
    };

    bool replayReaches(const GameCore &restored, const Replay &recording);
    void takeKeyframe(const GameCore &run);
    Replay eventsFrom(int tick) const;
    int firstEventAt(int tick) const;

    std::vector<Keyframe> m_keyframes;
    // The pixels of the last keyframe, which the next one is compared with tile by tile.
    QImage m_lastTerrain;
    QVector<ReplayEvent> m_events;
    // The events of a watched replay that the present has not had yet.
    ReplayPlayer m_ahead { Replay() };
    bool m_watching = false;
    int m_present = 0;
};

} // namespace Pellwick

#endif // PELLWICK_RUNHISTORY_H
