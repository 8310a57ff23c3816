#ifndef PELLWICK_REPLAY_H
#define PELLWICK_REPLAY_H

#include "gamecore.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QVector>

#include <functional>

namespace Pellwick {

// One thing the player did to the core, at the core's tick when it arrived; it applies before the next step.
struct ReplayEvent
{
    enum Kind : int {
        Assign, // applySkill(skill, point, crewId)
        Rate, // setReleaseRate(rate)
        End, // endRun()
    };

    qint32 tick = 0;
    Kind kind = Assign;
    Skill skill = Climber;
    qint32 crewId = -1;
    QPointF point;
    qint32 rate = 0;

    static ReplayEvent assign(int tick, Skill skill, int crewId, const QPointF &point);
    static ReplayEvent releaseRate(int tick, int rate);
    static ReplayEvent end(int tick);
};

bool operator==(const ReplayEvent &a, const ReplayEvent &b);

// How a finished attempt ended; also what playing a replay produced.
struct ReplayResult
{
    bool won = false;
    qint32 saved = 0;
    qint32 lost = 0;
    qint32 tick = 0;
};

bool operator==(const ReplayResult &a, const ReplayResult &b);
inline bool operator!=(const ReplayResult &a, const ReplayResult &b)
{
    return !(a == b);
}

// A whole attempt: the level, the layout and the player's events. Without a result it is unfinished.
// A built-in level is named by its index; a level of the player's own by its identity, with level -1.
struct Replay
{
    qint32 level = 0;
    QString levelName;
    QByteArray levelHash;
    LayoutMode layout = Landscape;
    QVector<ReplayEvent> events;
    bool hasResult = false;
    ReplayResult result;

    // An attempt, without events yet, at the core's level in its layout.
    static Replay of(const GameCore &core);
    bool isOfCustomLevel() const { return !levelHash.isEmpty(); }
    // Closes the attempt with the finished core's outcome.
    void finish(const GameCore &core);
    // Where headless play stops: the recorded end, or the last event of an unfinished attempt.
    int endTick() const;
};

// The skill's enumerator name, as replay and level files spell it, and back.
QByteArray skillName(Skill skill);
bool skillFromName(const QByteArray &name, Skill *skill);

// The outcome of a finished core, as a replay's result line records it.
ReplayResult resultOf(const GameCore &core);

struct ReplayError
{
    int line = 0; // from 1; 0 when the problem is the file as a whole
    QString message;
};

// Replays are shared between players, so reading trusts nothing: any fault is an error naming its line.
bool readReplay(const QByteArray &text, Replay *replay, ReplayError *error);
QByteArray writeReplay(const Replay &replay);

bool readReplayFile(const QString &path, Replay *replay, ReplayError *error);
// False when the file cannot be written completely; an existing file is then left as it was.
bool writeReplayFile(const QString &path, const Replay &replay);

// Applies a replay's events to a core at their ticks. The caller steps the core.
class ReplayPlayer
{
public:
    explicit ReplayPlayer(const Replay &replay);

    // Loads the replay's level in its layout; false, with the reason in refusal and nothing loaded, when the
    // core lacks the level.
    bool start(GameCore &core, QString *refusal = nullptr) const;
    // The next event is due: its tick has come and the run is still open.
    bool eventDue(const GameCore &core) const;
    // Applies the next event, due or not, and returns what the core answered: the id of the member that
    // took the skill (-1 when refused), the release rate now in force, or 1 when the run was ended (else 0).
    int applyNextEvent(GameCore &core);
    // Applies every due event, in file order.
    void applyDueEvents(GameCore &core);

    const ReplayEvent &nextEvent() const;
    bool atEnd() const;
    int remainingEvents() const;

private:
    Replay m_replay;
    int m_next = 0;
};

// Called after each event applied during headless play, with the core's answer (see applyNextEvent).
using ReplayObserver = std::function<void(const ReplayEvent &event, int answer, const GameCore &core)>;

// Plays a replay headless on the given core: to its recorded end tick, or to its last event when unfinished.
// Returns the number of events that could not be applied because the run had already finished, or -1 when
// the core lacks the replay's level and nothing was played.
int playReplay(const Replay &replay, GameCore &core, const ReplayObserver &observer = nullptr);

} // namespace Pellwick

#endif // PELLWICK_REPLAY_H
