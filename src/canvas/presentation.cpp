#include "gamecanvas.h"

#include <QVariantMap>

#include <algorithm>
#include <iterator>

using namespace Pellwick;

namespace {

// The English texts are the translation sources; they must stay exactly as written.
const char *const kLevelNames[] = {
    QT_TRANSLATE_NOOP("GameCanvas", "First Steps"),      QT_TRANSLATE_NOOP("GameCanvas", "Mind the Gap"),
    QT_TRANSLATE_NOOP("GameCanvas", "Through the Wall"), QT_TRANSLATE_NOOP("GameCanvas", "Down We Go"),
    QT_TRANSLATE_NOOP("GameCanvas", "Soft Landing"),     QT_TRANSLATE_NOOP("GameCanvas", "Cliff Duty"),
    QT_TRANSLATE_NOOP("GameCanvas", "Rescue Shift"),     QT_TRANSLATE_NOOP("GameCanvas", "Spring Works"),
    QT_TRANSLATE_NOOP("GameCanvas", "Hot Route"),        QT_TRANSLATE_NOOP("GameCanvas", "Relay Station"),
    QT_TRANSLATE_NOOP("GameCanvas", "Power Cut"),        QT_TRANSLATE_NOOP("GameCanvas", "Updraft"),
    QT_TRANSLATE_NOOP("GameCanvas", "Night Shift"),      QT_TRANSLATE_NOOP("GameCanvas", "Cutting Corners"),
    QT_TRANSLATE_NOOP("GameCanvas", "Controlled Blast"), QT_TRANSLATE_NOOP("GameCanvas", "Split Decision"),
    QT_TRANSLATE_NOOP("GameCanvas", "Chain Reaction"),   QT_TRANSLATE_NOOP("GameCanvas", "Deep Cut"),
    QT_TRANSLATE_NOOP("GameCanvas", "Crosswind"),        QT_TRANSLATE_NOOP("GameCanvas", "Last Door"),
    QT_TRANSLATE_NOOP("GameCanvas", "All Hands"),
};

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

constexpr int kLastIntroLevel = 4;
constexpr int kLastEasyLevel = 9;
constexpr int kLastTrickyLevel = 15;

bool sameStage(const LevelSpec &a, const LevelSpec &b)
{
    return a.stage == b.stage;
}

// 1-based position of a level among the levels of its stage that come no later than it.
int stagePositionOf(const QVector<LevelSpec> &levels, int index)
{
    const LevelSpec &level = levels.at(index);
    return int(std::count_if(levels.cbegin(), levels.cbegin() + index + 1,
                             [&level](const LevelSpec &other) { return sameStage(other, level); }));
}

int stageTotalOf(const QVector<LevelSpec> &levels, int index)
{
    const LevelSpec &level = levels.at(index);
    return int(std::count_if(levels.cbegin(), levels.cend(),
                             [&level](const LevelSpec &other) { return sameStage(other, level); }));
}

} // namespace

QString GameCanvas::translatedLevelName(int index) const
{
    if (index < 0 || index >= int(std::size(kLevelNames)))
        return tr("Unknown level");
    return tr(kLevelNames[index]);
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
    return stageNameFor(m_core.currentLevel().stage);
}

QString GameCanvas::difficultyNameFor(int index) const
{
    if (index <= kLastIntroLevel)
        return tr("Intro");
    if (index <= kLastEasyLevel)
        return tr("Easy");
    if (index <= kLastTrickyLevel)
        return tr("Tricky");
    return tr("Hard");
}

QString GameCanvas::difficultyName() const
{
    return difficultyNameFor(m_core.levelIndex);
}

int GameCanvas::stagePosition() const
{
    if (m_core.levelIndex < 0)
        return 0;
    return stagePositionOf(m_core.levels, m_core.levelIndex);
}

int GameCanvas::stageTotal() const
{
    if (m_core.levels.isEmpty())
        return 0;
    return stageTotalOf(m_core.levels, m_core.levelIndex);
}

bool GameCanvas::stageComplete() const
{
    if (!m_core.won())
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

// A briefing is translated only when a translation exists for its exact English text.
QString GameCanvas::levelBriefing() const
{
    const QByteArray source = m_core.currentLevel().briefing.toUtf8();
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
QVariantList GameCanvas::levels() const
{
    QVariantList list;
    list.reserve(levelCount());
    for (int index = 0; index < levelCount(); ++index) {
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
        entry.insert(QStringLiteral("stageTotal"), stageTotalOf(m_core.levels, index));
        entry.insert(QStringLiteral("difficulty"), difficultyNameFor(index));
        entry.insert(QStringLiteral("locked"), m_unlockedLevel < index);
        entry.insert(QStringLiteral("attempts"), statistic(index, "attempts", 0));
        entry.insert(QStringLiteral("wins"), wins);
        entry.insert(QStringLiteral("completed"), wins > 0);
        entry.insert(QStringLiteral("bestSaved"), statistic(index, "bestSaved", 0));
        entry.insert(QStringLiteral("bestTime"), statistic(index, "bestTime", -1));
        entry.insert(QStringLiteral("bestSkills"), statistic(index, "bestSkills", -1));
        list.append(entry);
    }
    return list;
}
