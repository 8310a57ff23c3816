#include "runhistory.h"

#include <QtTest>

#include <algorithm>

using namespace Pellwick;

namespace {

Replay solution(const QString &name)
{
    Replay replay;
    readReplayFile(QStringLiteral(PELLWICK_REPLAYS_DIR "/solutions/") + name, &replay, nullptr);
    return replay;
}

QVector<ReplayEvent> eventsBefore(const Replay &replay, int tick)
{
    const auto late = std::find_if(replay.events.cbegin(), replay.events.cend(),
                                   [tick](const ReplayEvent &event) { return event.tick >= tick; });
    return replay.events.mid(0, int(late - replay.events.cbegin()));
}

// What a fresh run of the replay's level reaches at `tick` with the replay's events before it.
QByteArray freshRun(Replay replay, int tick)
{
    replay.events = eventsBefore(replay, tick);
    replay.result.tick = tick;
    GameCore core;
    playReplay(replay, core);
    return core.serialize();
}

// Plays the run on to the replay's end, feeding the history as the game does.
void playOn(Replay replay, GameCore &run, RunHistory &history, bool watching)
{
    replay.events.remove(0, eventsBefore(replay, run.tick).size());
    ReplayPlayer player(replay);
    for (;;) {
        for (; !watching && player.eventDue(run); player.applyNextEvent(run))
            history.record(player.nextEvent());
        history.applyDueEvents(run); // a watched replay's; the player's own run has none
        if (run.finished || run.tick >= replay.endTick())
            return;
        run.step();
        history.stepped(run);
    }
}

} // namespace

class RewindTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rewoundRunIsAFreshRun_data();
    void rewoundRunIsAFreshRun();
    void restoredRunRewindsAsFarAsItsRecordingHolds();
    void tilesGiveBackEveryPixelAndShareTheRest();
};

void RewindTest::rewoundRunIsAFreshRun_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("watching");
    QTest::newRow("miners across the world") << "level-13-landscape.txt" << false;
    QTest::newRow("a digger and a hand-ended run, tall") << "level-03-portrait.txt" << false;
    QTest::newRow("five skills, watched") << "level-06-portrait.txt" << true;
}

void RewindTest::rewoundRunIsAFreshRun()
{
    // Every rewound tick is byte for byte what a fresh run with the events before it reaches, the cut events
    // played on reach the same end, and a tick taken back again after that is exact too.
    QFETCH(QString, file);
    QFETCH(bool, watching);
    const Replay replay = solution(file);
    const int end = replay.endTick();
    const int firstEvent = replay.events.constFirst().tick;
    GameCore run;
    ReplayPlayer(replay).start(run);
    RunHistory played;
    played.begin(run);
    if (watching)
        played.beginWatching(run, replay);
    playOn(replay, run, played, watching);
    const QByteArray wholeRun = run.serialize();
    // A tick beyond the present, or a timeline never begun though fed, is no rewind and changes nothing.
    RunHistory unused;
    unused.stepped(run);
    QVERIFY(!played.rewind(end + 1, run) && !unused.rewind(0, run));
    QVERIFY(run.serialize() == wholeRun && played.presentTick() == end);

    for (const int tick : { -5, 0, 1, firstEvent, firstEvent + 1, 90, end / 2, end - 1, end }) {
        RunHistory history = played;
        QVERIFY(history.rewind(tick, run));
        QVERIFY2(run.serialize() == freshRun(replay, tick), qPrintable(QString::number(tick)));
        QVERIFY(history.events() == (watching ? replay.events : eventsBefore(replay, tick)));
        playOn(replay, run, history, watching);
        QVERIFY(run.serialize() == wholeRun);
        const int later = (std::max(tick, 0) + end) / 2;
        QVERIFY(history.rewind(later, run));
        QVERIFY(run.serialize() == freshRun(replay, later));
    }
}

void RewindTest::restoredRunRewindsAsFarAsItsRecordingHolds()
{
    // A restored run rewinds to its level's start when its recording reproduces it, else only to itself.
    const Replay replay = solution("level-13-portrait.txt");
    const int restoredTick = replay.events.at(1).tick + 40; // after two of its three events
    for (const int lostEvents : { 0, 1 }) {
        GameCore run;
        QVERIFY(run.restore(freshRun(replay, restoredTick)));
        Replay recording = replay;
        recording.events = eventsBefore(replay, restoredTick).mid(lostEvents);
        RunHistory history;
        QCOMPARE(history.beginAtLevelStart(run, recording), lostEvents == 0);
        QVERIFY(history.rewind(-1, run) && history.events().isEmpty());
        QCOMPARE(history.presentTick(), lostEvents == 0 ? 0 : restoredTick);
        QVERIFY(run.serialize() == freshRun(replay, history.presentTick()));
    }
    // A run restored after twenty minutes of play is not played again: its level may never end on its own.
    GameCore endless;
    endless.levels[0].crewCount = 100000;
    endless.tick = 1 << 30;
    QVERIFY(!RunHistory().beginAtLevelStart(endless, Replay()));
}

void RewindTest::tilesGiveBackEveryPixelAndShareTheRest()
{
    // Terrain cut into tiles gives back every pixel, to the corners, and a second cut after a change at two
    // corners holds little more than the two tiles changed.
    const QImage before = GameCore().terrain;
    QImage after = before.copy();
    after.setPixel(0, 0, 0xff123456u);
    after.setPixel(after.width() - 1, after.height() - 1, 0xff123456u);
    const TerrainTiles first(before, TerrainTiles(), QImage());
    const TerrainTiles second(after, first, before);
    first.paintOver(after, second);
    QCOMPARE(after, before);
    QSet<const char *> counted;
    const qint64 whole = first.uncountedBytes(counted);
    QVERIFY(second.uncountedBytes(counted) < whole / 10);
}

QTEST_GUILESS_MAIN(RewindTest)
#include "tst_rewind.moc"
