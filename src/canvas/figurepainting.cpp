#include "curvedshapes.h"
#include "gamecanvas.h"
#include "paintstyle.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <initializer_list>

using namespace Pellwick;
using PaintStyle::phase;
using PaintStyle::solidPen;

namespace {

// Where a float phase meets double terms, the sum is rounded to float before the single-precision sine.
float sineOf(double angle)
{
    return std::sin(float(angle));
}

void drawWater(QPainter *painter, const QRectF &r, float a)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(53, 139, 190, 190));
    painter->drawRect(r);
    painter->setPen(solidPen(QColor(134, 215, 241, 255), 2));
    const qreal right = r.x() + r.width();
    for (qreal sx = r.x(); sx < right; sx += 16) {
        const qreal wy = r.y() + 3 + 2 * sineOf(a + 0.08 * sx);
        painter->drawLine(QPointF(sx, wy), QPointF(std::min(sx + 10, right), wy));
    }
}

void drawLava(QPainter *painter, const QRectF &r, float a)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(177, 61, 36, 220));
    painter->drawRect(r);
    painter->setBrush(QColor(245, 145, 48, 210));
    const qreal right = r.x() + r.width();
    for (qreal bx = r.x() + 7; bx < right; bx += 18) {
        const float s = sineOf(1.5 * a + 0.09 * bx);
        CurvedShapes::drawEllipse(painter, QPointF(bx, r.y() + 4 + 3 * s), 5, 2.5);
    }
}

// However wide the strip, the spikes fill it exactly: their count is rounded down and each is widened.
void drawSpikes(QPainter *painter, const QRectF &r)
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(195, 204, 211, 255));
    const int count = std::max(1, int(r.width() / 10));
    const qreal step = r.width() / count;
    const qreal bottom = r.y() + r.height();
    for (int i = 0; i < count; ++i) {
        const QPointF spike[] = { { r.x() + i * step, bottom },
                                  { r.x() + (i + 0.5) * step, r.y() },
                                  { r.x() + (i + 1) * step, bottom } };
        painter->drawPolygon(spike, 3, Qt::OddEvenFill);
    }
}

// The coil is an open zigzag drawn with the base's brush, so its two enclosed triangles fill grey.
void drawSpring(QPainter *painter, const QRectF &r)
{
    painter->setPen(solidPen(QColor(236, 205, 79, 255), 2.2));
    painter->setBrush(QColor(94, 103, 109, 255));
    CurvedShapes::drawRoundedRect(painter, r, 2);
    const qreal cy = r.y() + r.height() * 0.5;
    const qreal w = r.width();
    QPainterPath coil(QPointF(r.x() + 4, cy));
    coil.lineTo(r.x() + 0.3 * w, r.y() - 5);
    coil.lineTo(r.x() + 0.5 * w, cy);
    coil.lineTo(r.x() + 0.7 * w, r.y() - 5);
    coil.lineTo(r.x() + w - 4, cy);
    painter->drawPath(coil);
}

// A gate without a direction of its own still shows an arrow, pointing right.
void drawDirectionGate(QPainter *painter, const QRectF &r, int direction)
{
    painter->setPen(solidPen(QColor(126, 190, 224, 255), 2));
    painter->setBrush(QColor(37, 66, 80, 170));
    CurvedShapes::drawRoundedRect(painter, r, 5);
    const int s = direction < 0 ? -1 : 1;
    const QPointF c = r.center();
    const QPointF tip(c.x() + 7 * s, c.y());
    painter->drawLine(QPointF(c.x() - 7 * s, c.y()), tip);
    painter->drawLine(tip, QPointF(c.x() + 2 * s, c.y() - 5));
    painter->drawLine(tip, QPointF(c.x() + 2 * s, c.y() + 5));
}

void drawTeleporter(QPainter *painter, const QRectF &r, float a)
{
    painter->setPen(solidPen(QColor(183, 125, 244, 255), 2.5));
    painter->setBrush(QColor(85, 39, 112, 100));
    CurvedShapes::drawRoundedRect(painter, r, 8);
    painter->setBrush(Qt::NoBrush);
    const qreal k = 5 + 1.5 * std::sin(a);
    CurvedShapes::drawEllipse(painter, QRectF(r.x() + k, r.y() + k, r.width() - 2 * k, r.height() - 2 * k));
}

