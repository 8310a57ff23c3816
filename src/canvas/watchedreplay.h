#ifndef PELLWICK_WATCHEDREPLAY_H
#define PELLWICK_WATCHEDREPLAY_H

#include "gamecore.h"
#include "replay.h"
#include "runhistory.h"

#include <QPointF>

// A replay on screen, and the game the player left to watch it: the core is a value, so going back is a copy.
struct WatchedReplay
{
    explicit WatchedReplay(const Pellwick::Replay &replay)
        : endTick(replay.endTick())
    { }

    int endTick = 0;

    Pellwick::GameCore core;
    Pellwick::RunHistory history;
    bool levelIntroVisible = false;
    bool paused = false;
    bool completionHandled = false;
    bool attemptRecorded = false;
    float tickAccumulator = 0.0f;
    int selectedCrewId = -1;
    float zoom = 1.0f;
    QPointF camera;
};

#endif // PELLWICK_WATCHEDREPLAY_H
