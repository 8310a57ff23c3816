#include "canvasprobe.h"
#include "gamecontrol.h"
#include "limitwrites.h"
#include "replay.h"
#include "replaystore.h"
#include "storage.h"

#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Pellwick;
using CanvasTest::store;
using CanvasTest::stored;

namespace {

// Plays the loaded level to its end in one frame: `saved` members reach the exit, one more is lost when the
// run is to be lost, and the clock and skill count read `seconds` and `skillsUsed` at the end.
void finishRun(GameCanvas &canvas, int saved, bool won, int seconds = 0, int skillsUsed = 0)
{
    CanvasProbe probe(canvas);
    GameCore &core = probe.core();
    CanvasTest::arrangeOutcome(core, saved, won ? 0 : 1, won ? saved : saved + 1);
    core.tick = seconds * 30;
    core.skillsUsed = skillsUsed;
    canvas.startLevel();
    probe.advanceFrame();
}

// Digs a new hole every frame, so that every periodic save has fresh ground to encode.
void digAndAdvance(const CanvasProbe &probe, int frames)
{
    for (int i = 0; i < frames; ++i) {
        probe.core().carveRect(QRect(40 + 7 * (probe.core().tick % 120), 200, 5, 60));
        probe.advanceFrame();
    }
}

// The game's files as a kill would leave them, byte for byte, by path: the settings and the replays.
using Files = QMap<QString, QByteArray>;

QStringList gameFolders()
{
    return { QFileInfo(CanvasTest::settingsPath()).absolutePath(),
             QFileInfo(ReplayStore::path(0, Landscape, ReplayStore::Last)).absolutePath(),
             GameCanvas::playerLevelFolder() };
}

Files takeFiles()
{
    Files files;
    for (const QString &folder : gameFolders()) {
        for (const QFileInfo &info : QDir(folder).entryInfoList(QDir::Files)) {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                files.insert(info.filePath(), file.readAll());
        }
    }
    return files;
}

// Each file put back has a time of its own: QSettings reads a file again only when its size or time changed.
void putFiles(const Files &files)
{
    static time_t time = 1000000000;
    for (const QString &folder : gameFolders())
        QDir(folder).removeRecursively();
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QDir().mkpath(QFileInfo(it.key()).absolutePath());
        QFile file(it.key());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it.value()) == it.value().size());
        file.close();
        const timespec times[2] = { { ++time, 0 }, { time, 0 } };
        utimensat(AT_FDCWD, QFile::encodeName(it.key()).constData(), times, 0);
    }
}

void setFoldersWritable(bool writable)
{
    for (const QString &folder : gameFolders()) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder,
                              QFile::ReadOwner | QFile::ExeOwner
                                  | (writable ? QFile::WriteOwner : QFile::Permissions()));
    }
}

// Every stored replay reads whole, and a best win is kept only for a level whose win is stored.
void checkStoredReplays(const Files &files)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        Replay replay;
        if (it.key().endsWith(QLatin1String(".txt")))
            QVERIFY2(readReplay(it.value(), &replay, nullptr), qPrintable(it.key()));
        const QString level = replay.isOfCustomLevel() ? QStringLiteral("custom-") + replay.levelHash
                                                       : QString::number(replay.level);
        if (it.key().endsWith(QLatin1String("-best.txt")))
            QVERIFY2(stored(QStringLiteral("stats/%1/wins").arg(level)).toInt() > 0, qPrintable(it.key()));
    }
}

