#include "gamecore.h"

#include <algorithm>

namespace Pellwick {

namespace {

constexpr int kLaserPeriodTicks = 60;
constexpr qreal kReleaseDrop = 12.0;
constexpr float kReleaseFallSpeed = 0.5f;

} // namespace

void GameCore::step()
{
    if (finished)
        return;
    ++tick;

    const LevelSpec &level = currentLevel();
    if (spawned < level.crewCount) {
        if (spawnCountdown < 1) {
            spawnCrew();
            spawnCountdown = spawnIntervalTicks();
        } else {
            --spawnCountdown;
        }
    }

    for (WorldObject &object : objects) {
        if (object.type == Laser)
            object.active = (tick / kLaserPeriodTicks + object.link) % 2 == 0;
    }

    // By index: a blast or a blocker changes other members in the same tick, in release order.
    for (int i = 0; i < crew.size(); ++i)
        simulateCrew(crew[i]);

    if (!rescuePossible())
        finished = true;
    else if (spawned >= level.crewCount && activeCount() == 0)
        finished = true;
}

void GameCore::spawnCrew()
{
    if (spawned >= currentLevel().crewCount)
        return;
    CrewMember member;
    member.id = nextCrewId++;
    member.pos = QPointF(entry().x(), entry().y() - kReleaseDrop);
    member.direction = 1;
    member.state = Falling;
    member.vy = kReleaseFallSpeed;
    member.vx = 0.0f;
    member.fallStartY = float(member.pos.y());
    crew.append(member);
    ++spawned;
}

int GameCore::spawnIntervalTicks() const
{
    return std::clamp(70 - releaseRate / 2, 10, 70);
}

void GameCore::setReleaseRate(int rate)
{
    releaseRate = std::clamp(rate, 1, 99);
}

void GameCore::saveCrew(CrewMember &member)
{
    if (!member.active)
        return;
    member.active = false;
    ++saved;
}

void GameCore::loseCrew(CrewMember &member)
{
    if (!member.active)
        return;
    member.active = false;
    ++lost;
}

} // namespace Pellwick
