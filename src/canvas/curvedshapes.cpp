#include "curvedshapes.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr int kHalfTurn = 180 * 16;

// The painter's transform taken off for one shape and the pen widened to match, both put back on leaving.
// A transform that turns or stretches a shape is left on: the shape is drawn as it was given.
class DevicePixels
{
public:
    explicit DevicePixels(QPainter *painter)
        : m_painter(painter)
        , m_transform(painter->transform())
        , m_active(m_transform.type() <= QTransform::TxScale
                   && qFuzzyCompare(std::abs(m_transform.m11()), std::abs(m_transform.m22())))
    {
        if (!m_active)
            return;
        m_pen = painter->pen();
        QPen pen = m_pen;
        if (!pen.isCosmetic())
            pen.setWidthF(pen.widthF() * std::abs(m_transform.m11()));
        painter->resetTransform();
        painter->setPen(pen);
    }

    ~DevicePixels()
    {
        if (!m_active)
            return;
        m_painter->setTransform(m_transform);
        m_painter->setPen(m_pen);
    }

    DevicePixels(const DevicePixels &) = delete;
    DevicePixels &operator=(const DevicePixels &) = delete;

    QRectF map(const QRectF &rect) const { return m_active ? m_transform.mapRect(rect) : rect; }
    QLineF map(const QLineF &line) const { return m_active ? m_transform.map(line) : line; }
    qreal scale() const { return m_active ? std::abs(m_transform.m11()) : 1.0; }

    // A mirrored transform runs an arc the other way round from the mirrored start.
    int startAngle(int angle) const
    {
        if (!m_active)
            return angle;
        if (m_transform.m11() < 0)
            angle = kHalfTurn - angle;
        if (m_transform.m22() < 0)
            angle = -angle;
        return angle;
    }

    int spanAngle(int span) const
    {
        if (!m_active)
            return span;
        return (m_transform.m11() < 0) == (m_transform.m22() < 0) ? span : -span;
    }

private:
    QPainter *m_painter;
    QTransform m_transform;
    bool m_active;
    QPen m_pen;
};

} // namespace

namespace CurvedShapes {

void drawEllipse(QPainter *painter, const QRectF &rect)
{
    const DevicePixels device(painter);
    painter->drawEllipse(device.map(rect));
}

void drawEllipse(QPainter *painter, const QPointF &centre, qreal rx, qreal ry)
{
    drawEllipse(painter, QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry));
}

void drawRoundedRect(QPainter *painter, const QRectF &rect, qreal radius)
{
    const DevicePixels device(painter);
    const qreal deviceRadius = radius * device.scale();
    painter->drawRoundedRect(device.map(rect), deviceRadius, deviceRadius);
}

void drawPie(QPainter *painter, const QRectF &rect, int startAngle, int spanAngle)
{
    const DevicePixels device(painter);
    painter->drawPie(device.map(rect), device.startAngle(startAngle), device.spanAngle(spanAngle));
}

void drawArc(QPainter *painter, const QRectF &rect, int startAngle, int spanAngle)
{
    const DevicePixels device(painter);
    painter->drawArc(device.map(rect), device.startAngle(startAngle), device.spanAngle(spanAngle));
}

void drawLine(QPainter *painter, const QLineF &line)
{
    const DevicePixels device(painter);
    painter->drawLine(device.map(line));
}

} // namespace CurvedShapes
