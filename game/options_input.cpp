// The options screen's side of input: opening and closing it, and the page's
// commands that change an option. Writes optionsOpen, and the assists through
// the player options.
#include <cmath>

#include "game/game.hpp"
#include "game/player_options.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

// A row number from the page, or Count for anything that is not a row.
OptionRow rowFromPage(double rowArg) {
    const auto row = saturatingTruncate<std::int32_t>(rowArg);
    return row >= 0 && row < static_cast<std::int32_t>(kOptionRowCount)
               ? static_cast<OptionRow>(row)
               : OptionRow::Count;
}

}  // namespace

void Game::openOptions() {
    if (!options) return;
    if (gameState == GameState::Briefing || gameState == GameState::Paused) optionsOpen = 1;
}

void Game::closeOptions() {
    optionsOpen = 0;
    if (options) options->listen(kNotListening);
}

void Game::stepOptionFromPage(double rowArg) {
    if (!options || rowFromPage(rowArg) == OptionRow::Count) return;
    options->step(rowFromPage(rowArg), +1);
    options->applyTo(*this);
}

void Game::lowerOptionFromPage(double rowArg) {
    if (!options || rowFromPage(rowArg) == OptionRow::Count) return;
    options->step(rowFromPage(rowArg), -1);
    options->applyTo(*this);
}

void Game::setVolumeFromPage(double percentArg) {
    if (!options || std::isnan(percentArg)) return;
    options->setVolume(percentArg);
}

void Game::listenForKeyFromPage(double targetArg) {
    if (!options || !optionsOpen) return;
    const auto target = saturatingTruncate<std::int32_t>(targetArg);
    const bool action = target >= 0 && target < static_cast<std::int32_t>(kBoundActionCount);
    const bool padRole = target >= kListenPadBase &&
                         target < kListenPadBase + static_cast<std::int32_t>(kPadRoleCount);
    options->listen(action || padRole ? target : kNotListening);
}

void Game::resetBindings() {
    if (options) options->resetBindings();
}

}  // namespace nj