void drawFan(QPainter *painter, const QRectF &r, float a)
{
    painter->setPen(solidPen(QColor(153, 214, 235, 80), 1.5));
    const qreal bottom = r.y() + r.height();
    for (qreal ly = r.y() + 8; ly < bottom; ly += 18) {
        const qreal o = 5 * sineOf(a + 0.06 * ly);
        painter->drawLine(QPointF(r.x() + 6 + o, ly), QPointF(r.x() + r.width() - 6 + o, ly - 8));
    }
    const QPointF hub(r.x() + r.width() * 0.5, bottom - 12);
    painter->setPen(solidPen(QColor(168, 183, 190, 255), 2));
    painter->setBrush(QColor(77, 88, 95, 255));
    CurvedShapes::drawEllipse(painter, hub, 7, 7);
    for (int i = 0; i < 3; ++i) {
        const float theta = float(1.7 * a + 2.094 * i);
        painter->drawLine(hub, QPointF(hub.x() + 18 * std::cos(theta), hub.y() + 18 * std::sin(theta)));
    }
}

// An open door is only a faint outline, filled with whatever brush the scenery left on the painter.
void drawDoor(QPainter *painter, const QRectF &r, bool closed)
{
    if (!closed) {
        painter->setPen(solidPen(QColor(111, 209, 153, 90), 2));
        painter->drawRect(r);
        return;
    }
    painter->setPen(solidPen(QColor(144, 151, 160, 255), 2));
    painter->setBrush(QColor(68, 75, 84, 230));
    painter->drawRect(r);
    const qreal right = r.x() + r.width();
    for (qreal lx = r.x() + 6; lx < right; lx += 8)
        painter->drawLine(QPointF(lx, r.y() + 2), QPointF(lx, r.y() + r.height() - 2));
}

void drawSwitch(QPainter *painter, const QRectF &r, bool pressed)
{
    painter->setPen(solidPen(pressed ? QColor(100, 225, 153, 255) : QColor(230, 190, 76, 255), 2));
    painter->setBrush(pressed ? QColor(61, 123, 86, 255) : QColor(104, 82, 38, 255));
    CurvedShapes::drawRoundedRect(painter, r, 3);
}

void drawLaser(QPainter *painter, const QRectF &r, bool on)
{
    painter->setBrush(Qt::NoBrush);
    painter->setPen(solidPen(QColor(115, 122, 132, 255), 2));
    painter->drawRect(r);
    const qreal cx = r.x() + r.width() * 0.5;
    const qreal bottom = r.y() + r.height();
    if (!on) {
        QPen dashes = solidPen(QColor(120, 132, 144, 100), 1);
        dashes.setStyle(Qt::DashLine);
        painter->setPen(dashes);
        painter->drawLine(QPointF(cx, r.y()), QPointF(cx, bottom));
        return;
    }
    painter->setPen(solidPen(QColor(255, 74, 74, 210), 4));
    painter->drawLine(QPointF(cx, r.y()), QPointF(cx, bottom));
    painter->setPen(solidPen(QColor(255, 210, 190, 200), 1));
    painter->drawLine(QPointF(cx - 2, r.y()), QPointF(cx - 2, bottom));
}

void drawObject(QPainter *painter, const WorldObject &object, float a)
{
    const QRectF &r = object.rect;
    switch (object.type) {
    case Water:
        drawWater(painter, r, a);
        break;
    case Lava:
        drawLava(painter, r, a);
        break;
    case Spikes:
        drawSpikes(painter, r);
        break;
    case Spring:
        drawSpring(painter, r);
        break;
    case DirectionGate:
        drawDirectionGate(painter, r, object.direction);
        break;
    case Teleporter:
        drawTeleporter(painter, r, a);
        break;
    case Fan:
        drawFan(painter, r, a);
        break;
    case Door:
        drawDoor(painter, r, object.active);
        break;
    case Switch:
        drawSwitch(painter, r, object.triggered);
        break;
    case Laser:
        drawLaser(painter, r, object.active);
        break;
    }
}