// What a canvas made on the stored files holds of level 0, played in landscape here, and of a level of the
// player's own, "mine", played in portrait: the attempts tried, won and lost (when there are any), the last
// level open, the run it resumes (at which tick, and on which level) or that it starts fresh and why, any
// records (best time, skills, saved), a release rate and a zoom of its own, and the replays kept. The files
// are left as they were.
QString heldOnOpening(bool replays = true)
{
    const Files files = takeFiles();
    QStringList held;
    {
        GameCanvas canvas;
        const GameCore &core = CanvasProbe(canvas).core();
        const auto recordsOf = [&canvas](const QVariant &entry, LayoutMode layout, const QString &name) {
            const QVariantMap level = entry.toMap();
            const auto value = [&level](const char *key) {
                return level.value(QLatin1String(key)).toString();
            };
            QStringList records;
            if (value("attempts") != QLatin1String("0"))
                records << name
                        + QStringLiteral("tried %1 won %2 lost %3")
                              .arg(value("attempts"), value("wins"))
                              .arg(canvas.lostAttempts(value("index").toInt(), layout));
            if (value("bestTime") != QLatin1String("-1") || value("bestSaved") != QLatin1String("0"))
                records << name
                        + QStringLiteral("best %1 %2 %3")
                              .arg(value("bestTime"), value("bestSkills"), value("bestSaved"));
            return records;
        };
        QStringList first = recordsOf(canvas.levels().at(0), Landscape, QString());
        if (first.value(0).startsWith(QLatin1String("tried")))
            held << first.takeFirst();
        held << QStringLiteral("open %1 ").arg(canvas.unlockedLevel())
                + (canvas.levelIntroVisible() ? QStringLiteral("fresh")
                                              : QStringLiteral("resumed at %1").arg(core.tick))
                + (core.currentLevel().isCustom() ? " in mine" : "");
        GameControl control; // what the player is told of it
        control.setCanvas(&canvas);
        if (!control.refusal().isEmpty())
            held << control.refusal();
        if (canvas.releaseRate() != core.currentLevel().releaseRate)
            held << QStringLiteral("rate %1").arg(canvas.releaseRate());
        if (canvas.zoom() != 1.0f)
            held << QStringLiteral("zoom %1").arg(double(canvas.zoom()));
        held << first;
        for (const QVariant &level : canvas.levels().mid(canvas.levelCount()))
            held << recordsOf(level, Portrait, QStringLiteral("mine "));
    }
    // Named "level-00-landscape-last.txt" or "custom-HASH-portrait-best.txt".
    const QDir replayFolder(gameFolders().at(1));
    for (const QString &file : replayFolder.entryList(QDir::Files, QDir::Name | QDir::Reversed)) {
        if (replays)
            held << (file.startsWith(QLatin1String("custom")) ? QStringLiteral("mine ") : QString())
                    + file.section(QLatin1Char('-'), -1).section(QLatin1Char('.'), 0, 0) + " replay";
    }
    putFiles(files);
    return held.join(QStringLiteral(", "));
}

// A player, and a phone that ends apps without warning, on canvases opened and closed over the same files.
// Steps, separated by spaces:
//   open, close      a canvas is made on the files, or closed as the pages close it
//   kill             the canvas is gone without another write (a save under way is let finish first)
//   run N            N frames are played, from the introduction or a pause; a periodic save falls due at 30
//   pause, restart, next (level), clear (the statistics), watch (the stored solution of level 0, 40 frames)
//   faster (release rate), settle (the save under way is stored, and the one it held back begun)
//   won, lost, end   the run ends in the next frame, all 3 needed saved in 40 s or 2 of 3; or ended by hand
//   rewind, back, forward   the run goes 5 s back; or a tick back or forward, which only a paused run does
//   mine             a level file of the player's own is put in their folder, and chosen
//   edit             its file is edited, by a comment
//   full, nearly-full, read-only   the storage takes no byte, or 512, or no new file, until
//   mended           it takes writes again: the settings file must be as before, every replay whole, and
//                    the player told once why
// A step marked "!" is also stopped before and after each of its writes, as a kill there would stop it: a
// canvas on those files must hold the state before the step or the state after, and one that resumes the
// run from before must come to the state after by the same step.
class Player
{
public:
    QStringList told; // what the player was told about failing saves, each time

