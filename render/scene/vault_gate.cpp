// The vault gate: brass bars that fade away as the gate opens.

#include "render/primitives.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/repeated_parts.hpp"
#include "render/scene/scene.hpp"

namespace nj {

void drawVaultGate(Batch& batch, const Game& game) {
    if (!(game.gateOpen < 1.0f)) return;
    const float a = 1.0f - game.gateOpen;
    const Rect& g = game.gate;
    fillRect(batch, g.x - 4, g.y, g.w + 8, g.h + 6, {0.02f, 0.02f, 0.03f, 0.65f * a});
    fillRect(batch, g.x - 2, g.y, g.w + 4, g.h, {0.14f, 0.11f, 0.07f, a});
    const Color rail{0.76f, 0.6f, 0.26f, a};
    fillRect(batch, g.x - 2, g.y, 4, g.h, rail);
    fillRect(batch, g.x + g.w - 2, g.y, 4, g.h, rail);
    for (int bar = 0; bar < kMaxRepeatedParts; ++bar) {
        const float by = g.y + 4 + 13 * static_cast<float>(bar);
        if (!(by < g.y + g.h)) break;
        fillRect(batch, g.x, by + 2, g.w, 3, {0.03f, 0.03f, 0.04f, 0.7f * a});
        drawLine(batch, g.x, by, g.x + g.w, by, 3.2f, {0.84f, 0.67f, 0.3f, a});
        drawLine(batch, g.x + 2, by - 0.8f, g.x + g.w - 2, by - 0.8f, 1.2f,
                 {1.0f, 0.9f, 0.58f, 0.9f * a});
    }
    rectOutline(batch, g.x - 2, g.y, g.w + 4, g.h, 1.5f, withAlpha(kGateTrim, a));
}

}  // namespace nj
