#ifndef PELLWICK_PAINTSTYLE_H
#define PELLWICK_PAINTSTYLE_H

#include <QBrush>
#include <QColor>
#include <QPen>

namespace PaintStyle {

// Every outline of the scene is a solid line of one colour; only the limbs ask for round caps.
inline QPen solidPen(const QColor &colour, qreal width, Qt::PenCapStyle cap = Qt::SquareCap)
{
    return QPen(QBrush(colour), width, Qt::SolidLine, cap, Qt::BevelJoin);
}

// Animation phases run off the tick count: the product is taken in double and kept as a float, so the
// picture is the same on every machine. Operands come in as doubles so that no integer sum can overflow.
inline float phase(double ticks, double rate)
{
    return float(ticks * rate);
}

} // namespace PaintStyle

#endif // PELLWICK_PAINTSTYLE_H
