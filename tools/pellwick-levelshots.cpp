#include "busyrun.h"
#include "canvasprobe.h"
#include "levelfile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstring>

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

bool save(const QImage &image, const QString &directory, const QString &level, const Layout &layout,
          const char *moment)
{
    const QString path = QStringLiteral("%1/%2-%3-%4.png")
                             .arg(directory, level, QLatin1String(layout.name), QLatin1String(moment));
    if (image.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The levels to picture: the built-in ones, named by index, or the level files given, named after them.
bool chooseLevels(const QStringList &files, GameCore &core, QVector<int> *levels, QStringList *names)
{
    for (const QString &path : files) {
        LevelSpec level;
        LevelError error;
        if (!readLevelFile(path, &level, &error)) {
            std::fprintf(stderr, "%s:%d: %s\n", qPrintable(path), error.line, qPrintable(error.message));
            return false;
        }
        levels->append(core.addLevel(level));
        names->append(QFileInfo(path).completeBaseName());
    }
    for (int level = 0; files.isEmpty() && level < core.levels.size(); ++level) {
        levels->append(level);
        names->append(QStringLiteral("level-%1").arg(level, 2, 10, QLatin1Char('0')));
    }
    return true;
}

} // namespace

// Writes a picture of every level in both layouts, as it starts and in the middle of a busy run, so that a
// reviewer can look at them all without playing. Usage: pellwick-levelshots [--level FILE]... [directory]
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CanvasTest::useThrowawaySettings();
    QGuiApplication app(argc, argv);
    QString directory = QStringLiteral(PELLWICK_LEVELSHOT_DIR);
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc)
            files.append(QString::fromLocal8Bit(argv[++i]));
        else
            directory = QString::fromLocal8Bit(argv[i]);
    }
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
        QVector<int> levels;
        QStringList names;
        if (!chooseLevels(files, probe.core(), &levels, &names)) {
            written = false;
            levels.clear();
        }
        for (const Layout &layout : layouts) {
            canvas.setSize(layout.item);
            for (int i = 0; i < levels.size(); ++i) {
                probe.core().setLayoutMode(layout.mode, false);
                probe.core().loadLevel(levels.at(i));
                if (probe.core().layoutMode != layout.mode)
                    continue;
                written &= save(picture(canvas, probe, layout), directory, names.at(i), layout, "start");
                BusyRun::play(probe.core());
                written &= save(picture(canvas, probe, layout), directory, names.at(i), layout, "busy");
            }
        }
    }
    CanvasTest::removeSettings();
    std::printf("level pictures in %s\n", qPrintable(directory));
    return written ? 0 : 1;
}
