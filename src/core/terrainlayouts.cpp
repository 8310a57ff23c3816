#include "legacy.h"

namespace Pellwick {

namespace {

// A soil block (G) or a stone block (R), painted in list order: later shapes cover earlier ones.
struct Shape
{
    enum Kind { G, R } kind;
    int x, y, w, h;
};
using Layout = QVector<Shape>;
constexpr Shape::Kind G = Shape::G;
constexpr Shape::Kind R = Shape::R;

Layout landscapeLayout(int index)
{
    switch (index) {
    case 1:
        return { { G, 0, 420, 390, 120 }, { G, 520, 420, 440, 120 } };
    case 2:
        return { { G, 0, 420, 960, 120 }, { R, 435, 300, 82, 120 } };
    case 3:
        return { { G, 0, 310, 610, 34 }, { R, 585, 230, 25, 80 }, { G, 0, 410, 960, 130 } };
    case 4:
        return { { G, 0, 260, 430, 280 }, { G, 520, 430, 440, 110 } };
    case 5:
        return { { G, 0, 430, 500, 110 }, { G, 500, 300, 460, 240 } };
    case 6:
        return { { G, 0, 405, 330, 135 },
                 { G, 455, 410, 505, 130 },
                 { R, 300, 315, 95, 90 },
                 { G, 620, 340, 160, 25 } };
    case 7:
        return { { G, 0, 430, 390, 110 }, { G, 430, 430, 180, 110 }, { G, 690, 385, 270, 155 } };
    case 8:
        return { { G, 0, 400, 290, 140 }, { G, 390, 400, 190, 140 }, { G, 690, 400, 270, 140 } };
    case 9:
        return { { G, 0, 430, 300, 110 }, { G, 420, 430, 170, 110 }, { G, 650, 290, 310, 250 } };
    case 10:
        return { { G, 0, 430, 960, 110 }, { G, 270, 345, 180, 85 } };
    case 11:
        return { { G, 0, 440, 360, 100 }, { G, 600, 260, 360, 280 } };
    case 12:
        return { { G, 0, 420, 250, 120 },
                 { G, 360, 420, 180, 120 },
                 { G, 650, 320, 310, 220 },
                 { R, 500, 250, 70, 170 },
                 { G, 710, 230, 160, 24 } };
    case 13:
        return { { G, 0, 320, 340, 220 }, { R, 340, 240, 280, 300 }, { G, 620, 500, 340, 40 } };
    case 14:
        return { { G, 0, 420, 960, 120 }, { R, 420, 300, 72, 120 } };
    case 15:
        return { { G, 0, 420, 280, 120 },
                 { G, 390, 420, 180, 120 },
                 { G, 690, 370, 270, 170 },
                 { G, 410, 300, 120, 24 } };
    case 16:
        return { { G, 0, 430, 250, 110 },
                 { G, 350, 430, 220, 110 },
                 { G, 690, 300, 270, 240 },
                 { R, 535, 260, 55, 170 } };
    case 17:
        return { { G, 0, 320, 330, 220 }, { G, 620, 430, 340, 110 }, { R, 300, 235, 170, 305 } };
    case 18:
        return { { G, 0, 440, 260, 100 }, { G, 430, 420, 170, 120 }, { G, 710, 270, 250, 270 } };
    case 19:
        return { { G, 0, 430, 960, 110 },
                 { G, 270, 330, 190, 100 },
                 { G, 690, 250, 270, 180 },
                 { R, 580, 310, 45, 120 } };
    case 20:
        return { { G, 0, 430, 220, 110 },
                 { G, 320, 430, 180, 110 },
                 { G, 610, 400, 150, 140 },
                 { G, 810, 300, 150, 240 },
                 { R, 435, 250, 65, 180 } };
    default:
        return { { G, 0, 420, 960, 120 } };
    }
}

Layout portraitLayout(int index)
{
    switch (index) {
    case 1:
        return { { G, 0, 700, 245, 260 }, { G, 335, 720, 205, 240 } };
    case 2:
        return { { G, 0, 820, 540, 140 }, { R, 245, 625, 72, 195 } };
    case 3:
        // Four ledges 100 apart above the base slab, with a stone pillar along the right edge.
        return { { G, 0, 420, 540, 24 }, { G, 0, 520, 540, 24 },  { G, 0, 620, 540, 24 },
                 { G, 0, 720, 540, 24 }, { G, 0, 820, 540, 140 }, { R, 510, 335, 30, 485 } };
    case 4:
        return { { G, 0, 240, 260, 720 }, { G, 335, 840, 205, 120 } };
    case 5:
        return { { G, 0, 860, 275, 100 }, { G, 275, 410, 265, 550 } };
    case 6:
        return { { G, 0, 780, 220, 180 },
                 { G, 335, 840, 205, 120 },
                 { R, 190, 620, 85, 160 },
                 { G, 325, 540, 155, 24 } };
    case 7:
        return { { G, 0, 860, 220, 100 }, { G, 245, 860, 125, 100 }, { G, 420, 820, 120, 140 } };
    case 8:
        return { { G, 0, 800, 170, 160 }, { G, 245, 800, 110, 160 }, { G, 435, 800, 105, 160 } };
    case 9:
        return { { G, 0, 860, 180, 100 }, { G, 250, 700, 120, 260 }, { G, 360, 300, 180, 660 } };
    case 10:
        return { { G, 0, 860, 540, 100 }, { G, 95, 690, 150, 170 } };
    case 11:
        return { { G, 0, 880, 180, 80 }, { G, 360, 600, 180, 360 } };
    case 12:
        return { { G, 0, 870, 150, 90 },
                 { G, 220, 860, 125, 100 },
                 { G, 385, 350, 155, 610 },
                 { R, 310, 500, 65, 360 },
                 { G, 340, 285, 150, 24 } };
    case 13:
        return { { G, 0, 300, 170, 660 }, { R, 170, 220, 260, 740 }, { G, 430, 550, 110, 410 } };
    case 14:
        return { { G, 0, 840, 540, 120 }, { R, 220, 610, 76, 230 } };
    case 15:
        return { { G, 0, 860, 160, 100 },
                 { G, 235, 860, 120, 100 },
                 { G, 410, 810, 130, 150 },
                 { G, 250, 740, 120, 24 } };
    case 16:
        return { { G, 0, 870, 150, 90 },
                 { G, 245, 870, 100, 90 },
                 { G, 385, 390, 155, 570 },
                 { R, 310, 500, 65, 370 } };
    case 17:
        return { { G, 0, 520, 190, 440 }, { G, 370, 870, 170, 90 }, { R, 165, 440, 150, 420 } };
    case 18:
        return { { G, 0, 880, 150, 80 }, { G, 230, 760, 120, 200 }, { G, 390, 370, 150, 590 } };
    case 19:
        return { { G, 0, 880, 540, 80 },
                 { G, 100, 650, 150, 230 },
                 { G, 380, 310, 160, 570 },
                 { R, 315, 540, 45, 340 } };
    case 20:
        return { { G, 0, 880, 140, 80 },
                 { G, 200, 880, 110, 80 },
                 { G, 370, 868, 70, 92 },
                 { G, 445, 768, 95, 192 },
                 { R, 265, 600, 45, 280 } };
    default:
        return { { G, 0, 800, 540, 160 } };
    }
}

void paintLayout(GameCore &core, const Layout &shapes)
{
    for (const Shape &shape : shapes) {
        if (shape.kind == Shape::R)
            core.drawRockRect(QRect(shape.x, shape.y, shape.w, shape.h));
        else
            core.drawGroundRect(shape.x, shape.y, shape.w, shape.h);
    }
}

} // namespace

void legacyPaintTerrain(GameCore &core, int index)
{
    paintLayout(core, core.layoutMode == Portrait ? portraitLayout(index) : landscapeLayout(index));
}

void legacyFillTerrain(LevelSpec &level, int index)
{
    for (LayoutMode mode : { Landscape, Portrait }) {
        for (const Shape &shape : mode == Portrait ? portraitLayout(index) : landscapeLayout(index))
            level.layout(mode).terrain.append(
                { shape.kind == Shape::R ? TerrainBlock::Stone : TerrainBlock::Soil,
                  QRect(shape.x, shape.y, shape.w, shape.h) });
        level.layout(mode).defined = true;
    }
}

} // namespace Pellwick
