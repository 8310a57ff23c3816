#include "busyrun.h"
#include "canvasprobe.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace Pellwick;

namespace {

struct Layout
{
    LayoutMode mode;
    QSize item;
    const char *name;
};

// Each layout is shown in the phone orientation made for it, at zoom 1 with the camera on the action.
QImage picture(GameCanvas &canvas, CanvasProbe &probe, const Layout &layout)
{
    probe.setSelectedCrewId(BusyRun::firstActiveId(probe.core()));
    probe.setCamera(canvas.actionFocusWorld());
    probe.clampCamera();
    QImage image(layout.item, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    canvas.paint(&painter);
    return image;
}

bool save(const QImage &image, const QString &directory, int level, const Layout &layout, const char *moment)
{
    const QString path = QStringLiteral("%1/level-%2-%3-%4.png")
                             .arg(directory)
                             .arg(level, 2, 10, QLatin1Char('0'))
                             .arg(QLatin1String(layout.name), QLatin1String(moment));
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

// Writes a picture of every level in both layouts, as it starts and in the middle of a busy run, so that a
// reviewer can look at them all without playing. Usage: pellwick-levelshots [output directory]
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CanvasTest::useThrowawaySettings();
    QGuiApplication app(argc, argv);
    const QString directory =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(PELLWICK_LEVELSHOT_DIR);
    QDir().mkpath(directory);

    const Layout layouts[] = { { Landscape, QSize(960, 540), "landscape" },
                               { Portrait, QSize(540, 960), "portrait" } };
    bool written = true;
    {
        GameCanvas canvas;
        CanvasProbe probe(canvas);
        probe.holdFrameTimer();
        canvas.setPaused(false);
        probe.setZoom(1.0f);
        for (const Layout &layout : layouts) {
            canvas.setSize(layout.item);
            for (int level = 0; level < canvas.levelCount(); ++level) {
                probe.core().setLayoutMode(layout.mode, false);
                probe.core().loadLevel(level);
                written &= save(picture(canvas, probe, layout), directory, level, layout, "start");
                BusyRun::play(probe.core());
                written &= save(picture(canvas, probe, layout), directory, level, layout, "busy");
            }
        }
    }
    CanvasTest::removeSettings();
    std::printf("level pictures in %s\n", qPrintable(directory));
    return written ? 0 : 1;
}
