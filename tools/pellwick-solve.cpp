#include "gamecore.h"
#include "levelfile.h"
#include "replay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

using namespace Pellwick;

// Finds winning replays by evolving plans of skill assignments. A plan is a short list of (tick, skill,
// member) genes; a mutation changes one gene, and the child is played from the parent's last saved state
// before that gene, since the core is a cheap value copy. A run stops as soon as enough members are home,
// and the player ends it there by hand.
namespace {

constexpr int kCheckpointTicks = 160;
constexpr int kTicksAfterLastGene = 900;
// Nobody came nearer the exit for this long, with everyone released: the run has nothing more to show.
constexpr int kStagnantTicks = 400;
constexpr int kTickLimit = 6000;
constexpr int kStallLimit = 2500;
constexpr double kFarAway = 1200.0;
const int kRates[] = { 0, 1, 20, 60, 99 }; // 0 keeps the level's own rate

struct Gene
{
    int tick = 0;
    Skill skill = Climber;
    int crewId = -1;
};

struct Plan
{
    int rate = 0;
    QVector<Gene> genes; // by tick
};

struct Checkpoint
{
    GameCore core;
    QVector<double> closest; // per crew id - 1: the nearest each member came to the exit
    int lastProgressTick = 0;
    int nextGene = 0;
    QVector<ReplayEvent> events;
};

struct Trial
{
    Plan plan;
    QVector<Checkpoint> checkpoints; // checkpoints[i] holds the world at tick i * kCheckpointTicks
    double score = -1.0;
    bool won = false;
    int endTick = 0;
    Replay replay;
};

class Search
{
public:
    Search(const GameCore &base, int level, LayoutMode layout, quint32 seed)
        : m_fresh(base)
        , m_rng(seed)
    {
        m_fresh.setLayoutMode(layout, false);
        m_fresh.loadLevel(level);
        m_replayHead = Replay::of(m_fresh);
    }

    bool run(qint64 budgetMs, Replay *solution);

private:
    Trial play(const Plan &plan, const Trial *parent, int changedTick);
    bool applyDueGenes(Checkpoint &state, const Plan &plan) const;
    double score(const Checkpoint &state) const;
    Plan mutate(const Trial &parent, int *changedTick);
    Trial pruned(Trial trial);
    bool randomGene(const Trial &parent, int tick, Gene *gene);
    int randomInt(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_rng); }

    GameCore m_fresh;
    Replay m_replayHead;
    std::mt19937 m_rng;
};

double distanceToExit(const GameCore &core, const CrewMember &member)
{
    const QPointF delta = member.pos - core.exit();
    return std::min(kFarAway, std::hypot(delta.x(), delta.y()));
}

void trackClosest(Checkpoint &state)
{
    const GameCore &core = state.core;
    const int known = int(state.closest.size());
    state.closest.resize(core.crew.size());
    std::fill(state.closest.begin() + known, state.closest.end(), kFarAway);
    for (int i = 0; i < core.crew.size(); ++i) {
        const CrewMember &member = core.crew.at(i);
        if (!member.active)
            continue;
        const double distance = distanceToExit(core, member);
        if (distance < state.closest.at(i)) {
            state.closest[i] = distance;
            state.lastProgressTick = core.tick;
        }
    }
}

bool stagnant(const Checkpoint &state)
{
    const GameCore &core = state.core;
    return core.spawned >= core.currentLevel().crewCount
        && core.tick - state.lastProgressTick > kStagnantTicks;
}

bool Search::applyDueGenes(Checkpoint &state, const Plan &plan) const
{
    GameCore &core = state.core;
    bool applied = false;
    while (state.nextGene < plan.genes.size() && plan.genes.at(state.nextGene).tick <= core.tick) {
        const Gene &gene = plan.genes.at(state.nextGene++);
        for (const CrewMember &member : std::as_const(core.crew)) {
            if (member.id != gene.crewId || !core.canApplySkill(gene.skill, member))
                continue;
            const QPointF point(member.pos.x(), member.pos.y() - 8.0);
            if (core.applySkill(gene.skill, point, gene.crewId) >= 0) {
                state.events.append(ReplayEvent::assign(core.tick, gene.skill, gene.crewId, point));
                applied = true;
            }
            break;
        }
    }
    return applied;
}

