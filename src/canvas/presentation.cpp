#include "gamecanvas.h"

#include <QVariantMap>

#include <algorithm>
#include <iterator>

using namespace Pellwick;

namespace {

// The English texts are the translation sources; they must stay exactly as written.
const char *const kStageNames[] = {
    QT_TRANSLATE_NOOP("GameCanvas", "Training"),
    QT_TRANSLATE_NOOP("GameCanvas", "Fieldwork"),
    QT_TRANSLATE_NOOP("GameCanvas", "Rescue Ops"),
    QT_TRANSLATE_NOOP("GameCanvas", "Night Ops"),
};

const char *const kSkillNames[kSkillCount] = {
    QT_TRANSLATE_NOOP("GameCanvas", "Climber"), QT_TRANSLATE_NOOP("GameCanvas", "Floater"),
    QT_TRANSLATE_NOOP("GameCanvas", "Blocker"), QT_TRANSLATE_NOOP("GameCanvas", "Builder"),
    QT_TRANSLATE_NOOP("GameCanvas", "Basher"),  QT_TRANSLATE_NOOP("GameCanvas", "Digger"),
    QT_TRANSLATE_NOOP("GameCanvas", "Miner"),   QT_TRANSLATE_NOOP("GameCanvas", "Demolition"),
};

const char *const kSkillShortNames[kSkillCount] = {
    QT_TRANSLATE_NOOP("GameCanvas", "CLIMB"), QT_TRANSLATE_NOOP("GameCanvas", "FLOAT"),
    QT_TRANSLATE_NOOP("GameCanvas", "STOP"),  QT_TRANSLATE_NOOP("GameCanvas", "BUILD"),
    QT_TRANSLATE_NOOP("GameCanvas", "BASH"),  QT_TRANSLATE_NOOP("GameCanvas", "DIG"),
    QT_TRANSLATE_NOOP("GameCanvas", "MINE"),  QT_TRANSLATE_NOOP("GameCanvas", "BLAST"),
};

const char *const kDifficultyNames[] = {
    QT_TRANSLATE_NOOP("GameCanvas", "Intro"),
    QT_TRANSLATE_NOOP("GameCanvas", "Easy"),
    QT_TRANSLATE_NOOP("GameCanvas", "Tricky"),
    QT_TRANSLATE_NOOP("GameCanvas", "Hard"),
};

constexpr int kLastIntroLevel = 4;
constexpr int kLastEasyLevel = 9;
constexpr int kLastTrickyLevel = 15;

// In the level list, the stage of the player's own levels, which is none of the game's.
constexpr int kPlayerStage = -1;

// A level of the player's own brings its own Hungarian, shown where the game speaks Hungarian: the installed
// translation says which language it speaks by translating this code.
bool speaksHungarian()
{
    return GameCanvas::tr("en", "the code of the language these texts are in") == QLatin1String("hu");
}

QString playerText(const QString &english, const QString &hungarian)
{
    return speaksHungarian() && !hungarian.isEmpty() ? hungarian : english;
}

// A level of the player's own may have one layout, which it is played in however the phone is held.
QString oneLayoutNote(const LevelSpec &level)
{
    if (!level.portrait.defined)
        return GameCanvas::tr("Landscape only");
    if (!level.landscape.defined)
        return GameCanvas::tr("Portrait only");
    return QString();
}

bool sameStage(const LevelSpec &a, const LevelSpec &b)
{
    return a.stage == b.stage;
}

// 1-based position of one of the game's levels among the levels of its stage that come no later than it.
int stagePositionOf(const QVector<LevelSpec> &levels, int index)
{
    const LevelSpec &level = levels.at(index);
    return int(std::count_if(levels.cbegin(), levels.cbegin() + index + 1,
                             [&level](const LevelSpec &other) { return sameStage(other, level); }));
}

// Of the game's levels, the first `count` of the catalogue.
int stageTotalOf(const QVector<LevelSpec> &levels, int count, int index)
{
    const LevelSpec &level = levels.at(index);
    return int(std::count_if(levels.cbegin(), levels.cbegin() + count,
                             [&level](const LevelSpec &other) { return sameStage(other, level); }));
}

} // namespace

// The game's levels are translated with its other texts; the player's own bring their Hungarian.
QString GameCanvas::translatedLevelName(int index) const
{
    if (index < 0 || index >= m_core.levels.size())
        return tr("Unknown level");
    const LevelSpec &level = m_core.levels.at(index);
    if (level.isCustom())
        return playerText(level.name, level.hungarianName);
    return tr(level.name.toUtf8().constData());
}

QString GameCanvas::levelName() const
{
    return translatedLevelName(m_core.levelIndex);
}

QString GameCanvas::stageNameFor(int stage) const
{
    if (stage < 0 || stage >= int(std::size(kStageNames)))
        return tr("Campaign");
    return tr(kStageNames[stage]);
}

QString GameCanvas::stageName() const
{
    if (m_core.currentLevel().isCustom())
        return tr("Your levels");
    return stageNameFor(m_core.currentLevel().stage);
}

// The game's stages grow harder in step with its levels; a level of the player's own says its stage.
int GameCanvas::difficultyBand(int index) const
{
    if (index >= 0 && index < m_core.levels.size() && m_core.levels.at(index).isCustom())
        return qBound(0, m_core.levels.at(index).stage, int(std::size(kDifficultyNames)) - 1);
    if (index <= kLastIntroLevel)
        return 0;
    if (index <= kLastEasyLevel)
        return 1;
    if (index <= kLastTrickyLevel)
        return 2;
    return 3;
}

QString GameCanvas::difficultyNameFor(int index) const
{
    return tr(kDifficultyNames[difficultyBand(index)]);
}

