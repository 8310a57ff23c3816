#include "legacy.h"

namespace Pellwick {

namespace {

using Stock = std::array<int, kSkillCount>;

void addLevel(QVector<LevelSpec> &levels, const char *name, int crewCount, int requiredCount, int releaseRate,
              QPointF landscapeEntry, QPointF landscapeExit, QPointF portraitEntry, QPointF portraitExit,
              const Stock &skills, int stage, int theme, const char *briefing)
{
    LevelSpec level;
    level.name = QString::fromUtf8(name);
    level.crewCount = crewCount;
    level.requiredCount = requiredCount;
    level.releaseRate = releaseRate;
    level.landscapeEntry = landscapeEntry;
    level.landscapeExit = landscapeExit;
    level.portraitEntry = portraitEntry;
    level.portraitExit = portraitExit;
    level.skills = skills;
    level.stage = stage;
    level.theme = theme;
    level.briefing = QString::fromUtf8(briefing);
    levels.append(level);
}

} // namespace

// Every point stands one unit above the ground it is drawn on in its layout. The names and briefings are
// also the translation sources, so they must stay exactly as written; the briefings are marked so that
// lupdate finds them in the GameCanvas context, where they are translated at display time.
QVector<LevelSpec> legacyLevels()
{
    QVector<LevelSpec> levels;
    levels.reserve(21);
    // Skills: Climber, Floater, Blocker, Builder, Basher, Digger, Miner, Demolition.
    addLevel(levels, "First Steps", 8, 6, 45, { 85, 419 }, { 875, 419 }, { 70, 799 }, { 470, 799 },
             { 0, 0, 0, 0, 0, 0, 0, 0 }, 0, 0,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "No tricks yet. Learn how the crew walks, turns and finds the exit."));
    addLevel(
        levels, "Mind the Gap", 10, 7, 40, { 80, 419 }, { 880, 419 }, { 65, 699 }, { 475, 719 },
        { 0, 0, 1, 3, 0, 0, 0, 0 }, 0, 0,
        QT_TRANSLATE_NOOP("GameCanvas", "Use a blocker to control the crowd, then build a safe bridge."));
    addLevel(levels, "Through the Wall", 10, 8, 50, { 80, 419 }, { 880, 419 }, { 65, 819 }, { 475, 819 },
             { 0, 0, 1, 0, 3, 0, 0, 0 }, 0, 0,
             QT_TRANSLATE_NOOP("GameCanvas", "A basher cuts horizontally through ordinary terrain."));
    addLevel(levels, "Down We Go", 12, 8, 38, { 80, 309 }, { 860, 409 }, { 65, 419 }, { 465, 819 },
             { 0, 2, 1, 0, 0, 4, 0, 0 }, 0, 0,
             QT_TRANSLATE_NOOP("GameCanvas", "Dig straight down, but watch the landing distance."));
    addLevel(levels, "Soft Landing", 10, 6, 35, { 80, 259 }, { 850, 429 }, { 70, 239 }, { 455, 839 },
             { 0, 7, 1, 0, 0, 0, 0, 0 }, 0, 0,
             QT_TRANSLATE_NOOP("GameCanvas", "Floaters survive falls that would be fatal to ordinary crew."));
    addLevel(levels, "Cliff Duty", 10, 6, 30, { 75, 429 }, { 825, 299 }, { 65, 859 }, { 455, 409 },
             { 7, 0, 1, 1, 0, 0, 0, 0 }, 1, 1,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Climbers scale vertical walls. Builders can finish awkward ledges."));
    addLevel(levels, "Rescue Shift", 16, 11, 55, { 65, 404 }, { 895, 409 }, { 65, 779 }, { 470, 839 },
             { 3, 3, 2, 4, 4, 3, 0, 0 }, 1, 1,
             QT_TRANSLATE_NOOP("GameCanvas", "Combine the basic abilities and keep enough crew together."));
    addLevel(
        levels, "Spring Works", 12, 9, 48, { 70, 429 }, { 870, 384 }, { 65, 859 }, { 455, 819 },
        { 2, 2, 1, 2, 0, 0, 0, 0 }, 1, 1,
        QT_TRANSLATE_NOOP("GameCanvas", "Springs launch the crew. Control their direction before take-off."));
    addLevel(levels, "Hot Route", 14, 9, 45, { 70, 399 }, { 890, 399 }, { 70, 799 }, { 465, 799 },
             { 0, 2, 2, 4, 0, 0, 0, 0 }, 1, 2,
             QT_TRANSLATE_NOOP("GameCanvas", "Lava is instant trouble. Build over it and use gates wisely."));
    addLevel(
        levels, "Relay Station", 12, 9, 42, { 65, 429 }, { 885, 289 }, { 65, 859 }, { 455, 299 },
        { 2, 2, 1, 1, 1, 0, 0, 0 }, 1, 1,
        QT_TRANSLATE_NOOP("GameCanvas", "Teleporters work in linked pairs. Keep the receiving area clear."));
    addLevel(levels, "Power Cut", 14, 10, 50, { 65, 429 }, { 890, 429 }, { 65, 859 }, { 470, 859 },
             { 1, 1, 2, 2, 2, 1, 0, 0 }, 2, 1,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "A switch opens its matching door. Reach it before the crowd piles up."));
    addLevel(levels, "Updraft", 14, 10, 46, { 65, 439 }, { 875, 259 }, { 65, 879 }, { 450, 599 },
             { 2, 2, 1, 2, 0, 1, 0, 0 }, 2, 1,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Fans lift and carry falling crew. Use the airflow rather than fighting it."));
    addLevel(levels, "Night Shift", 20, 14, 58, { 55, 419 }, { 905, 319 }, { 55, 869 }, { 475, 349 },
             { 4, 5, 3, 5, 4, 4, 0, 0 }, 2, 3,
             QT_TRANSLATE_NOOP("GameCanvas", "Everything learned so far comes together after dark."));
    addLevel(levels, "Cutting Corners", 12, 8, 44, { 65, 319 }, { 890, 499 }, { 60, 299 }, { 470, 549 },
             { 1, 1, 1, 1, 0, 0, 4, 0 }, 2, 1,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Miners cut diagonally downward. Aim the tunnel before the crowd arrives."));
    addLevel(levels, "Controlled Blast", 12, 8, 38, { 70, 419 }, { 880, 419 }, { 65, 839 }, { 470, 839 },
             { 0, 1, 2, 1, 1, 0, 0, 3 }, 2, 2,
             QT_TRANSLATE_NOOP(
                 "GameCanvas",
                 "Demolition removes a circular area after a short countdown. Move everyone else away."));
    addLevel(levels, "Split Decision", 16, 11, 55, { 55, 419 }, { 900, 369 }, { 55, 859 }, { 480, 809 },
             { 2, 2, 3, 3, 2, 1, 2, 1 }, 2, 1,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Two routes can work. Choose where to spend your limited abilities."));
    addLevel(levels, "Chain Reaction", 16, 11, 52, { 55, 429 }, { 900, 299 }, { 55, 869 }, { 475, 389 },
             { 2, 3, 2, 2, 2, 1, 2, 2 }, 3, 2,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Switches, doors, springs and excavation all interact. Plan the order."));
    addLevel(levels, "Deep Cut", 18, 13, 50, { 55, 319 }, { 900, 429 }, { 55, 519 }, { 480, 869 },
             { 2, 3, 2, 2, 2, 3, 5, 1 }, 3, 3,
             QT_TRANSLATE_NOOP("GameCanvas", "A long diagonal excavation is safer than a straight drop."));
    addLevel(levels, "Crosswind", 18, 13, 56, { 55, 439 }, { 900, 269 }, { 55, 879 }, { 470, 369 },
             { 3, 4, 2, 3, 1, 2, 2, 1 }, 3, 3,
             QT_TRANSLATE_NOOP("GameCanvas",
                               "Fans, teleporters and gates create moving traffic. Time each intervention."));
    addLevel(
        levels, "Last Door", 20, 15, 60, { 50, 429 }, { 684, 429 }, { 50, 879 }, { 377, 879 },
        { 4, 4, 3, 4, 3, 2, 3, 2 }, 3, 3,
        QT_TRANSLATE_NOOP("GameCanvas",
                          "The final door needs a distant switch. Protect the crew while one reaches it."));
    addLevel(
        levels, "All Hands", 24, 18, 64, { 45, 429 }, { 915, 299 }, { 45, 879 }, { 490, 767 },
        { 5, 5, 4, 5, 4, 4, 4, 3 }, 3, 3,
        QT_TRANSLATE_NOOP("GameCanvas", "The full toolbox, a large crew and very little room for waste."));
    return levels;
}

} // namespace Pellwick
