// nightjar-sim: plays the game headless from a script of inputs and prints
// state lines. Runs in the current directory, like the game.
#include <iostream>
#include <sstream>
#include <string>

#include "data/player_files.hpp"
#include "data/regular_file.hpp"
#include "game/game.hpp"
#include "game/mission_file.hpp"
#include "game/player_options.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace {

// The longest playthrough is a few thousand lines; a script past this is a
// mistake, not a test.
constexpr std::size_t kMaxScriptBytes = 64u << 20;

int usage() {
    std::cerr << "usage: nightjar-sim [--campaign FILE | --mission FILE.json] SCRIPT"
                 "   (SCRIPT '-' reads stdin)\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string campaign;
    std::string mission;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--campaign" && i + 1 < argc) {
            campaign = argv[++i];
        } else if (arg == "--mission" && i + 1 < argc) {
            mission = argv[++i];
        } else if (scriptPath.empty() && (arg == "-" || arg.rfind("--", 0) != 0)) {
            scriptPath = arg;
        } else {
            return usage();
        }
    }
    if (scriptPath.empty() || (!campaign.empty() && !mission.empty())) return usage();

    // A script file must be a regular file: a named pipe given by mistake
    // would hold the harness forever ("-" reads standard input on purpose).
    std::istringstream file;
    if (scriptPath != "-") {
        std::string text;
        if (!nj::readRegularFile(scriptPath, kMaxScriptBytes, text)) {
            std::cerr << "nightjar-sim: cannot read script " << scriptPath << "\n";
            return 2;
        }
        file.str(std::move(text));
    }
    std::istream& script = scriptPath == "-" ? std::cin : file;

    // No sound device: the engine stand-in only keeps its enabled flag.
    nj::SilentAudio audio;
    nj::Game game(&audio);
    // The same data and the same save the game would use from here.
    const nj::GameLocation location = nj::locateGameData(nj::executableDir(), NJ_INSTALL_DATA_DIR);
    const nj::PlayerFiles files = nj::PlayerFiles::forLocation(location);
    game.savePath = files.path(nj::PlayerFile::Save);
    game.recordsPath = files.path(nj::PlayerFile::Records);
    // The player's options as the game reads them, so the harness shows what a
    // player would see; a script's changes never reach the player's file.
    nj::PlayerOptions playerOptions(files.path(nj::PlayerFile::Settings));
    playerOptions.load();
    playerOptions.keepFileUnwritten();
    playerOptions.applyTo(game);
    game.options = &playerOptions;
    if (!mission.empty()) {
        // A mission file is played on its own: its messages go to stderr and
        // its errors to the dossier, and no save.dat is touched.
        for (const std::string& message : nj::loadMissionFile(game, mission))
            std::cerr << message << "\n";
    } else if (!campaign.empty()) {
        game.loadCampaign(campaign);
    } else {
        game.loadFirstCampaign(location.campaignPaths());
    }
    // The player's custom operations, as the dossier lists them at start-up.
    game.missionsFolder = nj::PlayerFiles::forLocation(location).path(nj::PlayerFile::Missions);
    game.refreshCustomMissions();
    game.update(0.0f);  // the first frame before any input, as the game does

    nj::ScriptRunner runner(game, std::cout);
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        try {
            runner.runLine(line);
        } catch (const nj::ScriptError& e) {
            std::cout.flush();
            std::cerr << scriptPath << ":" << number << ": " << e.what() << ": " << line << "\n";
            return 2;
        }
    }
    return 0;
}
