#include "gamecore.h"
#include "levelfile.h"
#include "replay.h"
#include "replaytrace.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

using namespace Pellwick;

namespace {

const char *const kStateNames[] = { "Walking", "Falling",  "Blocking", "Building",   "Bashing",
                                    "Digging", "Climbing", "Mining",   "Demolishing" };

const char *layoutName(LayoutMode layout)
{
    return layout == Portrait ? "portrait" : "landscape";
}

QByteArray timeText(int tick)
{
    const int seconds = tick / 30;
    return QByteArray::number(seconds / 60) + ':' + QByteArray::number(seconds % 60).rightJustified(2, '0');
}

QByteArray resultText(const ReplayResult &result)
{
    return QByteArray(result.won ? "won " : "lost ") + QByteArray::number(result.saved) + ' '
        + QByteArray::number(result.lost) + ' ' + QByteArray::number(result.tick);
}

// The levels of the player's own named with --level: every core that verify plays holds them.
QVector<LevelSpec> &givenLevels()
{
    static QVector<LevelSpec> levels;
    return levels;
}

bool giveLevel(const QString &path)
{
    LevelSpec level;
    LevelError error;
    if (readLevelFile(path, &level, &error)) {
        givenLevels().append(level);
        return true;
    }
    std::fprintf(stderr, "%s:%d: %s\n", qPrintable(path), error.line, qPrintable(error.message));
    return false;
}

GameCore coreWithGivenLevels()
{
    GameCore core;
    for (const LevelSpec &level : std::as_const(givenLevels()))
        core.addLevel(level);
    return core;
}

QByteArray levelText(const Replay &replay)
{
    if (replay.isOfCustomLevel())
        return "level \"" + replay.levelName.toUtf8() + '"';
    return "level " + QByteArray::number(replay.level);
}

bool load(const QString &path, Replay *replay)
{
    ReplayError error;
    if (readReplayFile(path, replay, &error))
        return true;
    if (error.line > 0)
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(path), error.line, qPrintable(error.message));
    else
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error.message));
    return false;
}

// Plays one file and says whether it reproduces its own result; an unfinished attempt has none to miss.
bool verify(const QString &path)
{
    Replay replay;
    if (!load(path, &replay))
        return false;
    GameCore core = coreWithGivenLevels();
    QString refusal;
    if (!ReplayPlayer(replay).start(core, &refusal)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(refusal));
        return false;
    }
    const int unapplied = playReplay(replay, core);
    const ReplayResult played = resultOf(core);
    const LevelSpec &level = core.currentLevel();
    std::printf("%s: %s %s, %s, saved %d of %d required, time %s, %d skills used: ", qPrintable(path),
                levelText(replay).constData(), layoutName(replay.layout),
                !core.finished   ? "unfinished"
                    : played.won ? "won"
                                 : "lost",
                core.saved, level.requiredCount, timeText(core.tick).constData(), core.skillsUsed);
    if (!replay.hasResult) {
        std::printf("no result to check\n");
        return true;
    }
    const bool matches = core.finished && played == replay.result && unapplied == 0;
    if (matches) {
        std::printf("matches its result\n");
        return true;
    }
    std::printf("DOES NOT MATCH its result\n");
    std::fprintf(stderr, "%s: recorded \"result %s\", played %s %s", qPrintable(path),
                 resultText(replay.result).constData(), core.finished ? "to" : "unfinished at",
                 core.finished ? resultText(played).constData() : QByteArray::number(core.tick).constData());
    if (unapplied > 0)
        std::fprintf(stderr, ", %d events after the end", unapplied);
    std::fprintf(stderr, "\n");
    return false;
}

void printMember(const GameCore &core, int id)
{
    for (const CrewMember &member : core.crew) {
        if (member.id != id)
            continue;
        std::printf("member %d at (%.2f, %.2f) %s%s%s%s", id, member.pos.x(), member.pos.y(),
                    member.state >= Walking && member.state <= Demolishing ? kStateNames[member.state] : "?",
                    member.climber ? ", climber" : "", member.floater ? ", floater" : "",
                    member.active ? "" : ", out of play");
        return;
    }
    std::printf("no member %d", id);
}

void printEvent(const ReplayEvent &event, int answer, const GameCore &core)
{
    std::printf("%6d  ", event.tick);
    switch (event.kind) {
    case ReplayEvent::Assign:
        std::printf("assign %s to %d at (%.2f, %.2f): ", skillName(event.skill).constData(), event.crewId,
                    event.point.x(), event.point.y());
        if (answer >= 0) {
            printMember(core, answer);
        } else {
            std::printf("refused; ");
            printMember(core, event.crewId);
        }
        break;
    case ReplayEvent::Rate:
        std::printf("rate %d: release rate now %d", event.rate, answer);
        break;
    case ReplayEvent::End:
        std::printf("end: %s", answer ? "run ended" : "refused");
        break;
    }
    std::printf("\n");
}

