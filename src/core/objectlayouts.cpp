#include "gamecore.h"

// Placeholder until the object layouts land.
namespace Pellwick {

void GameCore::buildObjects(int) { }
void GameCore::buildLandscapeObjects(int) { }
void GameCore::buildPortraitObjects(int) { }

} // namespace Pellwick
