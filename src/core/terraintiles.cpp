#include "terraintiles.h"

#include <cstring>

namespace Pellwick {

namespace {

// 135 tiles in a landscape world: small enough that a digger's few seconds touch only a handful of them.
constexpr int kTileSide = 64;
// The fastest compression: a level's whole terrain of 2 MB packs into some 20 KB with it all the same.
constexpr int kCompressionLevel = 1;

int pixelBytes(const QImage &image)
{
    return image.depth() / 8;
}

bool sameTile(const QImage &a, const QImage &b, const QRect &tile)
{
    const int offset = tile.x() * pixelBytes(a);
    const size_t rowBytes = size_t(tile.width() * pixelBytes(a));
    for (int y = tile.top(); y <= tile.bottom(); ++y) {
        if (std::memcmp(a.constScanLine(y) + offset, b.constScanLine(y) + offset, rowBytes) != 0)
            return false;
    }
    return true;
}

QByteArray packTile(const QImage &image, const QRect &tile)
{
    const int offset = tile.x() * pixelBytes(image);
    const int rowBytes = tile.width() * pixelBytes(image);
    QByteArray rows;
    rows.reserve(rowBytes * tile.height());
    for (int y = tile.top(); y <= tile.bottom(); ++y)
        rows.append(reinterpret_cast<const char *>(image.constScanLine(y)) + offset, rowBytes);
    QByteArray packed = qCompress(rows, kCompressionLevel);
    packed.squeeze(); // qCompress leaves room for the whole tile uncompressed
    return packed;
}

void unpackTile(const QByteArray &packed, QImage &image, const QRect &tile)
{
    const QByteArray rows = qUncompress(packed);
    const int offset = tile.x() * pixelBytes(image);
    const int rowBytes = tile.width() * pixelBytes(image);
    for (int y = tile.top(); y <= tile.bottom(); ++y)
        std::memcpy(image.scanLine(y) + offset, rows.constData() + (y - tile.top()) * rowBytes,
                    size_t(rowBytes));
}

} // namespace

TerrainTiles::TerrainTiles(const QImage &image, const TerrainTiles &earlier, const QImage &earlierImage)
    : m_size(image.size())
{
    const bool comparable = earlierImage.size() == image.size() && earlierImage.format() == image.format()
        && earlier.m_size == image.size();
    if (comparable && earlierImage.cacheKey() == image.cacheKey()) {
        m_tiles = earlier.m_tiles;
        return;
    }
    const int count = columns() * ((m_size.height() + kTileSide - 1) / kTileSide);
    m_tiles.reserve(count);
    for (int index = 0; index < count; ++index) {
        const QRect tile = tileRect(index);
        if (comparable && sameTile(image, earlierImage, tile))
            m_tiles.append(earlier.m_tiles.at(index));
        else
            m_tiles.append(packTile(image, tile));
    }
}

void TerrainTiles::paintOver(QImage &image, const TerrainTiles &current) const
{
    for (int index = 0; index < m_tiles.size(); ++index) {
        const bool shared = current.m_tiles.size() == m_tiles.size()
            && current.m_tiles.at(index).constData() == m_tiles.at(index).constData();
        if (!shared)
            unpackTile(m_tiles.at(index), image, tileRect(index));
    }
}

qint64 TerrainTiles::uncountedBytes(QSet<const char *> &counted) const
{
    qint64 bytes = 0;
    for (const QByteArray &tile : m_tiles) {
        if (!counted.contains(tile.constData())) {
            counted.insert(tile.constData());
            bytes += tile.capacity();
        }
    }
    return bytes;
}

int TerrainTiles::columns() const
{
    return (m_size.width() + kTileSide - 1) / kTileSide;
}

QRect TerrainTiles::tileRect(int index) const
{
    const QRect tile((index % columns()) * kTileSide, (index / columns()) * kTileSide, kTileSide, kTileSide);
    return tile.intersected(QRect(QPoint(0, 0), m_size));
}

} // namespace Pellwick