bool show(const QString &path)
{
    Replay replay;
    if (!load(path, &replay))
        return false;
    GameCore core;
    core.loadLevel(replay.level);
    const LevelSpec &level = core.currentLevel();
    std::printf("level %d \"%s\", %s: %d crew, %d required\n", replay.level, qPrintable(level.name),
                layoutName(replay.layout), level.crewCount, level.requiredCount);
    const int unapplied = playReplay(replay, core, printEvent);
    if (unapplied > 0)
        std::printf("%d events came after the run had ended\n", unapplied);
    if (core.finished)
        std::printf("played: %s\n", resultText(resultOf(core)).constData());
    else
        std::printf("played: unfinished at tick %d\n", core.tick);
    if (replay.hasResult)
        std::printf("recorded: %s\n", resultText(replay.result).constData());
    return true;
}

// Runs the core on from where it stands, applying the replay's events as they fall due, until the run ends
// or reaches stopTick; the same loop as headless play from the start.
void playOn(const Replay &replay, GameCore &core, int stopTick)
{
    ReplayPlayer player(replay);
    for (;;) {
        player.applyDueEvents(core);
        if (core.finished || core.tick >= stopTick)
            break;
        core.step();
    }
}

// The events still ahead of a run saved at `tick`: those at or before it were applied before the save.
Replay eventsAfter(const Replay &replay, int tick)
{
    Replay ahead = replay;
    ahead.events.erase(std::remove_if(ahead.events.begin(), ahead.events.end(),
                                      [tick](const ReplayEvent &event) { return event.tick <= tick; }),
                       ahead.events.end());
    return ahead;
}

// Saves the run of a replay halfway through, as the game saves an interrupted run.
bool saveHalfway(const QString &path, const QString &snapshotPath)
{
    Replay replay;
    if (!load(path, &replay))
        return false;
    GameCore core;
    ReplayPlayer(replay).start(core);
    playOn(replay, core, replay.endTick() / 2);
    QSaveFile file(snapshotPath);
    return file.open(QIODevice::WriteOnly) && file.write(core.serialize()) >= 0 && file.commit();
}

// Restores a run saved halfway (perhaps by another build), plays it on to the replay's end and prints
// where it ended, so that two builds can be compared; a resumed run must end as the replay recorded.
bool resume(const QString &path, const QString &snapshotPath)
{
    Replay replay;
    QFile file(snapshotPath);
    GameCore core;
    if (!load(path, &replay) || !file.open(QIODevice::ReadOnly) || !core.restore(file.readAll())) {
        std::fprintf(stderr, "%s: cannot restore\n", qPrintable(snapshotPath));
        return false;
    }
    playOn(eventsAfter(replay, core.tick), core, replay.endTick());
    const QImage &terrain = core.terrain;
    std::printf("%s at tick %d, terrain checksum %u\n", resultText(resultOf(core)).constData(), core.tick,
                qChecksum(reinterpret_cast<const char *>(terrain.constBits()),
                          uint(terrain.bytesPerLine() * terrain.height())));
    if (replay.hasResult && !(resultOf(core) == replay.result)) {
        std::fprintf(stderr, "%s: resumed, it ends otherwise than recorded\n", qPrintable(path));
        return false;
    }
    return true;
}

// Writes the golden trace of a replay beside it. The traces change only when a rule or a level does, and the
// commit that rewrites them says which.
bool writeTrace(const QString &path)
{
    Replay replay;
    if (!load(path, &replay))
        return false;
    const QByteArray trace = traceReplay(replay, coreWithGivenLevels());
    if (trace.isEmpty()) {
        std::fprintf(stderr, "%s: its level is not given\n", qPrintable(path));
        return false;
    }
    QSaveFile file(tracePath(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(trace) != trace.size() || !file.commit()) {
        std::fprintf(stderr, "%s: cannot write\n", qPrintable(tracePath(path)));
        return false;
    }
    std::printf("%s: %d bytes\n", qPrintable(tracePath(path)), int(trace.size()));
    return true;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: pellwick-replay verify [--level LEVELFILE]... FILE...\n"
                 "       pellwick-replay show FILE\n"
                 "       pellwick-replay save-halfway FILE SNAPSHOT\n"
                 "       pellwick-replay resume FILE SNAPSHOT\n"
                 "       pellwick-replay trace [--level LEVELFILE]... FILE...\n");
    return 2;
}

// Runs the command on every file named from argv[2] on, and fails when it fails on any of them.
// A level file given with --level makes its replays playable by the files after it.
int forEachFile(int argc, char *argv[], bool (*command)(const QString &path))
{
    bool allGood = true;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0 && i + 1 < argc)
            allGood = giveLevel(QString::fromLocal8Bit(argv[++i])) && allGood;
        else
            allGood = command(QString::fromLocal8Bit(argv[i])) && allGood;
    }
    return allGood ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return usage();
    if (std::strcmp(argv[1], "show") == 0 && argc == 3)
        return show(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (std::strcmp(argv[1], "save-halfway") == 0 && argc == 4)
        return saveHalfway(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    if (std::strcmp(argv[1], "resume") == 0 && argc == 4)
        return resume(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    if (std::strcmp(argv[1], "verify") == 0)
        return forEachFile(argc, argv, verify);
    if (std::strcmp(argv[1], "trace") == 0)
        return forEachFile(argc, argv, writeTrace);
    return usage();
}
