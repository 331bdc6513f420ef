// Pressure plates: dark floor panels labelled ALARM, red and TRIPPED once stepped on.

#include "render/font.hpp"
#include "render/primitives.hpp"
#include "render/scene/scene.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

void drawPressurePlates(Batch& batch, const Game& game) {
    drawPressurePlatesWith(batch, game, SceneAccessibility{});
}

void drawPressurePlatesWith(Batch& batch, const Game& game,
                            const SceneAccessibility& accessibility) {
    for (const PressurePlate& p : game.pressurePlates) {
        const bool pressed = p.pressed != 0;
        const Color label = pressed ? kAlarmRed : kGold;
        fillRect(batch, p.x - 2, p.y - 2, p.w + 4, p.h + 4, {0, 0, 0, 0.45f});
        fillRect(batch, p.x, p.y, p.w, p.h,
                 pressed ? Color{0.27f, 0.04f, 0.04f, 1} : Color{0.13f, 0.1f, 0.06f, 1});
        rectOutline(batch, p.x, p.y, p.w, p.h, 1.5f, label);
        if (!accessibility.largeLabels)  // named over the walls instead
            drawText(batch, pressed ? "TRIPPED" : "ALARM", p.x + p.w / 2, p.y + p.h / 2 - 4, 0.8f,
                     label, TextAlign::Center);
    }
}

}  // namespace nj
