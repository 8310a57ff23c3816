#ifndef PELLWICK_RESTOREFUZZING_H
#define PELLWICK_RESTOREFUZZING_H

#include "gamecore.h"

namespace Pellwick {

// Restores one input into a fresh core, as the game does with a stored session, and when it is accepted
// plays on for a second, so that every value restore lets through is exercised by the simulation too.
// Returns whether the input was accepted.
inline bool restoreAndPlay(const QByteArray &data)
{
    constexpr int kPlayedTicks = 30;
    static const GameCore fresh; // building the catalogue and a level costs more than a restore
    GameCore core = fresh;
    if (!core.restore(data))
        return false;
    for (int tick = 0; tick < kPlayedTicks; ++tick)
        core.step();
    return true;
}

} // namespace Pellwick

#endif // PELLWICK_RESTOREFUZZING_H
