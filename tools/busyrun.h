#ifndef PELLWICK_BUSYRUN_H
#define PELLWICK_BUSYRUN_H

#include "gamecore.h"

#include <iterator>
#include <utility>

// A level played for a while with skills handed out all along, so that crew members are spread over the
// working states: what the screenshots and the painting benchmark show as a busy frame.
namespace BusyRun {

constexpr int kMiddleTick = 360;

inline void play(Pellwick::GameCore &core, int ticks = kMiddleTick)
{
    using namespace Pellwick;
    constexpr Skill kRotation[] = { Builder, Basher, Climber, Digger, Floater, Miner, Blocker, Demolition };
    constexpr int kTicksBetweenSkills = 12;
    core.skillStock.fill(99);
    int next = 0;
    for (int i = 0; i < ticks && !core.finished; ++i) {
        core.step();
        if (core.tick % kTicksBetweenSkills != 0)
            continue;
        const Skill skill = kRotation[next];
        for (const CrewMember &member : std::as_const(core.crew)) {
            if (member.state == Walking && core.canApplySkill(skill, member)) {
                const QPointF where = member.pos;
                core.applySkill(skill, where, member.id);
                next = (next + 1) % int(std::size(kRotation));
                break;
            }
        }
    }
}

// The first member still in play, or -1.
inline int firstActiveId(const Pellwick::GameCore &core)
{
    for (const Pellwick::CrewMember &member : core.crew) {
        if (member.active)
            return member.id;
    }
    return -1;
}

} // namespace BusyRun

#endif // PELLWICK_BUSYRUN_H
