#include "gamecore.h"

#include <algorithm>

namespace Pellwick {

bool operator==(const CrewMember &a, const CrewMember &b)
{
    return a.id == b.id && a.pos == b.pos && a.direction == b.direction && a.state == b.state
        && a.climber == b.climber && a.floater == b.floater && a.active == b.active
        && a.fallStartY == b.fallStartY && a.vy == b.vy && a.vx == b.vx && a.actionTicks == b.actionTicks
        && a.bricks == b.bricks && a.idleTicks == b.idleTicks && a.teleportCooldown == b.teleportCooldown;
}

bool operator==(const WorldObject &a, const WorldObject &b)
{
    return a.id == b.id && a.type == b.type && a.rect == b.rect && a.direction == b.direction
        && a.link == b.link && a.active == b.active && a.triggered == b.triggered;
}

GameCore::GameCore()
    : levels(createLevels())
{
    loadLevel(0);
}

GameCore::~GameCore() = default;

int GameCore::worldWidth() const
{
    return worldSize(layoutMode).width();
}

int GameCore::worldHeight() const
{
    return worldSize(layoutMode).height();
}

const LevelSpec &GameCore::currentLevel() const
{
    return levels.at(levelIndex);
}

QPointF GameCore::entry() const
{
    const LevelSpec &level = currentLevel();
    return layoutMode == Portrait ? level.portraitEntry : level.landscapeEntry;
}

QPointF GameCore::exit() const
{
    const LevelSpec &level = currentLevel();
    return layoutMode == Portrait ? level.portraitExit : level.landscapeExit;
}

int GameCore::skillCount(Skill skill) const
{
    return isValidSkill(skill) ? skillStock[skill] : 0;
}

int GameCore::activeCount() const
{
    return int(std::count_if(crew.cbegin(), crew.cend(), [](const CrewMember &m) { return m.active; }));
}

bool GameCore::rescuePossible() const
{
    const LevelSpec &level = currentLevel();
    return (level.crewCount - spawned) + saved + activeCount() >= level.requiredCount;
}

bool GameCore::won() const
{
    return finished && saved >= currentLevel().requiredCount;
}

void GameCore::loadLevel(int index)
{
    if (levels.isEmpty())
        return;
    levelIndex = std::clamp(index, 0, int(levels.size()) - 1);
    restartLevel();
}

void GameCore::restartLevel()
{
    // A level of the player's own may have one layout only, and is always played in that one.
    const LayoutMode other = layoutMode == Portrait ? Landscape : Portrait;
    if (!currentLevel().layout(layoutMode).defined && currentLevel().layout(other).defined)
        layoutMode = other;
    terrain = QImage(worldWidth(), worldHeight(), QImage::Format_ARGB32_Premultiplied);
    terrain.fill(Qt::transparent);
    objects.clear();
    nextObjectId = 1;
    buildTerrain(levelIndex);
    buildObjects(levelIndex);
    const LevelSpec &level = currentLevel();
    crew.clear();
    // Room for the whole crew up front, so releasing a member during a tick never reallocates.
    crew.reserve(level.crewCount);

    skillStock = level.skills;
    releaseRate = level.releaseRate;

    spawned = 0;
    saved = 0;
    lost = 0;
    spawnCountdown = 12;
    nextCrewId = 1;
    tick = 0;
    skillsUsed = 0;
    objectTriggers = 0;
    finished = false;
}

void GameCore::setLayoutMode(LayoutMode mode, bool restart)
{
    if (mode == layoutMode)
        return;
    layoutMode = mode;
    if (restart)
        restartLevel();
}

} // namespace Pellwick
