#ifndef PELLWICK_CANVASPROBE_H
#define PELLWICK_CANVASPROBE_H

#include "gamecanvas.h"
#include "replay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

// White-box access to a canvas for the tests: its core, view and selection, and its frame slot, so a test
// drives frames itself instead of waiting for the clock.
class CanvasProbe
{
public:
    explicit CanvasProbe(GameCanvas &canvas)
        : m_canvas(canvas)
    { }

    // A probe whose canvas only moves when the test advances it.
    static CanvasProbe holding(GameCanvas &canvas)
    {
        CanvasProbe probe(canvas);
        probe.holdFrameTimer();
        return probe;
    }

    Pellwick::GameCore &core() const { return m_canvas.m_core; }

    QPointF camera() const { return QPointF(m_canvas.m_cameraX, m_canvas.m_cameraY); }
    void setCamera(const QPointF &world) const
    {
        m_canvas.m_cameraX = float(world.x());
        m_canvas.m_cameraY = float(world.y());
    }
    void clampCamera() const { m_canvas.clampCamera(); }
    void setZoom(float value) const { m_canvas.m_zoom = value; }
    void followStep() const { m_canvas.followStep(); }

    void setSelectedCrewId(int id) const { m_canvas.m_selectedCrewId = id; }
    QString statsKey(const char *name) const { return m_canvas.statsKey(m_canvas.levelIndex(), name); }

    // Stops the 33 ms clock so that only the test advances frames.
    void holdFrameTimer() const { m_canvas.m_frameTimer.stop(); }
    void advanceFrame() const { m_canvas.advanceFrame(); }
    void advanceFrames(int count) const
    {
        for (int i = 0; i < count; ++i)
            m_canvas.advanceFrame();
    }
    void commitPendingAssignment() const { m_canvas.commitPendingAssignment(); }
    // Lets the periodic save under way be written by its worker, then collects it as the next frame would.
    void finishBackgroundSave() const
    {
        m_canvas.m_saveWorker.waitForDone();
        m_canvas.collectBackgroundSave();
    }
    void awaitSaveWorker() const { m_canvas.m_saveWorker.waitForDone(); }

    // A frame drawn from nothing, keeping nothing and leaving nothing out: what the kept frames must match.
    void paintExactly(QPainter *painter) const { m_canvas.paintFrame(painter, false); }

private:
    GameCanvas &m_canvas;
};

// The canvas keeps its file where the game does: the application's configuration directory.
namespace CanvasTest {

inline void useThrowawaySettings()
{
    // A home of its own for each test program: programs run in parallel never share a settings file.
    static QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("vexil"));
    QCoreApplication::setApplicationName(QStringLiteral("harbour-pellwick"));
}

inline QString settingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/harbour-pellwick.conf");
}

// A setting as the file itself holds it. The QSettings objects of one process on one file share what they
// hold, written or not, so the file is read through a copy of its own.
inline QVariant stored(const QString &key)
{
    static int copies = 0;
    const QString copy = settingsPath() + QStringLiteral(".copy%1").arg(++copies);
    QFile::copy(settingsPath(), copy);
    const QVariant value = QSettings(copy, QSettings::IniFormat).value(key);
    QFile::remove(copy);
    return value;
}

inline void store(const QVariantMap &values)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        settings.setValue(it.key(), it.value());
}

inline void removeSettings()
{
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).removeRecursively();
}

// Adds an active member standing at the feet point pos, counted as released.
inline int placeMember(Pellwick::GameCore &core, const QPointF &pos,
                       Pellwick::CrewState state = Pellwick::Walking)
{
    Pellwick::CrewMember member;
    member.id = core.nextCrewId++;
    member.pos = pos;
    member.state = state;
    member.fallStartY = state == Pellwick::Falling ? float(pos.y()) : -1.0f;
    core.crew.append(member);
    ++core.spawned;
    return member.id;
}

// Makes the next tick end the run: members placed on the exit are saved, the rest are lost outside the world.
inline void arrangeOutcome(Pellwick::GameCore &core, int saved, int lost, int required)
{
    Pellwick::LevelSpec &level = core.levels[core.levelIndex];
    level.crewCount = saved + lost;
    level.requiredCount = required;
    core.crew.clear();
    core.spawned = 0;
    for (int i = 0; i < saved; ++i)
        placeMember(core, core.exit());
    for (int i = 0; i < lost; ++i)
        placeMember(core, QPointF(-1000, 100));
}

// Plays a stored solution through the canvas's own controls, a frame a tick, as a player would: from its
// level's start on a window-sized canvas, or on from the run's tick; up to `until`, or a while past its
// recorded end, where a diverging game is cut off as a player who lost patience would.
inline void playPlan(GameCanvas &canvas, const Pellwick::Replay &plan, bool fromStart, int until = 1 << 30)
{
    const CanvasProbe probe = CanvasProbe::holding(canvas);
    if (fromStart) {
        canvas.setSize(QSizeF(960, 540));
        canvas.setPortraitLayout(plan.layout == Pellwick::Portrait);
        canvas.setLevel(plan.level);
        canvas.startLevel();
    }
    const auto advanceTo = [&](int tick) {
        while (!probe.core().finished && probe.core().tick < std::min(tick, until))
            probe.advanceFrame();
        return probe.core().tick < until;
    };
    for (const Pellwick::ReplayEvent &event : plan.events) {
        if (event.tick < probe.core().tick || !advanceTo(event.tick))
            continue;
        if (event.kind == Pellwick::ReplayEvent::Rate) {
            canvas.setReleaseRate(event.rate);
        } else if (event.kind == Pellwick::ReplayEvent::End) {
            canvas.endRun();
        } else {
            canvas.selectSkill(event.skill);
            const QPointF item = canvas.worldToItem(event.point);
            canvas.applySelectedSkill(float(item.x()), float(item.y()));
            probe.commitPendingAssignment();
        }
    }
    advanceTo(plan.result.tick + 600);
}

} // namespace CanvasTest

#endif // PELLWICK_CANVASPROBE_H
