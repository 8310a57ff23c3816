#include "runhistory.h"

#include <QSet>

#include <algorithm>

namespace Pellwick {

namespace {

// Three seconds of play. Rebuilding a tick plays on from the keyframe before it, and the busiest tick of
// ours costs some 30 microseconds on a desktop, so even a tick just short of the next keyframe is rebuilt
// within a few milliseconds; a 10-minute run holds 200 keyframes, mostly shared terrain.
constexpr int kKeyframeSpacing = 90;

template<typename T> qint64 uncountedBytes(const QVector<T> &records, QSet<const char *> &counted)
{
    const char *data = reinterpret_cast<const char *>(records.constData());
    if (counted.contains(data))
        return 0;
    counted.insert(data);
    return qint64(records.capacity()) * qint64(sizeof(T));
}

// Twenty minutes of play, some third of a second to play again on a desktop. A run restored at a later tick,
// or at a damaged one, is not played again from its level's start: that would hold up the game too long, or
// for ever on a level that does not end without the player.
constexpr int kLongestReplayedRun = 20 * 60 * 30;

} // namespace

void RunHistory::begin(const GameCore &run)
{
    m_keyframes.clear();
    m_lastTerrain = QImage();
    m_events.clear();
    m_ahead = ReplayPlayer(Replay());
    m_watching = false;
    m_present = run.tick;
    takeKeyframe(run);
}

bool RunHistory::beginAtLevelStart(const GameCore &restored, const Replay &recording)
{
    if (restored.tick <= kLongestReplayedRun && replayReaches(restored, recording))
        return true;
    begin(restored);
    return false;
}

void RunHistory::beginWatching(const GameCore &levelStart, const Replay &replay)
{
    begin(levelStart);
    m_events = replay.events;
    m_ahead = ReplayPlayer(replay);
    m_watching = true;
}

// Only the first report of a tick counts: a keyframe holds the state before that tick's events.
void RunHistory::stepped(const GameCore &run)
{
    if (isEmpty() || run.tick <= m_present)
        return;
    m_present = run.tick;
    if (run.tick >= m_keyframes.back().run.tick + kKeyframeSpacing)
        takeKeyframe(run);
}

void RunHistory::record(const ReplayEvent &event)
{
    m_events.append(event);
}

void RunHistory::applyDueEvents(GameCore &run)
{
    m_ahead.applyDueEvents(run);
}

bool RunHistory::rewind(int tick, GameCore &run)
{
    if (isEmpty() || tick > m_present)
        return false;
    const int target = std::max(tick, firstTick());
    // The keyframes after the target belong to a future that is being taken back.
    const auto later =
        std::upper_bound(m_keyframes.begin(), m_keyframes.end(), target,
                         [](int t, const Keyframe &keyframe) { return t < keyframe.run.tick; });
    (later - 1)->terrain.paintOver(m_lastTerrain, m_keyframes.back().terrain);
    m_keyframes.erase(later, m_keyframes.end());

    GameCore rebuilt = m_keyframes.back().run;
    rebuilt.terrain = m_lastTerrain;
    ReplayPlayer player(eventsFrom(rebuilt.tick));
    while (rebuilt.tick < target && !rebuilt.finished) {
        player.applyDueEvents(rebuilt);
        rebuilt.step();
    }
    if (m_watching)
        m_ahead = player;
    else
        m_events.resize(firstEventAt(target));
    m_present = rebuilt.tick;
    run = rebuilt;
    return true;
}

bool RunHistory::isEmpty() const
{
    return m_keyframes.empty();
}

int RunHistory::firstTick() const
{
    return isEmpty() ? 0 : m_keyframes.front().run.tick;
}

int RunHistory::presentTick() const
{
    return m_present;
}

const QVector<ReplayEvent> &RunHistory::events() const
{
    return m_events;
}

// The last keyframe's terrain is counted whole, though it is shared with the run until the crew change it.
qint64 RunHistory::keyframeBytes() const
{
    QSet<const char *> counted;
    qint64 bytes = qint64(m_lastTerrain.bytesPerLine()) * m_lastTerrain.height();
    for (const Keyframe &keyframe : m_keyframes) {
        bytes += qint64(sizeof(Keyframe)) + keyframe.terrain.uncountedBytes(counted);
        bytes += uncountedBytes(keyframe.run.crew, counted) + uncountedBytes(keyframe.run.objects, counted)
            + uncountedBytes(keyframe.run.levels, counted);
    }
    return bytes;
}

// The keyframe keeps no image: its terrain is the tiles, and an encoding of the live image would outlive it.
void RunHistory::takeKeyframe(const GameCore &run)
{
    const TerrainTiles terrain(run.terrain, isEmpty() ? TerrainTiles() : m_keyframes.back().terrain,
                               m_lastTerrain);
    m_keyframes.push_back({ run, terrain });
    m_keyframes.back().run.terrain = QImage();
    m_keyframes.back().run.dropTerrainEncoding();
    m_lastTerrain = run.terrain;
}

// The recording is played as a watched replay would be, then the timeline becomes the player's own.
bool RunHistory::replayReaches(const GameCore &restored, const Replay &recording)
{
    GameCore run = restored; // with its catalogue, which a level start is built from
    ReplayPlayer(recording).start(run);
    beginWatching(run, recording);
    while (run.tick < restored.tick && !run.finished) {
        applyDueEvents(run);
        run.step();
        stepped(run);
    }
    applyDueEvents(run);
    m_watching = false;
    return m_ahead.atEnd() && run.serialize() == restored.serialize();
}

Replay RunHistory::eventsFrom(int tick) const
{
    Replay replay;
    replay.events = m_events.mid(firstEventAt(tick));
    return replay;
}

int RunHistory::firstEventAt(int tick) const
{
    const auto first = std::lower_bound(m_events.cbegin(), m_events.cend(), tick,
                                        [](const ReplayEvent &event, int t) { return event.tick < t; });
    return int(first - m_events.cbegin());
}

} // namespace Pellwick