QColor bodyColour(CrewState state)
{
    switch (state) {
    case Blocking:
        return QColor(239, 177, 75, 255);
    case Building:
        return QColor(109, 177, 235, 255);
    case Bashing:
    case Digging:
    case Mining:
        return QColor(224, 119, 92, 255);
    case Climbing:
        return QColor(133, 194, 239, 255);
    case Demolishing:
        return QColor(232, 91, 91, 255);
    case Walking:
    case Falling:
        break;
    }
    return QColor(86, 205, 180, 255);
}

void drawLines(QPainter *painter, std::initializer_list<QLineF> lines)
{
    for (const QLineF &line : lines)
        CurvedShapes::drawLine(painter, line);
}

// Arms, legs and tools in the member's own frame (x forward, y down, origin at the feet). The limb pen is
// already set; a tool switches to its own pen.
void drawLimbs(QPainter *painter, const CrewMember &member, float phi)
{
    switch (member.state) {
    case Walking: {
        const float s = 3 * std::sin(phi);
        drawLines(
            painter,
            { { -2, -1, s - 3, 4 }, { 2, -1, 3 - s, 4 }, { -4, -8, -6 - s, -3 }, { 4, -8, s + 6, -3 } });
        break;
    }
    case Falling:
        drawLines(painter, { { -3, -7, -8, -12 }, { 3, -7, 8, -12 }, { -2, -1, -5, 4 }, { 2, -1, 5, 4 } });
        break;
    case Blocking:
        drawLines(painter, { { -4, -8, -11, -8 }, { 4, -8, 11, -8 }, { -2, -1, -5, 4 }, { 2, -1, 5, 4 } });
        break;
    case Building:
        CurvedShapes::drawLine(painter, QLineF(4, -8, 10, -4));
        painter->setPen(solidPen(QColor(179, 129, 72, 255), 2.5));
        painter->drawLine(QLineF(7, -5, 15, -7));
        break;
    case Bashing: {
        const float s = 4 * std::sin(1.5f * phi);
        CurvedShapes::drawLine(painter, QLineF(4, -8, 9, s - 11));
        painter->setPen(solidPen(QColor(180, 185, 190, 255), 2));
        painter->drawLine(QLineF(9, s - 11, 14, s - 7));
        break;
    }
    case Digging:
        CurvedShapes::drawLine(painter, QLineF(3, -7, 7, -1));
        painter->setPen(solidPen(QColor(180, 185, 190, 255), 2));
        painter->drawLine(QLineF(7, -1, 10, 4));
        break;
    case Climbing:
        drawLines(painter, { { 4, -9, 8, -14 }, { 4, -5, 8, 0 }, { 1, -1, 5, 4 }, { -2, -1, -4, 3 } });
        break;
    case Mining: {
        const float s = 3 * sineOf(1.4 * phi);
        CurvedShapes::drawLine(painter, QLineF(3, -7, 8, s - 2));
        painter->setPen(solidPen(QColor(185, 190, 196, 255), 2));
        painter->drawLine(QLineF(7, s - 4, 13, s + 2));
        break;
    }
    case Demolishing:
        drawLines(painter, { { -2, -1, -4, 4 }, { 2, -1, 4, 4 } });
        break;
    }
}

// A ring that swells every 12 ticks and the seconds left on the fuse: 3, 2, 1, fifteen ticks each.
// Counted in 64 bits so that a stray tick count cannot overflow.
void drawFuse(QPainter *painter, qint32 actionTicks)
{
    painter->setPen(solidPen(QColor(255, 104, 91, 255), 1.6));
    painter->setBrush(Qt::NoBrush);
    const qreal radius = 7 + (actionTicks % 12) / 4.0;
    CurvedShapes::drawEllipse(painter, QPointF(0, -10), radius, radius);

    const qint64 left = 59 - qint64(actionTicks);
    const qint64 digit = left <= 29 ? 1 : left / 15;
    painter->setPen(QColor(255, 235, 180, 255));
    QFont font = painter->font();
    font.setPixelSize(7);
    font.setWeight(QFont::Bold);
    painter->setFont(font);
    painter->drawText(QRectF(-8, -31, 16, 10), Qt::AlignCenter, QString::number(digit));
}

