#ifndef PELLWICK_PAINTTESTSUPPORT_H
#define PELLWICK_PAINTTESTSUPPORT_H

#include "canvasprobe.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <cstdlib>
#include <memory>

// A canvas of a given size showing one level in one layout, with its clock held so only the test moves it.
class PaintStage
{
public:
    PaintStage(const QSize &size, int level, Pellwick::LayoutMode layout)
        : canvas(std::make_unique<GameCanvas>())
        , probe(*canvas)
    {
        probe.holdFrameTimer();
        probe.core().setLayoutMode(layout, false);
        probe.core().loadLevel(level);
        canvas->setSize(size);
        // Whatever a stored game or a remembered zoom brought in, the frame starts plain: unzoomed, running,
        // nothing selected, the camera on the middle of the world.
        canvas->setPaused(false);
        probe.setSelectedCrewId(-1);
        probe.setZoom(1.0f);
        centreOn(QPointF(core().worldWidth() / 2.0, core().worldHeight() / 2.0));
    }

    Pellwick::GameCore &core() const { return probe.core(); }
    void centreOn(const QPointF &world) const { probe.setCamera(world); }

    // Leaves only the sky and the scenery: no ground, no objects, no crew.
    void clearWorld() const
    {
        core().terrain.fill(Qt::transparent);
        core().objects.clear();
        core().crew.clear();
    }

    // One frame from nothing on a painter with the given hints; finalFont receives the font the frame left
    // on the painter.
    QImage render(QFont *finalFont = nullptr, QPainter::RenderHints hints = {}) const
    {
        QImage image(QSizeF(canvas->width(), canvas->height()).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setRenderHints(hints);
        canvas->paint(&painter);
        if (finalFont)
            *finalFont = painter.font();
        return image;
    }

    std::unique_ptr<GameCanvas> canvas;
    CanvasProbe probe;
};

namespace PaintTest {

// The first catalogue level drawn in the given theme.
inline int levelOfTheme(const Pellwick::GameCore &core, int theme)
{
    for (int i = 0; i < core.levels.size(); ++i) {
        if (core.levels.at(i).theme == theme)
            return i;
    }
    return -1;
}

inline bool near(QRgb actual, const QColor &expected, int tolerance)
{
    return std::abs(qRed(actual) - expected.red()) <= tolerance
        && std::abs(qGreen(actual) - expected.green()) <= tolerance
        && std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

// What a translucent colour gives when laid over an opaque pixel.
inline QColor over(const QColor &colour, QRgb below)
{
    const double a = colour.alphaF();
    return QColor(qRound(colour.red() * a + qRed(below) * (1 - a)),
                  qRound(colour.green() * a + qGreen(below) * (1 - a)),
                  qRound(colour.blue() * a + qBlue(below) * (1 - a)));
}

// The smallest rectangle holding every pixel in which two frames of the same size differ.
inline QRect differingArea(const QImage &a, const QImage &b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (rowA[x] != rowB[x])
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

} // namespace PaintTest

#endif // PELLWICK_PAINTTESTSUPPORT_H
