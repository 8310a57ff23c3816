#ifndef PELLWICK_SNAPSHOTSUPPORT_H
#define PELLWICK_SNAPSHOTSUPPORT_H

#include "gamecore.h"

#include <QColor>
#include <QPainter>

namespace Pellwick {

// Adds a member in the given state at a share of the world's width, standing on the entry's height.
inline CrewMember &addBusyMember(GameCore &core, qreal share, CrewState state)
{
    CrewMember member;
    member.id = core.nextCrewId++;
    member.pos = QPointF(core.worldWidth() * share, core.entry().y());
    member.state = state;
    core.crew.append(member);
    ++core.spawned;
    return core.crew.last();
}

inline void addBusyObject(GameCore &core, ObjectType type, const QRectF &rect, int direction, int link,
                          bool active = true, bool triggered = false)
{
    WorldObject object;
    object.id = core.nextObjectId++;
    object.type = type;
    object.rect = rect;
    object.direction = direction;
    object.link = link;
    object.active = active;
    object.triggered = triggered;
    core.objects.append(object);
}

// A run in the middle of a busy level, set up field by field so that it does not depend on the skill and
// object rules: a member in every state, with both abilities, rising, falling and teleported, one saved and
// one lost; every kind of object with a door opened, its switch spent and a laser off; terrain carved, bricks
// laid and pixels at the edge of solidity. The level must release at least 12 crew.
inline GameCore busyRun(int levelIndex, LayoutMode layout)
{
    GameCore core;
    core.setLayoutMode(layout, false);
    core.loadLevel(levelIndex);
    const qreal w = core.worldWidth();
    const qreal h = core.worldHeight();

    for (int state = Walking; state <= Demolishing; ++state) {
        CrewMember &member = addBusyMember(core, 0.06 + 0.07 * state, CrewState(state));
        member.direction = state % 2 ? -1 : 1;
        member.actionTicks = 3 * state + 1;
    }
    core.crew[Falling].fallStartY = float(core.crew[Falling].pos.y() - 31.5);
    core.crew[Falling].vy = 2.1f;
    core.crew[Building].bricks = 5;
    core.crew[Bashing].idleTicks = 3;
    core.crew[Mining].idleTicks = 2;
    core.crew[Climbing].climber = true;
    CrewMember &rising = addBusyMember(core, 0.7, Falling);
    rising.floater = true;
    rising.fallStartY = float(rising.pos.y());
    rising.vy = -3.4f;
    rising.vx = 2.6f;
    rising.teleportCooldown = 12;
    addBusyMember(core, 0.8, Walking).active = false;
    addBusyMember(core, 0.9, Falling).active = false;
    core.saved = 1;
    core.lost = 1;

    addBusyObject(core, Water, QRectF(0.1 * w, h - 30, 40, 30), 0, 0);
    addBusyObject(core, Lava, QRectF(0.2 * w, h - 20, 35.5, 20), 0, 0);
    addBusyObject(core, Spikes, QRectF(0.3 * w, h - 12, 24, 12), 0, 0);
    addBusyObject(core, Spring, QRectF(0.4 * w, h - 50, 16, 6), 0, 0);
    addBusyObject(core, DirectionGate, QRectF(0.5 * w, h - 80, 10, 40), -1, 0);
    addBusyObject(core, Teleporter, QRectF(0.15 * w, 0.3 * h, 20, 30), 0, 7);
    addBusyObject(core, Teleporter, QRectF(0.85 * w, 0.3 * h, 20, 30), 0, 7);
    addBusyObject(core, Fan, QRectF(0.6 * w, 0.5 * h, 30, 60), 0, 0);
    addBusyObject(core, Door, QRectF(0.65 * w, 0.2 * h, 12, 50), 0, 4, false);
    addBusyObject(core, Switch, QRectF(0.25 * w, 0.6 * h, 14, 8), 0, 4, true, true);
    addBusyObject(core, Door, QRectF(0.75 * w, 0.2 * h, 12, 50), 0, 5);
    addBusyObject(core, Switch, QRectF(0.35 * w, 0.6 * h, 14, 8), 0, 5);
    addBusyObject(core, Laser, QRectF(0.45 * w, 0.1 * h, 4, 80), 0, 1, false);

    core.carveEllipse(QRect(int(0.3 * w), int(0.7 * h), 60, 40));
    core.carveRect(QRect(int(0.55 * w), int(0.75 * h), 30, 60));
    QPainter painter(&core.terrain);
    for (int brick = 0; brick < 6; ++brick)
        painter.fillRect(QRect(int(0.2 * w) + 8 * brick, int(0.5 * h) - 2 * brick, 12, 4),
                         QColor(174, 127, 71));
    painter.end();
    core.terrain.setPixel(1, 1, qPremultiply(qRgba(200, 100, 50, 8)));
    core.terrain.setPixel(2, 1, qPremultiply(qRgba(200, 100, 50, 9)));
    core.terrain.setPixel(3, 1, qPremultiply(qRgba(200, 100, 50, 128)));

    core.tick = 437;
    core.releaseRate = 73;
    core.spawnCountdown = 7;
    core.skillsUsed = 9;
    core.objectTriggers = 3;
    for (int skill = 0; skill < kSkillCount; ++skill)
        core.skillStock[skill] = skill + 1;
    return core;
}

// The same snapshot as a game of the previous format stored it: six skills, so the image starts at 79.
inline QByteArray asVersion3(const QByteArray &snapshot)
{
    QByteArray old = snapshot;
    old[5] = 3;
    old.remove(79, 8);
    return old;
}

} // namespace Pellwick

#endif // PELLWICK_SNAPSHOTSUPPORT_H
