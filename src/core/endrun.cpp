#include "gamecore.h"

namespace Pellwick {

// A member can be trapped for good, and a run only ends when nobody is active, so the player may end it:
// whoever is still out there is lost, the portal stays shut, and the run is judged as it stands.
bool GameCore::endRun()
{
    if (finished)
        return false;
    for (CrewMember &member : crew)
        loseCrew(member);
    finished = true;
    return true;
}

} // namespace Pellwick
