#pragma once
// How the goals on the field look where two layers draw them: the thing
// itself, and its large label over the walls when the player asked for
// larger text.

#include <cmath>

#include "core/color.hpp"
#include "game/game.hpp"
#include "render/scene/exit_state.hpp"
#include "render/scene/scene_palette.hpp"

namespace nj {

// The bob of the floating pickups, in canvas units.
inline float cardBob(float clock) {
    return 3 * std::sin(3 * clock);
}
inline float keycardBob(float clock) {
    return 3 * std::sin(3.5f * clock);
}
inline float intelBob(float clock) {
    return 2 * std::sin(3.2f * clock);
}

// The terminal's cyan, green once the cipher is cracked.
inline Color terminalTint(const Game& game) {
    return game.cipherDecrypted != 0 ? Color{0.29f, 0.87f, 0.5f, 1} : Color{0.05f, 0.82f, 1.0f, 1};
}

inline constexpr Color kIntelInk{0.75f, 0.96f, 1.0f, 1};
inline constexpr Color kGateTrim{0.92f, 0.76f, 0.38f, 1};

struct DirectiveLook {
    Color color;
    const char* label;
};
inline DirectiveLook directiveLook(ObjectiveType type) {
    if (type == ObjectiveType::Informant) return {kAllyGreen, "ALLY"};
    if (type == ObjectiveType::Courier) return {kGold, "COURIER"};
    if (type == ObjectiveType::SabotageNode) return {kAlarmRed, "CORE"};
    return {kAlarmRed, "OMEGA"};
}

inline Color altExitOutline(const Game& game) {
    return exitArmed(game) ? kAllyGreen : withAlpha(kCyan, 0.45f);
}
inline Color getawayInk(const Game& game) {
    return exitArmed(game) ? kGold : Color{0.58f, 0.64f, 0.72f, 1};
}

}  // namespace nj
