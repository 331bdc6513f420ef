// njtool mission check: the level designer's one command. Prints every error
// and warning the game's checker finds, as FILE:LINE:COL: PATH: MESSAGE.
// njtool mission code: the mission as the one line players pass on.
#include <iostream>

#include "cli_io.hpp"
#include "data/map_token.hpp"
#include "data/mission_format.hpp"
#include "game/mission_playability.hpp"

namespace njtool {
namespace {

int check(const Args& args) {
    bool strict = false;
    bool inOrder = false;
    Args files;
    for (const std::string& arg : args) {
        if (arg == "--strict") {
            strict = true;
        } else if (arg == "--as-campaign") {
            inOrder = true;
        } else if (arg.rfind("--", 0) == 0) {
            throw UsageError("mission check: unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) throw UsageError("mission check: FILE.json missing");

    bool failed = false;
    for (std::size_t i = 0; i < files.size(); ++i) {
        // A mission played on its own takes the theme table's first row; in a
        // campaign each file takes its place's.
        const std::size_t index = inOrder ? i : 0;
        std::string text;
        const auto diagnostics = nj::checkMissionFile(files[i], index, text);
        std::size_t errors = 0, warnings = 0;
        for (const nj::MissionDiagnostic& d : diagnostics) {
            std::cerr << nj::formatDiagnostic(files[i], d) << "\n";
            ++(d.severity == nj::MissionSeverity::Error ? errors : warnings);
        }
        if (errors > 0 || (strict && warnings > 0)) failed = true;
        std::cout << files[i] << ": " << errors << (errors == 1 ? " error, " : " errors, ")
                  << warnings << (warnings == 1 ? " warning" : " warnings") << "\n";
    }
    return failed ? 1 : 0;
}

// Prints the one line a player passes on: the mission's signed map token. A
// mission with errors is not worth passing on, so it gets its messages instead.
int code(const Args& args) {
    if (args.size() != 1) throw UsageError("mission code: one FILE.json expected");
    std::string text;
    const auto diagnostics = nj::checkMissionFile(args[0], 0, text);
    if (nj::hasErrors(diagnostics)) {
        for (const nj::MissionDiagnostic& d : diagnostics)
            std::cerr << nj::formatDiagnostic(args[0], d) << "\n";
        return 1;
    }
    std::cout << nj::encodeMapToken(text, nj::mapSaltFor(text)) << "\n";
    return 0;
}

}  // namespace

int runMissionCommand(const Args& args) {
    if (args.empty()) throw UsageError("mission: expected 'check', 'code' or 'format'");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "check") return check(rest);
    if (args[0] == "code") return code(rest);
    if (args[0] == "format" && rest.empty()) {
        std::cout << nj::missionFormatGuide();
        return 0;
    }
    throw UsageError("mission: unknown subcommand '" + args[0] + "'");
}

}  // namespace njtool
