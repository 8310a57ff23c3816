#include "gamecanvas.h"

#include <cmath>

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

void GameCanvas::saveSession()
{
    if (m_watch)
        return; // the game left to watch a replay was saved before; the replay is no game to resume
    if (m_core.finished) {
        clearSession();
        return;
    }
    if (m_core.tick < 1 && m_core.spawned == 0)
        return;
    m_settings.setValue(slotKey(kCurrentSlot, "blob"), m_core.serialize());
    m_settings.setValue(slotKey(kCurrentSlot, "format"), kSessionFormat);
    m_settings.setValue(slotKey(kCurrentSlot, "zoom"), m_zoom);
    m_settings.setValue(slotKey(kCurrentSlot, "cameraX"), m_cameraX);
    m_settings.setValue(slotKey(kCurrentSlot, "cameraY"), m_cameraY);
    saveRecording(kCurrentSlot);
    storeLastLevel();
    m_settings.sync();
}

void GameCanvas::clearSession()
{
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
