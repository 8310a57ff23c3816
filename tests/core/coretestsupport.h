#ifndef PELLWICK_CORETESTSUPPORT_H
#define PELLWICK_CORETESTSUPPORT_H

#include "gamecore.h"

#include <QTest>

namespace Pellwick {

// A world with nothing in it: level 0 in the given layout with its terrain, objects and crew removed and
// its exit moved far away, so a test paints exactly the ground it needs and nobody is saved by accident.
inline GameCore emptyWorld(LayoutMode layout = Landscape)
{
    GameCore core;
    core.setLayoutMode(layout, true);
    core.terrain.fill(Qt::transparent);
    core.objects.clear();
    core.crew.clear();
    LevelSpec &level = core.levels[core.levelIndex];
    level.landscapeExit = QPointF(-1000, -1000);
    level.portraitExit = QPointF(-1000, -1000);
    return core;
}

// Adds an active member at the feet point pos and returns its index in the crew list.
inline int addMember(GameCore &core, const QPointF &pos, CrewState state = Walking, int direction = 1)
{
    CrewMember member;
    member.id = core.nextCrewId++;
    member.pos = pos;
    member.direction = direction;
    member.state = state;
    member.fallStartY = state == Falling ? float(pos.y()) : -1.0f;
    member.vy = state == Falling ? 0.5f : 0.0f;
    core.crew.append(member);
    ++core.spawned;
    return int(core.crew.size()) - 1;
}

// Paints solid ground (plain alpha, no decoration) over the rectangle.
inline void fillGround(GameCore &core, const QRect &rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (x >= 0 && y >= 0 && x < core.terrain.width() && y < core.terrain.height())
                core.terrain.setPixel(x, y, 0xff745a2eu);
        }
    }
}

// A world with nothing in it but a floor whose top row is `top`, reaching down to the bottom edge.
inline GameCore floorWorld(int top, LayoutMode layout = Landscape)
{
    GameCore core = emptyWorld(layout);
    fillGround(core, QRect(0, top, core.worldWidth(), core.worldHeight() - top));
    return core;
}

// Runs whole ticks with the portal closed and no early loss, so only the crew a test placed moves and the run
// goes on as long as one of them is active.
inline void runPlacedCrew(GameCore &core, int ticks)
{
    LevelSpec &level = core.levels[core.levelIndex];
    level.crewCount = core.spawned;
    level.requiredCount = 0;
    for (int i = 0; i < ticks; ++i)
        core.step();
}

} // namespace Pellwick

#endif // PELLWICK_CORETESTSUPPORT_H
