#include "gamecore.h"

#include <algorithm>
#include <cmath>

namespace Pellwick {

namespace {

constexpr qreal kTouchMarginX = 2.0;
constexpr qreal kTouchMarginY = 4.0;

constexpr qreal kSpringLift = 2.0;
constexpr float kSpringLaunchSpeed = -7.2f;
constexpr float kSpringDrift = 2.8f;

constexpr qint32 kTeleportCooldown = 35;

constexpr qreal kFanLift = 4.0;
constexpr float kFanRiseSpeed = -1.45f;
constexpr float kFanPush = 2.4f;

// Feet on or just beside the object count, so crew walking over a spring or a switch press it.
bool touches(const WorldObject &object, const QPointF &feet)
{
    const QRectF &r = object.rect;
    return feet.x() >= r.x() - kTouchMarginX && feet.x() <= r.x() + r.width() + kTouchMarginX
        && feet.y() >= r.y() - kTouchMarginY && feet.y() <= r.y() + r.height() + kTouchMarginY;
}

void launch(CrewMember &m)
{
    m.state = Falling;
    m.fallStartY = float(m.pos.y());
    m.pos.ry() -= kSpringLift;
    m.vy = kSpringLaunchSpeed;
    m.vx = kSpringDrift * float(m.direction);
}

// The partner's bottom edge is where a teleported member stands; it arrives walking, not falling.
void teleportTo(CrewMember &m, const WorldObject &partner)
{
    const QRectF &r = partner.rect;
    m.pos = QPointF(r.x() + r.width() * 0.5, r.y() + r.height());
    m.state = Walking;
    m.fallStartY = -1.0f;
    m.vy = 0.0f;
    m.vx = 0.0f;
    m.teleportCooldown = kTeleportCooldown;
}

// A fan keeps the height of a fall already under way, so a member cannot cheat a lethal drop with it.
void lift(CrewMember &m)
{
    m.state = Falling;
    if (m.fallStartY < 0.0f)
        m.fallStartY = float(m.pos.y());
    m.vy = std::min(m.vy, kFanRiseSpeed);
    m.pos.ry() -= kFanLift;
    m.vx = float(m.direction) * std::max(std::abs(m.vx), kFanPush);
    m.pos.rx() += qreal(m.vx);
}

// The first other teleporter of the same link in creation order, or null for a teleporter without a partner.
const WorldObject *teleportPartner(const QVector<WorldObject> &objects, const WorldObject &from)
{
    for (const WorldObject &object : objects) {
        if (object.type == Teleporter && object.link == from.link && object.id != from.id)
            return &object;
    }
    return nullptr;
}

} // namespace

void GameCore::addObject(ObjectType type, const QRectF &rect, int direction, int link)
{
    WorldObject object;
    object.id = nextObjectId++;
    object.type = type;
    object.rect = rect;
    object.direction = direction;
    object.link = link;
    objects.append(object);
}

bool GameCore::interactWithObjects(CrewMember &m)
{
    if (!m.active)
        return true;
    if (m.teleportCooldown > 0)
        --m.teleportCooldown;

    // By index: a switch opens doors in this same list while we walk it.
    for (int i = 0; i < objects.size(); ++i) {
        const WorldObject &object = objects.at(i);
        if (!touches(object, m.pos))
            continue;
        switch (object.type) {
        case Water:
        case Lava:
        case Spikes:
            loseCrew(m);
            return true;
        case Spring:
            if (m.vy >= 0.0f && grounded(m)) {
                launch(m);
                ++objectTriggers;
                return true;
            }
            break;
        case DirectionGate:
            if (object.direction != 0)
                m.direction = object.direction;
            break;
        case Teleporter:
            if (m.teleportCooldown <= 0) {
                if (const WorldObject *partner = teleportPartner(objects, object)) {
                    teleportTo(m, *partner);
                    ++objectTriggers;
                    return true;
                }
            }
            break;
        case Fan:
            lift(m);
            return true;
        case Door:
            break;
        case Switch:
            if (!object.triggered)
                triggerSwitch(object.link);
            break;
        case Laser:
            if (object.active) {
                loseCrew(m);
                return true;
            }
            break;
        }
    }
    return !m.active;
}

void GameCore::triggerSwitch(int link)
{
    bool changed = false;
    for (WorldObject &object : objects) {
        if (object.link != link)
            continue;
        if (object.type == Switch && !object.triggered) {
            object.triggered = true;
            changed = true;
        } else if (object.type == Door && object.active) {
            object.active = false;
            changed = true;
        }
    }
    if (changed)
        ++objectTriggers;
}

} // namespace Pellwick
