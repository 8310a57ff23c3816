#include "replay.h"

namespace Pellwick {

ReplayPlayer::ReplayPlayer(const Replay &replay)
    : m_replay(replay)
{ }

bool ReplayPlayer::start(GameCore &core, QString *refusal) const
{
    int index = m_replay.level;
    if (m_replay.isOfCustomLevel()) {
        index = core.findLevel(m_replay.levelName, m_replay.levelHash, refusal);
        if (index < 0)
            return false;
    }
    core.setLayoutMode(m_replay.layout, false);
    core.loadLevel(index);
    return true;
}

bool ReplayPlayer::eventDue(const GameCore &core) const
{
    return !atEnd() && !core.finished && nextEvent().tick <= core.tick;
}

int ReplayPlayer::applyNextEvent(GameCore &core)
{
    const ReplayEvent &event = nextEvent();
    ++m_next;
    switch (event.kind) {
    case ReplayEvent::Assign:
        return core.applySkill(event.skill, event.point, event.crewId);
    case ReplayEvent::Rate:
        core.setReleaseRate(event.rate);
        return core.releaseRate;
    case ReplayEvent::End:
        return core.endRun() ? 1 : 0;
    }
    return -1;
}

void ReplayPlayer::applyDueEvents(GameCore &core)
{
    while (eventDue(core))
        applyNextEvent(core);
}

const ReplayEvent &ReplayPlayer::nextEvent() const
{
    return m_replay.events.at(m_next);
}

bool ReplayPlayer::atEnd() const
{
    return m_next >= m_replay.events.size();
}

int ReplayPlayer::remainingEvents() const
{
    return int(m_replay.events.size()) - m_next;
}

int playReplay(const Replay &replay, GameCore &core, const ReplayObserver &observer)
{
    ReplayPlayer player(replay);
    if (!player.start(core))
        return -1;
    const int endTick = replay.endTick();
    for (;;) {
        while (player.eventDue(core)) {
            const ReplayEvent event = player.nextEvent();
            const int answer = player.applyNextEvent(core);
            if (observer)
                observer(event, answer, core);
        }
        if (core.finished || core.tick >= endTick)
            break;
        core.step();
    }
    return player.remainingEvents();
}

} // namespace Pellwick
