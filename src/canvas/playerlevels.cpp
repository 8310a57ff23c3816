#include "gamecanvas.h"
#include "levelfile.h"

#include <QStandardPaths>

#include <algorithm>
#include <tuple>

using namespace Pellwick;

bool GameCanvas::PlayerLevel::operator==(const PlayerLevel &other) const
{
    return std::tie(fileName, index, errorLine, error)
        == std::tie(other.fileName, other.index, other.errorLine, other.error);
}

// Beside the replays, in the game's data folder.
QString GameCanvas::playerLevelFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/levels");
}

// The catalogue only grows: a level read once keeps its index while the canvas lives, so that a run or a
// replay of a file edited or removed since plays on. The chooser lists the files as they are now; a file
// edited is a new level, with an index of its own.
void GameCanvas::readPlayerLevels()
{
    QVector<PlayerLevel> listed;
    for (const LevelFile &file : readLevelFolder(playerLevelFolder())) {
        const int index = file.ok() ? addPlayerLevel(file.level) : -1;
        listed.append({ file.fileName, index, file.error.line, file.error.message });
    }
    if (listed == m_playerLevels)
        return;
    m_playerLevels = listed;
    Q_EMIT levelsChanged();
}

// The game left to watch a replay comes back with the same catalogue.
int GameCanvas::addPlayerLevel(const LevelSpec &level)
{
    if (m_watch)
        m_watch->core.addLevel(level);
    return m_core.addLevel(level);
}

// The game's levels open one by one as they are won; the player's own are open while their files are there.
bool GameCanvas::levelOpen(int index) const
{
    if (index < 0 || index >= m_core.levels.size())
        return false;
    if (!m_core.levels.at(index).isCustom())
        return index <= m_unlockedLevel;
    return std::any_of(m_playerLevels.cbegin(), m_playerLevels.cend(),
                       [index](const PlayerLevel &file) { return file.index == index; });
}

// The stage of the player's own levels: those listed, in the order of their files, and last the level played
// if its file has gone or changed since.
QVector<int> GameCanvas::playerStage() const
{
    QVector<int> stage;
    for (const PlayerLevel &file : m_playerLevels) {
        if (file.index >= 0)
            stage.append(file.index);
    }
    if (m_core.currentLevel().isCustom() && !stage.contains(m_core.levelIndex))
        stage.append(m_core.levelIndex);
    return stage;
}

QString GameCanvas::resumeRefusal() const
{
    return m_resumeRefusal;
}