void drawUmbrella(QPainter *painter)
{
    painter->setPen(solidPen(QColor(224, 241, 251, 255), 1.8));
    CurvedShapes::drawArc(painter, QRectF(-12, -30, 24, 14), 0, 180 * 16);
    painter->drawLine(QLineF(-10, -23, -4, -12));
    painter->drawLine(QLineF(10, -23, 4, -12));
}

} // namespace

// Objects wholly outside the shown part of the world are left out; the clip would drop them anyway.
void GameCanvas::drawObjects(QPainter *painter, const QRectF &shown) const
{
    const float a = phase(m_core.tick, 0.16);
    for (const WorldObject &object : m_core.objects) {
        const QRectF &r = object.rect;
        if (r.left() > shown.right() || r.right() < shown.left() || r.top() > shown.bottom()
            || r.bottom() < shown.top())
            continue;
        painter->save();
        drawObject(painter, object, a);
        painter->restore();
    }
}

// A doorway standing on pos with a pulsing glow; the exit pulses 8 ticks ahead and its arrow turns the
// other way.
void GameCanvas::drawPortal(QPainter *painter, const QPointF &pos, bool exit) const
{
    const QColor frame = exit ? QColor(105, 226, 164, 255) : QColor(210, 176, 93, 255);
    const QColor glow = exit ? QColor(100, 240, 190, 95) : QColor(255, 213, 118, 80);
    const float portalPhase = phase(double(m_core.tick) + (exit ? 8 : 0), 0.18);
    const float p = float(1 + 0.08 * std::sin(portalPhase));

    painter->save();
    painter->translate(pos);
    painter->setPen(solidPen(frame, 3.5));
    painter->setBrush(QColor(21, 32, 42, 255));
    CurvedShapes::drawRoundedRect(painter, QRectF(-17, -35, 34, 35), 10);
    painter->setPen(Qt::NoPen);
    painter->setBrush(glow);
    CurvedShapes::drawEllipse(painter, QPointF(0, -16), 10 * p, 16 * p);
    painter->setPen(solidPen(frame, 1.6));
    painter->setBrush(Qt::NoBrush);
    CurvedShapes::drawArc(painter, QRectF(-11, -29, 22, 27), 20 * 16, exit ? 280 * 16 : -280 * 16);
    painter->restore();
}

// One crew member, mirrored to face its walking direction. Saved and lost members draw nothing at all.
void GameCanvas::drawCrew(QPainter *painter, const CrewMember &member) const
{
    if (!member.active)
        return;
    const float phi = phase(double(m_core.tick) + 4.0 * member.id, 0.55);

    painter->save();
    painter->translate(member.pos);
    painter->scale(member.direction >= 0 ? 1.1 : -1.1, 1.1);

    if (member.id == m_selectedCrewId) {
        const float q = float(1 + 0.07 * std::sin(phase(double(m_core.tick) + member.id, 0.3)));
        painter->setPen(solidPen(QColor(255, 224, 105, 255), 1.8));
        painter->setBrush(QColor(255, 224, 105, 35));
        CurvedShapes::drawEllipse(painter, QPointF(0, -10), 12 * q, 17 * q);
    }

    painter->setPen(solidPen(QColor(37, 48, 57, 255), 1.2));
    painter->setBrush(bodyColour(member.state));
    CurvedShapes::drawRoundedRect(painter, QRectF(-4.5, -11, 9, 10), 2);
    painter->setBrush(QColor(244, 215, 176, 255));
    CurvedShapes::drawEllipse(painter, QRectF(-4.5, -19.3, 9, 8.6));
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(46, 66, 56, 255));
    CurvedShapes::drawPie(painter, QRectF(-4.5, -19.5, 9, 8), 0, 180 * 16);

    painter->setPen(solidPen(QColor(37, 48, 57, 255), 1.7, Qt::RoundCap));
    drawLimbs(painter, member, phi);
    if (member.state == Demolishing)
        drawFuse(painter, member.actionTicks);
    if (member.climber) {
        painter->setPen(solidPen(QColor(221, 239, 255, 255), 1.2));
        painter->drawLine(QLineF(-5, -15, -3, -11));
    }
    if (member.floater && member.state == Falling)
        drawUmbrella(painter);
    painter->restore();
}
