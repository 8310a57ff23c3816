#ifndef PELLWICK_KEPTBACKDROP_H
#define PELLWICK_KEPTBACKDROP_H

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QTransform>
#include <QVector>

#include <functional>
#include <optional>

class QPainter;

// Everything the kept part of the backdrop shows besides where the view stands: the sky and the hills of one
// world size and theme, at one scale on one screen. The specks and decorations, the ground, the objects and
// the crew are painted over them anew every frame, so nothing kept depends on the level or its ground: a
// restored or rewound game shows its own ground at once.
struct BackdropScene
{
    QSizeF size; // of the item
    qreal pixelRatio;
    float scale; // item pixels per world unit
    QSize world; // of the level's layout
    int theme;

    QSize devicePixels() const;
    bool operator==(const BackdropScene &other) const;
};

// The sky and scenery of the frames. The two translucent hill ranges cost most of a frame's painting, and
// the sky behind them stays with the screen while they move with the world. So the pixels the hills lay over
// the sky are kept instead, row by row in runs of equal pixels, for the part of the world seen so far at this
// scale; with the picture on whole device pixels, any view is composed from them straight into the frame at
// the speed of a fill, exactly as painting the hills would lay them, still or moving.
class KeptBackdrop
{
public:
    // The canvas's own painting: the sky in item coordinates; the far (0) or near (1) hill range, and
    // everything in front of the hills, with the painter in world coordinates.
    struct Art
    {
        std::function<void(QPainter *)> sky;
        std::function<void(QPainter *, int hill)> hill;
        std::function<void(QPainter *)> overHills;
    };

    // Draws the backdrop of the view whose world origin lands on device pixel `origin` of the frame, which
    // must be untransformed and not yet painted. Returns false, drawing nothing, where the frame is not an
    // image of the item, and in the first frame of a scene, which may last only that frame, as while a pinch
    // zooms: the backdrop is drawn in place then.
    bool draw(QPainter *frame, const BackdropScene &scene, const QPoint &origin, const Art &art);

private:
    // The pixels the far and near hills lay on the columns up to `end`, from where the run before ended.
    struct HillRun
    {
        int end;
        QRgb far;
        QRgb near;
    };
    using HillRow = QVector<HillRun>;

    static QImage *framePixels(QPainter *frame, const QSize &pixels);
    void startScene(const BackdropScene &scene, const Art &art);
    void coverColumns(const QRect &view, const Art &art);
    const HillRow &hillRow(int row, const Art &art);
    void keepHills(int firstRow, int rows, int left, int right, const Art &art);
    void compose(QImage *target, const QRect &view, const Art &art);
    QTransform worldTransformAt(const QPoint &corner) const;

    std::optional<BackdropScene> m_scene;
    bool m_sceneShown = false;
    QVector<QRgb> m_sky; // the colour of each row of the frame
    // In device pixels counted from the world's origin: the world, and the columns every kept row of hills
    // covers.
    QRect m_world;
    int m_left = 0;
    int m_right = 0;
    QVector<HillRow> m_hillRows; // one for each row of the world, empty until kept
};

#endif // PELLWICK_KEPTBACKDROP_H
