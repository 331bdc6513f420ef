// Keys and the page's commands: what acts at once and what is left
// held in heldKeys, which the key map turns into the player's command
// (player_command.cpp). Writes heldKeys, gameState, safeActive and
// whatever the commands it reaches write.
#include <algorithm>

#include "game/game.hpp"
#include "game/player_options.hpp"
#include "game/rules_math.hpp"
#include "game/run_recorder.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// Completing the directive by key.
constexpr int kDirectiveBurst = 30;
constexpr float kDirectiveBannerSeconds = 1.5f;

// The quit question takes the keyboard: the key that asked (P or Esc) quits,
// Enter or Tab resumes the waiting mission, anything else leaves it asking.
void answerQuitQuestion(Game& game, std::uint32_t key) {
    if (key == vk::kP || key == vk::kEsc) {
        game.quitGame();
    } else if (key == vk::kEnter || key == vk::kTab) {
        game.openDossier();
    }
}

}  // namespace

void Game::onKeyDown(std::uint32_t key) {
    // A key the options screen takes, or one that ends the run, is not the
    // run's: a replay has no options screen, and starts where the run did.
    const bool forTheRun = runRecorded() && !optionsOpen;
    const std::uint64_t run = forTheRun ? recorder->runsBegun() : 0;
    pressKey(key);
    if (forTheRun && runRecorded() && recorder->runsBegun() == run && !optionsOpen)
        recorder->key(key);
}

void Game::act(RunAction action) {
    // Recorded once done, as a key is, so an action that ends the run is
    // not the run's.
    const bool forTheRun = runRecorded();
    const std::uint64_t run = forTheRun ? recorder->runsBegun() : 0;
    perform(action);
    if (forTheRun && runRecorded() && recorder->runsBegun() == run) recorder->action(action);
}

void Game::perform(RunAction action) {
    switch (action) {
        case RunAction::TogglePause:
            togglePause();
            return;
        case RunAction::TumblerTap:
            tapTumbler();
            return;
        case RunAction::AbortSafe:
            abortSafe();
            return;
        case RunAction::TriggerSafe:
            triggerSafe();
            return;
        case RunAction::ToggleAudio:
            toggleAudio();
            return;
        case RunAction::OpenDossier:
            openDossier();
            return;
        case RunAction::ToggleRequisition:
            toggleRequisition();
            return;
        case RunAction::BuyPerk0:
        case RunAction::BuyPerk1:
        case RunAction::BuyPerk2:
            buyPerk(static_cast<std::uint64_t>(action) -
                    static_cast<std::uint64_t>(RunAction::BuyPerk0));
            return;
        case RunAction::AskQuit:
            requestQuit();
            return;
        case RunAction::AskNewCampaign:
            askNewCampaign();
            return;
        case RunAction::CloseDialog:
            closeDialog();
            return;
        case RunAction::CopyMissionCode:
            copySelectedCode();
            return;
        case RunAction::ApproachBanner:
            showApproachBanner();
            return;
    }
}

void Game::pressKey(std::uint32_t key) {
    // The options screen takes the keyboard: the page walks its rows, and
    // only Esc means something to the game.
    if (optionsOpen) {
        if (key == vk::kEsc) closeOptions();
        return;
    }
    // The safe takes the keyboard: only taps and the way out count.
    if (safeActive) {
        if (key == vk::kSpace || key == vk::kE) {
            tapTumbler();
        } else if (key == vk::kEsc) {
            safeActive = 0;
        }
        return;
    }

    if (confirmQuit && gameState == GameState::Briefing) {
        answerQuitQuestion(*this, key);
        return;
    }
    if (gameState == GameState::Briefing && dossierQuestionKey(key)) return;
    if (requisitionOpen && gameState == GameState::Briefing) {
        requisitionKey(key);
        return;
    }
    // O: the options screen over the dossier or the pause screen (once no
    // question or list there holds the keys).
    if (key == vk::kO && options &&
        (gameState == GameState::Briefing || gameState == GameState::Paused)) {
        openOptions();
        return;
    }

    switch (key) {
        case vk::kE:
            if (gameState == GameState::Playing && pressInteract()) return;
            heldKeys.insert(key);
            return;
        case vk::kF1:
        case vk::kF2:
        case vk::kF3:
        case vk::kF4:
            setApproach(key - vk::kF1);
            return;
        case vk::kTab:
            openDossier();
            return;
        case vk::kSpace:
            if (takedownTarget != kNoGuard) {
                takedown();
            } else {
                heldKeys.insert(key);
            }
            return;
        case vk::kP:
        case vk::kEsc:
            if (gameState == GameState::Briefing) {
                requestQuit();
            } else {
                togglePause();
            }
            return;
        case vk::kR:
            loadMission(true);
            return;
        case vk::kShift:
            // Auto-repeat brings more key-downs while the key is held: only
            // the first press of a hold switches sneaking.
            if (assists.toggleSneak && heldKeys.count(key) == 0)
                sneakLatched = sneakLatched ? 0 : 1;
            heldKeys.insert(key);
            return;
        case vk::kN:
            if (gameState == GameState::Briefing) {
                askNewCampaign();
            } else {
                heldKeys.insert(key);
            }
            return;
        case vk::kQ:
            if (gameState == GameState::Briefing) {
                toggleRequisition();
            } else {
                heldKeys.insert(key);
            }
            return;
        case vk::kEnter:
            if (gameState == GameState::Playing || gameState == GameState::Paused) {
                heldKeys.insert(key);
            } else if (gameState == GameState::MissionFailed) {
                loadMission(true);
            } else {
                startOrAdvance();
            }
            return;
        default:
            heldKeys.insert(key);
            return;
    }
}

