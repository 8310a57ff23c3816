#include "legacy.h"

namespace Pellwick {

namespace {

// One object of a level in both layouts: only the rectangle depends on the layout, so the two layouts can
// never disagree on what a level holds, in which order, or how it is linked.
struct Placement
{
    ObjectType type;
    QRect landscape;
    QRect portrait;
    int direction = 0;
    int link = 0;
};
using Placements = QVector<Placement>;

Placements placements(int index)
{
    switch (index) {
    case 4:
        return { { Water, { 430, 430, 90, 110 }, { 260, 845, 75, 115 } } };
    case 7:
        return { { Spring, { 345, 420, 42, 10 }, { 185, 850, 34, 10 } },
                 { Spring, { 575, 420, 32, 10 }, { 335, 850, 34, 10 } },
                 { Spikes, { 390, 520, 40, 20 }, { 220, 940, 25, 20 } } };
    case 8:
        return { { Lava, { 290, 405, 100, 135 }, { 170, 805, 75, 155 } },
                 { Lava, { 580, 405, 110, 135 }, { 355, 805, 80, 155 } },
                 { DirectionGate, { 520, 360, 26, 40 }, { 300, 760, 26, 40 }, 1 } };
    case 9:
        return { { Water, { 300, 435, 120, 105 }, { 180, 865, 70, 95 } },
                 { Teleporter, { 230, 390, 38, 40 }, { 120, 820, 36, 40 }, 0, 1 },
                 { Teleporter, { 700, 250, 38, 40 }, { 420, 260, 36, 40 }, 0, 1 } };
    case 10:
        return { { Switch, { 365, 335, 34, 10 }, { 175, 680, 34, 10 }, 0, 2 },
                 { Door, { 600, 330, 28, 100 }, { 350, 730, 28, 130 }, 0, 2 } };
    case 11:
        return { { Water, { 360, 445, 240, 95 }, { 180, 885, 180, 75 } },
                 { Fan, { 350, 20, 250, 425 }, { 170, 500, 190, 380 }, 0, 3 } };
    case 12:
        return { { Lava, { 250, 425, 110, 115 }, { 150, 875, 70, 85 } },
                 { Spring, { 465, 410, 42, 10 }, { 285, 850, 42, 10 } },
                 { Teleporter, { 390, 380, 36, 40 }, { 245, 820, 36, 40 }, 0, 4 },
                 { Teleporter, { 730, 280, 36, 40 }, { 420, 310, 36, 40 }, 0, 4 },
                 { Switch, { 755, 220, 34, 10 }, { 420, 275, 34, 10 }, 0, 5 },
                 { Door, { 865, 220, 26, 100 }, { 480, 250, 25, 100 }, 0, 5 } };
    case 14:
        return { { Spikes, { 405, 520, 150, 20 }, { 205, 940, 140, 20 } } };
    case 15:
        return { { Water, { 280, 425, 110, 115 }, { 160, 865, 75, 95 } },
                 { Lava, { 570, 425, 120, 115 }, { 355, 865, 55, 95 } },
                 { DirectionGate, { 480, 380, 26, 40 }, { 290, 820, 26, 40 }, -1 } };
    case 16:
        return { { Spring, { 220, 420, 38, 10 }, { 120, 860, 36, 10 } },
                 { Switch, { 430, 420, 34, 10 }, { 260, 860, 34, 10 }, 0, 6 },
                 { Door, { 620, 330, 28, 100 }, { 365, 630, 26, 130 }, 0, 6 },
                 { Door, { 655, 300, 24, 130 }, { 395, 590, 24, 170 }, 0, 6 },
                 { Laser, { 585, 330, 12, 100 }, { 335, 620, 12, 140 }, 0, 1 },
                 { Teleporter, { 520, 390, 36, 40 }, { 285, 830, 36, 40 }, 0, 7 },
                 { Teleporter, { 735, 260, 36, 40 }, { 430, 350, 36, 40 }, 0, 7 } };
    case 17:
        return { { Water, { 470, 435, 150, 105 }, { 315, 875, 55, 85 } } };
    case 18:
        return { { Water, { 260, 445, 170, 95 }, { 150, 885, 80, 75 } },
                 { Fan, { 255, 80, 150, 360 }, { 145, 500, 95, 380 }, 0, 8 },
                 { Teleporter, { 520, 380, 36, 40 }, { 290, 720, 36, 40 }, 0, 9 },
                 { Teleporter, { 915, 230, 36, 40 }, { 495, 330, 36, 40 }, 0, 9 },
                 { DirectionGate, { 575, 380, 26, 40 }, { 315, 690, 26, 40 }, 1 },
                 { Laser, { 675, 270, 12, 150 }, { 365, 500, 12, 260 }, 0, 2 } };
    case 19:
        // The lava lies 10 rows under the surface: a member landing hard on that soil sinks up to 3.5 rows
        // into it and must stay clear of the lava's 4-row touch margin.
        return { { Switch, { 330, 320, 34, 10 }, { 160, 640, 34, 10 }, 0, 10 },
                 { Door, { 650, 330, 28, 100 }, { 345, 730, 28, 150 }, 0, 10 },
                 { Lava, { 460, 440, 120, 100 }, { 250, 890, 80, 70 } } };
    case 20:
        return { { Water, { 220, 435, 100, 105 }, { 140, 885, 60, 75 } },
                 { Lava, { 500, 435, 110, 105 }, { 310, 885, 60, 75 } },
                 { Spring, { 620, 390, 38, 10 }, { 370, 858, 36, 10 } },
                 { Switch, { 865, 290, 34, 10 }, { 460, 758, 34, 10 }, 0, 11 },
                 { Door, { 785, 300, 24, 130 }, { 415, 738, 24, 130 }, 0, 11 },
                 { Fan, { 600, 110, 150, 245 }, { 345, 563, 90, 260 }, 0, 12 },
                 { Laser, { 770, 300, 12, 130 }, { 420, 738, 12, 130 }, 0, 3 } };
    default:
        return {};
    }
}

} // namespace

void legacyAddObjects(GameCore &core, int index)
{
    for (const Placement &placement : placements(index))
        core.addObject(placement.type, core.layoutMode == Portrait ? placement.portrait : placement.landscape,
                       placement.direction, placement.link);
}

void legacyFillObjects(LevelSpec &level, int index)
{
    for (const Placement &placement : placements(index)) {
        level.landscape.objects.append(
            { placement.type, placement.landscape, placement.direction, placement.link });
        level.portrait.objects.append(
            { placement.type, placement.portrait, placement.direction, placement.link });
    }
}

} // namespace Pellwick
