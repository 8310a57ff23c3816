#include "gamecontrol.h"

#include "storage.h"

#include <QFileInfo>
#include <QSettings>

using namespace Pellwick;

namespace {

// Three lost attempts in one layout mark a player who is stuck rather than still exploring.
constexpr int kLossesBeforeSolution = 3;
constexpr int kRewindTicks = 5 * 30;
constexpr int kScrubTicks = 30;
const QLatin1String kSoundKey("sound/enabled");

bool storedSoundSwitch()
{
    return QSettings(GameCanvas::pellwickSettingsPath(), QSettings::NativeFormat)
        .value(kSoundKey, true)
        .toBool();
}

// PulseAudio listens where PULSE_SERVER says, or on its socket in the user's runtime directory.
bool soundServerListens()
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariableIsEmpty("PULSE_RUNTIME_PATH")
        ? QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR")) + QStringLiteral("/pulse")
        : QString::fromLocal8Bit(qgetenv("PULSE_RUNTIME_PATH"));
    return QFileInfo::exists(runtime + QStringLiteral("/native"));
}

} // namespace

GameControl::GameControl(QObject *parent)
    : QObject(parent)
    , m_soundEnabled(storedSoundSwitch())
{ }

GameCanvas *GameControl::canvas() const
{
    return m_canvas;
}

bool GameControl::watching() const
{
    return m_watching;
}

bool GameControl::canEndRun() const
{
    return m_canEndRun;
}

bool GameControl::canRewind() const
{
    return m_canRewind;
}

QUrl GameControl::solutionFolder() const
{
    return m_solutionFolder;
}

void GameControl::setSolutionFolder(const QUrl &folder)
{
    if (folder == m_solutionFolder)
        return;
    m_solutionFolder = folder;
    Q_EMIT solutionFolderChanged();
    refreshSolutionLevels();
}

bool GameControl::soundEnabled() const
{
    return m_soundEnabled;
}

bool GameControl::soundServer() const
{
    static const bool listens = soundServerListens();
    return listens;
}

void GameControl::setSoundEnabled(bool enabled)
{
    if (enabled == m_soundEnabled)
        return;
    m_soundEnabled = enabled;
    Storage::Write write(GameCanvas::pellwickSettingsPath());
    QSettings settings(GameCanvas::pellwickSettingsPath(), QSettings::NativeFormat);
    settings.setValue(kSoundKey, enabled);
    if (!write.commit(settings))
        noteSaveProblem(Storage::diagnose(settings.fileName()));
    Q_EMIT soundEnabledChanged();
}

QString GameControl::saveProblem() const
{
    switch (m_saveProblem) {
    case SaveProblem::NoSpace:
        return tr("There is no space left on this device, so your progress cannot be saved. You can keep "
                  "playing.");
    case SaveProblem::NotWritable:
        return tr("The game's folder cannot be written to, so your progress cannot be saved. You can keep "
                  "playing.");
    case SaveProblem::None:
        break;
    }
    return QString();
}

QString GameControl::refusal() const
{
    return m_refusal;
}

void GameControl::setRefusal(const QString &refusal)
{
    if (refusal == m_refusal)
        return;
    m_refusal = refusal;
    Q_EMIT refusalChanged();
}

// The canvas finds a refused save while it plays and announces something at that moment or the next frame.
void GameControl::refreshSaveProblem()
{
    if (m_canvas)
        noteSaveProblem(m_canvas->saveProblem());
}

void GameControl::noteSaveProblem(SaveProblem problem)
{
    if (problem == SaveProblem::None || m_saveProblem != SaveProblem::None)
        return;
    m_saveProblem = problem;
    Q_EMIT saveProblemChanged();
}

void GameControl::setCanvas(GameCanvas *canvas)
{
    if (canvas == m_canvas)
        return;
    if (m_canvas)
        disconnect(m_canvas, nullptr, this, nullptr);
    m_canvas = canvas;
    if (m_canvas) {
        // The canvas announces every change of game through these; the control's flags follow them.
        connect(m_canvas, &GameCanvas::stateChanged, this, &GameControl::refresh);
        connect(m_canvas, &GameCanvas::levelChanged, this, &GameControl::refresh);
        connect(m_canvas, &GameCanvas::levelIntroVisibleChanged, this, &GameControl::refresh);
        connect(m_canvas, &GameCanvas::levelsChanged, this, &GameControl::refreshSolutionLevels);
        connect(m_canvas, &GameCanvas::portraitLayoutChanged, this, &GameControl::refreshSolutionLevels);
        for (const auto announcement : { &GameCanvas::stateChanged, &GameCanvas::levelsChanged,
                                         &GameCanvas::pausedChanged, &GameCanvas::levelChanged })
            connect(m_canvas, announcement, this, &GameControl::refreshSaveProblem);
        // By then the canvas is only a QObject: forget it before asking anything.
        connect(m_canvas, &QObject::destroyed, this, [this] {
            m_canvas = nullptr;
            refresh();
            refreshSolutionLevels();
        });
    }
    Q_EMIT canvasChanged();
    refresh();
    refreshSolutionLevels();
    refreshSaveProblem();
    const QString resumeRefusal = m_canvas ? m_canvas->resumeRefusal() : QString();
    setRefusal(resumeRefusal.isEmpty() ? QString()
                                       : tr("The game you left was not resumed. %1").arg(resumeRefusal));
}

