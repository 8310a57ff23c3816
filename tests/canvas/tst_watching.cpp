#include "canvasprobe.h"
#include "gamecontrol.h"
#include "replaystore.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

#include <memory>

using namespace Pellwick;

namespace {

// The page side of watching, as the pages bind it: a canvas, its control, and a count of finished watches.
const QByteArray kPage = R"(
import QtQuick 2.6
import harbour.pellwick 1.0

Item {
    id: page
    width: 960
    height: 540
    property alias canvas: canvas
    property alias control: control
    property int watchesFinished: 0

    GameCanvas {
        id: canvas
        anchors.fill: parent
        speedMultiplier: 3
    }
    GameControl {
        id: control
        canvas: canvas
        onWatchFinished: page.watchesFinished += 1
    }
    function watchBest(level) { return control.watchBestReplay(level) }
}
)";

// Every key and value of the settings file: what "nothing touched" means.
QVariantMap settingsContents()
{
    QSettings settings(CanvasTest::settingsPath(), QSettings::IniFormat);
    QVariantMap contents;
    const QStringList keys = settings.allKeys();
    for (const QString &key : keys)
        contents.insert(key, settings.value(key));
    return contents;
}

} // namespace

// Watching a stored replay on the canvas shows the attempt and counts nothing toward progress or records.
class WatchingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void watchingToTheEndLeavesProgressUntouched();
    void stoppingByHandReturnsToTheGame();
    void unfinishedOrMissingReplaysAreNotShown();

private:
    GameCanvas *canvas() const { return m_page->property("canvas").value<GameCanvas *>(); }
    GameControl *control() const { return m_page->property("control").value<GameControl *>(); }
    void storeBest(int level, LayoutMode layout, const QString &solution);

    QQmlEngine *m_engine = nullptr;
    std::unique_ptr<QObject> m_page;
    std::unique_ptr<CanvasProbe> m_probe;
};

void WatchingTest::initTestCase()
{
    CanvasTest::useThrowawaySettings();
    qmlRegisterType<GameCanvas>("harbour.pellwick", 1, 0, "GameCanvas");
    qmlRegisterType<GameControl>("harbour.pellwick", 1, 0, "GameControl");
}

void WatchingTest::init()
{
    m_engine = new QQmlEngine(this);
    QQmlComponent component(m_engine);
    component.setData(kPage, QUrl(QStringLiteral("qrc:/watchpage.qml")));
    m_page.reset(component.create());
    QVERIFY2(m_page, qPrintable(component.errorString()));
    m_probe = std::make_unique<CanvasProbe>(*canvas());
    m_probe->holdFrameTimer();
}

