#include "gamecanvas.h"

#include <QPainter>

// Placeholder until painting lands.
void GameCanvas::drawObjects(QPainter *) const { }
void GameCanvas::drawPortal(QPainter *, const QPointF &, bool) const { }
void GameCanvas::drawCrew(QPainter *, const Pellwick::CrewMember &) const { }
