#include "gamecanvas.h"
#include "storage.h"

#include <QMutex>
#include <QRunnable>

#include <atomic>
#include <cmath>
#include <functional>
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
    int level;
    float zoom;
    float cameraX;
    float cameraY;
    Replay recording;
    bool recordingComplete;
};

// A periodic save under way: a copy of the run (sharing its terrain image until the game changes it) that the
// worker serializes and stores with the context taken at the same moment, so that what is stored is one
// consistent state.
struct SessionSave
{
    // Copied, not built and assigned: a new core would first load a level, which costs a frame.
    SessionSave(const GameCore &run, const SessionContext &context, const QSettings &settings)
        : run(run)
        , context(context)
        , settingsFile(settings.fileName())
        , settingsFormat(settings.format())
    { }

    GameCore run;
    SessionContext context;
    QString settingsFile;
    QSettings::Format settingsFormat;
    // Held while the save is written: a run cleared meanwhile is either removed after it or never written.
    QMutex storeLock;
    std::atomic<bool> dropped { false };
    // Written by the worker before `done`: what kept the file from taking the save, if anything.
    SaveProblem problem = SaveProblem::None;
    std::atomic<bool> done { false };
};

namespace {

// Encoding a changed terrain as PNG and writing the settings file are too slow for a frame on a phone.
class SaveJob : public QRunnable
{
public:
    explicit SaveJob(std::function<void()> work)
        : m_work(std::move(work))
    { }

    void run() override { m_work(); }

private:
    std::function<void()> m_work;
};

} // namespace

// The worker's thread is started with the canvas and kept, so that no frame pays for starting it: that
// takes longer than a whole frame's work.
void GameCanvas::startSaveWorker()
{
    m_saveWorker.setMaxThreadCount(1);
    m_saveWorker.setExpiryTimeout(-1);
    m_saveWorker.start(new SaveJob([] {}));
}

// Complete when it returns: what pausing, leaving, restarting and closing rely on.
void GameCanvas::saveSession()
{
    settleBackgroundSave();
    if (stageSession())
        commitSettings();
}

// The run among the settings' changes, if it is worth keeping, for the caller's write to store.
bool GameCanvas::stageSession()
{
    if (!runWorthKeeping())
        return false;
    writeSession(m_settings, m_core.serialize(), sessionContext());
    return true;
}

// The frame loop's save: the snapshot is made and written on the worker; a later frame collects it.
void GameCanvas::saveSessionInBackground()
{
    if (!runWorthKeeping())
        return;
    const auto save = std::make_shared<SessionSave>(m_core, sessionContext(), m_settings);
    m_backgroundSave = save;
    m_saveWorker.start(new SaveJob([save] { writeInBackground(*save); }));
}

// Runs on the worker, with a settings object of its own on the game's file, as QSettings allows.
void GameCanvas::writeInBackground(SessionSave &save)
{
    // A save dropped before its turn costs nothing: holding rewind drops one at every step.
    const QByteArray blob = save.dropped ? QByteArray() : save.run.serialize();
    {
        QMutexLocker lock(&save.storeLock);
        if (!save.dropped) {
            Storage::Write write(save.settingsFile);
            QSettings settings(save.settingsFile, save.settingsFormat);
            writeSession(settings, blob, save.context);
            if (!write.commit(settings))
                save.problem = Storage::diagnose(save.settingsFile);
        }
    }
    save.done.store(true, std::memory_order_release);
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

// The stored game follows a run taken back: a save of the future given up is dropped, and the rewound run is
// stored at once. A run taken back to before its first tick is a level not begun: what was stored of it goes,
// once, however long rewind is held there. A watched replay was never stored.
void GameCanvas::storeRewoundRun(bool wasKept)
{
    if (runWorthKeeping()) {
        dropBackgroundSave();
        saveSessionInBackground();
    } else if (wasKept) {
        clearSession();
    }
}

void GameCanvas::collectBackgroundSave()
{
    if (!m_backgroundSave || !m_backgroundSave->done.load(std::memory_order_acquire))
        return;
    const std::shared_ptr<SessionSave> save = std::exchange(m_backgroundSave, nullptr);
    noteSaveProblem(save->problem);
    m_core.keepTerrainEncoding(save->run);
    if (std::exchange(m_saveAgain, false))
        saveSessionInBackground();
}

// A save that must be complete lets the one under way finish first, so that the older state never lands
// after it, and keeps its encoding if the terrain is still the same.
void GameCanvas::settleBackgroundSave()
{
    m_saveAgain = false;
    if (!m_backgroundSave)
        return;
    m_saveWorker.waitForDone();
    noteSaveProblem(m_backgroundSave->problem);
    m_core.keepTerrainEncoding(m_backgroundSave->run);
    m_backgroundSave.reset();
}

// A save still under way belongs to a run that is gone: if it has not been written yet, it never is.
void GameCanvas::dropBackgroundSave()
{
    m_saveAgain = false;
    if (const std::shared_ptr<SessionSave> save = std::exchange(m_backgroundSave, nullptr)) {
        QMutexLocker lock(&save->storeLock);
        save->dropped = true;
    }
}

// A replay being watched is no game to resume (the game left to watch it was saved before), and a finished
// run's end removed the stored game in the same write that counted it.
bool GameCanvas::runWorthKeeping() const
{
    if (m_watch || m_core.finished)
        return false;
    return m_core.tick >= 1 || m_core.spawned > 0;
}

SessionContext GameCanvas::sessionContext() const
{
    return { m_core.levelIndex, m_zoom, m_cameraX, m_cameraY, m_recording, m_recordingComplete };
}

void GameCanvas::writeSession(QSettings &settings, const QByteArray &blob, const SessionContext &context)
{
    settings.setValue(slotKey(kCurrentSlot, "blob"), blob);
    settings.setValue(slotKey(kCurrentSlot, "format"), kSessionFormat);
    settings.setValue(slotKey(kCurrentSlot, "zoom"), context.zoom);
    settings.setValue(slotKey(kCurrentSlot, "cameraX"), context.cameraX);
    settings.setValue(slotKey(kCurrentSlot, "cameraY"), context.cameraY);
    writeRecording(settings, kCurrentSlot, context.recording, context.recordingComplete);
    writeLastLevel(settings, context.level);
}

void GameCanvas::clearSession()
{
    dropBackgroundSave();
    removeStoredRuns();
    commitSettings();
}

void GameCanvas::removeStoredRuns()
{
    m_settings.remove(kCurrentSlot);
    m_settings.remove(kPortraitSlot);
    m_settings.remove(kLandscapeSlot);
}

bool GameCanvas::restoreSession(int level)
{
    const QByteArray blob = m_settings.value(slotKey(kCurrentSlot, "blob")).toByteArray();
    if (blob.isEmpty())
        return false;
    // Restored beside the catalogue, which holds the player's own levels.
    GameCore run = m_core;
    if (!run.restore(blob, &m_resumeRefusal) || !acceptableRun(run, level))
        return false;
    if (settingsInt(slotKey(kCurrentSlot, "format"), 0) < kSessionFormat && levelAlreadyWon(run.levelIndex)) {
        m_settings.remove(kCurrentSlot);
        commitSettings();
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
        GameCore run = m_core;
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
    return !run.finished && levelOpen(run.levelIndex) && (level < 0 || run.levelIndex == level);
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
