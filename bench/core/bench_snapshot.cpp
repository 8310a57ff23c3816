#include "gamecore.h"

#include "../../tests/core/snapshotsupport.h"

#include <QBuffer>
#include <QtTest>

using namespace Pellwick;

namespace {

constexpr int kBusyLevel = 20;

// A small hole in a new place every time, as a digger or a basher makes between two autosaves.
void carveNextHole(GameCore &core, int &hole)
{
    core.carveEllipse(QRect(40 + 23 * (hole % 30), core.worldHeight() / 2 + 13 * (hole / 30 % 10), 12, 12));
    ++hole;
}

} // namespace

// The game saves a run about once a second on the GUI thread, so these costs are hitches the player feels.
class SnapshotBench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serialize_data();
    void serialize();
    void restore_data();
    void restore();
    void encodeTerrainAlone_data();
    void encodeTerrainAlone();
};

void SnapshotBench::serialize_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<bool>("carved");
    QTest::newRow("landscape, terrain unchanged") << int(Landscape) << false;
    QTest::newRow("landscape, terrain just carved") << int(Landscape) << true;
    QTest::newRow("portrait, terrain unchanged") << int(Portrait) << false;
    QTest::newRow("portrait, terrain just carved") << int(Portrait) << true;
}

// One autosave of a busy run, after the previous one, with or without a change to the terrain in between.
void SnapshotBench::serialize()
{
    QFETCH(int, layout);
    QFETCH(bool, carved);
    GameCore core = busyRun(kBusyLevel, LayoutMode(layout));
    QByteArray snapshot = core.serialize();
    int hole = 0;
    QBENCHMARK
    {
        if (carved)
            carveNextHole(core, hole);
        snapshot = core.serialize();
    }
    GameCore restored;
    QVERIFY(restored.restore(snapshot));
    QCOMPARE(restored.terrain.convertToFormat(QImage::Format_Alpha8),
             core.terrain.convertToFormat(QImage::Format_Alpha8));
    QCOMPARE(restored.crew, core.crew);
}

void SnapshotBench::restore_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("landscape") << int(Landscape);
    QTest::newRow("portrait") << int(Portrait);
}

// Resuming a busy run from its stored snapshot.
void SnapshotBench::restore()
{
    QFETCH(int, layout);
    const GameCore busy = busyRun(kBusyLevel, LayoutMode(layout));
    const QByteArray snapshot = busy.serialize();
    GameCore core;
    bool restored = false;
    QBENCHMARK
    {
        restored = core.restore(snapshot);
    }
    QVERIFY(restored);
    QCOMPARE(core.terrain.convertToFormat(QImage::Format_Alpha8),
             busy.terrain.convertToFormat(QImage::Format_Alpha8));
    QCOMPARE(core.objects, busy.objects);
}

void SnapshotBench::encodeTerrainAlone_data()
{
    restore_data();
}

// The yardstick for a snapshot after a change: encoding the terrain as PNG and nothing else.
void SnapshotBench::encodeTerrainAlone()
{
    QFETCH(int, layout);
    const GameCore busy = busyRun(kBusyLevel, LayoutMode(layout));
    QByteArray png;
    QBENCHMARK
    {
        png.clear();
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        busy.terrain.save(&buffer, "PNG");
    }
    QCOMPARE(QImage::fromData(png).convertToFormat(QImage::Format_Alpha8),
             busy.terrain.convertToFormat(QImage::Format_Alpha8));
}

QTEST_GUILESS_MAIN(SnapshotBench)
#include "bench_snapshot.moc"
