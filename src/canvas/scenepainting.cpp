#include "curvedshapes.h"
#include "gamecanvas.h"
#include "paintstyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

using namespace Pellwick;

namespace {

// The colours of one theme's backdrop: the sky gradient and the scenery in front of it.
struct ThemeLook
{
    QRgb skyTop;
    QRgb skyMiddle;
    QRgb skyBottom;
    QRgb farHills;
    QRgb nearHills;
    QRgb specks;
};

constexpr ThemeLook kThemeLooks[] = {
    { qRgba(13, 33, 53, 255), qRgba(30, 59, 70, 255), qRgba(46, 74, 76, 255), qRgba(44, 75, 83, 150),
      qRgba(35, 62, 72, 160), qRgba(211, 233, 226, 30) },
    { qRgba(28, 40, 49, 255), qRgba(55, 66, 71, 255), qRgba(74, 75, 70, 255), qRgba(61, 69, 76, 175),
      qRgba(43, 48, 53, 190), qRgba(234, 194, 112, 35) },
    { qRgba(45, 24, 37, 255), qRgba(90, 43, 48, 255), qRgba(129, 68, 48, 255), qRgba(91, 43, 48, 175),
      qRgba(58, 35, 42, 195), qRgba(255, 156, 76, 45) },
    { qRgba(5, 12, 30, 255), qRgba(15, 28, 53, 255), qRgba(31, 44, 61, 255), qRgba(29, 38, 63, 205),
      qRgba(20, 27, 45, 220), qRgba(213, 226, 255, 95) },
};

constexpr int kNightTheme = 3;

// The catalogue only uses themes 0 to 3; anything else looks like the default theme, as the terrain does.
int themeOf(const GameCore &core)
{
    const int theme = core.currentLevel().theme;
    return theme >= 0 && theme <= kNightTheme ? theme : 0;
}

const ThemeLook &lookOf(const GameCore &core)
{
    return kThemeLooks[themeOf(core)];
}

// A proportional world coordinate such as 0.47H: taken in double, kept as a float.
float share(double fraction, int size)
{
    return float(fraction * size);
}

// The last brush (and pen) each theme's scenery leaves on the painter, which an open door is filled with.
const QColor kPineColour(31, 74, 61, 120);
const QColor kTowerColour(50, 58, 62, 95);
const QColor kTowerOutline(128, 139, 143, 90);
const QColor kCloudColour(125, 72, 61, 75);
const QColor kSkylineColour(15, 24, 39, 150);

// Room around the view in world units: no figure reaches further from its point or rectangle than this.
constexpr qreal kFigureReach = 48.0;
const QRectF kWholeWorld(-1e6, -1e6, 2e6, 2e6);

void fillPolygon(QPainter *painter, const QPointF *points, int count)
{
    painter->drawPolygon(points, count, Qt::OddEvenFill);
}

constexpr int kFarHills = 0;
constexpr int kNearHills = 1;

// One of the two hill ranges, far or near. The outline is given whole: the rasterizer walks only the rows and
// columns on the painter's device, and a cut would move the edges by a fraction of a pixel.
void drawHill(QPainter *painter, const ThemeLook &look, int hill, int w, int h)
{
    painter->setPen(Qt::NoPen);
    if (hill == kFarHills) {
        painter->setBrush(QColor::fromRgba(look.farHills));
        const QPointF farHills[] = {
            { 0, share(0.7, h) },
            { share(0.14, w), share(0.47, h) },
            { share(0.29, w), share(0.7, h) },
            { share(0.46, w), share(0.43, h) },
            { share(0.65, w), share(0.7, h) },
            { share(0.82, w), share(0.5, h) },
            { double(w), share(0.68, h) },
            { double(w), double(h) },
            { 0, double(h) },
        };
        fillPolygon(painter, farHills, 9);
        return;
    }
    painter->setBrush(QColor::fromRgba(look.nearHills));
    const QPointF nearHills[] = {
        { 0, share(0.8, h) },
        { share(0.2, w), share(0.65, h) },
        { share(0.39, w), share(0.82, h) },
        { share(0.58, w), share(0.61, h) },
        { share(0.79, w), share(0.81, h) },
        { double(w), share(0.69, h) },
        { double(w), double(h) },
        { 0, double(h) },
    };
    fillPolygon(painter, nearHills, 8);
}

// Specks and stars sit at places fixed by the level and the world size, so they never flicker.
void drawSpecks(QPainter *painter, int count, int levelIndex, int w, int h, bool bigEveryFifth)
{
    const int band = std::max(80, int(0.5 * h));
    for (int i = 0; i < count; ++i) {
        const int x = (41 * levelIndex + 127 * i) % w;
        const int y = (67 * i) % band + 35;
        const double radius = bigEveryFifth && i % 5 == 0 ? 2.8 : 1.8;
        CurvedShapes::drawEllipse(painter, QRectF(x - radius, y - radius, 2 * radius, 2 * radius));
    }
}

void drawPines(QPainter *painter, int w, int h)
{
    painter->setBrush(kPineColour);
    for (int x = 45; x < w; x += 150) {
        painter->drawRect(QRectF(x, share(0.6, h), 5, share(0.13, h)));
        const QPointF crown[] = { { x - 18.0, share(0.64, h) },
                                  { x + 2.0, share(0.51, h) },
                                  { x + 22.0, share(0.64, h) } };
        fillPolygon(painter, crown, 3);
    }
}

void drawTowers(QPainter *painter, int w, int h)
{
    painter->setPen(PaintStyle::solidPen(kTowerOutline, 3));
    painter->setBrush(kTowerColour);
    for (int x = 70; x < w; x += 240) {
        const int k = (x / 240) % 2;
        const float top = share(0.36 + 0.08 * k, h);
        painter->drawRect(QRectF(x, top, 48, share(0.38, h)));
        painter->drawLine(QPointF(x - 25, top + 8), QPointF(x + 75, top + 8));
        painter->drawLine(QPointF(x + 24, top - 38), QPointF(x + 24, top + 8));
    }
}

void drawClouds(QPainter *painter, int w, int h)
{
    painter->setBrush(kCloudColour);
    for (int i = 0; i < 5; ++i) {
        const float cx = share(0.18 + 0.16 * i, w);
        const float cy = share(0.28 + 0.07 * (i % 2), h);
        CurvedShapes::drawEllipse(painter, QPointF(cx, cy), 26 + 2 * i, 14 + i);
        CurvedShapes::drawEllipse(painter, QPointF(cx + 14, cy - 12), 18 + i, 11 + i);
    }
}

// The moon's shadow disc has the night sky's middle colour and bites a crescent out of the halo.
void drawMoonAndSkyline(QPainter *painter, int w, int h)
{
    painter->setBrush(QColor(233, 239, 211, 130));
    CurvedShapes::drawEllipse(painter, QPointF(share(0.82, w), share(0.18, h)), 28, 28);
    painter->setBrush(QColor(15, 28, 53, 255));
    CurvedShapes::drawEllipse(painter, QPointF(share(0.835, w), share(0.17, h)), 25, 25);

    painter->setBrush(kSkylineColour);
    const float skylineBase = share(0.69, h);
    for (int x = 0; x < w; x += 72) {
        const int height = 28 + 10 * ((x / 72) % 4);
        painter->drawRect(QRectF(x, skylineBase - height, 48, height));
    }
}

} // namespace

