#include "gamecore.h"
#include "levelfile.h"

#include <QCoreApplication>

#include <algorithm>

// The level files are resources of this static library, which registers them by hand, outside any namespace.
static void registerLevelResources()
{
    Q_INIT_RESOURCE(levels);
}

namespace Pellwick {

namespace {

// The built-in levels are read like any other level; their files are part of the game, so a fault in one
// is a fault of the build, which the tests catch before anyone plays it.
QVector<LevelSpec> readBuiltInLevels()
{
    registerLevelResources();
    QVector<LevelSpec> levels;
    const QVector<LevelFile> files = readLevelFolder(QStringLiteral(":/levels"));
    for (const LevelFile &file : files) {
        if (!file.ok())
            qFatal("built-in level %s, line %d: %s", qPrintable(file.fileName), file.error.line,
                   qPrintable(file.error.message));
        LevelSpec level = file.level;
        level.hash.clear();
        levels.append(level);
    }
    return levels;
}

} // namespace

bool operator==(const TerrainBlock &a, const TerrainBlock &b)
{
    return a.material == b.material && a.rect == b.rect;
}

bool operator==(const ObjectPlacement &a, const ObjectPlacement &b)
{
    return a.type == b.type && a.rect == b.rect && a.direction == b.direction && a.link == b.link;
}

bool operator==(const LevelLayout &a, const LevelLayout &b)
{
    return a.defined == b.defined && a.terrain == b.terrain && a.objects == b.objects;
}

bool operator==(const LevelSpec &a, const LevelSpec &b)
{
    return a.name == b.name && a.crewCount == b.crewCount && a.requiredCount == b.requiredCount
        && a.releaseRate == b.releaseRate && a.landscapeEntry == b.landscapeEntry
        && a.landscapeExit == b.landscapeExit && a.portraitEntry == b.portraitEntry
        && a.portraitExit == b.portraitExit && a.skills == b.skills && a.stage == b.stage
        && a.theme == b.theme && a.briefing == b.briefing && a.hungarianName == b.hungarianName
        && a.hungarianBriefing == b.hungarianBriefing && a.landscape == b.landscape
        && a.portrait == b.portrait && a.hash == b.hash;
}

QVector<LevelSpec> GameCore::createLevels() const
{
    // Read once: every core, the scratch cores of a restore included, shares the one catalogue.
    static const QVector<LevelSpec> catalogue = readBuiltInLevels();
    return catalogue;
}

// Later blocks cover earlier ones, their grass and strata included.
void GameCore::buildTerrain(int index)
{
    const QVector<TerrainBlock> &blocks = levels.at(index).layout(layoutMode).terrain;
    for (const TerrainBlock &block : blocks) {
        const QRect &r = block.rect;
        if (block.material == TerrainBlock::Stone)
            drawRockRect(r);
        else
            drawGroundRect(r.x(), r.y(), r.width(), r.height());
    }
}

void GameCore::buildObjects(int index)
{
    const QVector<ObjectPlacement> &placements = levels.at(index).layout(layoutMode).objects;
    for (const ObjectPlacement &placement : placements)
        addObject(placement.type, placement.rect, placement.direction, placement.link);
}

int GameCore::addLevel(const LevelSpec &level)
{
    const int known = level.isCustom() ? findLevel(level.name, level.hash) : -1;
    if (known >= 0)
        return known;
    levels.append(level);
    return int(levels.size()) - 1;
}

int GameCore::findLevel(const QString &name, const QByteArray &hash, QString *refusal) const
{
    const auto sameHash = [&hash](const LevelSpec &level) {
        return level.isCustom() && level.hash == hash;
    };
    const auto found = std::find_if(levels.cbegin(), levels.cend(), sameHash);
    if (found != levels.cend())
        return int(found - levels.cbegin());
    if (refusal) {
        const auto sameName = [&name](const LevelSpec &level) {
            return level.isCustom() && level.name == name;
        };
        *refusal = std::any_of(levels.cbegin(), levels.cend(), sameName)
            ? QCoreApplication::translate("GameCanvas",
                                          "This belongs to another version of the level \"%1\".")
                  .arg(name)
            : QCoreApplication::translate("GameCanvas", "The level \"%1\" is not installed.").arg(name);
    }
    return -1;
}

} // namespace Pellwick
