#ifndef PELLWICK_BUSYRUN_H
#define PELLWICK_BUSYRUN_H

#include "gamecore.h"
#include "replay.h"

#include <iterator>

// A level played for a while with skills handed out all along, so that crew members are spread over the
// working states: what the screenshots and the painting benchmark show as a busy frame.
namespace BusyRun {

constexpr int kMiddleTick = 360;

// The busy player's hand at the core's tick: every 12 ticks the next skill of the rotation, to the first
// walking member that can take it. False when nothing is handed out at this tick.
inline bool handOut(const Pellwick::GameCore &core, int &next, Pellwick::ReplayEvent *event)
{
    using namespace Pellwick;
    constexpr Skill kRotation[] = { Builder, Basher, Climber, Digger, Floater, Miner, Blocker, Demolition };
    constexpr int kTicksBetweenSkills = 12;
    if (core.tick % kTicksBetweenSkills != 0)
        return false;
    const Skill skill = kRotation[next];
    for (const CrewMember &member : core.crew) {
        if (member.state == Walking && core.canApplySkill(skill, member)) {
            *event = ReplayEvent::assign(core.tick, skill, member.id, member.pos);
            next = (next + 1) % int(std::size(kRotation));
            return true;
        }
    }
    return false;
}

inline void play(Pellwick::GameCore &core, int ticks = kMiddleTick)
{
    core.skillStock.fill(99);
    int next = 0;
    Pellwick::ReplayEvent event;
    for (int i = 0; i < ticks && !core.finished; ++i) {
        core.step();
        if (handOut(core, next, &event))
            core.applySkill(event.skill, event.point, event.crewId);
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