void GameCanvas::paint(QPainter *painter)
{
    // A painter already scaled or moved by its owner gets the exact frame: the kept backdrop is made for an
    // untransformed one.
    paintFrame(painter, painter->transform().isIdentity());
}

void GameCanvas::paintFrame(QPainter *painter, bool keepBackdrop)
{
    // Qt Quick hands an antialiased item a painter that also smooths scaled images; the terrain stays sharp,
    // one image pixel per world unit at every zoom, whoever paints the frame.
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);

    const QRectF shown = keepBackdrop ? visibleWorld() : kWholeWorld;
    if (keepBackdrop)
        drawKeptBackdrop(painter);
    else
        drawSky(painter);

    painter->save();
    enterWorld(painter);
    if (keepBackdrop)
        handOverSceneryState(painter);
    else
        drawBackground(painter);
    const QImage &terrain = m_core.terrain;
    painter->drawImage(QRectF(0, 0, m_core.worldWidth(), m_core.worldHeight()), terrain,
                       QRectF(0, 0, terrain.width(), terrain.height()));
    drawObjects(painter, shown);
    drawPortal(painter, m_core.entry(), false);
    drawPortal(painter, m_core.exit(), true);
    for (const CrewMember &member : m_core.crew) {
        if (shown.contains(member.pos))
            drawCrew(painter, member);
    }
    painter->restore();

    if (m_selectedCrewId >= 0)
        drawSelectionMarker(painter);
    if (m_paused && !m_core.finished)
        drawPauseVeil(painter);
    if (double(m_zoom) > 1.01)
        drawZoomLabel(painter);
}

