#include "gamecore.h"

// Placeholder until the working states land.
namespace Pellwick {

void GameCore::simulateBuilder(CrewMember &) { }
void GameCore::simulateBasher(CrewMember &) { }
void GameCore::simulateDigger(CrewMember &) { }
void GameCore::simulateMiner(CrewMember &) { }
void GameCore::simulateDemolition(CrewMember &) { }

} // namespace Pellwick
