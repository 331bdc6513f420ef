// The page's commands, in the order the page's "game" object binds them.
#include "ui/page_command_table.hpp"

#include "game/game.hpp"

namespace nj {
namespace {

template <void (Game::*Action)()>
void onGame(GameCommandTarget& target, double) {
    if (Game* game = target.commandGame()) (game->*Action)();
}

template <void (Game::*Action)(double)>
void onGameWithNumber(GameCommandTarget& target, double argument) {
    if (Game* game = target.commandGame()) (game->*Action)(argument);
}

// A command that acts at once during a run, so a recorded run holds it.
template <RunAction Action>
void onRun(GameCommandTarget& target, double) {
    if (Game* game = target.commandGame()) game->act(Action);
}

// Quitting is the host's business, so it works with no game at all.
void quit(GameCommandTarget& target, double) {
    target.quitGame();
}

template <ReplayRequest Request>
void onReplay(GameCommandTarget& target, double argument) {
    target.replayRequest(Request, argument);
}

void onEditor(GameCommandTarget& target, std::string_view request) {
    target.editorRequest(request);
}

constexpr PageCommand kPageCommands[] = {
    {"startOrAdvance", nullptr, onGame<&Game::startOrAdvance>},
    {"retryMission", nullptr, onGame<&Game::retryMission>},
    {"togglePause", nullptr, onRun<RunAction::TogglePause>},
    {"openDossier", nullptr, onRun<RunAction::OpenDossier>},
    {"toggleAudio", nullptr, onRun<RunAction::ToggleAudio>},
    {"quitGame", nullptr, quit},
    {"selectMission", "missionIndex", onGameWithNumber<&Game::selectMissionFromPage>},
    {"prevMission", nullptr, onGame<&Game::prevMission>},
    {"nextMission", nullptr, onGame<&Game::nextMission>},
    {"setApproach", "approachIdx", onGameWithNumber<&Game::setApproachFromPage>},
    // A tap with the safe closed does nothing.
    {"triggerTumblerTap", nullptr, onRun<RunAction::TumblerTap>},
    {"abortSafe", nullptr, onRun<RunAction::AbortSafe>},
    {"triggerSafe", nullptr, onRun<RunAction::TriggerSafe>},
    // The dossier's QUIT button: asks first while a mission waits there.
    {"askQuit", nullptr, onRun<RunAction::AskQuit>},
    // The requisition list on the dossier; buyPerk takes a perk's index in
    // save order and refuses a bad index, an owned perk or too little intel.
    {"toggleRequisition", nullptr, onRun<RunAction::ToggleRequisition>},
    {"buyPerk", "perkIndex", onGameWithNumber<&Game::buyPerkFromPage>},
    // NEW CAMPAIGN asks first; newCampaign acts only while it asks.
    {"askNewCampaign", nullptr, onRun<RunAction::AskNewCampaign>},
    {"newCampaign", nullptr, onGame<&Game::startNewCampaign>},
    // Closes the campaign-complete screen or the new-campaign question.
    {"closeDialog", nullptr, onRun<RunAction::CloseDialog>},
    // Custom operations on the dossier. Copying and pasting ask the shell,
    // which owns the clipboard, through the game's hooks.
    {"selectCustomMission", "customIndex", onGameWithNumber<&Game::selectCustomMissionFromPage>},
    {"playCustomMission", "customIndex", onGameWithNumber<&Game::playCustomMissionFromPage>},
    {"copyMissionCode", nullptr, onGame<&Game::copyMissionCode>},
    {"pasteMissionCode", nullptr, onGame<&Game::pasteMissionCode>},
    // The options screen; without player options they do nothing.
    {"openOptions", nullptr, onGame<&Game::openOptions>},
    {"closeOptions", nullptr, onGame<&Game::closeOptions>},
    {"setOption", "row", onGameWithNumber<&Game::stepOptionFromPage>},
    {"lowerOption", "row", onGameWithNumber<&Game::lowerOptionFromPage>},
    {"setVolume", "percent", onGameWithNumber<&Game::setVolumeFromPage>},
    {"listenForKey", "target", onGameWithNumber<&Game::listenForKeyFromPage>},
    {"resetBindings", nullptr, onGame<&Game::resetBindings>},
    // Watching the run that just ended, from the end screens, and the
    // replay's own controls; the shell plays it, so they work with no game.
    {"watchReplay", nullptr, onReplay<ReplayRequest::Watch>},
    {"replayPause", nullptr, onReplay<ReplayRequest::TogglePause>},
    {"replaySpeed", "speed", onReplay<ReplayRequest::Speed>},
    {"replayRestart", nullptr, onReplay<ReplayRequest::Restart>},
    {"leaveReplay", nullptr, onReplay<ReplayRequest::Leave>},
    // The mission editor's every request, as one JSON text ({"do":"undo"}...);
    // the shell's editor answers them (ui/README.md lists them).
    {"editor", nullptr, nullptr, "request", onEditor},
};

}  // namespace

std::span<const PageCommand> pageCommands() {
    return kPageCommands;
}

const PageCommand* findPageCommand(std::string_view name) {
    for (const PageCommand& command : kPageCommands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

}  // namespace nj
