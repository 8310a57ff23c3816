#include "gamecore.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Pellwick {

namespace {

// A tap aims at the body, not the feet.
constexpr qreal kTargetHeight = 8.0;
constexpr float kSelectedReach = 30.0f;
constexpr float kFallbackReach = 26.0f;

struct Candidate
{
    int id;
    float distance;
};

float targetDistance(const CrewMember &member, const QPointF &point)
{
    const qreal dx = member.pos.x() - point.x();
    const qreal dy = member.pos.y() - kTargetHeight - point.y();
    return float(std::sqrt(dx * dx + dy * dy));
}

bool workReady(const CrewMember &member)
{
    return member.state == Walking || member.state == Blocking;
}

void giveSkill(Skill skill, CrewMember &member)
{
    switch (skill) {
    case Climber:
        member.climber = true;
        return;
    case Floater:
        member.floater = true;
        return;
    case Blocker:
        member.state = Blocking;
        break;
    case Builder:
        member.state = Building;
        member.bricks = 0;
        break;
    case Basher:
        member.state = Bashing;
        member.idleTicks = 0;
        break;
    case Digger:
        member.state = Digging;
        break;
    case Miner:
        member.state = Mining;
        member.idleTicks = 0;
        break;
    case Demolition:
        member.state = Demolishing;
        break;
    }
    member.actionTicks = 0;
}

} // namespace

bool GameCore::canApplySkill(Skill skill, const CrewMember &member) const
{
    if (!member.active || skillCount(skill) < 1)
        return false;
    switch (skill) {
    case Climber:
        return !member.climber;
    case Floater:
        return !member.floater;
    case Blocker:
        return member.state == Walking;
    case Digger:
        return workReady(member) && grounded(member);
    case Builder:
    case Basher:
    case Miner:
    case Demolition:
        return workReady(member);
    }
    return false;
}

int GameCore::applySkill(Skill skill, const QPointF &point, int crewId)
{
    // skillCount is 0 for every value that is no skill, so nothing below indexes out of range.
    if (skillCount(skill) < 1)
        return -1;

    int target = -1;
    if (crewId >= 0) {
        const auto selected = std::find_if(crew.cbegin(), crew.cend(),
                                           [crewId](const CrewMember &m) { return m.id == crewId; });
        if (selected != crew.cend() && canApplySkill(skill, *selected)
            && targetDistance(*selected, point) <= kSelectedReach)
            target = int(selected - crew.cbegin());
    }
    if (target < 0) {
        float nearest = kFallbackReach;
        for (int i = 0; i < crew.size(); ++i) {
            const CrewMember &member = crew.at(i);
            if (!canApplySkill(skill, member))
                continue;
            const float distance = targetDistance(member, point);
            if (distance < nearest) {
                nearest = distance;
                target = i;
            }
        }
    }
    if (target < 0)
        return -1;

    CrewMember &member = crew[target];
    giveSkill(skill, member);
    --skillStock[skill];
    ++skillsUsed;
    return member.id;
}

QVector<int> GameCore::applicableCrewIds(Skill skill, const QPointF &point, float radius) const
{
    QVector<Candidate> candidates;
    for (const CrewMember &member : crew) {
        if (!canApplySkill(skill, member))
            continue;
        const float distance = targetDistance(member, point);
        if (radius >= distance)
            candidates.append({ member.id, distance });
    }
    // Stable, so members at the same distance keep their release order.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.distance < b.distance; });

    QVector<int> ids;
    ids.reserve(candidates.size());
    for (const Candidate &candidate : std::as_const(candidates))
        ids.append(candidate.id);
    return ids;
}

} // namespace Pellwick
