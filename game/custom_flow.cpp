// The dossier's custom operations: selecting and playing one, and passing
// missions on as codes. Writes customMissions, customIndex, the loaded world
// (through loadMission) and the banner; never the campaign's progress.
#include <algorithm>

#include "data/map_token.hpp"
#include "data/player_files.hpp"
#include "game/game.hpp"
#include "game/mission_world.hpp"
#include "game/rules_math.hpp"

namespace nj {
namespace {

constexpr float kCodeBannerSeconds = 3.0f;

std::ptrdiff_t indexFromPage(double arg, std::size_t count) {
    const std::int64_t index = saturatingTruncate<std::int64_t>(arg);
    if (index < 0 || static_cast<std::uint64_t>(index) >= count) return -1;
    return static_cast<std::ptrdiff_t>(index);
}

std::ptrdiff_t findByFileName(const std::vector<CustomMission>& missions, const std::string& name) {
    for (std::size_t i = 0; i < missions.size(); ++i) {
        if (missions[i].fileName == name) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
}

}  // namespace

void Game::buildCustomMission() {
    const CustomMission& mission = customMissions[static_cast<std::size_t>(customIndex)];
    if (!mission.playable()) return;
    // The built-in mission's safe, and no campaign's bonuses.
    rebuildBuiltInMission();
    buildMissionFromToken(mission.code, 0, CarriedBonuses{});
}

void Game::leaveCustomMission() {
    if (!customSelected()) return;
    customIndex = -1;
    // With no campaign the built-in mission is the one to go back to; a
    // campaign's own is built over it by the next load.
    rebuildBuiltInMission();
}

void Game::refreshCustomMissions() {
    const std::string selectedName =
        customSelected() ? customMissions[static_cast<std::size_t>(customIndex)].fileName : "";
    const std::string selectedCode =
        customSelected() ? customMissions[static_cast<std::size_t>(customIndex)].code : "";
    customMissions = scanMissionFolder(missionsFolder, customMissions);
    if (!customSelected()) return;
    customIndex = findByFileName(customMissions, selectedName);
    if (!customSelected()) {
        // Its file is gone: the campaign's selection again.
        rebuildBuiltInMission();
        if (gameState == GameState::Briefing) loadMission(false);
    } else if (gameState == GameState::Briefing &&
               customMissions[static_cast<std::size_t>(customIndex)].code != selectedCode) {
        // Edited while the dossier was closed: the briefing shows the new version.
        loadMission(false);
    }
}

void Game::selectCustomMissionFromPage(double customIndexArg) {
    const std::ptrdiff_t index = indexFromPage(customIndexArg, customMissions.size());
    if (index < 0 || gameState != GameState::Briefing) return;
    customIndex = index;
    // A broken one is shown with its error over the world that stood before,
    // reset, so nothing is left to resume.
    loadMission(false);
}

void Game::playCustomMissionFromPage(double customIndexArg) {
    selectCustomMissionFromPage(customIndexArg);
    if (customSelected() && indexFromPage(customIndexArg, customMissions.size()) == customIndex)
        startOrAdvance();
}

void Game::copyMissionCode() {
    if (!customSelected() || !writeClipboardHook) return;
    // Its banner stays in a waiting run, which records it.
    act(RunAction::CopyMissionCode);
}

void Game::copySelectedCode() {
    if (!customSelected()) return;
    const CustomMission& mission = customMissions[static_cast<std::size_t>(customIndex)];
    if (!mission.playable()) {
        playCue(CueBuzz);
        showBanner("NO CODE // THIS FILE HAS ERRORS", kCodeBannerSeconds, kRuby);
        return;
    }
    // A replay has no clipboard: it shows the banner the run showed.
    if (writeClipboardHook) writeClipboardHook(mission.code);
    playCue(CueChime);
    showBanner("MISSION CODE COPIED: " + mission.name, kCodeBannerSeconds, kCyan);
}

void Game::pasteMissionCode() {
    if (!readClipboardHook || gameState != GameState::Briefing) return;
    // What the clipboard held is in no run's record: a waiting run ends here.
    endRun(RunOutcome::LeftForDossier);
    const std::string pasted = readClipboardHook();
    std::string refusal;
    const std::string json = readMissionCode(pasted, refusal);
    if (refusal.empty()) {
        // The same mission already listed, under whatever file name: shown, not copied again.
        const std::string code = encodeMapToken(json, mapSaltFor(json));
        for (std::size_t i = 0; i < customMissions.size(); ++i) {
            if (customMissions[i].code != code) continue;
            selectCustomMissionFromPage(static_cast<double>(i));
            playCue(CueChime);
            showBanner("ALREADY AMONG YOUR CUSTOM OPERATIONS: " + customMissions[i].name,
                       kCodeBannerSeconds, kCyan);
            return;
        }
    }
    const std::string fileName = missionCodeFileName(pasted);
    if (refusal.empty() && missionsFolder.empty())
        refusal = "NO MISSIONS FOLDER TO SAVE THE CODE IN";
    if (refusal.empty()) {
        const std::string folder =
            missionsFolder.back() == '/' ? missionsFolder : missionsFolder + "/";
        // The code exactly as it travels, one line.
        const std::size_t first = pasted.find_first_not_of(" \t\r\n");
        const std::size_t last = pasted.find_last_not_of(" \t\r\n");
        if (!writePlayerFile(folder + fileName, pasted.substr(first, last - first + 1) + "\n"))
            refusal = "MISSION CODE NOT SAVED // THE MISSIONS FOLDER CANNOT BE WRITTEN";
    }
    if (!refusal.empty()) {
        playCue(CueBuzz);
        showBanner(refusal, kCodeBannerSeconds, kRuby);
        return;
    }
    refreshCustomMissions();
    const std::ptrdiff_t saved = findByFileName(customMissions, fileName);
    playCue(CueChime);
    if (saved < 0) {
        // Saved, but past the dossier's 64: say where it went.
        showBanner("MISSION CODE SAVED AS " + fileName + " // THE LIST IS FULL", kCodeBannerSeconds,
                   kGold);
        return;
    }
    selectCustomMissionFromPage(static_cast<double>(saved));
    showBanner("CUSTOM OPERATION ADDED: " + customMissions[static_cast<std::size_t>(saved)].name,
               kCodeBannerSeconds, kEmerald);
}

}  // namespace nj
