#ifndef PELLWICK_CURVEDSHAPES_H
#define PELLWICK_CURVEDSHAPES_H

#include <QLineF>
#include <QRectF>

class QPainter;

// Curved shapes drawn as the painter would draw them, only cheaper under a zoomed transform. Qt flattens a
// curve finely enough for the scale but counts in the painter's own units, so under the world transform a
// head or a portal costs ten times what the same curve costs in device pixels. These map the shape and the
// pen to device pixels whenever the transform keeps shapes upright and round, and leave the painter as
// they found it.
namespace CurvedShapes {

void drawEllipse(QPainter *painter, const QRectF &rect);
void drawEllipse(QPainter *painter, const QPointF &centre, qreal rx, qreal ry);
void drawRoundedRect(QPainter *painter, const QRectF &rect, qreal radius);
// Angles in sixteenths of a degree, as QPainter takes them.
void drawPie(QPainter *painter, const QRectF &rect, int startAngle, int spanAngle);
void drawArc(QPainter *painter, const QRectF &rect, int startAngle, int spanAngle);
// A line whose pen has round caps: the caps are curves too.
void drawLine(QPainter *painter, const QLineF &line);

} // namespace CurvedShapes

#endif // PELLWICK_CURVEDSHAPES_H
