#include "replay.h"

namespace Pellwick {

ReplayEvent ReplayEvent::assign(int tick, Skill skill, int crewId, const QPointF &point)
{
    ReplayEvent event;
    event.tick = tick;
    event.kind = Assign;
    event.skill = skill;
    event.crewId = crewId;
    event.point = point;
    return event;
}

ReplayEvent ReplayEvent::releaseRate(int tick, int rate)
{
    ReplayEvent event;
    event.tick = tick;
    event.kind = Rate;
    event.rate = rate;
    return event;
}

ReplayEvent ReplayEvent::end(int tick)
{
    ReplayEvent event;
    event.tick = tick;
    event.kind = End;
    return event;
}

// Exact comparison on purpose: a replay must give back the very doubles it was written with.
bool operator==(const ReplayEvent &a, const ReplayEvent &b)
{
    if (a.tick != b.tick || a.kind != b.kind)
        return false;
    switch (a.kind) {
    case ReplayEvent::Assign:
        return a.skill == b.skill && a.crewId == b.crewId && a.point.x() == b.point.x()
            && a.point.y() == b.point.y();
    case ReplayEvent::Rate:
        return a.rate == b.rate;
    case ReplayEvent::End:
        return true;
    }
    return false;
}

bool operator==(const ReplayResult &a, const ReplayResult &b)
{
    return a.won == b.won && a.saved == b.saved && a.lost == b.lost && a.tick == b.tick;
}

QByteArray skillName(Skill skill)
{
    static const char *const names[kSkillCount] = { "Climber", "Floater", "Blocker", "Builder",
                                                    "Basher",  "Digger",  "Miner",   "Demolition" };
    return isValidSkill(skill) ? QByteArray(names[skill]) : QByteArray();
}

bool skillFromName(const QByteArray &name, Skill *skill)
{
    for (int value = 0; value < kSkillCount; ++value) {
        if (name == skillName(Skill(value))) {
            *skill = Skill(value);
            return true;
        }
    }
    return false;
}

ReplayResult resultOf(const GameCore &core)
{
    ReplayResult result;
    result.won = core.won();
    result.saved = core.saved;
    result.lost = core.lost;
    result.tick = core.tick;
    return result;
}

Replay Replay::of(const GameCore &core)
{
    Replay replay;
    const LevelSpec &level = core.currentLevel();
    replay.level = level.isCustom() ? -1 : core.levelIndex;
    if (level.isCustom()) {
        replay.levelName = level.name;
        replay.levelHash = level.hash;
    }
    replay.layout = core.layoutMode;
    return replay;
}

void Replay::finish(const GameCore &core)
{
    hasResult = true;
    result = resultOf(core);
}

int Replay::endTick() const
{
    if (hasResult)
        return result.tick;
    return events.isEmpty() ? 0 : events.constLast().tick;
}

} // namespace Pellwick