double Search::score(const Checkpoint &state) const
{
    const GameCore &core = state.core;
    const LevelSpec &level = core.currentLevel();
    if (core.won())
        return 1000.0 - core.skillsUsed * 0.01 - core.tick * 1e-6;
    // The saved members are those that came nearest; the next ones are the hope of the run.
    QVector<double> unsaved = state.closest;
    // Members still in the portal have come no nearer than the portal itself.
    const QPointF fromEntry = core.entry() - core.exit();
    for (int i = core.spawned; i < level.crewCount; ++i)
        unsaved.append(std::min(kFarAway, std::hypot(fromEntry.x(), fromEntry.y())));
    std::sort(unsaved.begin(), unsaved.end());
    const int wanted = std::max(1, level.requiredCount - core.saved);
    double closeness = 0.0;
    for (int i = core.saved; i < core.saved + wanted && i < unsaved.size(); ++i)
        closeness += 1.0 - unsaved.at(i) / kFarAway;
    return core.saved + 0.99 * closeness / wanted - core.skillsUsed * 1e-4;
}

Trial Search::play(const Plan &plan, const Trial *parent, int changedTick)
{
    Trial trial;
    trial.plan = plan;
    Checkpoint state;
    if (parent && changedTick > 0 && !parent->checkpoints.isEmpty()) {
        const int index = std::min(int(parent->checkpoints.size()) - 1, changedTick / kCheckpointTicks);
        trial.checkpoints = parent->checkpoints.mid(0, index + 1);
        state = trial.checkpoints.constLast();
    } else {
        state.core = m_fresh;
        if (plan.rate > 0) {
            state.core.setReleaseRate(plan.rate);
            state.events.append(ReplayEvent::releaseRate(0, plan.rate));
        }
        trial.checkpoints.append(state);
    }
    // The genes before the checkpoint are the parent's and have been applied; find where to go on.
    state.nextGene = 0;
    while (state.nextGene < plan.genes.size() && plan.genes.at(state.nextGene).tick < state.core.tick)
        ++state.nextGene;

    GameCore &core = state.core;
    const int lastGene = plan.genes.isEmpty() ? 0 : plan.genes.constLast().tick;
    const int horizon = std::min(kTickLimit, lastGene + kTicksAfterLastGene);
    while (!core.finished && core.tick < horizon) {
        applyDueGenes(state, plan);
        if (core.saved >= core.currentLevel().requiredCount) {
            core.endRun();
            state.events.append(ReplayEvent::end(core.tick));
            break;
        }
        core.step();
        trackClosest(state);
        if (core.tick % kCheckpointTicks == 0)
            trial.checkpoints.append(state);
        if (stagnant(state) && state.nextGene >= plan.genes.size())
            break;
    }
    trial.score = score(state);
    trial.won = core.won();
    trial.endTick = core.tick;
    trial.replay = m_replayHead;
    trial.replay.events = state.events;
    if (core.finished)
        trial.replay.finish(core);
    return trial;
}

// Replays the parent to the tick and picks one skill that some active member could take there.
bool Search::randomGene(const Trial &parent, int tick, Gene *gene)
{
    const int index = std::min(int(parent.checkpoints.size()) - 1, tick / kCheckpointTicks);
    Checkpoint state = parent.checkpoints.at(index);
    state.nextGene = 0;
    while (state.nextGene < parent.plan.genes.size()
           && parent.plan.genes.at(state.nextGene).tick < state.core.tick)
        ++state.nextGene;
    while (state.core.tick < tick && !state.core.finished) {
        applyDueGenes(state, parent.plan);
        state.core.step();
    }
    const GameCore &core = state.core;
    QVector<Gene> choices;
    for (const CrewMember &member : core.crew) {
        for (int skill = 0; skill < kSkillCount; ++skill) {
            if (core.canApplySkill(Skill(skill), member))
                choices.append({ core.tick, Skill(skill), member.id });
        }
    }
    if (choices.isEmpty())
        return false;
    *gene = choices.at(randomInt(0, int(choices.size()) - 1));
    return true;
}

