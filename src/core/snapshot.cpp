#include "gamecore.h"

// Placeholder until snapshots land.
namespace Pellwick {

QByteArray GameCore::serialize() const
{
    return {};
}

bool GameCore::restore(const QByteArray &)
{
    return false;
}

} // namespace Pellwick
