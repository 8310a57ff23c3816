#ifndef PELLWICK_GAMECANVAS_H
#define PELLWICK_GAMECANVAS_H

#include "gamecore.h"
#include "keptbackdrop.h"
#include "replay.h"
#include "runhistory.h"
#include "storage.h"
#include "watchedreplay.h"

#include <QPoint>
#include <QPointF>
#include <QQuickPaintedItem>
#include <QRectF>
#include <QSettings>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
struct SessionSave;
struct SessionContext;

// The play field as a QML item: owns one GameCore, runs it from a frame timer, paints it, takes taps and
// gestures through invokable methods and keeps progress, statistics and an interrupted game in its settings.
// The properties, signals and invokable methods below are a contract with the QML pages: their names,
// types and order must not change.
class GameCanvas : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(int levelIndex READ levelIndex NOTIFY levelChanged)
    Q_PROPERTY(int levelCount READ levelCount CONSTANT)
    Q_PROPERTY(QString levelName READ levelName NOTIFY levelChanged)
    Q_PROPERTY(QString stageName READ stageName NOTIFY levelChanged)
    Q_PROPERTY(QString levelBriefing READ levelBriefing NOTIFY levelChanged)
    Q_PROPERTY(QString difficultyName READ difficultyName NOTIFY levelChanged)
    Q_PROPERTY(int stagePosition READ stagePosition NOTIFY levelChanged)
    Q_PROPERTY(int stageTotal READ stageTotal NOTIFY levelChanged)
    Q_PROPERTY(bool stageComplete READ stageComplete NOTIFY stateChanged)
    Q_PROPERTY(QString nextStageName READ nextStageName NOTIFY stateChanged)
    Q_PROPERTY(bool levelIntroVisible READ levelIntroVisible NOTIFY levelIntroVisibleChanged)
    Q_PROPERTY(int bestTime READ bestTime NOTIFY levelsChanged)
    Q_PROPERTY(int bestSkills READ bestSkills NOTIFY levelsChanged)
    Q_PROPERTY(int bestSaved READ bestSaved NOTIFY levelsChanged)
    Q_PROPERTY(bool newBestTime READ newBestTime NOTIFY resultRecordsChanged)
    Q_PROPERTY(bool newBestSkills READ newBestSkills NOTIFY resultRecordsChanged)
    Q_PROPERTY(bool newBestSaved READ newBestSaved NOTIFY resultRecordsChanged)
    Q_PROPERTY(int totalCrew READ totalCrew NOTIFY levelChanged)
    Q_PROPERTY(int required READ required NOTIFY levelChanged)
    Q_PROPERTY(int spawned READ spawned NOTIFY stateChanged)
    Q_PROPERTY(int saved READ saved NOTIFY stateChanged)
    Q_PROPERTY(int lost READ lost NOTIFY stateChanged)
    Q_PROPERTY(int activeCrew READ activeCrew NOTIFY stateChanged)
    Q_PROPERTY(int elapsedSeconds READ elapsedSeconds NOTIFY stateChanged)
    Q_PROPERTY(int skillsUsed READ skillsUsed NOTIFY stateChanged)
    Q_PROPERTY(int releaseRate READ releaseRate WRITE setReleaseRate NOTIFY releaseRateChanged)
    Q_PROPERTY(bool paused READ paused WRITE setPaused NOTIFY pausedChanged)
    Q_PROPERTY(bool levelFinished READ levelFinished NOTIFY stateChanged)
    Q_PROPERTY(bool levelWon READ levelWon NOTIFY stateChanged)
    Q_PROPERTY(bool rescuePossible READ rescuePossible NOTIFY stateChanged)
    Q_PROPERTY(int selectedSkill READ selectedSkill WRITE setSelectedSkill NOTIFY selectedSkillChanged)
    Q_PROPERTY(int selectedCrewId READ selectedCrewId NOTIFY selectedCrewIdChanged)
    Q_PROPERTY(QVariantList skills READ skills NOTIFY skillsChanged)
    Q_PROPERTY(QVariantList levels READ levels NOTIFY levelsChanged)
    Q_PROPERTY(int unlockedLevel READ unlockedLevel NOTIFY levelsChanged)
    Q_PROPERTY(
        float speedMultiplier READ speedMultiplier WRITE setSpeedMultiplier NOTIFY speedMultiplierChanged)
    Q_PROPERTY(float zoom READ zoom NOTIFY zoomChanged)
    Q_PROPERTY(bool portraitLayout READ portraitLayout WRITE setPortraitLayout NOTIFY portraitLayoutChanged)
    Q_PROPERTY(bool followSelectedCrew READ followSelectedCrew WRITE setFollowSelectedCrew NOTIFY
                   followSelectedCrewChanged)

