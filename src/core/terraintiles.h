#ifndef PELLWICK_TERRAINTILES_H
#define PELLWICK_TERRAINTILES_H

#include <QByteArray>
#include <QImage>
#include <QSet>
#include <QVector>

namespace Pellwick {

// A terrain image cut into square tiles, each kept compressed. The crew change the ground a little at a
// time, so pictures of one run taken a few seconds apart share every tile that did not change between them:
// a long run costs only what was dug and built, not a whole image per picture.
class TerrainTiles
{
public:
    TerrainTiles() = default;
    // Cuts `image`, sharing with `earlier` every tile still as it was in `earlierImage`, the image that
    // `earlier` was cut from.
    TerrainTiles(const QImage &image, const TerrainTiles &earlier, const QImage &earlierImage);

    // Turns `image`, which holds the pixels of `current`, into the pixels of these tiles. Only the tiles
    // that are not shared with `current` are unpacked.
    void paintOver(QImage &image, const TerrainTiles &current) const;

    // Adds the bytes of the tiles that `counted` does not hold yet, and remembers them there.
    qint64 uncountedBytes(QSet<const char *> &counted) const;

private:
    int columns() const;
    QRect tileRect(int index) const;

    QSize m_size;
    QVector<QByteArray> m_tiles; // row by row, each the tile's pixel rows compressed
};

} // namespace Pellwick

#endif // PELLWICK_TERRAINTILES_H