void GameCanvas::drawSky(QPainter *painter) const
{
    const ThemeLook &look = lookOf(m_core);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0.0, QColor::fromRgba(look.skyTop));
    sky.setColorAt(0.55, QColor::fromRgba(look.skyMiddle));
    sky.setColorAt(1.0, QColor::fromRgba(look.skyBottom));
    painter->fillRect(boundingRect(), sky);
}

// Clipped to the play field, with world units from here on, the world's origin on a whole device pixel.
void GameCanvas::enterWorld(QPainter *painter) const
{
    painter->setClipRect(playfieldRect(), Qt::ReplaceClip);
    const qreal ratio = painter->device()->devicePixelRatioF();
    painter->translate(QPointF(worldOriginPixel(ratio)) / ratio);
    const float scale = effectiveScale();
    painter->scale(scale, scale);
}

// The part of the world in the play field, widened by the reach of the largest figure.
QRectF GameCanvas::visibleWorld() const
{
    const QRectF field = playfieldRect();
    const qreal scale = qreal(baseScale() * m_zoom);
    const qreal halfW = field.width() * 0.5 / scale + kFigureReach;
    const qreal halfH = field.height() * 0.5 / scale + kFigureReach;
    return QRectF(m_cameraX - halfW, m_cameraY - halfH, 2 * halfW, 2 * halfH);
}

// The sky and the scenery change only with the scene and the view, and they are most of the pixels: they are
// composed from what is kept for the scene whenever that is the cheaper way.
void GameCanvas::drawKeptBackdrop(QPainter *painter)
{
    const qreal ratio = painter->device()->devicePixelRatioF();
    const BackdropScene scene { QSizeF(width(), height()), ratio, effectiveScale(),
                                QSize(m_core.worldWidth(), m_core.worldHeight()), themeOf(m_core) };
    const KeptBackdrop::Art art {
        [this](QPainter *sky) { drawSky(sky); },
        [this](QPainter *world, int hill) { drawHill(world, hill); },
        [this](QPainter *world) { drawSceneryOverHills(world); },
    };
    if (!m_keptBackdrop.draw(painter, scene, worldOriginPixel(ratio), art))
        drawBackdropInPlace(painter);
}

void GameCanvas::drawBackdropInPlace(QPainter *painter) const
{
    drawSky(painter);
    painter->save();
    enterWorld(painter);
    drawBackground(painter);
    painter->restore();
}

// Scenery behind the terrain, in world coordinates. It leaves the decoration's brush (and, for the towers,
// their pen) on the painter: an open door is filled with whatever brush the scenery left behind.
void GameCanvas::drawBackground(QPainter *painter) const
{
    drawHill(painter, kFarHills);
    drawHill(painter, kNearHills);
    drawSceneryOverHills(painter);
}

void GameCanvas::drawHill(QPainter *painter, int hill) const
{
    ::drawHill(painter, lookOf(m_core), hill, m_core.worldWidth(), m_core.worldHeight());
}

