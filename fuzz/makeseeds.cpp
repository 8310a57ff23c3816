#include "gamecore.h"
#include "snapshotsupport.h"

#include <QDir>
#include <QFile>

#include <cstdio>

using namespace Pellwick;

namespace {

bool writeSeed(const QDir &directory, const QString &name, const QByteArray &snapshot)
{
    QFile file(directory.filePath(QStringLiteral("seed-") + name));
    if (!file.open(QIODevice::WriteOnly) || file.write(snapshot) != snapshot.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

QString layoutName(LayoutMode layout)
{
    return layout == Portrait ? QStringLiteral("portrait") : QStringLiteral("landscape");
}

} // namespace

// Writes the seeds of the restore fuzzer's corpus: snapshots of our own games in both layouts, of levels
// just started and of busy runs, some with an empty terrain whose small image leaves the fuzzer's mutations
// for the records, and one in the previous format.
int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    bool written = true;
    for (LayoutMode layout : { Landscape, Portrait }) {
        const QString mode = layoutName(layout);
        GameCore start;
        start.setLayoutMode(layout, true);
        written &= writeSeed(directory, mode + QStringLiteral("-level-0-start"), start.serialize());
        for (int level : { 6, 12, 17, 20 })
            written &= writeSeed(directory, QStringLiteral("%1-level-%2-busy").arg(mode).arg(level),
                                 busyRun(level, layout).serialize());
        GameCore bare = busyRun(12, layout);
        bare.terrain.fill(Qt::transparent);
        written &= writeSeed(directory, mode + QStringLiteral("-empty-terrain-busy"), bare.serialize());
    }
    GameCore old = busyRun(20, Landscape);
    for (CrewMember &member : old.crew)
        member.state = CrewState(qMin(int(member.state), int(Climbing)));
    written &=
        writeSeed(directory, QStringLiteral("landscape-level-20-version-3"), asVersion3(old.serialize()));
    return written ? 0 : 1;
}
