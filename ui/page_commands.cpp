// startOrAdvance, retryMission, togglePause, openDossier, toggleAudio,
// quitGame, selectMission, prevMission, nextMission, setApproach,
// triggerTumblerTap, abortSafe and triggerSafe, as the page calls them.
#include "ui/page_commands.hpp"

#include "game/game.hpp"

namespace nj {
namespace {

// A no-parameter command that needs a game; nothing happens without one.
std::function<void()> onGame(GameCommandTarget& target, void (*action)(Game&)) {
    return [&target, action] {
        if (Game* game = target.commandGame()) action(*game);
    };
}

}  // namespace

int bindPageCommands(const ApiContext& context, GameCommandTarget& target) {
    context.api->setConstantString("version", "2.0");
    const ParamSpec none{};
    ParamSpec missionIndex{};
    missionIndex.names[0] = "missionIndex";
    missionIndex.count = 1;
    ParamSpec approachIdx{};
    approachIdx.names[0] = "approachIdx";
    approachIdx.count = 1;

    int bound = 0;
    auto bind = [&](const char* name, const ParamSpec& spec, auto action) {
        bound += bindFunction(context, name, &target, spec, std::move(action)) ? 1 : 0;
    };
    bind("startOrAdvance", none, onGame(target, [](Game& g) { g.startOrAdvance(); }));
    bind("retryMission", none, onGame(target, [](Game& g) { g.retryMission(); }));
    bind("togglePause", none, onGame(target, [](Game& g) { g.togglePause(); }));
    bind("openDossier", none, onGame(target, [](Game& g) { g.openDossier(); }));
    bind("toggleAudio", none, onGame(target, [](Game& g) { g.toggleAudio(); }));
    bind("quitGame", none, std::function<void()>([&target] { target.quitGame(); }));
    bind("selectMission", missionIndex, std::function<void(double)>([&target](double value) {
             if (Game* game = target.commandGame()) game->selectMissionFromPage(value);
         }));
    bind("prevMission", none, onGame(target, [](Game& g) { g.prevMission(); }));
    bind("nextMission", none, onGame(target, [](Game& g) { g.nextMission(); }));
    bind("setApproach", approachIdx, std::function<void(double)>([&target](double value) {
             if (Game* game = target.commandGame()) game->setApproachFromPage(value);
         }));
    bind("triggerTumblerTap", none, onGame(target, [](Game& g) {
             if (g.safeActive) g.tapTumbler();
         }));
    bind("abortSafe", none, onGame(target, [](Game& g) { g.abortSafe(); }));
    bind("triggerSafe", none, onGame(target, [](Game& g) { g.triggerSafe(); }));
    return bound;
}

}  // namespace nj
