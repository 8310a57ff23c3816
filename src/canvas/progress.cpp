#include "gamecanvas.h"
#include "replaystore.h"

#include <QFile>

#include <algorithm>

using namespace Pellwick;

namespace {

const QString kMigrationKey = QStringLiteral("migration/appConfigPath");
const QString kUnlockedLevelKey = QStringLiteral("progress/unlockedLevel");
const QString kLastLevelKey = QStringLiteral("progress/lastLevel");
const QString kStatsGroup = QStringLiteral("stats");

// Progress that stayed at level 12 although that level was won is let through to the next one.
constexpr int kRepairedLevel = 12;

// Attempt and win counters stop here instead of overflowing on a damaged or very long-lived file.
constexpr int kCounterLimit = 1000000000;

int incrementedCounter(int stored)
{
    return std::min(stored, kCounterLimit - 1) + 1;
}

// Losses are counted per layout: the two layouts of a level are different puzzles to a stuck player.
const char *lossesName(LayoutMode layout)
{
    return layout == Portrait ? "lossesPortrait" : "lossesLandscape";
}

} // namespace

// A level of the player's own keeps its records under its content hash, not its index, which changes from
// one start to the next: an edited file is a new level, without the old one's records.
QString GameCanvas::statsKey(int level, const char *name) const
{
    const bool custom = level >= 0 && level < m_core.levels.size() && m_core.levels.at(level).isCustom();
    const QString levelKey = custom ? QStringLiteral("custom-") + QLatin1String(m_core.levels.at(level).hash)
                                    : QString::number(level);
    return QStringLiteral("stats/") + levelKey + QLatin1Char('/') + QLatin1String(name);
}

// Every statistic is a count or a time: a negative stored value is damage and reads as the default.
int GameCanvas::statistic(int level, const char *name, int fallback) const
{
    const int value = settingsInt(statsKey(level, name), fallback);
    return value >= 0 ? value : fallback;
}

// An absent, mistyped or garbage value reads as the default instead of as 0.
int GameCanvas::settingsInt(const QString &key, int fallback) const
{
    bool ok = false;
    const int value = m_settings.value(key, fallback).toInt(&ok);
    return ok ? value : fallback;
}

qreal GameCanvas::settingsReal(const QString &key, qreal fallback) const
{
    bool ok = false;
    const qreal value = m_settings.value(key, fallback).toReal(&ok);
    return ok ? value : fallback;
}

void GameCanvas::markMigration()
{
    if (m_settings.value(kMigrationKey, false).toBool())
        return;
    m_settings.setValue(kMigrationKey, true);
    commitSettings();
}

void GameCanvas::loadProgress()
{
    m_unlockedLevel = qBound(0, settingsInt(kUnlockedLevelKey, 0), levelCount() - 1);
    if (m_unlockedLevel == kRepairedLevel && statistic(kRepairedLevel, "wins", 0) >= 1) {
        m_unlockedLevel = kRepairedLevel + 1;
        m_settings.setValue(kUnlockedLevelKey, m_unlockedLevel);
    }
    for (int level = 0; level < levelCount(); ++level)
        keepAttemptsAboveResults(level);
    commitSettings();
}

void GameCanvas::storeLastLevel()
{
    writeLastLevel(m_settings, m_core.levelIndex);
}

void GameCanvas::writeLastLevel(QSettings &settings, int level)
{
    settings.setValue(kLastLevelKey, level);
}

// An attempt counts from its first running frame, not from when the level is merely shown. The count is
// stored at once: a stored game of this attempt resumes as counted, so the count reaches the file first.
void GameCanvas::recordAttemptIfNeeded()
{
    if (m_attemptRecorded)
        return;
    countAttempt();
    commitSettings();
    Q_EMIT levelsChanged();
}

void GameCanvas::countAttempt()
{
    m_attemptRecorded = true;
    const int level = m_core.levelIndex;
    m_settings.setValue(statsKey(level, "attempts"), incrementedCounter(statistic(level, "attempts", 0)));
}

// The end of an attempt reaches the settings file in one write: the attempt itself if it was not counted
// yet, the result, the records, the unlock and the removal of the stored game. After a kill at any moment
// the file holds either all of it or the run as it was before its end, which then resumes and is counted
// once. Whatever else the end of a run is to store belongs in this write.
void GameCanvas::storeEndOfRun()
{
    dropBackgroundSave(); // a periodic save of this run must not land after its end
    if (!m_attemptRecorded)
        countAttempt();
    unlockAfterWin();
    finalizeStatistics();
    removeStoredRuns();
    const bool stored = commitSettings();
    if (!stored) {
        // Records the file did not take are not claimed. The unlock stays, so that play goes on.
        m_newBestTime = false;
        m_newBestSkills = false;
        m_newBestSaved = false;
    }
    m_lossCounted = !m_core.won(); // in the file, or to be written with the next write it takes
    storeFinishedReplay(stored);
}