Plan Search::mutate(const Trial &parent, int *changedTick)
{
    Plan plan = parent.plan;
    const int count = int(plan.genes.size());
    const int kind = count == 0 ? 0 : randomInt(0, 9);
    if (kind <= 3) {
        Gene gene;
        const int tick = randomInt(0, std::max(1, parent.endTick - 1));
        if (!randomGene(parent, tick, &gene))
            return plan;
        plan.genes.append(gene);
        *changedTick = gene.tick;
    } else if (kind == 4) {
        const int i = randomInt(0, count - 1);
        *changedTick = plan.genes.at(i).tick;
        plan.genes.remove(i);
    } else if (kind <= 7) {
        const int i = randomInt(0, count - 1);
        Gene &gene = plan.genes[i];
        const int moved = std::max(0, gene.tick + randomInt(-12, 12));
        *changedTick = std::min(gene.tick, moved);
        gene.tick = moved;
    } else if (kind == 8) {
        const int i = randomInt(0, count - 1);
        Gene &gene = plan.genes[i];
        gene.crewId = std::max(1, gene.crewId + (randomInt(0, 1) ? 1 : -1));
        *changedTick = gene.tick;
    } else {
        plan.rate = kRates[randomInt(0, int(std::size(kRates)) - 1)];
        *changedTick = 0;
    }
    std::stable_sort(plan.genes.begin(), plan.genes.end(),
                     [](const Gene &a, const Gene &b) { return a.tick < b.tick; });
    return plan;
}

bool Search::run(qint64 budgetMs, Replay *solution)
{
    QElapsedTimer clock;
    clock.start();
    Trial best = play(Plan(), nullptr, 0);
    Trial current = best;
    int stall = 0;
    int trials = 0;
    while (!best.won && clock.elapsed() < budgetMs) {
        ++trials;
        int changedTick = 0;
        const Plan plan = mutate(current, &changedTick);
        Trial child = play(plan, &current, changedTick);
        if (child.score >= current.score) {
            stall = child.score > current.score ? 0 : stall + 1;
            current = child;
        } else {
            ++stall;
        }
        if (current.score > best.score)
            best = current;
        if (stall > kStallLimit) {
            current = play(Plan(), nullptr, 0);
            stall = 0;
        }
    }
    std::printf("  best score %.3f after %d trials, %lld ms\n", best.score, trials,
                static_cast<long long>(clock.elapsed()));
    if (!best.won)
        return false;
    *solution = pruned(best).replay;
    return true;
}

// A win found by mutation carries genes it never needed; dropping each one that the win survives without
// leaves a shorter proof.
Trial Search::pruned(Trial trial)
{
    for (int i = int(trial.plan.genes.size()) - 1; i >= 0; --i) {
        Plan plan = trial.plan;
        plan.genes.remove(i);
        const Trial child = play(plan, nullptr, 0);
        if (child.won)
            trial = child;
    }
    return trial;
}

bool parseTarget(const QString &text, int *level, QVector<LayoutMode> *layouts)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    bool ok = false;
    *level = parts.first().toInt(&ok);
    if (!ok || *level < 0 || *level > 20 || parts.size() > 2)
        return false;
    if (parts.size() == 1)
        *layouts = { Landscape, Portrait };
    else if (parts.at(1) == QLatin1String("landscape"))
        *layouts = { Landscape };
    else if (parts.at(1) == QLatin1String("portrait"))
        *layouts = { Portrait };
    else
        return false;
    return true;
}

