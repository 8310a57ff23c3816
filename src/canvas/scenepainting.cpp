#include "gamecanvas.h"

#include <QPainter>

// Placeholder until painting lands.
void GameCanvas::paint(QPainter *) { }
void GameCanvas::drawBackground(QPainter *) const { }
void GameCanvas::drawSelectionMarker(QPainter *) const { }
void GameCanvas::drawPauseVeil(QPainter *) const { }
void GameCanvas::drawZoomLabel(QPainter *) const { }