// The specks or stars and the theme's decoration, in front of the hills.
void GameCanvas::drawSceneryOverHills(QPainter *painter) const
{
    const int w = m_core.worldWidth();
    const int h = m_core.worldHeight();
    const int theme = themeOf(m_core);

    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor::fromRgba(lookOf(m_core).specks));
    if (theme == kNightTheme) {
        drawSpecks(painter, 28, m_core.levelIndex, w, h, true);
        drawMoonAndSkyline(painter, w, h);
        return;
    }
    drawSpecks(painter, 10, m_core.levelIndex, w, h, false);
    if (theme == 0)
        drawPines(painter, w, h);
    else if (theme == 1)
        drawTowers(painter, w, h);
    else
        drawClouds(painter, w, h);
}

// What the scenery leaves on the painter when it is drawn in place, for a frame that copied it instead.
void GameCanvas::handOverSceneryState(QPainter *painter) const
{
    const int theme = themeOf(m_core);
    painter->setPen(theme == 1 ? PaintStyle::solidPen(kTowerOutline, 3) : QPen(Qt::NoPen));
    const QColor lastBrush[] = { kPineColour, kTowerColour, kCloudColour, kSkylineColour };
    painter->setBrush(lastBrush[theme]);
}

// An arrow on the edge of the play field that points toward the selected member when it is off screen.
void GameCanvas::drawSelectionMarker(QPainter *painter) const
{
    const CrewMember *selected = activeCrewMember(m_selectedCrewId);
    if (!selected)
        return;

    const QPointF target = worldToItem(selected->pos);
    const QRectF field = playfieldRect();
    const QRectF inset = field.adjusted(20, 20, -20, -20);
    if (inset.contains(target))
        return;

    const QPointF centre(inset.x() + inset.width() * 0.5, inset.y() + inset.height() * 0.5);
    const QPointF d = target - centre;
    double t = 1.0;
    if (std::abs(d.x()) > 0.001) {
        const double room = d.x() > 0 ? inset.right() - centre.x() : centre.x() - inset.left();
        t = std::min(1.0, room / std::abs(d.x()));
    }
    if (std::abs(d.y()) > 0.001) {
        const double room = d.y() > 0 ? inset.bottom() - centre.y() : centre.y() - inset.top();
        t = std::min(t, room / std::abs(d.y()));
    }
    if (t <= 0)
        t = 0;

    painter->save();
    painter->translate(centre + t * d);
    painter->rotate(float(std::atan2(d.y(), d.x())) * 57.29578f);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 224, 105, 210));
    const QPointF arrow[] = { { 10, 0 }, { -6, -6 }, { -6, 6 } };
    fillPolygon(painter, arrow, 3);
    painter->restore();
}

// Darkens the play field and says so. The text size never drops to zero, which a font cannot take.
void GameCanvas::drawPauseVeil(QPainter *painter) const
{
    const QRectF field = playfieldRect();
    painter->fillRect(field, QColor(0, 0, 0, 65));

    QFont font = painter->font();
    font.setWeight(QFont::Bold);
    font.setPixelSize(std::max(1, qRound(std::min(width(), height()) * 0.06)));
    painter->setFont(font);
    painter->setPen(QColor(255, 255, 255, 220));
    painter->drawText(field, Qt::AlignCenter, tr("PAUSED"));
}

void GameCanvas::drawZoomLabel(QPainter *painter) const
{
    const QRectF field = playfieldRect();
    QFont font = painter->font();
    font.setPixelSize(std::max(11, qRound(std::min(width(), height()) * 0.025)));
    painter->setFont(font);
    painter->setPen(QColor(255, 255, 255, 120));
    painter->drawText(field.adjusted(8, 6, -8, -6), Qt::AlignRight | Qt::AlignTop,
                      QStringLiteral("%1\u00d7").arg(double(m_zoom), 0, 'f', 1, QLatin1Char(' ')));
}
