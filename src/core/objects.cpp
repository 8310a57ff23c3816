#include "gamecore.h"

// Placeholder until world objects land.
namespace Pellwick {

void GameCore::addObject(ObjectType, const QRectF &, int, int) { }

bool GameCore::interactWithObjects(CrewMember &member)
{
    return !member.active;
}

void GameCore::triggerSwitch(int) { }

} // namespace Pellwick
