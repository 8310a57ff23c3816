#ifndef PELLWICK_GAMECORE_H
#define PELLWICK_GAMECORE_H

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

#include <array>

namespace Pellwick {

// The values of these enumerations are stored in snapshots; never renumber them.

enum Skill : int {
    Climber = 0,
    Floater = 1,
    Blocker = 2,
    Builder = 3,
    Basher = 4,
    Digger = 5,
    Miner = 6,
    Demolition = 7,
};
constexpr int kSkillCount = 8;

// True for the eight real skills; every other value means "no skill".
constexpr bool isValidSkill(int skill)
{
    return skill >= Climber && skill <= Demolition;
}

enum CrewState : int {
    Walking = 0,
    Falling = 1,
    Blocking = 2,
    Building = 3,
    Bashing = 4,
    Digging = 5,
    Climbing = 6,
    Mining = 7,
    Demolishing = 8,
};

enum ObjectType : int {
    Water = 0,
    Lava = 1,
    Spikes = 2,
    Spring = 3,
    DirectionGate = 4,
    Teleporter = 5,
    Fan = 6,
    Door = 7,
    Switch = 8,
    Laser = 9,
};
constexpr int kObjectTypeCount = 10;

// The simulation reads alpha only: a terrain pixel of alpha 9 or more is ground, whatever its colour.
constexpr bool isGroundPixel(QRgb pixel)
{
    return pixel >= 0x09000000u;
}

enum LayoutMode : int {
    Landscape = 0,
    Portrait = 1,
};

// The world of a layout in units, one a terrain pixel.
inline QSize worldSize(LayoutMode mode)
{
    return mode == Portrait ? QSize(540, 960) : QSize(960, 540);
}

// One crew member. pos is the feet point: x the body's centre line, y the lowest row of the body.
struct CrewMember
{
    qint32 id = -1;
    QPointF pos;
    qint32 direction = 1;
    CrewState state = Falling;
    bool climber = false;
    bool floater = false;
    bool active = true;
    float fallStartY = -1.0f;
    float vy = 0.0f;
    float vx = 0.0f;
    qint32 actionTicks = 0;
    qint32 bricks = 0;
    qint32 idleTicks = 0;
    qint32 teleportCooldown = 0;

    // The terrain pixel of the feet point, halves rounded up: where every probe of the crew is measured from.
    QPoint pixel() const { return QPoint(qRound(pos.x()), qRound(pos.y())); }
};

bool operator==(const CrewMember &a, const CrewMember &b);
inline bool operator!=(const CrewMember &a, const CrewMember &b)
{
    return !(a == b);
}

struct WorldObject
{
    qint32 id = -1;
    ObjectType type = Water;
    QRectF rect;
    qint32 direction = 0;
    qint32 link = 0;
    bool active = true;
    bool triggered = false;
};

bool operator==(const WorldObject &a, const WorldObject &b);
inline bool operator!=(const WorldObject &a, const WorldObject &b)
{
    return !(a == b);
}

// One block of a layout's terrain. Soil and stone differ only in their colours.
struct TerrainBlock
{
    enum Material : int {
        Soil = 0,
        Stone = 1,
    };
    Material material = Soil;
    QRect rect;
};

// One object as a run of the level starts with it.
struct ObjectPlacement
{
    ObjectType type = Water;
    QRect rect;
    qint32 direction = 0;
    qint32 link = 0;
};

// A level's world in one layout: the blocks in painting order, later ones covering earlier ones, and the
// objects in creation order. Its entry and exit are the level's points of that layout.
struct LevelLayout
{
    bool defined = false;
    QVector<TerrainBlock> terrain;
    QVector<ObjectPlacement> objects;
};

// One level, built in or of the player's own. Both layouts share everything but the points and the world.
struct LevelSpec
{
    QString name;
    qint32 crewCount = 10;
    qint32 requiredCount = 6;
    qint32 releaseRate = 50;
    QPointF landscapeEntry;
    QPointF landscapeExit;
    QPointF portraitEntry;
    QPointF portraitExit;
    std::array<int, kSkillCount> skills {};
    qint32 stage = 0;
    qint32 theme = 0;
    QString briefing;
    // A level of the player's own brings its own translation; the built-in levels are in the game's.
    QString hungarianName;
    QString hungarianBriefing;
    LevelLayout landscape;
    LevelLayout portrait;
    // The content hash of a level of the player's own (hex): with the name, its identity. A changed file is a
    // new level. Empty for the built-in levels, which are known by their index.
    QByteArray hash;