bool Game::pressInteract() {
    switch (interactionHere()) {
        case Interaction::Directive:
            dynamicObjective.done = 1;
            playCue(CueChime);
            spawnBurst(dynamicObjective.x, dynamicObjective.y, kCyan, kDirectiveBurst);
            showBanner("DIRECTIVE COMPLETE: " + dynamicObjective.label, kDirectiveBannerSeconds,
                       kCyan);
            return true;
        case Interaction::Intel:
            secureIntel();
            return true;
        case Interaction::SafeTerminal:
            openSafe();
            return true;
        case Interaction::None:
            return false;
    }
    return false;
}

void Game::onKeyUp(std::uint32_t key) {
    heldKeys.erase(key);
}

void Game::releaseAllKeys() {
    const std::set<std::uint32_t> held = heldKeys;  // onKeyUp edits the set
    for (const std::uint32_t key : held) onKeyUp(key);
}

void Game::retryMission() {
    loadMission(true);
}

void Game::togglePause() {
    if (gameState == GameState::Playing) {
        gameState = GameState::Paused;
    } else if (gameState == GameState::Paused) {
        gameState = GameState::Playing;
    }
}

void Game::openDossier() {
    confirmQuit = false;
    closeDialog();
    if (gameState == GameState::Playing || gameState == GameState::Paused) {
        // The run waits: what the player does on the dossier is part of it
        // once they come back to it; if they never do, it ends as they left it.
        if (runRecorded()) recorder->leftForDossier(*this);
        gameState = GameState::Briefing;
        refreshCustomMissions();
    } else if (gameState == GameState::Briefing) {
        // A custom operation that cannot be played is only ever shown.
        if (customSelected() && !customMissions[static_cast<std::size_t>(customIndex)].playable())
            return;
        gameState = GameState::Playing;
        // A mission left waiting carries on with its run; one fresh from its
        // briefing starts one.
        if (missionClock == 0.0f) {
            beginRun();
        } else if (runRecorded()) {
            recorder->backInPlay();
        }
    } else if (gameState == GameState::MissionFailed) {
        // Back to the operation's file to choose another approach: the failed
        // run is over, so nothing waits there.
        loadMission(false);
    }
}

void Game::toggleAudio() {
    if (!audio) return;
    audio->setEnabled(!audio->enabled());
    if (options) options->setMuted(!audio->enabled());  // the mute is remembered
}

void Game::quitGame() {
    if (quitHook) quitHook();
}

bool Game::missionWaiting() const {
    return gameState == GameState::Briefing && missionClock > 0.0f;
}

void Game::requestQuit() {
    if (gameState != GameState::Briefing) return;
    if (missionWaiting() && !confirmQuit) {
        confirmQuit = true;
        return;
    }
    quitGame();
}

void Game::prevMission() {
    const std::uint64_t m = std::min<std::uint64_t>(campaignMaps.size(), kMaxMissions);
    if (m == 0) return;
    selectMission((missionIndex + m - 1) % m);
}

void Game::nextMission() {
    const std::uint64_t m = std::min<std::uint64_t>(campaignMaps.size(), kMaxMissions);
    if (m == 0) return;
    selectMission((missionIndex + 1) % m);
}

void Game::abortSafe() {
    safeActive = 0;
}

void Game::triggerSafe() {
    // The page's own control opens it from anywhere; E needs the terminal.
    if (gameState == GameState::Playing && safeStillLocked() && !safeActive) openSafe();
}

void Game::selectMissionFromPage(double missionIndexArg) {
    // Negative values wrap to huge indices, which selectMission ignores.
    selectMission(static_cast<std::uint64_t>(saturatingTruncate<std::int64_t>(missionIndexArg)));
}

void Game::setApproachFromPage(double approachArg) {
    setApproach(static_cast<std::uint32_t>(saturatingTruncate<std::int32_t>(approachArg)));
}

}  // namespace nj
