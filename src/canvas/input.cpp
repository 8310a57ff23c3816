#include "gamecanvas.h"

using namespace Pellwick;

namespace {

constexpr float kTargetRadius = 30.0f;
constexpr qreal kCycleDistanceSquared = 324.0; // taps within 18 world units step through the same crowd

qreal squaredDistance(const QPointF &a, const QPointF &b)
{
    const QPointF offset = a - b;
    return offset.x() * offset.x() + offset.y() * offset.y();
}

} // namespace

void GameCanvas::setSelectedSkill(int skill)
{
    const int value = isValidSkill(skill) ? skill : -1;
    if (value == m_selectedSkill)
        return;
    forgetPendingAssignment();
    m_selectedSkill = value;
    Q_EMIT selectedSkillChanged();
}

void GameCanvas::selectSkill(int skill)
{
    setSelectedSkill(skill);
}

void GameCanvas::forgetPendingAssignment()
{
    m_pendingTimer.stop();
    m_pendingSkill = -1;
    m_pendingCrewId = -1;
}

// One eligible member takes the skill at once; in a crowd the nearest is previewed, further taps at the same
// spot step through the others, and the timer hands the skill to whoever is previewed when it runs out.
bool GameCanvas::applySelectedSkill(float itemX, float itemY)
{
    if (m_paused || m_levelIntroVisible || m_core.finished || !isValidSkill(m_selectedSkill) || m_watch)
        return false;
    const QPointF world = itemToWorld(itemX, itemY);
    const Skill skill = Skill(m_selectedSkill);
    const QVector<int> candidates = m_core.applicableCrewIds(skill, world, kTargetRadius);
    if (candidates.isEmpty())
        return false;

    if (candidates.size() == 1) {
        forgetPendingAssignment();
        const int id = m_core.applySkill(skill, world, candidates.first());
        recordEvent(ReplayEvent::assign(m_core.tick, skill, candidates.first(), world));
        if (id < 0)
            return false;
        announceAssignment(skill, id);
        update();
        return true;
    }

    const int count = int(candidates.size());
    const bool cycling = m_pendingTimer.isActive() && m_pendingSkill == m_selectedSkill
        && squaredDistance(world, m_lastTapWorldPoint) < kCycleDistanceSquared;
    m_previewIndex = cycling ? (m_previewIndex + 1) % count : 0;
    m_lastTapWorldPoint = world;
    m_pendingWorldPoint = world;
    m_pendingSkill = m_selectedSkill;
    m_pendingCrewId = candidates.at(m_previewIndex);
    m_selectedCrewId = m_pendingCrewId;
    Q_EMIT selectedCrewIdChanged();
    Q_EMIT crewTargetPreviewed(m_previewIndex + 1, count);
    m_pendingTimer.start();
    update();
    return true;
}

// The committed skill and member are kept before the pending assignment is cleared: the stock check and
// skillAssigned must speak of the skill that was actually handed out.
void GameCanvas::commitPendingAssignment()
{
    const int skill = m_pendingSkill;
    const int crewId = m_pendingCrewId;
    m_pendingSkill = -1;
    m_pendingCrewId = -1;
    if (!isValidSkill(skill) || crewId < 0 || m_paused || m_levelIntroVisible || m_core.finished)
        return;
    const int id = m_core.applySkill(Skill(skill), m_pendingWorldPoint, crewId);
    recordEvent(ReplayEvent::assign(m_core.tick, Skill(skill), crewId, m_pendingWorldPoint));
    if (id >= 0)
        announceAssignment(skill, id);
    update();
}

void GameCanvas::announceAssignment(int skill, int crewId)
{
    m_selectedCrewId = crewId;
    if (m_core.skillCount(Skill(skill)) < 1)
        setSelectedSkill(-1);
    Q_EMIT selectedCrewIdChanged();
    Q_EMIT skillsChanged();
    Q_EMIT stateChanged();
    Q_EMIT skillAssigned(skill);
    saveSessionSoon();
}

const CrewMember *GameCanvas::activeCrewMember(int id) const
{
    for (const CrewMember &member : m_core.crew) {
        if (member.id == id && member.active)
            return &member;
    }
    return nullptr;
}

QPointF GameCanvas::actionFocusWorld() const
{
    if (m_selectedCrewId >= 0) {
        if (const CrewMember *member = activeCrewMember(m_selectedCrewId))
            return member->pos;
    }
    qreal sumX = 0;
    qreal sumY = 0;
    int active = 0;
    for (const CrewMember &member : m_core.crew) {
        if (!member.active)
            continue;
        sumX += member.pos.x();
        sumY += member.pos.y();
        ++active;
    }
    if (active > 0)
        return QPointF(sumX / active, sumY / active);
    return (m_core.entry() + m_core.exit()) / 2.0;
}