bool verified(const GameCore &base, const Replay &replay)
{
    GameCore core = base;
    return playReplay(replay, core) == 0 && core.won() && resultOf(core) == replay.result;
}

// One layout of one level to solve, and the file its solution goes to.
struct Target
{
    int level = 0;
    LayoutMode layout = Landscape;
    QString path;
};

QString layoutName(LayoutMode layout)
{
    return layout == Portrait ? QStringLiteral("portrait") : QStringLiteral("landscape");
}

// A built-in level by its index: "7", "7-landscape" or "7-portrait".
bool addBuiltInTargets(const QString &text, const QString &outDir, QVector<Target> *targets)
{
    int level = 0;
    QVector<LayoutMode> layouts;
    if (!parseTarget(text, &level, &layouts))
        return false;
    for (LayoutMode layout : std::as_const(layouts)) {
        const QString name =
            QStringLiteral("level-%1-%2.txt").arg(level, 2, 10, QLatin1Char('0')).arg(layoutName(layout));
        targets->append({ level, layout, QDir(outDir).filePath(name) });
    }
    return true;
}

// A level file, in each layout it has; its solutions are named after it, beside it unless --out says.
bool addFileTargets(const QString &path, const QString &outDir, GameCore &base, QVector<Target> *targets)
{
    LevelSpec level;
    LevelError error;
    if (!readLevelFile(path, &level, &error)) {
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(path), error.line, qPrintable(error.message));
        return false;
    }
    const int index = base.addLevel(level);
    const QFileInfo file(path);
    const QDir folder(outDir.isEmpty() ? file.absolutePath() : outDir);
    for (LayoutMode layout : { Landscape, Portrait }) {
        if (level.layout(layout).defined)
            targets->append({ index, layout,
                              folder.filePath(file.completeBaseName() + '-' + layoutName(layout) + ".txt") });
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    qint64 seconds = 20;
    quint32 seed = 1;
    QString outDir;
    QStringList builtIn;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--seconds") && i + 1 < argc)
            seconds = QString::fromLocal8Bit(argv[++i]).toLongLong();
        else if (arg == QLatin1String("--seed") && i + 1 < argc)
            seed = QString::fromLocal8Bit(argv[++i]).toUInt();
        else if (arg == QLatin1String("--out") && i + 1 < argc)
            outDir = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--level") && i + 1 < argc)
            files.append(QString::fromLocal8Bit(argv[++i]));
        else
            builtIn.append(arg);
    }
    if (builtIn.isEmpty() && files.isEmpty()) {
        for (int level = 0; level <= 20; ++level)
            builtIn.append(QString::number(level));
    }

    GameCore base;
    QVector<Target> targets;
    for (const QString &target : std::as_const(builtIn)) {
        if (!addBuiltInTargets(target, outDir.isEmpty() ? QStringLiteral("replays/solutions") : outDir,
                               &targets)) {
            std::fprintf(stderr,
                         "usage: pellwick-solve [--seconds N] [--seed S] [--out DIR] [--level LEVELFILE]... "
                         "[LEVEL[-landscape|-portrait]...]\n");
            return 2;
        }
    }
    for (const QString &file : std::as_const(files)) {
        if (!addFileTargets(file, outDir, base, &targets))
            return 1;
    }

    int won = 0;
    for (const Target &target : std::as_const(targets)) {
        std::printf("%s\n", qPrintable(target.path));
        std::fflush(stdout);
        Replay solution;
        Search search(base, target.level, target.layout, seed + quint32(target.level * 2 + target.layout));
        if (!search.run(seconds * 1000, &solution))
            continue;
        if (!verified(base, solution)) {
            std::printf("  found a win that does not replay: a fault in the core's determinism\n");
            continue;
        }
        if (!writeReplayFile(target.path, solution)) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(target.path));
            return 1;
        }
        ++won;
        std::printf("  won with %d events, %d ticks\n", int(solution.events.size()), solution.result.tick);
    }
    std::printf("won %d of %d\n", won, int(targets.size()));
    return 0;
}
