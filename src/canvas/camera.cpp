#include "gamecanvas.h"

#include <algorithm>
#include <cmath>

using namespace Pellwick;

namespace {

constexpr float kMinZoom = 1.0f;
constexpr float kMaxZoom = 3.5f;
constexpr double kZoomTolerance = 0.001;
constexpr double kZoomStep = 1.35;
constexpr double kWideItemRatio = 1.2;
constexpr double kWideWorldShare = 0.48; // a wide item never shows the world narrower than this share
constexpr double kDragZoomThreshold = 1.001;
constexpr int kPanHoldFrames = 90;
constexpr float kFollowShare = 0.12f;
constexpr double kFollowLead = 24.0;
constexpr float kFollowLift = 8.0f;

const QString kPortraitZoomKey = QStringLiteral("view/portraitZoom");
const QString kLandscapeZoomKey = QStringLiteral("view/landscapeZoom");

// The centre of the view on one axis: the world is centred when it fits, otherwise the view stays inside it.
float clampedAxis(float centre, float extent, float view)
{
    if (extent <= view)
        return extent / 2;
    const float half = view * 0.5f;
    centre = std::min(centre, extent - half);
    return half >= centre || std::isnan(centre) ? half : centre;
}

bool insideWorld(float value, float extent)
{
    return value >= 0.0f && value <= extent;
}

} // namespace

// Not a number, or at most 1.0, is the unzoomed view.
float GameCanvas::boundedZoom(qreal value)
{
    if (value > kMaxZoom)
        return kMaxZoom;
    if (!(value > kMinZoom))
        return kMinZoom;
    return float(value);
}

QRectF GameCanvas::playfieldRect() const
{
    return QRectF(0, 0, width(), height());
}

float GameCanvas::baseScale() const
{
    const float w = float(width());
    const float h = float(height());
    const float worldW = float(m_core.worldWidth());
    const float worldH = float(m_core.worldHeight());
    if (!(w > 0.0f) || !(h > 0.0f) || worldW <= 0.0f || worldH <= 0.0f)
        return 1.0f;
    float scale = std::min(w / worldW, h / worldH);
    if (double(w) > kWideItemRatio * double(h))
        scale = std::max(scale, float(double(w) * kWideWorldShare) / worldW);
    return scale;
}

float GameCanvas::effectiveScale() const
{
    return baseScale() * m_zoom;
}

QPointF GameCanvas::worldToItem(const QPointF &world) const
{
    const float w = float(width());
    const float h = float(height());
    const float scale = effectiveScale();
    if (!(w > 0.0f) || !(h > 0.0f) || !(scale > 0.0f))
        return QPointF(w * 0.5f, h * 0.5f);
    return QPointF(w * 0.5f + (world.x() - m_cameraX) * scale, h * 0.5f + (world.y() - m_cameraY) * scale);
}

// The device pixel the picture puts the world's origin on: the camera's own point, rounded to a whole pixel,
// so that a moving picture moves by whole pixels and what it showed before can be copied. It lies within
// half a pixel of worldToItem().
QPoint GameCanvas::worldOriginPixel(qreal pixelRatio) const
{
    const QRectF field = playfieldRect();
    const qreal scale = qreal(effectiveScale());
    const qreal x = field.x() + field.width() * 0.5 - m_cameraX * scale;
    const qreal y = field.y() + field.height() * 0.5 - m_cameraY * scale;
    return QPoint(qRound(x * pixelRatio), qRound(y * pixelRatio));
}

QPointF GameCanvas::itemToWorld(float x, float y) const
{
    const QPointF miss(-1000, -1000);
    const float w = float(width());
    const float h = float(height());
    if (!playfieldRect().contains(QPointF(x, y)) || !(w > 0.0f) || !(h > 0.0f))
        return miss;
    const float scale = effectiveScale();
    const float worldX = (x - w * 0.5f) / scale + m_cameraX;
    const float worldY = (y - h * 0.5f) / scale + m_cameraY;
    // Written so that a point that is not a number misses too.
    if (!(worldX >= 0.0f && worldX < float(m_core.worldWidth())))
        return miss;
    if (!(worldY >= 0.0f && worldY < float(m_core.worldHeight())))
        return miss;
    return QPointF(worldX, worldY);
}

void GameCanvas::clampCamera()
{
    const float w = float(width());
    const float h = float(height());
    const float worldW = float(m_core.worldWidth());
    const float worldH = float(m_core.worldHeight());
    const float scale = effectiveScale();
    if (!(w > 0.0f) || !(h > 0.0f) || !(scale > 0.0f)) {
        // Without a view there is nothing to clamp against yet; a camera inside the world (a resumed
        // game's, or one placed on the action) is kept for the first real geometry to clamp.
        if (!insideWorld(m_cameraX, worldW) || !insideWorld(m_cameraY, worldH)) {
            m_cameraX = worldW * 0.5f;
            m_cameraY = worldH * 0.5f;
        }
        return;
    }
    m_cameraX = clampedAxis(m_cameraX, worldW, w / scale);
    m_cameraY = clampedAxis(m_cameraY, worldH, h / scale);
}

void GameCanvas::centreOnAction()
{
    const QPointF focus = actionFocusWorld();
    m_cameraX = float(focus.x());
    m_cameraY = float(focus.y());
    clampCamera();
}

void GameCanvas::centerCamera(bool resetZoom)
{
    if (resetZoom)
        m_zoom = preferredZoomForOrientation(m_portraitLayout);
    centreOnAction();
}