public:
    explicit GameCanvas(QQuickItem *parent = nullptr);
    ~GameCanvas() override;

    // Property readers, in contract order.
    int levelIndex() const;
    int levelCount() const;
    QString levelName() const;
    QString stageName() const;
    QString levelBriefing() const;
    QString difficultyName() const;
    int stagePosition() const;
    int stageTotal() const;
    bool stageComplete() const;
    QString nextStageName() const;
    bool levelIntroVisible() const;
    int bestTime() const;
    int bestSkills() const;
    int bestSaved() const;
    bool newBestTime() const;
    bool newBestSkills() const;
    bool newBestSaved() const;
    int totalCrew() const;
    int required() const;
    int spawned() const;
    int saved() const;
    int lost() const;
    int activeCrew() const;
    int elapsedSeconds() const;
    int skillsUsed() const;
    int releaseRate() const;
    bool paused() const;
    bool levelFinished() const;
    bool levelWon() const;
    bool rescuePossible() const;
    int selectedSkill() const;
    int selectedCrewId() const;
    QVariantList skills() const;
    QVariantList levels() const;
    int unlockedLevel() const;
    float speedMultiplier() const;
    float zoom() const;
    bool portraitLayout() const;
    bool followSelectedCrew() const;

    // Property writers.
    void setReleaseRate(int rate);
    void setPaused(bool value);
    void setSelectedSkill(int skill);
    void setSpeedMultiplier(float value);
    void setPortraitLayout(bool portrait);
    void setFollowSelectedCrew(bool value);

    Q_INVOKABLE void restartLevel();
    Q_INVOKABLE void startLevel();
    Q_INVOKABLE bool setLevel(int index);
    Q_INVOKABLE bool nextLevel();
    Q_INVOKABLE bool previousLevel();
    Q_INVOKABLE void togglePaused();
    Q_INVOKABLE void selectSkill(int skill);
    Q_INVOKABLE bool applySelectedSkill(float itemX, float itemY);
    Q_INVOKABLE void increaseReleaseRate();
    Q_INVOKABLE void decreaseReleaseRate();
    Q_INVOKABLE void zoomIn();
    Q_INVOKABLE void zoomOut();
    Q_INVOKABLE void resetView();
    Q_INVOKABLE void focusAction();
    Q_INVOKABLE void setZoomAt(float value, float itemX, float itemY);
    Q_INVOKABLE void panByItemDelta(float dx, float dy);
    Q_INVOKABLE void clearStatistics();
    Q_INVOKABLE QString formattedTime(int seconds) const;

    // Presentation of levels and skills (translated in the GameCanvas context).
    QString translatedLevelName(int index) const;
    QString stageNameFor(int stage) const;
    QString difficultyNameFor(int index) const;
    // 0 (Intro) to 3 (Hard): the game's levels by their place, the player's own by their stage.
    int difficultyBand(int index) const;
    QString skillName(int skill) const;
    QString skillShortName(int skill) const;

    // The mapping between item pixels and world units.
    QRectF playfieldRect() const;
    float baseScale() const;
    QPointF itemToWorld(float x, float y) const;
    QPointF worldToItem(const QPointF &world) const;
    QPointF actionFocusWorld() const;

    // The game's settings file: progress, statistics, the game in progress and the player's switches.
    static QString pellwickSettingsPath();

    // The running game, read-only, for C++ callers beside QML.
    const Pellwick::GameCore &core() const { return m_core; }

    // Levels of the player's own: every level file in this folder, listed in the chooser after the game's
    // levels (which levelCount counts), open from the start.
    static QString playerLevelFolder();
    // Reads the folder again, for a file dropped in or edited while the game runs; levelsChanged says when
    // the list changed.
    void readPlayerLevels();
    // Why the game left last time was not resumed, when its level is gone or has changed; empty otherwise.
    QString resumeRefusal() const;

    // Ending a run by hand and watching replays, offered to GameControl in C++ only: no part of the contract.
    bool endRun();
    // False, with the reason in refusal when its level is not installed or has changed, and nothing played.
    bool watchReplay(const Pellwick::Replay &replay, QString *refusal = nullptr);
    void stopWatching();
    bool watching() const;
    // Whether the replay watched last ended in a win; read when the watching has ended.
    bool lastWatchWon() const;
    // Finished attempts on the level that were lost in the layout; a stuck player is offered a solution.
    int lostAttempts(int level, Pellwick::LayoutMode layout) const;
    // The first save the storage refused since the canvas was made, for GameControl to tell the player.
    SaveProblem saveProblem() const;
    // Whether the attempt that just finished has its replay stored, so that watching it again shows that one.
    bool lastReplayStored() const;

    // Taking the run back, offered to GameControl in C++ only: no part of the contract. A run under way and a
    // watched replay go back `ticks` (not beyond their start), and so does a lost run from its result card;
    // while paused they also step one tick either way. Each answers false, and does nothing, when it cannot.
    bool canRewind() const;
    bool rewind(int ticks);
    bool stepBack();
    bool stepForward();

    void paint(QPainter *painter) override;

