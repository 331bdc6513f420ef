// Large labels: with larger text the goals' words are drawn big, over the
// walls so a nearby wall top never hides them.

#include <cctype>
#include <string>
#include <string_view>

#include "render/scene/label_plate.hpp"
#include "render/scene/marker_looks.hpp"
#include "render/scene/scene.hpp"
#include "render/vertex.hpp"

namespace nj {
namespace {

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

void labelPickups(Batch& batch, const Game& game, bool colourGlyphs) {
    const float h = largeLabelHeight();
    if (!game.cardTaken) {
        const float b = cardBob(game.animClock);
        drawLargeLabel(batch, "CIPHER", game.card.x, game.card.y - 12 + b - h, kGold);
    }
    const float b = keycardBob(game.animClock);
    for (const Keycard& k : game.keycards) {
        if (k.taken) continue;
        // Under the card, or above it (and its colour tag) at the canvas's foot.
        const float y = k.y + b, below = y + 10;
        const float above = y - (colourGlyphs ? 24.0f : 9.0f) - h;
        const bool fits = below + h <= kCanvasHeight - kLabelEdgeMargin;
        drawLargeLabel(batch, upperCase(k.color), k.x, fits ? below : above, colorForName(k.color));
    }
}

void labelVault(Batch& batch, const Game& game) {
    drawLargeLabel(batch, "SAFE", game.terminal.x, game.terminal.y + 14, terminalTint(game));
    if (game.gateOpen < 1.0f) {
        const Rect& g = game.gate;
        drawLargeLabel(batch, "VAULT", g.x + g.w / 2, g.y + (g.h - largeLabelHeight()) / 2,
                       withAlpha(kGateTrim, 1.0f - game.gateOpen));
    }
}

void labelPlates(Batch& batch, const Game& game) {
    for (const PressurePlate& p : game.pressurePlates) {
        const bool pressed = p.pressed != 0;
        drawLargeLabel(batch, pressed ? "TRIPPED" : "ALARM", p.x + p.w / 2,
                       p.y + (p.h - largeLabelHeight()) / 2, pressed ? kAlarmRed : kGold);
    }
}

void labelMarkers(Batch& batch, const Game& game) {
    const Objective& intel = game.optionalIntel;
    if (intel.active && !intel.done)
        drawLargeLabel(batch, "INTEL", intel.x, intel.y + intelBob(game.animClock) + 22, kIntelInk);
    const Objective& d = game.dynamicObjective;
    if (d.active && !d.done) {
        const DirectiveLook look = directiveLook(d.type);
        drawLargeLabel(batch, look.label, d.x, d.y + 25, look.color);
    }
    if (game.altExitActive) {
        const Rect& r = game.altExit;
        drawLargeLabel(batch, "ALT EXFIL", r.x + r.w / 2, r.y + r.h - 15, altExitOutline(game));
    }
    const Rect& e = game.exit;
    drawLargeLabel(batch, "GETAWAY", e.x + e.w / 2, e.y + e.h - 16, getawayInk(game));
}

}  // namespace

void drawLargeLabels(Batch& batch, const Game& game, const SceneAccessibility& accessibility) {
    if (!accessibility.largeLabels) return;
    labelPlates(batch, game);
    labelPickups(batch, game, accessibility.colourGlyphs);
    labelVault(batch, game);
    labelMarkers(batch, game);
}

}  // namespace nj
