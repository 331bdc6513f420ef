// njtool campaign build/decode: the campaign file "campaign_maps.json" holds
// one map token per mission under "mission1", "mission2", ..., as many as the
// game reads.
#include <iostream>
#include <sstream>

#include "cli_io.hpp"
#include "data/json.hpp"
#include "data/map_token.hpp"
#include "game/game.hpp"

namespace njtool {
namespace {

int build(const Args& args) {
    if (args.size() < 2) throw UsageError("campaign build: OUT.json and at least one mission");
    const std::size_t missions = args.size() - 1;
    if (missions > nj::kMaxMissions) {
        std::cerr << "njtool: a campaign holds at most " << nj::kMaxMissions << " missions, got "
                  << missions << "\n";
        return 1;
    }
    std::ostringstream out;
    out << "{\n";
    for (std::size_t i = 0; i < missions; ++i) {
        const std::string json = readInput(args[i + 1]);
        try {
            nj::parseJson(json);  // a mission the game cannot read is a build error
        } catch (const std::exception& e) {
            std::cerr << "njtool: " << args[i + 1] << ": " << e.what() << "\n";
            return 1;
        }
        out << "  \"mission" << (i + 1) << "\": \""
            << nj::encodeMapToken(json, nj::mapSaltFor(json)) << "\""
            << (i + 1 < missions ? "," : "") << "\n";
    }
    out << "}\n";
    writeFile(args[0], out.str());
    return 0;
}

int decode(const Args& args) {
    if (args.size() != 1) throw UsageError("campaign decode: one FILE.json expected");
    nj::JsonValue campaign;
    try {
        campaign = nj::parseJson(readInput(args[0]));
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    if (campaign.type != nj::JsonType::Object) {
        std::cerr << "njtool: " << args[0] << ": not a JSON object\n";
        return 1;
    }
    int status = 0;
    for (const auto& [name, member] : campaign.members) {
        if (member.type != nj::JsonType::String) {
            std::cerr << name << ": not a map token string\n";
            status = 1;
            continue;
        }
        try {
            std::cout << name << " " << compactJsonText(nj::decodeMapToken(member.text)) << "\n";
        } catch (const std::exception& e) {
            std::cerr << name << ": " << e.what() << "\n";
            status = 1;
        }
    }
    return status;
}

}  // namespace

int runCampaignCommand(const Args& args) {
    if (args.empty()) throw UsageError("campaign: expected 'build' or 'decode'");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "build") return build(rest);
    if (args[0] == "decode") return decode(rest);
    throw UsageError("campaign: unknown subcommand '" + args[0] + "'");
}

}  // namespace njtool