Q_SIGNALS:
    void levelChanged();
    void stateChanged();
    void releaseRateChanged();
    void pausedChanged();
    void selectedSkillChanged();
    void selectedCrewIdChanged();
    void skillsChanged();
    void levelsChanged();
    void speedMultiplierChanged();
    void zoomChanged();
    void portraitLayoutChanged();
    void levelIntroVisibleChanged();
    void resultRecordsChanged();
    void followSelectedCrewChanged();
    void skillAssigned(int skill);
    void crewSaved();
    void crewLost();
    void objectTriggered();
    void crewTargetPreviewed(int candidateIndex, int candidateCount);
    void levelCompleted(bool won);

protected:
    void geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private Q_SLOTS:
    void advanceFrame();
    void commitPendingAssignment();

private:
    friend class CanvasProbe; // white-box access for the tests

    // Frame loop and play control.
    void forgetPendingAssignment();
    void matchCoreLayout();
    void stepRun();
    void playAndTell(const std::function<void()> &play);
    void finishAttempt();

    // Taking a run back.
    bool rewindTo(int tick);
    void reachLevelStart();
    void cutRecording();

    // Progress and statistics.
    void markMigration();
    void loadProgress();
    void recordAttemptIfNeeded();
    void countAttempt();
    void storeEndOfRun();
    void takeBackLoss();
    void unlockAfterWin();
    void finalizeStatistics();
    void keepAttemptsAboveResults(int level);
    void resetResultRecords();
    bool commitSettings();
    void noteFailedWrite(const QString &path);
    void noteSaveProblem(SaveProblem problem);
    void storeLastLevel();
    static void writeLastLevel(QSettings &settings, int level);
    QString statsKey(int level, const char *name) const;
    int statistic(int level, const char *name, int fallback) const;
    int settingsInt(const QString &key, int fallback) const;
    qreal settingsReal(const QString &key, qreal fallback) const;

    // Levels of the player's own.
    struct PlayerLevel
    {
        QString fileName;
        int index; // in the catalogue; -1 for a file that cannot be played
        int errorLine;
        QString error;
        bool operator==(const PlayerLevel &other) const;
    };
    int addPlayerLevel(const Pellwick::LevelSpec &level);
    bool levelOpen(int index) const;
    QVector<int> playerStage() const;
    QVariantMap levelEntry(int index) const;
    QVariantMap playerLevelEntry(const PlayerLevel &file) const;

    // Camera and zoom.
    static float boundedZoom(qreal value);
    float effectiveScale() const;
    QPoint worldOriginPixel(qreal pixelRatio) const;
    void clampCamera();
    void centerCamera(bool resetZoom);
    void centreOnAction();
    void followStep();
    void setButtonZoom(float value);
    float preferredZoomForOrientation(bool portrait) const;
    void rememberZoomForOrientation();

    // Targeting input.
    const Pellwick::CrewMember *activeCrewMember(int id) const;
    void announceAssignment(int skill, int crewId);

    // Session persistence.
    void startSaveWorker();
    void saveSession();
    bool stageSession();
    void saveSessionInBackground();
    void saveSessionSoon();
    void storeRewoundRun(bool wasKept);
    void collectBackgroundSave();
    void settleBackgroundSave();
    void dropBackgroundSave();
    static void writeInBackground(SessionSave &save);
    bool runWorthKeeping() const;
    SessionContext sessionContext() const;
    static void writeSession(QSettings &settings, const QByteArray &blob, const SessionContext &context);
    void clearSession();
    void removeStoredRuns();
    bool restoreSession(int level);
    bool restoreLegacySession(int level);
    bool acceptableRun(const Pellwick::GameCore &run, int level) const;
    bool levelAlreadyWon(int level) const;
    void adoptRun(const Pellwick::GameCore &run, const QString &slot);

    // Recording attempts and watching replays.
    void beginRecording();
    void recordEvent(const Pellwick::ReplayEvent &event);
    static void writeRecording(QSettings &settings, const QString &slot, const Pellwick::Replay &recording,
                               bool complete);
    void restoreRecording(const QString &slot);
    void storeFinishedReplay(bool resultStored);
    void applyWatchedEvents();
    void announceSwappedGame();

    // Painting. The exact frame paints everything from nothing; the kept one composes the sky and scenery
    // from what is kept for the scene, and leaves out what lies off screen.
    void paintFrame(QPainter *painter, bool keepBackdrop);
    void drawSky(QPainter *painter) const;
    void enterWorld(QPainter *painter) const;
    QRectF visibleWorld() const;
    void drawKeptBackdrop(QPainter *painter);
    void drawBackdropInPlace(QPainter *painter) const;
    void drawBackground(QPainter *painter) const;
    void drawHill(QPainter *painter, int hill) const;
    void drawSceneryOverHills(QPainter *painter) const;
    void handOverSceneryState(QPainter *painter) const;
    void drawObjects(QPainter *painter, const QRectF &shown) const;
    void drawPortal(QPainter *painter, const QPointF &pos, bool exit) const;
    void drawCrew(QPainter *painter, const Pellwick::CrewMember &member) const;
    void drawSelectionMarker(QPainter *painter) const;
    void drawPauseVeil(QPainter *painter) const;
    void drawZoomLabel(QPainter *painter) const;

    Pellwick::GameCore m_core;
    QTimer m_frameTimer;
    QTimer m_pendingTimer;
    QSettings m_settings;

    bool m_paused = false;
    bool m_levelIntroVisible = true;
    float m_speedMultiplier = 1.0f;
    float m_tickAccumulator = 0.0f;
    bool m_completionHandled = false;
    bool m_attemptRecorded = false;
    int m_autosaveFrames = 0;

    int m_selectedSkill = -1;
    int m_selectedCrewId = -1;
    int m_pendingSkill = -1;
    int m_pendingCrewId = -1;
    QPointF m_pendingWorldPoint;
    QPointF m_lastTapWorldPoint;
    int m_previewIndex = 0;

    int m_unlockedLevel = 0;
    bool m_newBestTime = false;
    bool m_newBestSkills = false;
    bool m_newBestSaved = false;
    // What the end of a lost run counted, so that rewinding it takes back exactly that: the loss, and the
    // most saved before, if the run set a record (else -1).
    bool m_lossCounted = false;
    int m_bestSavedBefore = -1;
    SaveProblem m_saveProblem = SaveProblem::None;
    bool m_lastReplayStored = false;
    QVector<PlayerLevel> m_playerLevels;
    QString m_resumeRefusal;

    float m_zoom = 1.0f;
    float m_cameraX = 0.0f;
    float m_cameraY = 0.0f;
    bool m_portraitLayout = false;
    bool m_followSelectedCrew = false;
    int m_panHoldFrames = 0;

    Pellwick::Replay m_recording;
    bool m_recordingComplete = true;
    // The timeline of the run on screen, the player's own or a watched replay's, for rewinding it.
    Pellwick::RunHistory m_history;
    std::optional<WatchedReplay> m_watch;
    bool m_lastWatchWon = false;

    // The periodic save serializes on a worker of its own, one save at a time.
    QThreadPool m_saveWorker;
    std::shared_ptr<SessionSave> m_backgroundSave;
    bool m_saveAgain = false;

    KeptBackdrop m_keptBackdrop;
};

#endif // PELLWICK_GAMECANVAS_H
