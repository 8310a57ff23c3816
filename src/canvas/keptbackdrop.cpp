#include "keptbackdrop.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

namespace {

constexpr int kHills = 2;
// Hills are kept for this many rows at a time, as they come into view.
constexpr int kBandRows = 32;

// A colour times a coverage, with the rounding of Qt's raster engine.
QRgb byteMul(QRgb x, uint a)
{
    uint t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// What Qt's raster engine makes of a pixel when a fill lays `laid` over it: `laid` is the pixel the same fill
// leaves on a transparent picture, its colour already scaled by the coverage.
QRgb laidOver(QRgb laid, QRgb pixel)
{
    return laid + byteMul(pixel, qAlpha(~laid));
}

// Most runs are long: a few pixels are set one by one, and then copied forward in ever larger blocks, which
// the C library moves a vector at a time.
void fillPixels(QRgb *pixels, int count, QRgb colour)
{
    constexpr int kByHand = 16;
    const int byHand = std::min(count, kByHand);
    std::fill_n(pixels, byHand, colour);
    for (int done = byHand; done < count;) {
        const int block = std::min(done, count - done);
        std::memcpy(pixels + done, pixels, size_t(block) * sizeof(QRgb));
        done += block;
    }
}

} // namespace

QSize BackdropScene::devicePixels() const
{
    return (size * pixelRatio).toSize();
}

bool BackdropScene::operator==(const BackdropScene &other) const
{
    return std::tie(size, pixelRatio, scale, world, theme)
        == std::tie(other.size, other.pixelRatio, other.scale, other.world, other.theme);
}

// The frame's own pixels, when the painter paints on an image of the whole item, as Qt Quick's painter does:
// the backdrop is composed straight into them, before anything else is painted.
QImage *KeptBackdrop::framePixels(QPainter *frame, const QSize &pixels)
{
    QPaintDevice *device = frame->device();
    if (device->devType() != QInternal::Image || frame->paintEngine()->type() != QPaintEngine::Raster)
        return nullptr;
    auto *image = static_cast<QImage *>(device);
    const QImage::Format format = image->format();
    const bool opaqueOrPremultiplied =
        format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32;
    return opaqueOrPremultiplied && image->size() == pixels ? image : nullptr;
}

bool KeptBackdrop::draw(QPainter *frame, const BackdropScene &scene, const QPoint &origin, const Art &art)
{
    const QSize pixels = scene.devicePixels();
    QImage *target = framePixels(frame, pixels);
    if (!target)
        return false;
    if (!m_scene || !(*m_scene == scene))
        startScene(scene, art);
    if (!m_sceneShown) {
        m_sceneShown = true;
        return false;
    }
    const QRect view(-origin, pixels);
    coverColumns(view, art);
    compose(target, view, art);
    frame->save();
    frame->setTransform(worldTransformAt(view.topLeft()));
    art.overHills(frame);
    frame->restore();
    return true;
}

// Nothing of another scene is kept; the sky's colour on each row of the frame is painted as the frame paints
// it.
void KeptBackdrop::startScene(const BackdropScene &scene, const Art &art)
{
    m_scene = scene;
    m_sceneShown = false;
    const QSize pixels = scene.devicePixels();
    QImage column(1, pixels.height(), QImage::Format_ARGB32_Premultiplied);
    column.setDevicePixelRatio(scene.pixelRatio);
    {
        QPainter painter(&column);
        painter.setRenderHint(QPainter::Antialiasing);
        art.sky(&painter);
    }
    m_sky.resize(pixels.height());
    for (int row = 0; row < pixels.height(); ++row)
        m_sky[row] = *reinterpret_cast<const QRgb *>(column.constScanLine(row));

    const qreal deviceScale = qreal(scene.scale) * scene.pixelRatio;
    m_world = QRect(0, 0, int(std::ceil(scene.world.width() * deviceScale)),
                    int(std::ceil(scene.world.height() * deviceScale)));
    m_left = m_right = 0;
    m_hillRows = QVector<HillRow>(m_world.height());
}

// Every column of the world in view has its hills kept in every kept row. Whenever more columns are needed,
// room is added for a walk across a quarter of the screen, so that a moving view rarely asks again.
void KeptBackdrop::coverColumns(const QRect &view, const Art &art)
{
    const int room = view.width() / 4;
    const int viewLeft = std::max(m_world.left(), view.left());
    const int viewRight = std::min(m_world.right() + 1, view.right() + 1);
    const int roomyLeft = std::max(m_world.left(), view.left() - room);
    const int roomyRight = std::min(m_world.right() + 1, view.right() + 1 + room);
    if (m_left == m_right) {
        m_left = roomyLeft;
        m_right = roomyRight;
        return;
    }
    for (int band = 0; band < m_hillRows.size(); band += kBandRows) {
        if (m_hillRows[band].isEmpty())
            continue;
        const int rows = std::min(kBandRows, int(m_hillRows.size()) - band);
        if (viewLeft < m_left)
            keepHills(band, rows, roomyLeft, m_left, art);
        if (viewRight > m_right)
            keepHills(band, rows, m_right, roomyRight, art);
    }
    if (viewLeft < m_left)
        m_left = roomyLeft;
    if (viewRight > m_right)
        m_right = roomyRight;
}

const KeptBackdrop::HillRow &KeptBackdrop::hillRow(int row, const Art &art)
{
    if (m_hillRows[row].isEmpty()) {
        const int band = row - row % kBandRows;
        keepHills(band, std::min(kBandRows, int(m_hillRows.size()) - band), m_left, m_right, art);
    }
    return m_hillRows[row];
}

// Paints each hill range alone on a transparent band and keeps the pixels it leaves, in runs, before or after
// those of the rows kept already.
void KeptBackdrop::keepHills(int firstRow, int rows, int left, int right, const Art &art)
{
    const int width = right - left;
    QImage layers[kHills];
    for (int hill = 0; hill < kHills; ++hill) {
        layers[hill] = QImage(width, rows, QImage::Format_ARGB32_Premultiplied);
        layers[hill].fill(Qt::transparent);
        layers[hill].setDevicePixelRatio(m_scene->pixelRatio);
        QPainter painter(&layers[hill]);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(worldTransformAt(QPoint(left, firstRow)));
        art.hill(&painter, hill);
    }

    for (int row = 0; row < rows; ++row) {
        const auto *far = reinterpret_cast<const QRgb *>(layers[0].constScanLine(row));
        const auto *near = reinterpret_cast<const QRgb *>(layers[1].constScanLine(row));
        HillRow runs;
        for (int x = 1; x <= width; ++x) {
            if (x == width || far[x] != far[x - 1] || near[x] != near[x - 1])
                runs.append({ left + x, far[x - 1], near[x - 1] });
        }
        HillRow &kept = m_hillRows[firstRow + row];
        if (right <= m_left)
            kept = runs + kept;
        else
            kept += runs;
    }
}

// Each row of the view is filled with its sky, and each run of hills with what they lay on that sky.
void KeptBackdrop::compose(QImage *target, const QRect &view, const Art &art)
{
    // Taken once: asking for each row would announce a change to the image every time.
    uchar *const firstRow = target->bits();
    for (int row = 0; row < view.height(); ++row) {
        auto *pixels = reinterpret_cast<QRgb *>(firstRow + row * target->bytesPerLine());
        const QRgb sky = m_sky[row];
        const int worldRow = view.top() + row;
        if (worldRow < 0 || worldRow >= m_world.height() || m_left == m_right) {
            fillPixels(pixels, view.width(), sky);
            continue;
        }
        // Left of the world and right of it there is only sky.
        int x = view.left();
        const int right = view.right() + 1;
        const auto fillTo = [&](int end, QRgb colour) {
            end = std::min(end, right);
            if (x < end) {
                fillPixels(pixels + (x - view.left()), end - x, colour);
                x = end;
            }
        };
        fillTo(m_left, sky);
        for (const HillRun &run : hillRow(worldRow, art))
            fillTo(run.end, laidOver(run.near, laidOver(run.far, sky)));
        fillTo(right, sky);
    }
}

// The painter's transform from world units to a picture whose top left pixel is `corner`, in device pixels
// counted from the world's origin.
QTransform KeptBackdrop::worldTransformAt(const QPoint &corner) const
{
    const qreal scale = m_scene->scale;
    const qreal ratio = m_scene->pixelRatio;
    return QTransform(scale, 0, 0, scale, -corner.x() / ratio, -corner.y() / ratio);
}
