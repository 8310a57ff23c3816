#ifndef PELLWICK_LEVELFUZZING_H
#define PELLWICK_LEVELFUZZING_H

#include "gamecore.h"
#include "levelfile.h"

#include <cstdlib>

namespace Pellwick {

// Reads one input as a level file, as the game reads a player's folder. When it is accepted, the level must
// write back to text that reads as the same level, and each of its layouts is played for a second, so that
// every value the reader lets through is painted and simulated too. Returns whether the input was accepted;
// a writer and reader that disagree abort.
inline bool readAndPlayLevel(const QByteArray &data)
{
    constexpr int kPlayedTicks = 30;
    LevelSpec level;
    if (!readLevel(data, &level, nullptr))
        return false;
    LevelSpec again;
    if (!readLevel(writeLevel(level), &again, nullptr))
        std::abort();
    again.hash = level.hash;
    if (!(again == level))
        std::abort();
    static const GameCore fresh; // building the catalogue and a level costs more than reading one
    for (LayoutMode layout : { Landscape, Portrait }) {
        if (!level.layout(layout).defined)
            continue;
        GameCore core = fresh;
        core.setLayoutMode(layout, false);
        core.loadLevel(core.addLevel(level));
        for (int tick = 0; tick < kPlayedTicks; ++tick)
            core.step();
    }
    return true;
}

} // namespace Pellwick

#endif // PELLWICK_LEVELFUZZING_H
