#include "gamecanvas.h"

#include <QRunnable>

#include <atomic>
#include <cmath>
#include <utility>

using namespace Pellwick;

namespace {

const QString kCurrentSlot = QStringLiteral("session/current");
const QString kPortraitSlot = QStringLiteral("session/portrait");
const QString kLandscapeSlot = QStringLiteral("session/landscape");

// Sessions written before this format may hold a level that has been won since.
constexpr int kSessionFormat = 4;

// A stored camera coordinate beyond this is damage, not a place in any world of ours.
constexpr qreal kCameraLimit = 100000.0;

QString slotKey(const QString &slot, const char *name)
{
    return slot + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

// What a session stores beside the snapshot, taken at the same moment as the run.
struct SessionContext
{
    float zoom;
    float cameraX;
    float cameraY;
    Replay recording;
    bool recordingComplete;
};

// A periodic save under way: a copy of the run (sharing its terrain image until the game changes it) that the
// worker serializes, and the context taken with it, so that what is stored is one consistent state.
struct SessionSave
{
    GameCore run;
    SessionContext context;
    QByteArray blob;
    std::atomic<bool> ready { false };
};

namespace {

// Encoding a changed terrain as PNG is the slow part of a save, too slow for a frame on a phone.
class SerializeJob : public QRunnable
{
public:
    explicit SerializeJob(std::shared_ptr<SessionSave> save)
        : m_save(std::move(save))
    { }

    void run() override
    {
        m_save->blob = m_save->run.serialize();
        m_save->ready.store(true, std::memory_order_release);
    }

private:
    std::shared_ptr<SessionSave> m_save;
};

} // namespace

// Complete when it returns: what pausing, leaving, restarting and closing rely on.
void GameCanvas::saveSession()
{
    settleBackgroundSave();
    if (runWorthKeeping())
        storeSession(m_core.serialize(), sessionContext());
}

// The frame loop's save: the snapshot is made on the worker and stored by a later frame.
void GameCanvas::saveSessionInBackground()
{
    if (!runWorthKeeping())
        return;
    m_backgroundSave = std::make_shared<SessionSave>();
    m_backgroundSave->run = m_core;
    m_backgroundSave->context = sessionContext();
    m_saveWorker.start(new SerializeJob(m_backgroundSave));
}

// A save the player's own moves ask for: stored within a frame or two, for a tap must not wait for the
// terrain's encoding. With a save under way, the next one starts as soon as that one is stored.
void GameCanvas::saveSessionSoon()
{
    if (m_backgroundSave)
        m_saveAgain = true;
    else
        saveSessionInBackground();
}

void GameCanvas::collectBackgroundSave()
{
    if (!m_backgroundSave || !m_backgroundSave->ready.load(std::memory_order_acquire))
        return;
    const std::shared_ptr<SessionSave> save = std::move(m_backgroundSave);
    m_backgroundSave.reset();
    m_core.keepTerrainEncoding(save->run);
    storeSession(save->blob, save->context);
    if (std::exchange(m_saveAgain, false))
        saveSessionInBackground();
}

// A save that must be complete lets the one under way finish first and keeps its encoding if the terrain is
// still the same; the state it held is older than the one about to be written, so it is not stored.
void GameCanvas::settleBackgroundSave()
{
    m_saveAgain = false;
    if (!m_backgroundSave)
        return;
    m_saveWorker.waitForDone();
    m_core.keepTerrainEncoding(m_backgroundSave->run);
    m_backgroundSave.reset();
}

bool GameCanvas::runWorthKeeping()
{
    if (m_watch)
        return false; // the game left to watch a replay was saved before; the replay is no game to resume
    if (m_core.finished) {
        clearSession();
        return false;
    }
    return m_core.tick >= 1 || m_core.spawned > 0;
}

SessionContext GameCanvas::sessionContext() const
{
    return { m_zoom, m_cameraX, m_cameraY, m_recording, m_recordingComplete };
}

void GameCanvas::storeSession(const QByteArray &blob, const SessionContext &context)
{
    m_settings.setValue(slotKey(kCurrentSlot, "blob"), blob);
    m_settings.setValue(slotKey(kCurrentSlot, "format"), kSessionFormat);
    m_settings.setValue(slotKey(kCurrentSlot, "zoom"), context.zoom);
    m_settings.setValue(slotKey(kCurrentSlot, "cameraX"), context.cameraX);
    m_settings.setValue(slotKey(kCurrentSlot, "cameraY"), context.cameraY);
    saveRecording(kCurrentSlot, context.recording, context.recordingComplete);
    storeLastLevel();
    m_settings.sync();
}

// A save still under way belongs to the run being cleared: its result is dropped when it comes.
void GameCanvas::clearSession()
{
    m_backgroundSave.reset();
    m_saveAgain = false;
    m_settings.remove(kCurrentSlot);
    m_settings.remove(kPortraitSlot);
    m_settings.remove(kLandscapeSlot);
    m_settings.sync();
}

bool GameCanvas::restoreSession(int level)
{
    const QByteArray blob = m_settings.value(slotKey(kCurrentSlot, "blob")).toByteArray();
    if (blob.isEmpty())
        return false;
    GameCore run;
    if (!run.restore(blob) || !acceptableRun(run, level))
        return false;
    if (settingsInt(slotKey(kCurrentSlot, "format"), 0) < kSessionFormat && levelAlreadyWon(run.levelIndex)) {
        m_settings.remove(kCurrentSlot);
        m_settings.sync();
        return false;
    }
    adoptRun(run, kCurrentSlot);
    return true;
}

// Of the two slots of the older one-slot-per-layout arrangement, the run that went on longer is converted.
bool GameCanvas::restoreLegacySession(int level)
{
    GameCore candidate;
    QString candidateSlot;
    for (const QString &slot : { kPortraitSlot, kLandscapeSlot }) {
        const QByteArray blob = m_settings.value(slotKey(slot, "blob")).toByteArray();
        if (blob.isEmpty())
            continue;
        GameCore run;
        if (!run.restore(blob) || !acceptableRun(run, level) || levelAlreadyWon(run.levelIndex))
            continue;
        if (candidateSlot.isEmpty() || run.tick > candidate.tick) {
            candidate = run;
            candidateSlot = slot;
        }
    }
    if (candidateSlot.isEmpty())
        return false;
    adoptRun(candidate, candidateSlot);
    m_settings.remove(kPortraitSlot);
    m_settings.remove(kLandscapeSlot);
    saveSession();
    return true;
}

bool GameCanvas::acceptableRun(const GameCore &run, int level) const
{
    return !run.finished && run.levelIndex <= m_unlockedLevel && (level < 0 || run.levelIndex == level);
}

bool GameCanvas::levelAlreadyWon(int level) const
{
    return level < m_unlockedLevel && statistic(level, "wins", 0) > 0;
}

void GameCanvas::adoptRun(const GameCore &run, const QString &slot)
{
    m_core = run;
    m_portraitLayout = m_core.layoutMode == Portrait;
    m_zoom = boundedZoom(settingsReal(slotKey(slot, "zoom"), 1.0));

    // A damaged coordinate falls back to the centre of the world, as a missing one does.
    const qreal centreX = m_core.worldWidth() * 0.5;
    const qreal centreY = m_core.worldHeight() * 0.5;
    const qreal cameraX = settingsReal(slotKey(slot, "cameraX"), centreX);
    const qreal cameraY = settingsReal(slotKey(slot, "cameraY"), centreY);
    m_cameraX = float(std::abs(cameraX) <= kCameraLimit ? cameraX : centreX);
    m_cameraY = float(std::abs(cameraY) <= kCameraLimit ? cameraY : centreY);
    clampCamera();

    m_completionHandled = false;
    m_attemptRecorded = m_core.tick > 0;
    restoreRecording(slot);
}
