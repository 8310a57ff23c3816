#include "gamecanvas.h"

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

QString GameCanvas::statsKey(int level, const char *name)
{
    return QStringLiteral("stats/%1/").arg(level) + QLatin1String(name);
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
    m_settings.sync();
}

void GameCanvas::loadProgress()
{
    m_unlockedLevel = qBound(0, settingsInt(kUnlockedLevelKey, 0), levelCount() - 1);
    if (m_unlockedLevel == kRepairedLevel && statistic(kRepairedLevel, "wins", 0) >= 1) {
        m_unlockedLevel = kRepairedLevel + 1;
        m_settings.setValue(kUnlockedLevelKey, m_unlockedLevel);
    }
    m_settings.sync();
}

void GameCanvas::storeLastLevel()
{
    writeLastLevel(m_settings, m_core.levelIndex);
}

void GameCanvas::writeLastLevel(QSettings &settings, int level)
{
    settings.setValue(kLastLevelKey, level);
}

// An attempt counts from its first running frame, not from when the level is merely shown.
void GameCanvas::recordAttemptIfNeeded()
{
    if (m_attemptRecorded)
        return;
    m_attemptRecorded = true;
    const int attempts = statistic(m_core.levelIndex, "attempts", 0);
    m_settings.setValue(statsKey(m_core.levelIndex, "attempts"), incrementedCounter(attempts));
    Q_EMIT levelsChanged();
}

void GameCanvas::unlockAfterWin()
{
    if (!m_core.won())
        return;
    const int next = std::min(m_core.levelIndex + 1, levelCount() - 1);
    if (m_unlockedLevel >= next) {
        storeLastLevel();
        m_settings.sync();
        return;
    }
    m_unlockedLevel = next;
    m_settings.setValue(kUnlockedLevelKey, next);
    storeLastLevel();
    m_settings.sync();
    Q_EMIT levelsChanged();
}

void GameCanvas::finalizeStatistics()
{
    const int level = m_core.levelIndex;
    m_newBestSaved = m_core.saved > statistic(level, "bestSaved", 0);
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
    m_settings.sync();
    Q_EMIT resultRecordsChanged();
    Q_EMIT levelsChanged();
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
    m_settings.sync();
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