void GameCanvas::focusAction()
{
    m_panHoldFrames = 0;
    centreOnAction();
    update();
}

void GameCanvas::setFollowSelectedCrew(bool value)
{
    if (value == m_followSelectedCrew)
        return;
    m_followSelectedCrew = value;
    Q_EMIT followSelectedCrewChanged();
    if (value)
        focusAction();
}

// A drag holds following back for a while; following resumes in the frame in which the hold runs out.
void GameCanvas::followStep()
{
    const int hold = m_panHoldFrames;
    bool following = m_followSelectedCrew;
    if (hold > 0) {
        m_panHoldFrames = hold - 1;
        following = following && hold == 1;
    }
    if (!following || m_selectedCrewId < 0 || m_core.finished)
        return;
    const CrewMember *member = activeCrewMember(m_selectedCrewId);
    if (!member)
        return;
    const float lead = float(member->direction * kFollowLead);
    const QPointF target(member->pos.x() + lead, member->pos.y() - kFollowLift);
    m_cameraX += float((target.x() - m_cameraX) * kFollowShare);
    m_cameraY += float((target.y() - m_cameraY) * kFollowShare);
    clampCamera();
}

void GameCanvas::panByItemDelta(float dx, float dy)
{
    if (!(double(m_zoom) > kDragZoomThreshold))
        return;
    m_panHoldFrames = kPanHoldFrames;
    const float scale = effectiveScale();
    m_cameraX -= dx / scale;
    m_cameraY -= dy / scale;
    clampCamera();
    update();
}

// The zoom buttons recentre on the action.
void GameCanvas::setButtonZoom(float value)
{
    const float bounded = boundedZoom(value);
    if (std::abs(double(bounded) - double(m_zoom)) < kZoomTolerance)
        return;
    m_zoom = bounded;
    centreOnAction();
    rememberZoomForOrientation();
    Q_EMIT zoomChanged();
    update();
}

void GameCanvas::zoomIn()
{
    setButtonZoom(float(double(m_zoom) * kZoomStep));
}

void GameCanvas::zoomOut()
{
    setButtonZoom(float(double(m_zoom) / kZoomStep));
}

void GameCanvas::resetView()
{
    setButtonZoom(kMinZoom);
}

// A pinch keeps the world point under the fingers where it is.
void GameCanvas::setZoomAt(float value, float itemX, float itemY)
{
    const float bounded = boundedZoom(value);
    if (std::abs(double(bounded) - double(m_zoom)) < kZoomTolerance)
        return;
    const bool onItem = playfieldRect().contains(QPointF(itemX, itemY));
    const QPointF anchor = onItem ? itemToWorld(itemX, itemY) : QPointF(m_cameraX, m_cameraY);
    m_zoom = bounded;
    if (onItem && anchor.x() >= 0 && anchor.y() >= 0) {
        const float scale = effectiveScale();
        m_cameraX = float(anchor.x()) - (itemX - float(width()) * 0.5f) / scale;
        m_cameraY = float(anchor.y()) - (itemY - float(height()) * 0.5f) / scale;
    }
    clampCamera();
    rememberZoomForOrientation();
    Q_EMIT zoomChanged();
    update();
}

float GameCanvas::preferredZoomForOrientation(bool portrait) const
{
    return boundedZoom(settingsReal(portrait ? kPortraitZoomKey : kLandscapeZoomKey, 1.0));
}

void GameCanvas::rememberZoomForOrientation()
{
    m_settings.setValue(m_portraitLayout ? kPortraitZoomKey : kLandscapeZoomKey, m_zoom);
}

void GameCanvas::setPortraitLayout(bool portrait)
{
    if (portrait == m_portraitLayout)
        return;
    rememberZoomForOrientation();
    m_portraitLayout = portrait;
    m_zoom = preferredZoomForOrientation(portrait);
    Q_EMIT portraitLayoutChanged();
    Q_EMIT zoomChanged();

    const bool untouched = m_levelIntroVisible && m_core.tick <= 0 && m_core.spawned == 0 && !m_core.finished;
    if (untouched) {
        const LayoutMode layout = portrait ? Portrait : Landscape;
        if (m_core.layoutMode != layout && m_core.currentLevel().layout(layout).defined) {
            // A level that has not started yet is shown in the layout that suits the phone, if it has one.
            matchCoreLayout();
            m_core.loadLevel(m_core.levelIndex);
            beginRecording();
            m_selectedCrewId = -1;
            m_tickAccumulator = 0.0f;
            centerCamera(true);
            Q_EMIT levelChanged();
            Q_EMIT stateChanged();
            Q_EMIT skillsChanged();
            Q_EMIT releaseRateChanged();
            Q_EMIT selectedCrewIdChanged();
            Q_EMIT zoomChanged();
        }
    } else {
        // A level under way keeps the layout it was started in.
        centreOnAction();
        saveSession();
    }
    update();
}

void GameCanvas::geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChanged(newGeometry, oldGeometry);
    const bool oldUsable = oldGeometry.width() > 0 && oldGeometry.height() > 0;
    const bool oldLandscape = oldGeometry.height() < oldGeometry.width();
    const bool newLandscape = newGeometry.width() > newGeometry.height();
    if (oldUsable && oldLandscape != newLandscape)
        centreOnAction();
    else
        clampCamera();
    update();
}
