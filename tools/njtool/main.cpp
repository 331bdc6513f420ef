// njtool: checks JSON, encodes and decodes map tokens, builds campaign files
// and asset packages exactly as the game reads them.
#include <iostream>
#include <string>

#include "cli_io.hpp"
#include "game/game.hpp"

namespace {

const std::string kUsage =
    "usage: njtool json check FILE\n"
    "       njtool mission check FILE... [--strict] [--as-campaign]   (FILE: JSON or a mission "
    "code)\n"
    "                          (errors exit 1; warnings too with --strict; --as-campaign\n"
    "                          checks the files as a campaign, in this order)\n"
    "       njtool mission code FILE.json       (the mission code: its signed map token, one "
    "line)\n"
    "       njtool mission format               (every key of a mission file, as the guide lists "
    "them)\n"
    "       njtool token encode [--salt S] FILE.json\n"
    "       njtool token decode FILE            (FILE '-' = standard input)\n"
    "       njtool campaign build OUT.json M1.json [M2.json ...]   (at most " +
    std::to_string(nj::kMaxMissions) +
    ")\n"
    "       njtool campaign decode FILE.json\n"
    "       njtool pack build OUT.nj3p DIR [NAME=FILE ...]\n"
    "       njtool pack list FILE.nj3p\n"
    "       njtool pack extract FILE.nj3p DIR\n"
    "       njtool cues DIR                     (the eight sound cues as WAV files)\n"
#ifdef NJTOOL_HAS_PAGE
    "       njtool page render PAGE.html OUT.png [--size WxH] [--script JS] [--state STATE.json]\n"
    "                          [--root DIR] [--package FILE.nj3p]\n"
    "       njtool page compare A.png B.png [--background RRGGBB] [--diff OUT.png]\n"
    "       njtool icon SOURCE.png SIZE OUT.png (the logo as a SIZE x SIZE menu icon)\n"
#endif
    ;

}  // namespace

int main(int argc, char** argv) {
    const njtool::Args args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string& group = args[0];
    const njtool::Args rest(args.begin() + 1, args.end());
    try {
        if (group == "json") return njtool::runJsonCommand(rest);
        if (group == "mission") return njtool::runMissionCommand(rest);
        if (group == "token") return njtool::runTokenCommand(rest);
        if (group == "campaign") return njtool::runCampaignCommand(rest);
        if (group == "pack") return njtool::runPackCommand(rest);
        if (group == "cues") return njtool::runCuesCommand(rest);
#ifdef NJTOOL_HAS_PAGE
        if (group == "page") return njtool::runPageCommand(rest);
        if (group == "icon") return njtool::runIconCommand(rest);
#endif
        throw njtool::UsageError("unknown command '" + group + "'");
    } catch (const njtool::UsageError& e) {
        std::cerr << "njtool: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "njtool: " << e.what() << "\n";
        return 1;
    }
}