void WatchingTest::cleanup()
{
    m_probe.reset();
    m_page.reset();
    delete m_engine;
    CanvasTest::removeSettings();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

void WatchingTest::storeBest(int level, LayoutMode layout, const QString &solution)
{
    Replay replay;
    QVERIFY(readReplayFile(QFINDTESTDATA(QStringLiteral("../../replays/solutions/") + solution), &replay,
                           nullptr));
    QVERIFY(writeReplayFile(ReplayStore::path(level, layout, ReplayStore::Best), replay));
}

void WatchingTest::watchingToTheEndLeavesProgressUntouched()
{
    // A best replay of a locked level plays to its win; taps do nothing, and afterwards the game, the
    // settings and the stored replays are exactly as they were.
    storeBest(1, Landscape, QStringLiteral("level-01-landscape.txt"));
    canvas()->startLevel();
    m_probe->advanceFrames(40);
    const GameCore before = m_probe->core();
    QVERIFY(before.tick > 0);
    canvas()->setPaused(true);
    const QVariantMap settingsBefore = settingsContents();
    QVERIFY(settingsBefore.contains(QStringLiteral("session/current/blob")));
    QSignalSpy completed(canvas(), &GameCanvas::levelCompleted);
    QSignalSpy watchedSkills(control(), &GameControl::watchedSkillAssigned);
    QSignalSpy watchedEnd(control(), &GameControl::watchedLevelCompleted);

    QVariant started;
    QVERIFY(QMetaObject::invokeMethod(m_page.get(), "watchBest", Q_RETURN_ARG(QVariant, started),
                                      Q_ARG(QVariant, 1)));
    QVERIFY(started.toBool());
    QVERIFY(control()->watching());
    QVERIFY(!control()->canEndRun());
    QCOMPARE(canvas()->levelIndex(), 1);
    QVERIFY(!canvas()->paused());
    QVERIFY(!canvas()->levelIntroVisible());

    for (int frame = 0; frame < 2000 && control()->watching(); ++frame) {
        m_probe->advanceFrame();
        if (!control()->watching())
            break;
        canvas()->selectSkill(Builder);
        for (const CrewMember &member : m_probe->core().crew) {
            const QPointF item = canvas()->worldToItem(member.pos - QPointF(0, 8));
            QVERIFY(!canvas()->applySelectedSkill(float(item.x()), float(item.y())));
        }
        QVERIFY(!control()->endRun());
    }
    QVERIFY(!control()->watching());
    QCOMPARE(m_page->property("watchesFinished").toInt(), 1);
    QCOMPARE(completed.count(), 0);
    QCOMPARE(watchedSkills.count(), 4); // the replay's four skills, on four frames
    QCOMPARE(watchedEnd.count(), 1);
    QVERIFY(watchedEnd.first().first().toBool());

    QCOMPARE(m_probe->core().levelIndex, before.levelIndex);
    QCOMPARE(m_probe->core().tick, before.tick);
    QCOMPARE(m_probe->core().crew, before.crew);
    QVERIFY(canvas()->paused());
    QCOMPARE(canvas()->unlockedLevel(), 0);
    QCOMPARE(settingsContents(), settingsBefore);
    const QStringList replays =
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/replays"))
            .entryList(QDir::Files);
    QCOMPARE(replays, QStringList({ QStringLiteral("level-01-landscape-best.txt") }));
}

void WatchingTest::stoppingByHandReturnsToTheGame()
{
    // Leaving a replay part-way returns to the level introduction the player left, with no finished watch.
    storeBest(2, Portrait, QStringLiteral("level-02-portrait.txt"));
    QVERIFY(control()->hasBestReplay(2));
    QVERIFY(control()->watchBestReplay(2));
    QCOMPARE(m_probe->core().layoutMode, Portrait);
    m_probe->advanceFrames(30);
    QVERIFY(m_probe->core().tick > 0);

    QSignalSpy watchedEnd(control(), &GameControl::watchedLevelCompleted);
    control()->stopWatching();
    QCOMPARE(watchedEnd.count(), 0);
    QVERIFY(!control()->watching());
    QCOMPARE(m_page->property("watchesFinished").toInt(), 0);
    QVERIFY(canvas()->levelIntroVisible());
    QCOMPARE(m_probe->core().levelIndex, 0);
    QCOMPARE(m_probe->core().tick, 0);
    QVERIFY(control()->canEndRun() == false);
    canvas()->startLevel();
    QVERIFY(control()->canEndRun());
}

void WatchingTest::unfinishedOrMissingReplaysAreNotShown()
{
    // Without a stored best, or with one that never finished, the canvas stays on the game.
    QVERIFY(!control()->hasBestReplay(3));
    QVERIFY(!control()->watchBestReplay(3));
    QVERIFY(!control()->hasLastReplay());
    Replay unfinished;
    unfinished.level = 3;
    unfinished.events = { ReplayEvent::releaseRate(5, 80) };
    QVERIFY(writeReplayFile(ReplayStore::path(3, Landscape, ReplayStore::Best), unfinished));
    QVERIFY(!control()->watchBestReplay(3));
    QVERIFY(!control()->watching());
    QCOMPARE(m_probe->core().levelIndex, 0);
}

QTEST_MAIN(WatchingTest)
#include "tst_watching.moc"