    void play(const QString &steps)
    {
        const QStringList words = steps.split(QLatin1Char(' '));
        for (int i = 0; i < words.size() && !QTest::currentTestFailed(); ++i) {
            const QString step = words.at(i);
            if (step.endsWith(QLatin1Char('!')))
                stopAtEveryWrite(step.left(step.size() - 1));
            else
                take(step, step == QLatin1String("run") ? words.value(++i).toInt() : 0);
        }
    }

private:
    void take(const QString &step, int frames = 0)
    {
        const auto is = [&step](const char *name) {
            return step == QLatin1String(name);
        };
        if (is("open")) {
            m_canvas = std::make_unique<GameCanvas>();
            CanvasProbe::holding(*m_canvas);
            m_control = std::make_unique<GameControl>();
            QObject::connect(m_control.get(), &GameControl::saveProblemChanged,
                             [this] { told.append(m_control->saveProblem()); });
            m_control->setCanvas(m_canvas.get());
        } else if (is("close") || is("kill")) {
            if (m_canvas)
                CanvasProbe(*m_canvas).awaitSaveWorker();
            const Files files = takeFiles();
            m_canvas.reset();
            if (is("kill"))
                putFiles(files);
        } else if (is("full") || is("nearly-full") || is("read-only")) {
            CanvasProbe(*m_canvas).awaitSaveWorker();
            m_settingsBeforeRefusal = takeFiles().value(CanvasTest::settingsPath());
            m_toldWhy = is("read-only") ? "cannot be written" : "no space";
            if (is("read-only"))
                setFoldersWritable(false);
            else
                limitWrites(is("full") ? 0 : 512);
        } else if (is("mended")) {
            limitWrites();
            setFoldersWritable(true);
            const Files files = takeFiles();
            QVERIFY2(files.value(CanvasTest::settingsPath()) == m_settingsBeforeRefusal,
                     "a refused save changed the settings file");
            checkStoredReplays(files);
            QCOMPARE(told.size(), 1);
            QVERIFY(told.first().contains(QLatin1String(m_toldWhy)));
        } else if (is("mine") || is("edit")) {
            QVERIFY(Storage::writeFile(
                GameCanvas::playerLevelFolder() + QStringLiteral("/mine.level"),
                "pellwick-level 1\nname Mine\nportrait\nentry 100 899\nexit 300 899\nsoil 0 900 540 60\n"
                    + QByteArray(is("edit") ? "# edited\n" : "")));
            if (is("mine")) {
                m_canvas->readPlayerLevels();
                QVERIFY(m_canvas->setLevel(m_canvas->levelCount()));
            }
        } else if (!m_canvas) {
            QFAIL(qPrintable(step + QStringLiteral(" with no canvas open")));
        } else if (is("run")) {
            m_canvas->startLevel();
            m_canvas->setPaused(false);
            CanvasProbe(*m_canvas).advanceFrames(frames);
        } else if (is("pause")) {
            m_canvas->setPaused(true);
        } else if (is("restart")) {
            m_canvas->restartLevel();
        } else if (is("next")) {
            QVERIFY(m_canvas->nextLevel());
        } else if (is("clear")) {
            m_canvas->clearStatistics();
        } else if (is("faster")) {
            m_canvas->increaseReleaseRate();
        } else if (is("settle")) {
            CanvasProbe(*m_canvas).finishBackgroundSave();
        } else if (is("watch")) {
            watch();
        } else if (is("won") || is("lost")) {
            finish(is("won"));
        } else if (is("end")) {
            QVERIFY(m_canvas->endRun());
        } else if (is("rewind")) {
            QVERIFY(m_control->rewind());
        } else if (is("back") || is("forward")) {
            QCOMPARE(is("back") ? m_control->stepBack() : m_control->stepForward(), m_canvas->paused());
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

    // Watching goes on in the steps that follow, a periodic save falling due in it.
    void watch()
    {
        Replay solution;
        QVERIFY(readReplayFile(QFINDTESTDATA("../../replays/solutions/level-00-landscape.txt"), &solution,
                               nullptr));
        Replay elsewhere = solution; // of a level that is not installed: refused, and the game left as it was
        elsewhere.levelHash = QByteArray(32, 'a');
        elsewhere.levelName = QStringLiteral("Elsewhere");
        QString refusal;
        QVERIFY(!m_canvas->watchReplay(elsewhere, &refusal) && !m_canvas->watching());
        QCOMPARE(refusal, QStringLiteral("The level \"Elsewhere\" is not installed."));
        QVERIFY(m_canvas->watchReplay(solution));
        CanvasProbe(*m_canvas).advanceFrames(40);
    }

    // The result card claims exactly the records that the end of the run stored.
    void finish(bool won)
    {
        const CanvasProbe probe(*m_canvas);
        const auto records = [&probe] {
            return QVariantList { stored(probe.statsKey("bestTime")), stored(probe.statsKey("bestSkills")),
                                  stored(probe.statsKey("bestSaved")) };
        };
        const QVariantList before = records();
        m_canvas->setPaused(false);
        finishRun(*m_canvas, 3, won, 40, 2);
        const QVariantList after = records();
        QVERIFY(m_canvas->levelFinished());
        QCOMPARE(
            QVariantList({ m_canvas->newBestTime(), m_canvas->newBestSkills(), m_canvas->newBestSaved() }),
            QVariantList({ before[0] != after[0], before[1] != after[1], before[2] != after[2] }));
    }

    void stopAtEveryWrite(const QString &step)
    {
        if (m_canvas)
            CanvasProbe(*m_canvas).finishBackgroundSave(); // the state before is one the step starts from
        std::vector<Files> kills { takeFiles() };
        Storage::setWriteObserver([&kills] { kills.push_back(takeFiles()); });
        take(step);
        Storage::setWriteObserver(nullptr);
        const Files after = takeFiles();
        putFiles(kills.front());
        const QString heldBefore = heldOnOpening(false);
        putFiles(after);
        const QString heldAfter = heldOnOpening(false);
        for (const Files &kill : kills) {
            putFiles(kill);
            checkStoredReplays(kill);
            const QString held = heldOnOpening(false);
            QVERIFY2(held == heldBefore || held == heldAfter, qPrintable(held));
            if (held == heldBefore && held.contains(QLatin1String("resumed"))) {
                Player resumed;
                resumed.play(QStringLiteral("open ") + step + QStringLiteral(" close"));
                QCOMPARE(heldOnOpening(false), heldAfter);
            }
        }
        putFiles(after);
    }

    std::unique_ptr<GameCanvas> m_canvas;
    std::unique_ptr<GameControl> m_control;
    QByteArray m_settingsBeforeRefusal;
    const char *m_toldWhy = "";
};

} // namespace

// Progress, statistics and the interrupted run live in the settings file: read with defaults, unlocked by
// wins, recorded once per attempt, resumed exactly, and never lost or crashed on by damaged values.
class StorageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { CanvasTest::useThrowawaySettings(); }
    void cleanup()
    {
        limitWrites();
        setFoldersWritable(true);
        putFiles(Files());
    }

