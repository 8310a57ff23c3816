#include "gamecore.h"
namespace Pellwick {
QVector<LevelSpec> legacyLevels();
void legacyPaintTerrain(GameCore &core, int index);
void legacyFillTerrain(LevelSpec &level, int index);
void legacyAddObjects(GameCore &core, int index);
void legacyFillObjects(LevelSpec &level, int index);
} // namespace Pellwick
