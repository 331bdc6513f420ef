// Mission flow: starting, advancing, selecting missions and choosing the
// infiltration approach. Writes missionIndex, approach, gameState (through
// loadMission) and the banner.
#include <algorithm>

#include "game/enum_names.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

constexpr float kLockedBannerSeconds = 1.4f;
constexpr float kApproachBannerSeconds = 1.2f;

void lockedWarning(Game& game) {
    game.playCue(CueBuzz);
    game.showBanner("OPERATION LOCKED // COMPLETE PREVIOUS OPERATION FIRST", kLockedBannerSeconds,
                    kRuby);
}

}  // namespace

void Game::startOrAdvance() {
    if (gameState == GameState::Briefing) {
        // A mission file that failed its check is listed, never played.
        if (!missionErrors.empty()) return;
        if (customSelected()) {
            if (customMissions[static_cast<std::size_t>(customIndex)].playable()) loadMission(true);
            return;
        }
        if (missionIndex > highestUnlocked) {
            lockedWarning(*this);
            return;
        }
        loadMission(true);
    } else if (gameState == GameState::MissionComplete) {
        // A custom operation has no next one: back to its briefing.
        if (customSelected()) {
            refreshCustomMissions();
            loadMission(false);
            return;
        }
        refreshCustomMissions();  // the dossier opens again
        ++missionIndex;
        // Without a campaign the built-in mission is a campaign of one.
        const bool wonTheLast = missionIndex >= std::max<std::size_t>(campaignMaps.size(), 1);
        if (wonTheLast) missionIndex = 0;
        loadMission(false);
        // The last operation won with every one complete: the campaign's
        // end is shown over the dossier, which opens on the first operation.
        campaignEndShown = wonTheLast && campaignComplete();
    }
}

void Game::selectMission(std::uint64_t index) {
    if (index >= campaignMaps.size()) return;
    // The run in play ends as it stood, before anything of it changes.
    endRun(RunOutcome::Restarted);
    leaveCustomMission();
    missionIndex = index;
    loadMission(false);  // a locked mission's briefing can still be read
    if (index > highestUnlocked) lockedWarning(*this);
}

void Game::setApproach(std::uint32_t value) {
    endRun(RunOutcome::Restarted);
    approach = static_cast<Approach>(value);
    loadMission(gameState == GameState::Playing);
    // After the run it begins in play has begun, so that run records it.
    act(RunAction::ApproachBanner);
}

void Game::showApproachBanner() {
    showBanner("INFILTRATION APPROACH: " + std::string(approachName(approach)),
               kApproachBannerSeconds, kCyan);
}

}  // namespace nj
