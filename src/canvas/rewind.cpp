#include "gamecanvas.h"

#include <utility>

using namespace Pellwick;

// A run under way goes back, and so does a watched replay; a lost run goes back from its result card, and
// a won one stays won. A level still on its introduction has nothing to take back.
bool GameCanvas::canRewind() const
{
    return !m_levelIntroVisible && !m_core.won();
}

bool GameCanvas::rewind(int ticks)
{
    return rewindTo(m_core.tick - ticks);
}

bool GameCanvas::stepBack()
{
    return m_paused && rewindTo(m_core.tick - 1);
}

// One ordinary tick, announced as a frame would announce it.
bool GameCanvas::stepForward()
{
    if (!m_paused || m_levelIntroVisible || m_core.finished)
        return false;
    if (!m_watch)
        recordAttemptIfNeeded();
    playAndTell([this] { stepRun(); });
    saveSessionSoon();
    Q_EMIT stateChanged();
    update();
    return true;
}

// The run becomes exactly what a fresh run reaches at `tick` with the events before it; the player's own
// run forgets the events it took back. A lost run is open again, held for the player to look before going on.
bool GameCanvas::rewindTo(int tick)
{
    if (!canRewind())
        return false;
    forgetPendingAssignment();
    if (tick < m_history.firstTick() && m_recordingComplete && !m_watch)
        reachLevelStart();
    const bool lostRun = m_core.finished;
    const bool wasKept = runWorthKeeping();
    if (!m_history.rewind(tick, m_core))
        return false;
    if (!m_watch)
        cutRecording();
    m_tickAccumulator = 0.0f;
    m_completionHandled = false;
    if (!activeCrewMember(m_selectedCrewId))
        m_selectedCrewId = -1;
    if (m_followSelectedCrew)
        centreOnAction();
    if (lostRun) {
        m_paused = true;
        takeBackLoss();
    } else {
        storeRewoundRun(wasKept);
    }

    Q_EMIT stateChanged();
    Q_EMIT skillsChanged();
    Q_EMIT releaseRateChanged();
    Q_EMIT selectedCrewIdChanged();
    if (lostRun) {
        Q_EMIT pausedChanged();
        Q_EMIT levelsChanged();
    }
    update();
    return true;
}

// A resumed run's timeline begins where it was resumed; its recording may take it back to its level's start.
// A recording that does not lead to the run is no replay of it, and the timeline stays as it was.
void GameCanvas::reachLevelStart()
{
    RunHistory fromStart;
    m_recordingComplete = fromStart.beginAtLevelStart(m_core, m_recording);
    if (m_recordingComplete)
        m_history = std::move(fromStart);
}

// The recording keeps only the timeline finally played: the events at or after the tick the run is back at
// go, and so does the result of a run that is open again.
void GameCanvas::cutRecording()
{
    QVector<ReplayEvent> &events = m_recording.events;
    int kept = events.size();
    while (kept > 0 && events.at(kept - 1).tick >= m_core.tick)
        --kept;
    events.resize(kept);
    m_recording.hasResult = false;
}