    void storedStateAfterEachScenario_data();
    void storedStateAfterEachScenario();
    void savesWhileTheGroundChangesKeepOneState_data();
    void savesWhileTheGroundChangesKeepOneState();
    void storedSolutionsOpenEveryLevel_data();
    void storedSolutionsOpenEveryLevel();
    void rewoundRunIsAFreshRun_data();
    void rewoundRunIsAFreshRun();
};

// What the files hold after a player's moves, closes, kills, resumes and refused saves, and after damage or
// older builds, as a fresh canvas finds them: every end of a run is counted once, records by strictly better
// results only, a kill at any write leaves the state before or after, and values no game writes read as the
// default or the nearer bound.
void StorageTest::storedStateAfterEachScenario_data()
{
    // Each row is named by its steps (see Player), and a note after a colon.
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QString>("held");

    GameCore core;
    for (int i = 0; i < 20; ++i)
        core.step();
    const QByteArray running = core.serialize();
    QByteArray wrongLayout = running;
    wrongLayout[13] = 1; // the layout field says portrait, the terrain is still landscape-sized
    CanvasTest::arrangeOutcome(core, 1, 0, 1);
    core.step();
    const QByteArray finished = core.serialize();
    const QString blob = QStringLiteral("session/current/blob");
    // The events stored beside the running game (named by the game they belong to), last at `lastTick`.
    const auto recording = [&](
                               int lastTick, const std::function<void(Replay &)> &edit = [](Replay &) {}) {
        Replay replay = Replay::of(GameCore());
        replay.events << ReplayEvent::releaseRate(lastTick, 50);
        edit(replay);
        return QVariantMap { { blob, running },
                             { QStringLiteral("session/current/replay"), writeReplay(replay) } };
    };
    const QString zoom = QStringLiteral("session/current/zoom");
    const QString unlocked = QStringLiteral("progress/unlockedLevel");
    const QString format = QStringLiteral("session/current/format");
    const QVariantMap none;
    const auto one = [](const QString &key, const QVariant &value) {
        return QVariantMap { { key, value } };
    };
    const QVariantMap largeFile = one("notes/unread", QString(600, QLatin1Char('x'))); // 512 bytes and more
    const auto records = [](const QVariantList &values) {
        QVariantMap map;
        const QStringList names { "bestTime", "bestSkills",      "bestSaved",     "wins",
                                  "attempts", "lossesLandscape", "lossesPortrait" };
        for (int i = 0; i < values.size(); ++i)
            map.insert(QStringLiteral("stats/0/") + names.at(i), values.at(i));
        return map;
    };
    QTest::newRow("open run 40 close") << none << "tried 1 won 0 lost 0, open 0 resumed at 40";
    QTest::newRow("open run 0 kill") << none << "open 0 fresh";
    QTest::newRow("open run 20 kill") << none << "tried 1 won 0 lost 0, open 0 fresh";
    QTest::newRow("open run 40 kill") << none << "tried 1 won 0 lost 0, open 0 resumed at 30";
    QTest::newRow("open run 10 pause kill") << none << "tried 1 won 0 lost 0, open 0 resumed at 10";
    QTest::newRow("open run 40 won! close")
        << none << "tried 1 won 1 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 30 won kill: a save under way at the end")
        << none << "tried 1 won 1 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 40 lost! kill")
        << none << "tried 1 won 0 lost 1, open 0 fresh, best -1 -1 3, last replay";
    QTest::newRow("open run 0 end! kill") << none << "tried 1 won 0 lost 1, open 0 fresh, last replay";
    QTest::newRow("open run 40 kill open run 5 won! kill")
        << none << "tried 1 won 1 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 10 watch rewind close") << none << "tried 1 won 0 lost 0, open 0 resumed at 10";
    QTest::newRow("open run 40 back forward pause forward forward back kill")
        << none << "tried 1 won 0 lost 0, open 0 resumed at 41";
    QTest::newRow("open run 600 pause end! rewind! kill: a loss and its record (5 saved) taken back")
        << none << "tried 1 won 0 lost 0, open 0 resumed at 450";
    QTest::newRow("open run 600 pause full end mended rewind close: a loss stored late is taken back too")
        << records({ -1, -1, 5, 0, 3, 2 }) << "tried 4 won 0 lost 2, open 0 resumed at 450, best -1 -1 5";
    QTest::newRow("open run 600 pause end clear rewind kill: nor one cleared since")
        << records({ -1, -1, 3 }) << "open 0 resumed at 450";
    QTest::newRow("open run 600 pause end rewind run 400 close: then won")
        << none << "tried 1 won 1 lost 0, open 1 fresh, best 24 0 8, last replay, best replay";
    QTest::newRow("open run 30 restart kill") << none << "tried 1 won 0 lost 0, open 0 fresh";
    QTest::newRow("open run 31 faster settle kill: a move while a save is under way")
        << none << "tried 1 won 0 lost 0, open 0 resumed at 31, rate 50";
    QTest::newRow("open run 40 restart run 5 lost close")
        << none << "tried 2 won 0 lost 1, open 0 fresh, best -1 -1 3, last replay";
    QTest::newRow("open run 1 won close: better records")
        << records({ 41, 3, 2, 1, 1 })
        << "tried 2 won 2 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 1 won close: worse results are no records")
        << records({ 39, 0, 4, 1, 1 })
        << "tried 2 won 2 lost 0, open 1 fresh, best 39 0 4, last replay, best replay";
    QTest::newRow("open run 1 won close: ties are no records")
        << records({ 40, 2, 3, 5, 5 })
        << "tried 6 won 6 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open won close: negative is no record")
        << records({ -5, -1, -2, -3 })
        << "tried 1 won 1 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 1 lost close: more saved in a loss")
        << records({ 50, 3, 2 }) << "tried 1 won 0 lost 1, open 0 fresh, best 50 3 3, last replay";
    QTest::newRow("open run 5 clear won close")
        << none << "tried 1 won 1 lost 0, open 1 fresh, best 40 2 3, last replay, best replay";
    QTest::newRow("open run 40 full won next run 40 pause mended close")
        << none << "tried 1 won 1 lost 0, open 1 resumed at 40, best 40 2 3";
    QTest::newRow("open run 40 nearly-full won mended close: a file too large for the space left")
        << largeFile << "tried 1 won 0 lost 0, open 0 resumed at 30, last replay";
    QTest::newRow("open run 40 read-only lost mended close")
        << none << "tried 1 won 0 lost 1, open 0 fresh, best -1 -1 3";
    QTest::newRow("open kill: an older build's wins beyond attempts")
        << records({ 9, 9, 9, 22, 16, 2, 3 }) << "tried 27 won 22 lost 2, open 0 fresh, best 9 9 9";
    const QString won = QStringLiteral("tried 1 won 1 lost 0, open 1 fresh, best 40 2 3");
    QTest::newRow("open won close: its events") << recording(20) << won + ", last replay, best replay";
    QTest::newRow("open won close: later") << recording(21) << won;
    QTest::newRow("open won close: level 1's") << recording(20, [](Replay &r) { r.level = 1; }) << won;
    QTest::newRow("open won close: another file's")
        << recording(20, [](Replay &r) { r.levelHash = QByteArray(32, 'a'); }) << won;
    QTest::newRow("open won close: portrait") << recording(20, [](Replay &r) { r.layout = Portrait; }) << won;
    QTest::newRow("open won close: ended") << recording(20, [](Replay &r) { r.hasResult = true; }) << won;
    QTest::newRow("open run 1 close") << none << "tried 1 won 0 lost 0, open 0 resumed at 1";
    QTest::newRow("open run 40 close: a game stored at its start")
        << one(blob, GameCore().serialize()) << "tried 1 won 0 lost 0, open 0 resumed at 40";
    QTest::newRow("open: an older build's landscape game")
        << one("session/landscape/blob", running) << "open 0 resumed at 20";
    QTest::newRow("open: an older build's finished landscape game")
        << one("session/landscape/blob", finished) << "open 0 fresh";
    QTest::newRow("open: an older build's game of a level not won")
        << QVariantMap { { blob, running }, { format, 3 }, { unlocked, 1 } } << "open 1 resumed at 20";
    QTest::newRow("open run 40 close: an older build's game of a level won since")
        << QVariantMap { { blob, running }, { format, 3 }, { unlocked, 1 }, { "stats/0/wins", 1 } }
        << "tried 1 won 1 lost 0, open 1 resumed at 40";
    QTest::newRow("open close: an older build's finished game") << one(blob, finished) << "open 0 fresh";
    QTest::newRow("open: unlocked beyond the catalogue") << one(unlocked, 99) << "open 20 fresh";
    QTest::newRow("open: unlocked negative") << one(unlocked, -4) << "open 0 fresh";
    QTest::newRow("open: unlocked not a number") << one(unlocked, "lots") << "open 0 fresh";
    QTest::newRow("open: unlocked 12 and won there")
        << QVariantMap { { unlocked, 12 }, { "stats/12/wins", 1 } } << "open 13 fresh";
    QTest::newRow("open: unlocked 12, not won there")
        << QVariantMap { { unlocked, 12 }, { "stats/12/wins", 0 } } << "open 12 fresh";
    QTest::newRow("open: records with letters or below 0")
        << QVariantMap { { "stats/0/bestTime", "12abc" }, { "stats/0/bestSaved", -7 } } << "open 0 fresh";
    QTest::newRow("open: zoom not a number") << one("view/landscapeZoom", "nan") << "open 0 fresh";
    QTest::newRow("open: stored zoom below 1")
        << QVariantMap { { blob, running }, { zoom, 0.5f } } << "open 0 resumed at 20";
    QTest::newRow("open: stored zoom above 3.5")
        << QVariantMap { { blob, running }, { zoom, 5.0f } } << "open 0 resumed at 20, zoom 3.5";
    QTest::newRow("open: stored game cut short")
        << one(blob, running.left(running.size() / 2)) << "open 0 fresh";
    QTest::newRow("open: stored game in the wrong layout") << one(blob, wrongLayout) << "open 0 fresh";
    QTest::newRow("open: stored game not bytes") << one(blob, 12345) << "open 0 fresh";
    QTest::newRow("open mine run 40 won! close: a level of the player's own opens nothing")
        << none
        << "open 0 fresh, mine tried 1 won 1 lost 0, mine best 40 2 3, mine last replay, mine best replay";
    QTest::newRow("open mine run 40 kill")
        << none << "open 0 resumed at 30 in mine, mine tried 1 won 0 lost 0";
    QTest::newRow("open mine run 40 lost edit close: a new level, without the old one's records and replays")
        << none << "open 0 fresh, mine last replay";
    QTest::newRow("open mine run 40 edit close") << none
                                                 << "open 0 fresh, The game you left was not resumed. This "
                                                    "belongs to another version of the level \"Mine\".";
}