QString GameCanvas::difficultyName() const
{
    return difficultyNameFor(m_core.levelIndex);
}

int GameCanvas::stagePosition() const
{
    if (m_core.levelIndex < 0)
        return 0;
    if (m_core.currentLevel().isCustom())
        return playerStage().indexOf(m_core.levelIndex) + 1;
    return stagePositionOf(m_core.levels, m_core.levelIndex);
}

int GameCanvas::stageTotal() const
{
    if (m_core.levels.isEmpty())
        return 0;
    if (m_core.currentLevel().isCustom())
        return playerStage().size();
    return stageTotalOf(m_core.levels, levelCount(), m_core.levelIndex);
}

// The player's own levels are no campaign to complete.
bool GameCanvas::stageComplete() const
{
    if (!m_core.won() || m_core.currentLevel().isCustom())
        return false;
    const int next = m_core.levelIndex + 1;
    if (next >= levelCount())
        return true;
    return !sameStage(m_core.levels.at(next), m_core.currentLevel());
}

QString GameCanvas::nextStageName() const
{
    const int next = m_core.levelIndex + 1;
    if (next >= levelCount())
        return QString();
    return stageNameFor(m_core.levels.at(next).stage);
}

// A briefing of the game's is translated only when a translation exists for its exact English text.
QString GameCanvas::levelBriefing() const
{
    const LevelSpec &level = m_core.currentLevel();
    if (level.isCustom())
        return playerText(level.briefing, level.hungarianBriefing);
    const QByteArray source = level.briefing.toUtf8();
    return tr(source.constData());
}

QString GameCanvas::skillName(int skill) const
{
    return isValidSkill(skill) ? tr(kSkillNames[skill]) : QString();
}

QString GameCanvas::skillShortName(int skill) const
{
    return isValidSkill(skill) ? tr(kSkillShortNames[skill]) : QString();
}

QVariantList GameCanvas::skills() const
{
    QVariantList list;
    list.reserve(kSkillCount);
    for (int skill = 0; skill < kSkillCount; ++skill) {
        QVariantMap entry;
        entry.insert(QStringLiteral("id"), skill);
        entry.insert(QStringLiteral("name"), skillName(skill));
        entry.insert(QStringLiteral("shortName"), skillShortName(skill));
        entry.insert(QStringLiteral("count"), m_core.skillCount(Skill(skill)));
        list.append(entry);
    }
    return list;
}

// Statistics are read from the settings on every call: QML re-reads the list whenever levelsChanged says so.
// The game's levels come first, by index; then the files of the player's own.
QVariantList GameCanvas::levels() const
{
    QVariantList list;
    list.reserve(levelCount() + m_playerLevels.size());
    for (int index = 0; index < levelCount(); ++index)
        list.append(levelEntry(index));
    for (const PlayerLevel &file : m_playerLevels)
        list.append(playerLevelEntry(file));
    return list;
}

QVariantMap GameCanvas::levelEntry(int index) const
{
    const LevelSpec &level = m_core.levels.at(index);
    const int wins = statistic(index, "wins", 0);
    QVariantMap entry;
    entry.insert(QStringLiteral("index"), index);
    entry.insert(QStringLiteral("name"), translatedLevelName(index));
    entry.insert(QStringLiteral("total"), level.crewCount);
    entry.insert(QStringLiteral("required"), level.requiredCount);
    entry.insert(QStringLiteral("stage"), level.stage);
    entry.insert(QStringLiteral("stageName"), stageNameFor(level.stage));
    entry.insert(QStringLiteral("stagePosition"), stagePositionOf(m_core.levels, index));
    entry.insert(QStringLiteral("stageTotal"), stageTotalOf(m_core.levels, levelCount(), index));
    entry.insert(QStringLiteral("difficulty"), difficultyNameFor(index));
    entry.insert(QStringLiteral("difficultyBand"), difficultyBand(index));
    entry.insert(QStringLiteral("locked"), !levelOpen(index));
    entry.insert(QStringLiteral("attempts"), statistic(index, "attempts", 0));
    entry.insert(QStringLiteral("wins"), wins);
    entry.insert(QStringLiteral("completed"), wins > 0);
    entry.insert(QStringLiteral("bestSaved"), statistic(index, "bestSaved", 0));
    entry.insert(QStringLiteral("bestTime"), statistic(index, "bestTime", -1));
    entry.insert(QStringLiteral("bestSkills"), statistic(index, "bestSkills", -1));
    return entry;
}

// A file of the player's own, in their stage: a level with the layout it is played in, or a file that
// cannot be played, greyed out with its first fault.
QVariantMap GameCanvas::playerLevelEntry(const PlayerLevel &file) const
{
    QVariantMap entry;
    if (file.index >= 0) {
        entry = levelEntry(file.index);
        const QVector<int> stage = playerStage();
        entry.insert(QStringLiteral("stagePosition"), stage.indexOf(file.index) + 1);
        entry.insert(QStringLiteral("stageTotal"), stage.size());
        entry.insert(QStringLiteral("layoutNote"), oneLayoutNote(m_core.levels.at(file.index)));
    } else {
        entry.insert(QStringLiteral("index"), -1);
        entry.insert(QStringLiteral("name"), file.fileName);
        entry.insert(QStringLiteral("broken"), true);
        entry.insert(QStringLiteral("error"),
                     file.errorLine > 0 ? tr("Line %1: %2").arg(file.errorLine).arg(file.error) : file.error);
    }
    entry.insert(QStringLiteral("stage"), kPlayerStage);
    entry.insert(QStringLiteral("stageName"), tr("Your levels"));
    entry.insert(QStringLiteral("custom"), true);
    entry.insert(QStringLiteral("fileName"), file.fileName);
    return entry;
}
