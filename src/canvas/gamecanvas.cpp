#include "gamecanvas.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

using namespace Pellwick;

namespace {

constexpr int kFrameIntervalMs = 33;
constexpr int kPendingIntervalMs = 320;
constexpr int kTicksPerSecond = 30;
constexpr int kAutosaveFrameLimit = 29; // a session save every 30 stepping frames
constexpr float kSlowestSpeed = 0.5f;
constexpr float kFastestSpeed = 3.0f;
constexpr int kReleaseRateStep = 5;

// The settings file's directory must exist before QSettings opens the file in it.
QString settingsPathInExistingDirectory(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

} // namespace

GameCanvas::GameCanvas(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_settings(settingsPathInExistingDirectory(pellwickSettingsPath()), QSettings::NativeFormat)
{
    setAntialiasing(true);
    Storage::holdBackAutomaticSync(m_settings);
    markMigration();
    loadProgress();
    readPlayerLevels();

    if (restoreSession(-1) || restoreLegacySession(-1)) {
        // A resumed game carries on where it stopped, without its introduction.
        m_levelIntroVisible = false;
        storeLastLevel();
        commitSettings();
    } else {
        clearSession();
        m_core.loadLevel(m_unlockedLevel); // kept within the catalogue when progress is loaded
        beginRecording();
        storeLastLevel();
        commitSettings();
        centerCamera(true);
    }

    m_frameTimer.setInterval(kFrameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, &GameCanvas::advanceFrame);
    m_frameTimer.start();
    startSaveWorker();
    m_pendingTimer.setSingleShot(true);
    m_pendingTimer.setInterval(kPendingIntervalMs);
    connect(&m_pendingTimer, &QTimer::timeout, this, &GameCanvas::commitPendingAssignment);
}

GameCanvas::~GameCanvas()
{
    // A game left by closing the page or the application is resumed next time. Nothing is left for the
    // settings to write unchecked as they close.
    saveSession();
    commitSettings();
}

QString GameCanvas::pellwickSettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/harbour-pellwick.conf");
}

int GameCanvas::levelIndex() const
{
    return m_core.levelIndex;
}

// The game's own levels, which come first in the catalogue; the player's own follow them.
int GameCanvas::levelCount() const
{
    const auto custom = std::find_if(m_core.levels.cbegin(), m_core.levels.cend(),
                                     [](const LevelSpec &level) { return level.isCustom(); });
    return int(custom - m_core.levels.cbegin());
}

bool GameCanvas::levelIntroVisible() const
{
    return m_levelIntroVisible;
}

int GameCanvas::totalCrew() const
{
    return m_core.currentLevel().crewCount;
}

int GameCanvas::required() const
{
    return m_core.currentLevel().requiredCount;
}

int GameCanvas::spawned() const
{
    return m_core.spawned;
}

int GameCanvas::saved() const
{
    return m_core.saved;
}

int GameCanvas::lost() const
{
    return m_core.lost;
}

int GameCanvas::activeCrew() const
{
    return m_core.activeCount();
}

int GameCanvas::elapsedSeconds() const
{
    return m_core.tick / kTicksPerSecond;
}

int GameCanvas::skillsUsed() const
{
    return m_core.skillsUsed;
}

int GameCanvas::releaseRate() const
{
    return m_core.releaseRate;
}

bool GameCanvas::paused() const
{
    return m_paused;
}

bool GameCanvas::levelFinished() const
{
    return m_core.finished;
}

bool GameCanvas::levelWon() const
{
    return m_core.won();
}

bool GameCanvas::rescuePossible() const
{
    return m_core.rescuePossible();
}

int GameCanvas::selectedSkill() const
{
    return m_selectedSkill;
}

int GameCanvas::selectedCrewId() const
{
    return m_selectedCrewId;
}

float GameCanvas::speedMultiplier() const
{
    return m_speedMultiplier;
}

float GameCanvas::zoom() const
{
    return m_zoom;
}

bool GameCanvas::portraitLayout() const
{
    return m_portraitLayout;
}

bool GameCanvas::followSelectedCrew() const
{
    return m_followSelectedCrew;
}

void GameCanvas::advanceFrame()
{
    collectBackgroundSave();
    if (m_paused || m_levelIntroVisible || m_core.finished) {
        update();
        return;
    }
    if (!m_watch)
        recordAttemptIfNeeded();

    m_tickAccumulator += m_speedMultiplier;
    if (m_tickAccumulator < 1.0f)
        return;
    playAndTell([this] {
        while (m_tickAccumulator >= 1.0f) {
            stepRun();
            m_tickAccumulator -= 1.0f;
        }
    });
    // A save still under way when the next is due delays the next; it never runs twice at once.
    if (++m_autosaveFrames > kAutosaveFrameLimit && !m_backgroundSave) {
        m_autosaveFrames = 0;
        saveSessionInBackground();
    }
    followStep();
    Q_EMIT stateChanged();
    update();
}

// One tick: a watched replay's events due now, the step, and the run's timeline told of it.
void GameCanvas::stepRun()
{
    applyWatchedEvents();
    m_core.step();
    m_history.stepped(m_core);
}

// However many ticks a frame, a step or an end by hand plays, and however many members are saved or lost,
// QML hears each kind of event once; a run that ends there is finished.
void GameCanvas::playAndTell(const std::function<void()> &play)
{
    const int savedBefore = m_core.saved;
    const int lostBefore = m_core.lost;
    const int triggersBefore = m_core.objectTriggers;
    play();
    if (m_core.saved > savedBefore)
        Q_EMIT crewSaved();
    if (m_core.lost > lostBefore)
        Q_EMIT crewLost();
    if (m_core.objectTriggers != triggersBefore)
        Q_EMIT objectTriggered();
    if (m_core.finished && !m_completionHandled)
        finishAttempt();
}

void GameCanvas::finishAttempt()
{
    if (m_watch) {
        // A watched replay counts for nothing; at its end the player is back where they left.
        m_lastWatchWon = m_core.won();
        stopWatching();
        return;
    }
    m_completionHandled = true;
    // Announced once all is stored: the pages refreshing on these find the records and the replay in place.
    storeEndOfRun();
    Q_EMIT resultRecordsChanged();
    Q_EMIT levelsChanged();
    Q_EMIT levelCompleted(m_core.won());
}

void GameCanvas::setPaused(bool value)
{
    if (value == m_paused)
        return;
    m_paused = value;
    if (value) {
        forgetPendingAssignment();
        saveSession();
    }
    Q_EMIT pausedChanged();
}

void GameCanvas::togglePaused()
{
    setPaused(!m_paused);
}

void GameCanvas::setSpeedMultiplier(float value)
{
    float bounded = kSlowestSpeed;
    if (value > kFastestSpeed)
        bounded = kFastestSpeed;
    else if (value > kSlowestSpeed)
        bounded = value;
    if (qFuzzyCompare(bounded, m_speedMultiplier))
        return;
    m_speedMultiplier = bounded;
    Q_EMIT speedMultiplierChanged();
}

void GameCanvas::setReleaseRate(int rate)
{
    if (m_watch)
        return;
    const int before = m_core.releaseRate;
    m_core.setReleaseRate(rate);
    recordEvent(ReplayEvent::releaseRate(m_core.tick, rate));
    if (m_core.releaseRate == before)
        return;
    Q_EMIT releaseRateChanged();
    saveSessionSoon();
}

void GameCanvas::increaseReleaseRate()
{
    setReleaseRate(m_core.releaseRate + kReleaseRateStep);
}

void GameCanvas::decreaseReleaseRate()
{
    setReleaseRate(m_core.releaseRate - kReleaseRateStep);
}

void GameCanvas::startLevel()
{
    if (!m_levelIntroVisible)
        return;
    m_levelIntroVisible = false;
    Q_EMIT levelIntroVisibleChanged();
}

bool GameCanvas::setLevel(int index)
{
    if (!levelOpen(index))
        return false;

    stopWatching();
    resetResultRecords();
    forgetPendingAssignment();
    saveSession();
    clearSession();
    matchCoreLayout();
    m_core.loadLevel(index);
    beginRecording();
    storeLastLevel();

    m_selectedSkill = -1;
    m_selectedCrewId = -1;
    m_completionHandled = false;
    m_attemptRecorded = false;
    m_paused = false;
    m_tickAccumulator = 0.0f;
    m_levelIntroVisible = true;
    centerCamera(true);

    Q_EMIT levelIntroVisibleChanged();
    Q_EMIT levelChanged();
    Q_EMIT stateChanged();
    Q_EMIT skillsChanged();
    Q_EMIT releaseRateChanged();
    Q_EMIT selectedCrewIdChanged();
    Q_EMIT selectedSkillChanged();
    Q_EMIT pausedChanged();
    Q_EMIT zoomChanged();
    update();
    return true;
}

bool GameCanvas::nextLevel()
{
    return setLevel(m_core.levelIndex + 1);
}

bool GameCanvas::previousLevel()
{
    return setLevel(m_core.levelIndex - 1);
}

void GameCanvas::restartLevel()
{
    stopWatching();
    resetResultRecords();
    forgetPendingAssignment();
    clearSession();
    matchCoreLayout();
    m_core.restartLevel();
    beginRecording();

    m_completionHandled = false;
    m_attemptRecorded = false;
    m_levelIntroVisible = true;
    m_paused = false;
    m_tickAccumulator = 0.0f;
    m_selectedCrewId = -1;
    centerCamera(true);

    Q_EMIT selectedCrewIdChanged();
    Q_EMIT stateChanged();
    Q_EMIT skillsChanged();
    Q_EMIT releaseRateChanged();
    Q_EMIT pausedChanged();
    Q_EMIT levelIntroVisibleChanged();
    Q_EMIT zoomChanged();
    update();
}

// A level is (re)started in the layout the player is holding the phone in; no restart here, the caller loads.
void GameCanvas::matchCoreLayout()
{
    m_core.setLayoutMode(m_portraitLayout ? Portrait : Landscape, false);
}