void StorageTest::storedStateAfterEachScenario()
{
    QFETCH(QVariantMap, stored);
    QFETCH(QString, held);
    const QString steps = QString::fromUtf8(QTest::currentDataTag()).section(QLatin1Char(':'), 0, 0);
    if (steps.contains(QLatin1String("read-only")) && ::geteuid() == 0)
        QSKIP("Root writes into read-only folders.");

    if (!stored.contains(QStringLiteral("session/current/format")))
        stored.insert(QStringLiteral("session/current/format"), 4);
    store(stored);
    Player player;
    player.play(steps);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(heldOnOpening(), held);
    QCOMPARE(player.told.size(), steps.contains(QLatin1String("mended")) ? 1 : 0);
}

// The periodic save stores the run as it was when the save was due, even though the ground changed while it
// was being encoded; a canvas closed at any moment stores its very last state.
void StorageTest::savesWhileTheGroundChangesKeepOneState_data()
{
    QTest::addColumn<int>("framesAfterDue");
    QTest::newRow("closed while the save is encoded") << 0;
    QTest::newRow("closed a few frames after it was stored") << 3;
}

void StorageTest::savesWhileTheGroundChangesKeepOneState()
{
    QFETCH(int, framesAfterDue);
    const QString blob = QStringLiteral("session/current/blob");
    auto canvas = std::make_unique<GameCanvas>();
    auto probe = CanvasProbe::holding(*canvas);
    canvas->startLevel();
    digAndAdvance(probe, 30);
    const QByteArray due = GameCore(probe.core()).serialize();
    digAndAdvance(probe, 1);
    if (framesAfterDue > 0) {
        probe.awaitSaveWorker();
        digAndAdvance(probe, framesAfterDue);
        QCOMPARE(stored(blob).toByteArray(), due);
    }
    const QByteArray last = GameCore(probe.core()).serialize();
    canvas.reset();
    QCOMPARE(stored(blob).toByteArray(), last);
    QVERIFY(stored(QStringLiteral("migration/appConfigPath")).toBool()); // marked at the first start
}