void GameControl::refresh()
{
    const bool watching = m_canvas && m_canvas->watching();
    const bool canEndRun =
        m_canvas && !watching && !m_canvas->levelIntroVisible() && !m_canvas->levelFinished();
    if (canEndRun != m_canEndRun) {
        m_canEndRun = canEndRun;
        Q_EMIT canEndRunChanged();
    }
    const bool canRewind = m_canvas && m_canvas->canRewind();
    if (canRewind != m_canRewind) {
        m_canRewind = canRewind;
        Q_EMIT canRewindChanged();
    }
    if (watching == m_watching) {
        followWatchedSkills();
        return;
    }
    m_watching = watching;
    m_watchedSkillsUsed = watching ? m_canvas->core().skillsUsed : 0;
    Q_EMIT watchingChanged();
    if (!watching && !m_stoppingByHand) {
        const bool won = m_canvas && m_canvas->lastWatchWon();
        Q_EMIT watchedLevelCompleted(won);
        Q_EMIT watchFinished(won);
    }
}

// The canvas ends each frame with stateChanged, so however many skills a watched frame hands out, this
// announces them once.
void GameControl::followWatchedSkills()
{
    if (!m_watching)
        return;
    const int used = m_canvas->core().skillsUsed;
    if (used > m_watchedSkillsUsed)
        Q_EMIT watchedSkillAssigned();
    m_watchedSkillsUsed = used;
}

bool GameControl::endRun()
{
    return m_canvas && m_canvas->endRun();
}

bool GameControl::rewind()
{
    return m_canvas && m_canvas->rewind(kRewindTicks);
}

bool GameControl::scrubBack()
{
    return m_canvas && m_canvas->rewind(kScrubTicks);
}

bool GameControl::stepBack()
{
    return m_canvas && m_canvas->stepBack();
}

bool GameControl::stepForward()
{
    return m_canvas && m_canvas->stepForward();
}

// A file left by an earlier attempt is not the one just finished.
bool GameControl::hasLastReplay() const
{
    return m_canvas && m_canvas->lastReplayStored();
}

bool GameControl::watchLastReplay()
{
    if (!m_canvas)
        return false;
    const GameCore &core = m_canvas->core();
    return watchFile(replayPath(core.levelIndex, core.layoutMode, ReplayStore::Last));
}

QString GameControl::replayPath(int level, LayoutMode layout, ReplayStore::Kind kind) const
{
    const QVector<LevelSpec> &levels = m_canvas->core().levels;
    if (level >= 0 && level < levels.size() && levels.at(level).isCustom())
        return ReplayStore::path(levels.at(level).hash, layout, kind);
    return ReplayStore::path(level, layout, kind);
}

QString GameControl::bestReplayPath(int level) const
{
    if (!m_canvas)
        return QString();
    const LayoutMode held = m_canvas->portraitLayout() ? Portrait : Landscape;
    const QString preferred = replayPath(level, held, ReplayStore::Best);
    if (QFileInfo::exists(preferred))
        return preferred;
    const QString other = replayPath(level, held == Portrait ? Landscape : Portrait, ReplayStore::Best);
    return QFileInfo::exists(other) ? other : QString();
}

bool GameControl::hasBestReplay(int level) const
{
    return !bestReplayPath(level).isEmpty();
}

bool GameControl::watchBestReplay(int level)
{
    const QString path = bestReplayPath(level);
    return !path.isEmpty() && watchFile(path);
}

// Named like the replays the solution search writes.
QString GameControl::solutionPath(int level) const
{
    return m_solutionFolder.toLocalFile()
        + QStringLiteral("/level-%1-%2.txt")
              .arg(level, 2, 10, QLatin1Char('0'))
              .arg(m_canvas->portraitLayout() ? QStringLiteral("portrait") : QStringLiteral("landscape"));
}

QVariantList GameControl::solutionLevels() const
{
    return m_solutionLevels;
}

// Losses are written with the other statistics, which the canvas announces as a change of its levels.
void GameControl::refreshSolutionLevels()
{
    QVariantList levels;
    const LayoutMode held = m_canvas && m_canvas->portraitLayout() ? Portrait : Landscape;
    for (int level = 0; m_canvas && level < m_canvas->levelCount(); ++level) {
        if (m_canvas->lostAttempts(level, held) >= kLossesBeforeSolution
            && QFileInfo::exists(solutionPath(level)))
            levels.append(level);
    }
    if (levels == m_solutionLevels)
        return;
    m_solutionLevels = levels;
    Q_EMIT solutionLevelsChanged();
}

bool GameControl::watchSolution(int level)
{
    return m_solutionLevels.contains(level) && watchFile(solutionPath(level));
}

bool GameControl::watchFile(const QString &path)
{
    Replay replay;
    QString refusal;
    const bool watched =
        m_canvas && readReplayFile(path, &replay, nullptr) && m_canvas->watchReplay(replay, &refusal);
    setRefusal(refusal);
    return watched;
}

void GameControl::readPlayerLevels()
{
    if (m_canvas)
        m_canvas->readPlayerLevels();
}

void GameControl::stopWatching()
{
    if (!m_canvas)
        return;
    m_stoppingByHand = true;
    m_canvas->stopWatching();
    m_stoppingByHand = false;
}
