#include "gamecore.h"

#include <QtMath>

#include <algorithm>
#include <utility>

namespace Pellwick {

namespace {

constexpr qreal kWalkSpeed = 2.0;
constexpr float kFirstFallSpeed = 0.92f;
constexpr float kFloaterFirstFallSpeed = 0.62f;
constexpr float kGravity = 0.42f;
constexpr float kFloaterGravity = 0.12f;
constexpr float kTerminalSpeed = 3.5f;
constexpr float kFloaterTerminalSpeed = 1.0f;
constexpr qreal kFallDrift = 1.0;
constexpr qreal kFloaterFallDrift = 1.35;
constexpr qreal kRisingDrift = 1.15;
constexpr float kDriftDecay = 0.995f;
constexpr float kNoDrift = 0.01f;
constexpr qreal kLethalFall = 105.0;
constexpr int kMaxStepUp = 4;
constexpr int kMaxBump = 3;
constexpr qreal kClimbSpeed = 2.0;
constexpr qreal kHopForward = 7.0;
constexpr int kBlockerTicks = 360;
constexpr qreal kBlockerReach = 15.0;
constexpr qreal kBlockerHeight = 14.0;
constexpr qreal kExitReachX = 18.0;
constexpr qreal kExitReachY = 30.0;
constexpr qreal kSideMargin = 20.0;
constexpr qreal kBottomMargin = 15.0;

// Airborne drift: a set drift speed decays; without one the member drifts at its own pace.
void drift(CrewMember &m, qreal ownPace)
{
    if (std::abs(m.vx) > kNoDrift) {
        m.pos.rx() += qreal(m.vx);
        m.vx *= kDriftDecay;
    } else {
        m.pos.rx() += ownPace * m.direction;
    }
}

} // namespace

bool GameCore::grounded(const CrewMember &m) const
{
    const QPoint at = m.pixel();
    const int below = at.y() + 1;
    return isSolid(at.x(), below) || isSolid(at.x() - 2, below) || isSolid(at.x() + 2, below);
}

bool GameCore::wallAhead(const CrewMember &m) const
{
    const QPoint at = m.pixel();
    const int cx = at.x() + 5 * m.direction;
    return isSolid(cx, at.y() - 4) || isSolid(cx, at.y() - 9);
}

bool GameCore::nearExit(const CrewMember &m) const
{
    const QPointF target = exit();
    return std::abs(m.pos.x() - target.x()) < kExitReachX && std::abs(m.pos.y() - target.y()) < kExitReachY;
}

void GameCore::simulateCrew(CrewMember &m)
{
    if (!m.active)
        return;
    if (nearExit(m)) {
        saveCrew(m);
        return;
    }
    if (m.pos.y() > worldHeight() + kBottomMargin || m.pos.x() < -kSideMargin
        || m.pos.x() > worldWidth() + kSideMargin) {
        loseCrew(m);
        return;
    }
    if (interactWithObjects(m))
        return;

    switch (m.state) {
    case Blocking:
        if (++m.actionTicks < kBlockerTicks)
            return;
        m.actionTicks = 0;
        m.state = Walking;
        break;
    case Building:
        simulateBuilder(m);
        return;
    case Bashing:
        simulateBasher(m);
        return;
    case Digging:
        simulateDigger(m);
        return;
    case Mining:
        simulateMiner(m);
        return;
    case Demolishing:
        simulateDemolition(m);
        return;
    case Climbing: {
        const QPoint at = m.pixel();
        const int cx = at.x() + 5 * m.direction;
        if (isSolid(cx, at.y() - 5) || isSolid(cx, at.y() - 10)) {
            m.pos.ry() -= kClimbSpeed;
        } else {
            m.state = Walking;
            m.pos.ry() -= 1.0;
            m.pos.rx() += kHopForward * m.direction;
        }
        return;
    }
    case Walking:
    case Falling:
        break;
    }

    // Rising after a spring or a fan: no terrain test until the member falls again.
    if (m.vy < 0.0f) {
        m.state = Falling;
        m.pos.ry() += qreal(m.vy);
        m.vy = std::min(m.vy + kGravity, kTerminalSpeed);
        drift(m, kRisingDrift);
        return;
    }

    if (!grounded(m)) {
        if (m.state != Falling) {
            m.state = Falling;
            m.fallStartY = float(m.pos.y());
            m.vy = m.floater ? kFloaterFirstFallSpeed : kFirstFallSpeed;
        } else if (m.floater) {
            m.vy = std::min(m.vy + kFloaterGravity, kFloaterTerminalSpeed);
        } else {
            m.vy = std::min(m.vy + kGravity, kTerminalSpeed);
        }
        m.pos.ry() += qreal(m.vy);
        drift(m, m.floater ? kFloaterFallDrift : kFallDrift);
        return;
    }

    if (m.state == Falling) {
        if (m.fallStartY >= 0.0f && !m.floater && m.pos.y() - qreal(m.fallStartY) > kLethalFall) {
            loseCrew(m);
            return;
        }
        m.state = Walking;
        m.fallStartY = -1.0f;
        m.vy = 0.0f;
        m.vx = 0.0f;
    }

    for (const CrewMember &blocker : std::as_const(crew)) {
        if (blocker.id == m.id || !blocker.active || blocker.state != Blocking)
            continue;
        const qreal dx = blocker.pos.x() - m.pos.x();
        const bool ahead = (m.direction > 0 && dx > 0.0 && dx < kBlockerReach)
            || (m.direction < 0 && dx < 0.0 && dx > -kBlockerReach);
        if (ahead && std::abs(blocker.pos.y() - m.pos.y()) < kBlockerHeight) {
            m.direction = -m.direction;
            return;
        }
    }

    if (wallAhead(m)) {
        const QPoint at = m.pixel();
        const int cx = at.x() + 5 * m.direction;
        bool stepped = false;
        for (int k = 1; k <= kMaxStepUp && !stepped; ++k) {
            const int feet = at.y() - (k - 1);
            if (isSolid(cx, feet - 5) || isSolid(cx, feet - 10))
                continue;
            if (isSolid(cx, feet) || isSolid(cx - 2 * m.direction, feet)) {
                m.pos.ry() -= k;
                stepped = true;
            }
        }
        if (!stepped) {
            if (m.climber)
                m.state = Climbing;
            else
                m.direction = -m.direction;
            return;
        }
    }

    m.pos.rx() += kWalkSpeed * m.direction;
    if (grounded(m))
        return;
    const QPoint at = m.pixel();
    const int x = at.x();
    const int feet = at.y();
    for (int k = 1; k <= kMaxBump; ++k) {
        if (isSolid(x, feet + 1 - k)) {
            m.pos.ry() -= k;
            return;
        }
    }
}

} // namespace Pellwick