void StorageTest::storedSolutionsOpenEveryLevel_data()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("landscape") << QStringLiteral("landscape");
    QTest::newRow("portrait") << QStringLiteral("portrait");
}

// A new player who plays the stored solutions in order wins each level and so opens the next, up to the last,
// and completes a stage with the win of its last level only.
void StorageTest::storedSolutionsOpenEveryLevel()
{
    QFETCH(QString, layout);
    GameCanvas canvas;
    QList<int> stagesCompleted;
    QStringList shown; // the level's place in its stage, its difficulty and the stage after it
    for (int level = 0; level < canvas.levelCount(); ++level) {
        QCOMPARE(canvas.unlockedLevel(), level);
        const QString name =
            QStringLiteral("level-%1-%2.txt").arg(level, 2, 10, QLatin1Char('0')).arg(layout);
        Replay plan;
        QVERIFY2(
            readReplayFile(QFINDTESTDATA(QStringLiteral("../../replays/solutions/") + name), &plan, nullptr),
            qPrintable(name + QStringLiteral(" is missing: players stop here")));
        CanvasTest::playPlan(canvas, plan, true);
        QVERIFY2(CanvasProbe(canvas).core().won(),
                 qPrintable(name + QStringLiteral(" does not win on the canvas")));
        if (canvas.stageComplete())
            stagesCompleted << level;
        shown << QStringLiteral("%1/%2 %3%4")
                     .arg(canvas.stagePosition())
                     .arg(canvas.stageTotal())
                     .arg(canvas.difficultyName().left(1), canvas.nextStageName().left(1));
        QCOMPARE(canvas.nextLevel(), level + 1 < canvas.levelCount());
    }
    QCOMPARE(stagesCompleted, QList<int>({ 4, 9, 15, 20 }));
    QCOMPARE(
        shown.join(' '),
        QStringLiteral("1/5 IT 2/5 IT 3/5 IT 4/5 IT 5/5 IF 1/5 EF 2/5 EF 3/5 EF 4/5 EF 5/5 ER 1/6 TR 2/6 TR "
                       "3/6 TR 4/6 TR 5/6 TR 6/6 TN 1/5 HN 2/5 HN 3/5 HN 4/5 HN 5/5 H"));
    canvas.restartLevel();
    QVERIFY(!canvas.stageComplete());
}

