#ifndef PELLWICK_REWINDSUPPORT_H
#define PELLWICK_REWINDSUPPORT_H

#include "replay.h"
#include "runhistory.h"

#include <algorithm>

namespace Pellwick {

// What a fresh run of the replay's level reaches at `tick` with the replay's events before it. The level is
// loaded from the catalogue of `core`.
inline QByteArray freshRun(const Replay &replay, int tick, GameCore core = GameCore())
{
    ReplayPlayer player(replay);
    player.start(core);
    while (core.tick < tick && !core.finished) {
        player.applyDueEvents(core);
        core.step();
    }
    return core.serialize();
}

// Plays the run on to the replay's end as the game does, feeding the history: the player applies and records
// the replay's events from the run's tick on, or the history plays a watched replay's.
inline void playOn(const Replay &replay, GameCore &run, RunHistory &history, bool watching)
{
    const auto due = std::find_if(replay.events.cbegin(), replay.events.cend(),
                                  [&run](const ReplayEvent &event) { return event.tick >= run.tick; });
    Replay rest = replay;
    rest.events = replay.events.mid(int(due - replay.events.cbegin()));
    ReplayPlayer player(rest);
    for (;;) {
        if (watching)
            history.applyDueEvents(run);
        while (!watching && player.eventDue(run)) {
            history.record(player.nextEvent());
            player.applyNextEvent(run);
        }
        if (run.finished || run.tick >= replay.endTick())
            return;
        run.step();
        history.stepped(run);
    }
}

// A history of the whole replay, played from its level's start.
inline RunHistory playedHistory(const Replay &replay, bool watching)
{
    GameCore run;
    ReplayPlayer(replay).start(run);
    RunHistory history;
    if (watching)
        history.beginWatching(run, replay);
    else
        history.begin(run);
    playOn(replay, run, history, watching);
    return history;
}

} // namespace Pellwick

#endif // PELLWICK_REWINDSUPPORT_H