// A lost run rewound from its result card is open again and still the same attempt: its loss, and the record
// of most saved if it set one, are taken back, and the rewound run is stored as the game in progress, in one
// write. After a kill at any moment the file holds the loss and no game, or the game and no loss, so that a
// solution is offered only for runs that stayed lost. The replay of the loss goes: it shows a timeline
// that was not played to its end, and the attempt's own end stores its replay again.
void GameCanvas::takeBackLoss()
{
    const int level = m_core.levelIndex;
    if (m_lossCounted) {
        const char *losses = lossesName(m_core.layoutMode);
        m_settings.setValue(statsKey(level, losses), statistic(level, losses, 0) - 1);
        if (m_bestSavedBefore >= 0)
            m_settings.setValue(statsKey(level, "bestSaved"), m_bestSavedBefore);
    }
    stageSession();
    if (commitSettings() && m_lastReplayStored)
        QFile::remove(ReplayStore::path(m_recording, ReplayStore::Last));
    resetResultRecords();
}

// Only the game's own levels open one another.
void GameCanvas::unlockAfterWin()
{
    if (!m_core.won() || m_core.currentLevel().isCustom())
        return;
    storeLastLevel();
    const int next = std::min(m_core.levelIndex + 1, levelCount() - 1);
    if (m_unlockedLevel >= next)
        return;
    m_unlockedLevel = next;
    m_settings.setValue(kUnlockedLevelKey, next);
}

void GameCanvas::finalizeStatistics()
{
    const int level = m_core.levelIndex;
    const int storedSaved = statistic(level, "bestSaved", 0);
    m_newBestSaved = m_core.saved > storedSaved;
    m_bestSavedBefore = m_newBestSaved ? storedSaved : -1;
    if (m_newBestSaved)
        m_settings.setValue(statsKey(level, "bestSaved"), m_core.saved);

    m_newBestTime = false;
    m_newBestSkills = false;
    if (m_core.won()) {
        m_settings.setValue(statsKey(level, "wins"), incrementedCounter(statistic(level, "wins", 0)));

        // Ties are not records; a negative stored value means no record yet.
        const int seconds = elapsedSeconds();
        const int storedTime = statistic(level, "bestTime", -1);
        m_newBestTime = storedTime < 0 || storedTime > seconds;
        if (m_newBestTime)
            m_settings.setValue(statsKey(level, "bestTime"), seconds);

        const int storedSkills = statistic(level, "bestSkills", -1);
        m_newBestSkills = storedSkills < 0 || storedSkills > m_core.skillsUsed;
        if (m_newBestSkills)
            m_settings.setValue(statsKey(level, "bestSkills"), m_core.skillsUsed);
    } else {
        const char *losses = lossesName(m_core.layoutMode);
        m_settings.setValue(statsKey(level, losses), incrementedCounter(statistic(level, losses, 0)));
    }
    keepAttemptsAboveResults(level);
}

// Every finished attempt was an attempt, so wins and losses together never exceed the attempts. Where they
// do, an older build counted a resumed end twice, or the statistics were cleared during the run: the attempts
// are raised to match, since which results were doubled cannot be told, and lowering one could take a win
// back from the player.
void GameCanvas::keepAttemptsAboveResults(int level)
{
    const qint64 results = qint64(statistic(level, "wins", 0)) + statistic(level, lossesName(Portrait), 0)
        + statistic(level, lossesName(Landscape), 0);
    if (statistic(level, "attempts", 0) < results)
        m_settings.setValue(statsKey(level, "attempts"), int(std::min<qint64>(results, kCounterLimit)));
}

// Every write of the settings file ends here; the first failure is kept for the player to be told.
bool GameCanvas::commitSettings()
{
    if (Storage::sync(m_settings))
        return true;
    noteFailedWrite(m_settings.fileName());
    return false;
}

// Only the first problem is told, so only the first is looked into.
void GameCanvas::noteFailedWrite(const QString &path)
{
    if (m_saveProblem == SaveProblem::None)
        noteSaveProblem(Storage::diagnose(path));
}

void GameCanvas::noteSaveProblem(SaveProblem problem)
{
    if (m_saveProblem == SaveProblem::None)
        m_saveProblem = problem;
}

SaveProblem GameCanvas::saveProblem() const
{
    return m_saveProblem;
}

void GameCanvas::resetResultRecords()
{
    if (!m_newBestTime && !m_newBestSkills && !m_newBestSaved)
        return;
    m_newBestTime = false;
    m_newBestSkills = false;
    m_newBestSaved = false;
    Q_EMIT resultRecordsChanged();
}

void GameCanvas::clearStatistics()
{
    m_settings.beginGroup(kStatsGroup);
    m_settings.remove(QString());
    m_settings.endGroup();
    commitSettings();
    m_lossCounted = false; // no loss is left to take back
    Q_EMIT levelsChanged();
}

int GameCanvas::lostAttempts(int level, LayoutMode layout) const
{
    return statistic(level, lossesName(layout), 0);
}

int GameCanvas::unlockedLevel() const
{
    return m_unlockedLevel;
}

int GameCanvas::bestTime() const
{
    return statistic(m_core.levelIndex, "bestTime", -1);
}

int GameCanvas::bestSkills() const
{
    return statistic(m_core.levelIndex, "bestSkills", -1);
}

int GameCanvas::bestSaved() const
{
    return statistic(m_core.levelIndex, "bestSaved", 0);
}

bool GameCanvas::newBestTime() const
{
    return m_newBestTime;
}

bool GameCanvas::newBestSkills() const
{
    return m_newBestSkills;
}

bool GameCanvas::newBestSaved() const
{
    return m_newBestSaved;
}

QString GameCanvas::formattedTime(int seconds) const
{
    const int s = std::max(seconds, 0);
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}