// A run taken back in the canvas is what a fresh run with the events of its timeline before that tick
// reaches, byte for byte; its recording is cut there, its selection kept only on a member still out, and both
// are the stored game. A watched replay goes back as well, and the game left to watch it still goes back.
void StorageTest::rewoundRunIsAFreshRun_data()
{
    QTest::addColumn<int>("played");
    QTest::addColumn<QString>("back"); // rewind (5 s), scrub (1 s), step (a tick), reopen, watch (400 ticks)
    QTest::addColumn<int>("tick"); // where the run is then

    // The solution of level 3 hands out a Blocker at tick 324, a Floater at 407 and a Digger at 623.
    QTest::newRow("five seconds back, over the Digger's hole") << 700 << "rewind" << 550;
    QTest::newRow("held: a second a scrub, past two skills")
        << 700 << QString("scrub ").repeated(12).trimmed() << 340;
    QTest::newRow("a tick back, to the Digger's own") << 624 << "step" << 623;
    QTest::newRow("back beyond the start stops there") << 400 << "rewind rewind rewind" << 0;
    QTest::newRow("resumed, then back before it resumed") << 500 << "reopen rewind rewind" << 200;
    QTest::newRow("after a watched replay went back") << 700 << "watch rewind" << 550;
}

void StorageTest::rewoundRunIsAFreshRun()
{
    QFETCH(int, played);
    QFETCH(QString, back);
    QFETCH(int, tick);
    Replay plan;
    QVERIFY(readReplayFile(QFINDTESTDATA("../../replays/solutions/level-03-landscape.txt"), &plan, nullptr));
    const auto freshRun = [](Replay timeline, int at) {
        while (!timeline.events.isEmpty() && timeline.events.constLast().tick >= at)
            timeline.events.removeLast();
        timeline.hasResult = false;
        GameCore core;
        playReplay(timeline, core);
        while (core.tick < at)
            core.step();
        return std::make_pair(core.serialize(), writeReplay(timeline));
    };
    const auto storedGame = [](const char *key) {
        return stored(QStringLiteral("session/current/") + QLatin1String(key)).toByteArray();
    };
    store({ { "progress/unlockedLevel", 3 } });
    auto canvas = std::make_unique<GameCanvas>();
    CanvasTest::playPlan(*canvas, plan, true, played);
    canvas->setPaused(true);
    Replay timeline;
    QVERIFY(readReplay(storedGame("replay"), &timeline, nullptr));
    GameControl control;
    int selected = canvas->selectedCrewId();
    for (const QString &step : back.split(QLatin1Char(' '))) {
        if (step == QLatin1String("reopen")) {
            canvas = std::make_unique<GameCanvas>();
            selected = -1;
        }
        control.setCanvas(canvas.get());
        const CanvasProbe probe = CanvasProbe::holding(*canvas);
        if (step == QLatin1String("watch")) {
            QVERIFY(canvas->watchReplay(plan));
            probe.advanceFrames(400);
            QVERIFY(control.rewind() && probe.core().serialize() == freshRun(plan, 250).first);
            canvas->stopWatching();
        } else if (step != QLatin1String("reopen")) {
            QVERIFY(step == QLatin1String("rewind")      ? control.rewind()
                        : step == QLatin1String("scrub") ? control.scrubBack()
                                                         : control.stepBack());
        }
    }
    const CanvasProbe probe(*canvas);
    const auto fresh = freshRun(timeline, tick);
    QVERIFY(probe.core().serialize() == fresh.first);
    const bool stillOut =
        std::any_of(canvas->core().crew.cbegin(), canvas->core().crew.cend(),
                    [selected](const CrewMember &m) { return m.active && m.id == selected; });
    QCOMPARE(canvas->selectedCrewId(), stillOut ? selected : -1);
    probe.awaitSaveWorker();
    QVERIFY(storedGame("blob") == (tick > 0 ? fresh.first : QByteArray()));
    QCOMPARE(storedGame("replay"), tick > 0 ? fresh.second : QByteArray());
}

QTEST_MAIN(StorageTest)
#include "tst_storage.moc"
