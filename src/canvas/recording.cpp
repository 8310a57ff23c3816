#include "gamecanvas.h"
#include "replaystore.h"

#include <utility>

using namespace Pellwick;

namespace {

// Beside the snapshot in the session slot, so that a resumed attempt's replay is complete.
const char *const kReplayKeySuffix = "/replay";

} // namespace

void GameCanvas::beginRecording()
{
    m_recording = Replay::of(m_core);
    m_recordingComplete = true;
    m_history.begin(m_core);
}

// Calls the core refused are recorded too: a replay must refuse them again at the same moment.
void GameCanvas::recordEvent(const ReplayEvent &event)
{
    if (m_watch || m_core.finished)
        return;
    m_recording.events.append(event);
    m_history.record(event);
}

void GameCanvas::writeRecording(QSettings &settings, const QString &slot, const Replay &recording,
                                bool complete)
{
    const QString key = slot + QLatin1String(kReplayKeySuffix);
    if (complete)
        settings.setValue(key, writeReplay(recording));
    else
        settings.remove(key);
}

// A stored game without its events (or with events that do not belong to it) can go on, but its replay
// would be a lie: it is played without one.
void GameCanvas::restoreRecording(const QString &slot)
{
    Replay replay;
    const QByteArray text = m_settings.value(slot + QLatin1String(kReplayKeySuffix)).toByteArray();
    beginRecording();
    const bool belongs = readReplay(text, &replay, nullptr) && !replay.hasResult
        && replay.level == m_recording.level && replay.levelHash == m_recording.levelHash
        && replay.layout == m_core.layoutMode && replay.endTick() <= m_core.tick;
    if (belongs)
        m_recording = replay;
    m_recordingComplete = belongs;
}

// Written after the settings, each file replaced whole or left as it was: a kill in between leaves the result
// counted without its replay, never a best win that the statistics do not hold. For the same reason a win
// the settings did not take is not kept as the best.
void GameCanvas::storeFinishedReplay(bool resultStored)
{
    m_lastReplayStored = false;
    if (!m_recordingComplete)
        return;
    m_recording.finish(m_core);
    m_lastReplayStored = ReplayStore::storeLast(m_recording);
    const bool bestStored = !resultStored || ReplayStore::storeBest(m_recording, m_core.skillsUsed, m_core);
    if (!m_lastReplayStored || !bestStored)
        noteFailedWrite(ReplayStore::path(m_recording, ReplayStore::Last));
}

bool GameCanvas::lastReplayStored() const
{
    return m_lastReplayStored;
}

bool GameCanvas::endRun()
{
    if (m_watch || m_levelIntroVisible || m_core.finished)
        return false;
    forgetPendingAssignment();
    recordEvent(ReplayEvent::end(m_core.tick));
    playAndTell([this] { m_core.endRun(); });
    Q_EMIT stateChanged();
    update();
    return true;
}

bool GameCanvas::watching() const
{
    return bool(m_watch);
}

bool GameCanvas::lastWatchWon() const
{
    return m_lastWatchWon;
}

// Only a finished attempt is shown: its result says where the watching ends. A replay of a level that is not
// installed, or has changed, is refused before anything is left.
bool GameCanvas::watchReplay(const Replay &replay, QString *refusal)
{
    GameCore watched = m_core;
    if (!replay.hasResult || (!replay.isOfCustomLevel() && replay.level >= levelCount())
        || !ReplayPlayer(replay).start(watched, refusal))
        return false;
    stopWatching();
    forgetPendingAssignment();
    saveSession();

    m_watch.emplace(replay);
    m_watch->core = m_core;
    m_watch->levelIntroVisible = m_levelIntroVisible;
    m_watch->paused = m_paused;
    m_watch->completionHandled = m_completionHandled;
    m_watch->attemptRecorded = m_attemptRecorded;
    m_watch->tickAccumulator = m_tickAccumulator;
    m_watch->selectedCrewId = m_selectedCrewId;
    m_watch->zoom = m_zoom;
    m_watch->camera = QPointF(m_cameraX, m_cameraY);
    m_watch->history = std::move(m_history);

    m_core = watched;
    m_history.beginWatching(m_core, replay);
    m_levelIntroVisible = false;
    m_paused = false;
    m_completionHandled = false;
    m_tickAccumulator = 0.0f;
    m_selectedCrewId = -1;
    centerCamera(true);
    announceSwappedGame();
    return true;
}

void GameCanvas::stopWatching()
{
    if (!m_watch)
        return;
    m_core = m_watch->core;
    m_levelIntroVisible = m_watch->levelIntroVisible;
    m_paused = m_watch->paused;
    m_completionHandled = m_watch->completionHandled;
    m_attemptRecorded = m_watch->attemptRecorded;
    m_tickAccumulator = m_watch->tickAccumulator;
    m_selectedCrewId = m_watch->selectedCrewId;
    m_zoom = m_watch->zoom;
    m_cameraX = float(m_watch->camera.x());
    m_cameraY = float(m_watch->camera.y());
    m_history = std::move(m_watch->history);
    m_watch.reset();
    clampCamera();
    announceSwappedGame();
}

// Before each tick of a watched replay. A recording that ended by hand, or rules that changed since it was
// made, may leave the run open at the recorded end: the watching ends there all the same.
void GameCanvas::applyWatchedEvents()
{
    if (!m_watch)
        return;
    const int rateBefore = m_core.releaseRate;
    const int skillsBefore = m_core.skillsUsed;
    m_history.applyDueEvents(m_core);
    if (!m_core.finished && m_core.tick >= m_watch->endTick)
        m_core.endRun();
    if (m_core.releaseRate != rateBefore)
        Q_EMIT releaseRateChanged();
    if (m_core.skillsUsed != skillsBefore)
        Q_EMIT skillsChanged();
}

void GameCanvas::announceSwappedGame()
{
    Q_EMIT levelIntroVisibleChanged();
    Q_EMIT levelChanged();
    Q_EMIT levelsChanged();
    Q_EMIT stateChanged();
    Q_EMIT skillsChanged();
    Q_EMIT releaseRateChanged();
    Q_EMIT selectedCrewIdChanged();
    Q_EMIT pausedChanged();
    Q_EMIT zoomChanged();
    update();
}
