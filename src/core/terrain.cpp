#include "gamecore.h"

#include <QColor>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstdlib>

namespace Pellwick {

namespace {

const QColor kSoil(116, 77, 46);
const QColor kGrass(74, 151, 84);
const QColor kRock(101, 111, 121);
const QColor kRockTop(130, 141, 151);
const QColor kBridge(174, 127, 71);

struct GroundPalette
{
    QColor soil, grass, darkSpeck, lightSpeck, strata, blade;
};

struct RockPalette
{
    QColor body, top, crack, highlight;
};

int paletteTheme(int theme)
{
    return theme >= 1 && theme <= 3 ? theme : 0;
}

const GroundPalette &groundPalette(int theme)
{
    static const GroundPalette palettes[] = {
        { kSoil, kGrass, QColor(94, 61, 39), QColor(137, 92, 52), QColor(88, 58, 40, 80),
          QColor(104, 187, 95) },
        { QColor(92, 82, 72), QColor(96, 135, 91), QColor(72, 67, 63), QColor(123, 110, 91),
          QColor(53, 58, 62, 80), QColor(125, 161, 104) },
        { QColor(91, 58, 53), QColor(123, 86, 62), QColor(63, 45, 45), QColor(133, 74, 59),
          QColor(54, 35, 39, 95), QColor(171, 111, 66) },
        { QColor(66, 70, 78), QColor(67, 111, 103), QColor(48, 53, 64), QColor(91, 98, 107),
          QColor(34, 40, 54, 100), QColor(92, 153, 137) },
    };
    return palettes[paletteTheme(theme)];
}

const RockPalette &rockPalette(int theme)
{
    static const RockPalette palettes[] = {
        { kRock, kRockTop, QColor(73, 83, 94, 150), QColor(158, 166, 174, 100) },
        { kRock, kRockTop, QColor(73, 83, 94, 150), QColor(158, 166, 174, 100) },
        { QColor(84, 65, 65), QColor(118, 84, 76), QColor(53, 43, 48, 170), QColor(159, 103, 87, 100) },
        { QColor(69, 78, 95), QColor(94, 110, 130), QColor(40, 50, 70, 170), QColor(139, 156, 179, 105) },
    };
    return palettes[paletteTheme(theme)];
}

QPen solidPen(const QColor &color, qreal width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

bool GameCore::isSolid(int x, int y) const
{
    if (x < 0 || y < 0 || x >= worldWidth() || y >= worldHeight())
        return false;
    const QPointF point(x, y);
    for (const WorldObject &object : objects) {
        if (object.type == Door && object.active && object.rect.contains(point))
            return true;
    }
    // The image can lag behind the world size between a layout switch and the restart that follows it.
    if (x >= terrain.width() || y >= terrain.height())
        return false;
    const auto *row = reinterpret_cast<const QRgb *>(terrain.constScanLine(y));
    return isGroundPixel(row[x]);
}

void GameCore::drawGroundRect(int x, int y, int w, int h)
{
    const GroundPalette &palette = groundPalette(currentLevel().theme);
    QPainter painter(&terrain);
    painter.setPen(Qt::NoPen);

    painter.fillRect(QRect(x, y, w, h), palette.soil);
    if (h > 18) {
        for (int t = y + 18; t < y + h; t += 24)
            painter.fillRect(QRect(x, t, w, 2), palette.strata);
    }
    if (w > 11) {
        for (int sx = x + 11; sx < x + w; sx += 31) {
            for (int sy = y + 13 + 7 * ((sx / 31) % 3); sy < y + h; sy += 43)
                painter.fillRect(QRect(sx, sy, 3, 2),
                                 ((sx + sy) / 7) % 2 ? palette.darkSpeck : palette.lightSpeck);
        }
    }
    painter.fillRect(QRect(x, y, w, std::min(h, 7)), palette.grass);
    if (w > 3) {
        painter.setPen(solidPen(palette.blade, 1.0));
        for (int bx = x + 3; bx < x + w; bx += 11) {
            const int k = (bx / 11) % 3 - 1;
            painter.drawLine(QPoint(bx, y), QPoint(bx + 2 * k, y - 3 - std::abs(k)));
        }
    }
}

void GameCore::drawGroundPolygon(const QVector<QPoint> &points)
{
    const GroundPalette &palette = groundPalette(currentLevel().theme);
    QPainter painter(&terrain);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.soil);
    painter.drawPolygon(points.constData(), int(points.size()), Qt::OddEvenFill);

    // Only edges running left to right, no steeper than 80, get grass: the upper edges of a clockwise
    // outline.
    painter.setPen(solidPen(palette.grass, 7.0));
    for (int i = 1; i < points.size(); ++i) {
        const QPoint &from = points.at(i - 1);
        const QPoint &to = points.at(i);
        if (from.x() < to.x() && std::abs(to.y() - from.y()) <= 80)
            painter.drawLine(from, to);
    }
}

void GameCore::drawRockRect(const QRect &rect)
{
    const RockPalette &palette = rockPalette(currentLevel().theme);
    QPainter painter(&terrain);
    painter.setPen(Qt::NoPen);

    painter.fillRect(rect, palette.body);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), std::min(rect.height(), 7)), palette.top);

    painter.setPen(solidPen(palette.crack, 2.0));
    for (int cy = rect.top() + 18; cy < rect.bottom(); cy += 27) {
        const int p = (cy / 27) % 2;
        painter.drawLine(QPoint(rect.left() + 12 * p, cy), QPoint(rect.right() - 5, cy + 5));
    }
    painter.setPen(solidPen(palette.highlight, 1.0));
    for (int hx = rect.left() + 14; hx < rect.right(); hx += 29)
        painter.drawLine(QPoint(hx, rect.top() + 9), QPoint(hx - 6, rect.bottom() - 8));
}

void GameCore::carveRect(const QRect &rect)
{
    QPainter painter(&terrain);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(rect, Qt::black);
}

void GameCore::carveEllipse(const QRect &rect)
{
    QPainter painter(&terrain);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(rect);
}

void GameCore::paintBrick(const QRect &rect)
{
    QPainter painter(&terrain);
    painter.fillRect(rect, kBridge);
}

} // namespace Pellwick
