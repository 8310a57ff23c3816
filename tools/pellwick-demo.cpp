#include "gamecore.h"

#include <cstdio>

using namespace Pellwick;

// Plays level 0 with no help from the player, first in the landscape and then in the portrait layout.
int main()
{
    constexpr int kTickLimit = 6000;
    for (LayoutMode layout : {Landscape, Portrait}) {
        GameCore core;
        core.setLayoutMode(layout, true);
        while (!core.finished && core.tick < kTickLimit)
            core.step();
        std::printf("%s, %s: %s with %d of %d saved (%d needed), %d lost, after %d ticks\n",
                    qPrintable(core.currentLevel().name), layout == Portrait ? "portrait" : "landscape",
                    core.won() ? "won" : "lost", core.saved, core.currentLevel().crewCount,
                    core.currentLevel().requiredCount, core.lost, core.tick);
    }
    return 0;
}