    bool isCustom() const { return !hash.isEmpty(); }
    const LevelLayout &layout(LayoutMode mode) const { return mode == Portrait ? portrait : landscape; }
    LevelLayout &layout(LayoutMode mode) { return mode == Portrait ? portrait : landscape; }
};

bool operator==(const TerrainBlock &a, const TerrainBlock &b);
bool operator==(const ObjectPlacement &a, const ObjectPlacement &b);
bool operator==(const LevelLayout &a, const LevelLayout &b);
bool operator==(const LevelSpec &a, const LevelSpec &b);

// The deterministic world of one run of a level. A plain value: copying it copies the run.
class GameCore
{
public:
    GameCore();
    ~GameCore();
    GameCore(const GameCore &) = default;
    GameCore &operator=(const GameCore &) = default;
    GameCore(GameCore &&) = default;
    GameCore &operator=(GameCore &&) = default;

    // World state; the canvas reads it directly.
    QVector<LevelSpec> levels;
    qint32 levelIndex = 0;
    LayoutMode layoutMode = Landscape;
    QImage terrain;
    QVector<CrewMember> crew;
    QVector<WorldObject> objects;
    std::array<int, kSkillCount> skillStock {};
    qint32 spawned = 0;
    qint32 saved = 0;
    qint32 lost = 0;
    qint32 releaseRate = 50;
    qint32 spawnCountdown = 0;
    qint32 nextCrewId = 1;
    qint32 nextObjectId = 1;
    qint32 tick = 0;
    qint32 skillsUsed = 0;
    qint32 objectTriggers = 0;
    bool finished = false;

    // World geometry and the current level.
    int worldWidth() const;
    int worldHeight() const;
    QPointF entry() const;
    QPointF exit() const;
    const LevelSpec &currentLevel() const;
    int skillCount(Skill skill) const;
    int activeCount() const;
    bool rescuePossible() const;
    bool won() const;

    // Terrain mask and painting primitives.
    bool isSolid(int x, int y) const;
    void drawGroundRect(int x, int y, int w, int h);
    void drawGroundPolygon(const QVector<QPoint> &points);
    void drawRockRect(const QRect &rect);
    void carveRect(const QRect &rect);
    void carveEllipse(const QRect &rect);

    // Tick, release and outcome.
    void step();
    void spawnCrew();
    int spawnIntervalTicks() const;
    void setReleaseRate(int rate);
    void saveCrew(CrewMember &member);
    void loseCrew(CrewMember &member);
    // Ends the run by the player's hand; false, changing nothing, when it is already over.
    bool endRun();

    // Locomotion.
    void simulateCrew(CrewMember &member);
    bool grounded(const CrewMember &member) const;
    bool wallAhead(const CrewMember &member) const;
    bool nearExit(const CrewMember &member) const;

    // Skill assignment and targeting.
    bool canApplySkill(Skill skill, const CrewMember &member) const;
    int applySkill(Skill skill, const QPointF &point, int crewId);
    QVector<int> applicableCrewIds(Skill skill, const QPointF &point, float radius) const;

    // Working states.
    void simulateBuilder(CrewMember &member);
    void simulateBasher(CrewMember &member);
    void simulateDigger(CrewMember &member);
    void simulateMiner(CrewMember &member);
    void simulateDemolition(CrewMember &member);

    // World objects.
    void addObject(ObjectType type, const QRectF &rect, int direction, int link);
    bool interactWithObjects(CrewMember &member);
    void triggerSwitch(int link);

    // Level lifecycle.
    void loadLevel(int index);
    void restartLevel();
    void setLayoutMode(LayoutMode mode, bool restart);

    // Snapshot of a run in progress. A refused snapshot of a level of the player's own says why in refusal.
    QByteArray serialize() const;
    bool restore(const QByteArray &data, QString *refusal = nullptr);
    // Takes over the terrain encoding a copy of this core made, while the terrain is still that image.
    void keepTerrainEncoding(const GameCore &encoded);
    // Lets go of the kept encoding: for a copy of the run that keeps its terrain elsewhere.
    void dropTerrainEncoding();

    // Level catalogue and layouts.
    QVector<LevelSpec> createLevels() const;
    void buildTerrain(int index);
    void buildObjects(int index);
    // Adds a level of the player's own after the catalogue, once: returns its index.
    int addLevel(const LevelSpec &level);
    // The index of the level of the player's own with this identity, or -1 with the reason in refusal.
    int findLevel(const QString &name, const QByteArray &hash, QString *refusal = nullptr) const;

private:
    void paintBrick(const QRect &rect);

    // The terrain encoded as PNG, kept while the image is unchanged so that autosaves skip the encoding.
    // terrainPngKey is the cacheKey() of the image encoded; copies of the core share both with the image.
    const QByteArray &encodedTerrain() const;
    mutable QByteArray terrainPng;
    mutable qint64 terrainPngKey = 0;
};

} // namespace Pellwick

#endif // PELLWICK_GAMECORE_H
