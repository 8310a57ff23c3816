#include "gamecore.h"

namespace Pellwick {

namespace {

constexpr int kTicksPerBrick = 4;
constexpr int kBricksPerRun = 18;
constexpr qreal kBrickAdvance = 8.0;
constexpr qreal kBrickRise = 2.5;
constexpr qreal kBuildEdgeMargin = 5.0;

constexpr int kBashScanFirst = 4;
constexpr int kBashScanLast = 44;
constexpr int kBashReach = 14;
constexpr qreal kBashApproachSpeed = 2.0;
constexpr qreal kBashSpeed = 1.7;
constexpr int kBashPatience = 10;

constexpr qreal kDigSpeed = 1.25;
constexpr int kDigProbeDepth = 12;
constexpr int kDigProbeSpread = 4;

constexpr qreal kMineForward = 1.35;
constexpr qreal kMineDown = 0.8;
constexpr int kMinePatience = 6;

constexpr int kFuseTicks = 45;
constexpr int kBlastRadius = 30;
constexpr qreal kBlastReachSquared = 900.0;

constexpr float kBreakThroughSpeed = 0.5f;

bool evenTick(const CrewMember &m)
{
    return m.actionTicks % 2 == 0;
}

// The ellipse a miner cuts ahead of and below its feet.
QRect mineCut(const QPoint &at, int direction)
{
    return direction > 0 ? QRect(at.x() + 1, at.y() - 2, 22, 18) : QRect(at.x() - 20, at.y() - 2, 22, 18);
}

void startFalling(CrewMember &m)
{
    m.state = Falling;
    m.fallStartY = float(m.pos.y());
    m.vy = kBreakThroughSpeed;
}

// How far ahead the nearest material at body height lies, or 0 when the scan finds none.
int materialAheadOfBasher(const GameCore &core, const QPoint &at, int direction)
{
    for (int k = kBashScanFirst; k <= kBashScanLast; k += 2) {
        const int cx = at.x() + direction * k;
        if (core.isSolid(cx, at.y() - 5) || core.isSolid(cx, at.y() - 10) || core.isSolid(cx, at.y() - 15))
            return k;
    }
    return 0;
}

bool groundBelowDigger(const GameCore &core, const QPoint &at)
{
    for (int k = 2; k <= kDigProbeDepth; k += 2) {
        const int y = at.y() + k;
        if (core.isSolid(at.x(), y) || core.isSolid(at.x() - kDigProbeSpread, y)
            || core.isSolid(at.x() + kDigProbeSpread, y))
            return true;
    }
    return false;
}

// Probes just beyond the cut about to be made: inside it the miner would only see its own tunnel.
bool materialBeyondMinerCut(const GameCore &core, const QRect &cut, int direction)
{
    const int cx = cut.left() + cut.width() / 2;
    const int cy = cut.top() + cut.height() / 2;
    return core.isSolid(cx + 12 * direction, cy) || core.isSolid(cx + 8 * direction, cy + 8)
        || core.isSolid(cx + direction, cy + 10);
}

} // namespace

void GameCore::simulateBuilder(CrewMember &m)
{
    if (++m.actionTicks < kTicksPerBrick)
        return;
    m.actionTicks = 0;
    const QPoint at = m.pixel();
    paintBrick(m.direction > 0 ? QRect(at.x() + 2, at.y() - 2, 12, 4)
                               : QRect(at.x() - 14, at.y() - 2, 12, 4));
    ++m.bricks;
    m.pos.ry() -= kBrickRise;
    m.pos.rx() += kBrickAdvance * m.direction;
    if (m.bricks >= kBricksPerRun || m.pos.x() < kBuildEdgeMargin
        || m.pos.x() >= worldWidth() - kBuildEdgeMargin) {
        m.state = Walking;
        m.bricks = 0;
    }
}

void GameCore::simulateBasher(CrewMember &m)
{
    ++m.actionTicks;
    const QPoint at = m.pixel();
    const int found = materialAheadOfBasher(*this, at, m.direction);
    if (found == 0) {
        if (++m.idleTicks > kBashPatience) {
            m.state = Walking;
            m.idleTicks = 0;
            return;
        }
        m.pos.rx() += kBashSpeed * m.direction;
        return;
    }
    m.idleTicks = 0;
    if (found > kBashReach) {
        m.pos.rx() += kBashApproachSpeed * m.direction;
        return;
    }
    if (evenTick(m))
        carveEllipse(m.direction > 0 ? QRect(at.x() + 2, at.y() - 19, 22, 20)
                                     : QRect(at.x() - 20, at.y() - 19, 22, 20));
    m.pos.rx() += kBashSpeed * m.direction;
}

void GameCore::simulateDigger(CrewMember &m)
{
    ++m.actionTicks;
    const QPoint at = m.pixel();
    if (evenTick(m)) {
        carveEllipse(QRect(at.x() - 11, at.y() - 2, 23, 13));
        carveRect(QRect(at.x() - 8, at.y() - 2, 17, 13));
    }
    m.pos.ry() += kDigSpeed;
    if (!groundBelowDigger(*this, m.pixel()))
        startFalling(m);
}

void GameCore::simulateMiner(CrewMember &m)
{
    ++m.actionTicks;
    const QPoint at = m.pixel();
    const QRect cut = mineCut(at, m.direction);
    if (materialBeyondMinerCut(*this, cut, m.direction)) {
        m.idleTicks = 0;
    } else if (++m.idleTicks >= kMinePatience) {
        m.idleTicks = 0;
        startFalling(m);
        return;
    }

    if (evenTick(m))
        carveEllipse(cut);
    m.pos.rx() += kMineForward * m.direction;
    m.pos.ry() += kMineDown;
}

void GameCore::simulateDemolition(CrewMember &m)
{
    if (++m.actionTicks < kFuseTicks)
        return;
    const QPoint at = m.pixel();
    const int diameter = 2 * kBlastRadius + 1;
    carveEllipse(QRect(at.x() - kBlastRadius, at.y() - kBlastRadius - 4, diameter, diameter));

    // The demolisher is one of the crew, so it falls to its own blast in release order.
    const QPointF centre = m.pos;
    for (CrewMember &other : crew) {
        const qreal dx = other.pos.x() - centre.x();
        const qreal dy = other.pos.y() - centre.y();
        if (other.active && dx * dx + dy * dy <= kBlastReachSquared)
            loseCrew(other);
    }
    ++objectTriggers;
}

} // namespace Pellwick
