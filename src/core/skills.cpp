#include "gamecore.h"

// Placeholder until skill assignment lands: nobody can take a skill yet.
namespace Pellwick {

bool GameCore::canApplySkill(Skill, const CrewMember &) const
{
    return false;
}

int GameCore::applySkill(Skill, const QPointF &, int)
{
    return -1;
}

QVector<int> GameCore::applicableCrewIds(Skill, const QPointF &, float) const
{
    return {};
}

} // namespace Pellwick
