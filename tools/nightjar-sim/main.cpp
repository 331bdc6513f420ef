// nightjar-sim: plays the game headless from a script of inputs and prints
// state lines, records a scripted run, or plays a recorded run again and
// checks that it ends as it did. Runs in the current directory, like the game.
#include <iostream>
#include <sstream>
#include <string>

#include "data/player_files.hpp"
#include "data/regular_file.hpp"
#include "data/replay_file.hpp"
#include "game/game.hpp"
#include "game/mission_file.hpp"
#include "game/player_options.hpp"
#include "game/replay.hpp"
#include "game/run_recorder.hpp"
#include "tools/nightjar-sim/script.hpp"

namespace {

// The longest playthrough is a few thousand lines; a script past this is a
// mistake, not a test.
constexpr std::size_t kMaxScriptBytes = 64u << 20;

int usage() {
    std::cerr << "usage: nightjar-sim [--campaign FILE | --mission FILE.json] [--record FILE.njr]"
                 " SCRIPT   (SCRIPT '-' reads stdin;\n"
                 "         --record FOLDER/ keeps every run as FOLDER/run-N.njr)\n"
                 "       nightjar-sim [--campaign FILE | --mission FILE.json] --replay FILE.njr\n";
    return 2;
}

struct SimArguments {
    std::string campaign;
    std::string mission;
    std::string scriptPath;
    std::string recordPath;
    std::string replayPath;
};

bool parseArguments(int argc, char** argv, SimArguments& a) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--campaign" && hasValue) {
            a.campaign = argv[++i];
        } else if (arg == "--mission" && hasValue) {
            a.mission = argv[++i];
        } else if (arg == "--record" && hasValue) {
            a.recordPath = argv[++i];
        } else if (arg == "--replay" && hasValue) {
            a.replayPath = argv[++i];
        } else if (a.scriptPath.empty() && (arg == "-" || arg.rfind("--", 0) != 0)) {
            a.scriptPath = arg;
        } else {
            return false;
        }
    }
    if (!a.campaign.empty() && !a.mission.empty()) return false;
    if (!a.replayPath.empty()) return a.scriptPath.empty() && a.recordPath.empty();
    return !a.scriptPath.empty();
}

// The campaign, or the mission file played on its own, and the player's
// custom operations, as the game would load them from here.
void loadMissions(nj::Game& game, const SimArguments& a, const nj::GameLocation& location) {
    if (!a.mission.empty()) {
        // A mission file is played on its own: its messages go to stderr and
        // its errors to the dossier, and no save.dat is touched.
        for (const std::string& message : nj::loadMissionFile(game, a.mission))
            std::cerr << message << "\n";
    } else if (!a.campaign.empty()) {
        game.loadCampaign(a.campaign);
    } else {
        game.loadFirstCampaign(location.campaignPaths());
    }
    game.missionsFolder = nj::PlayerFiles::forLocation(location).path(nj::PlayerFile::Missions);
    game.refreshCustomMissions();
}

int replay(const SimArguments& a, const nj::GameLocation& location) {
    nj::RunRecord record;
    std::string why;
    if (!nj::readReplayFile(a.replayPath, record, why)) {
        std::cerr << "nightjar-sim: replay refused: " << why << "\n";
        return 2;
    }
    nj::SilentAudio audio;
    nj::Game game(&audio);
    // Watching a run again neither reads nor writes the player's progress.
    game.savePath.clear();
    game.recordsPath.clear();
    loadMissions(game, a, location);
    if (!nj::startReplay(game, record, why)) {
        std::cerr << "nightjar-sim: replay refused: " << why << "\n";
        return 2;
    }
    const nj::ReplayCheck check = nj::checkReplay(record, nj::playReplay(game, record));
    std::cout << check.finalState << "\n";
    if (check.verified) {
        std::cout << "replay: verified\n";
        return 0;
    }
    std::cout << "replay: differs: " << check.difference << "\n";
    return 1;
}

int runScript(const SimArguments& a, const nj::GameLocation& location) {
    // A script file must be a regular file: a named pipe given by mistake
    // would hold the harness forever ("-" reads standard input on purpose).
    std::istringstream file;
    if (a.scriptPath != "-") {
        std::string text;
        if (!nj::readRegularFile(a.scriptPath, kMaxScriptBytes, text)) {
            std::cerr << "nightjar-sim: cannot read script " << a.scriptPath << "\n";
            return 2;
        }
        file.str(std::move(text));
    }
    std::istream& script = a.scriptPath == "-" ? std::cin : file;

    // No sound device: the engine stand-in only keeps its enabled flag.
    nj::SilentAudio audio;
    nj::Game game(&audio);
    // The same data and the same save the game would use from here.
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
    loadMissions(game, a, location);
    // Each run is written as it ends: a file holds the last one, a folder
    // (a path ending in '/') every one, numbered from 1.
    nj::RunRecorder recorder;
    bool recordWritten = true;
    if (!a.recordPath.empty()) {
        recorder.onRunEnded = [&](nj::RunRecord&& run) {
            const std::string path =
                a.recordPath.back() == '/'
                    ? a.recordPath + "run-" + std::to_string(recorder.runsBegun()) + ".njr"
                    : a.recordPath;
            recordWritten = nj::writeReplayFile(path, run) && recordWritten;
        };
        game.recorder = &recorder;
    }
    game.update(0.0f);  // the first frame before any input, as the game does

    nj::ScriptRunner runner(game, std::cout);
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        try {
            runner.runLine(line);
        } catch (const nj::ScriptError& e) {
            std::cout.flush();
            std::cerr << a.scriptPath << ":" << number << ": " << e.what() << ": " << line << "\n";
            return 2;
        }
    }
    recorder.end(game, nj::RunOutcome::Unfinished);  // a run the script left going
    if (!recordWritten) {
        std::cerr << "nightjar-sim: could not write the recording " << a.recordPath << "\n";
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SimArguments arguments;
    if (!parseArguments(argc, argv, arguments)) return usage();
    const nj::GameLocation location = nj::locateGameData(nj::executableDir(), NJ_INSTALL_DATA_DIR);
    if (!arguments.replayPath.empty()) return replay(arguments, location);
    return runScript(arguments, location);
}
