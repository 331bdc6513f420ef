// njtool token encode/decode: mission JSON to a map token and back.
#include <iostream>

#include "cli_io.hpp"
#include "data/map_token.hpp"

namespace njtool {
namespace {

int encode(const Args& args) {
    std::string salt;
    bool saltGiven = false;
    std::string file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--salt") {
            if (i + 1 >= args.size()) throw UsageError("token encode: --salt needs a value");
            salt = args[++i];
            saltGiven = true;
        } else if (file.empty()) {
            file = args[i];
        } else {
            throw UsageError("token encode: one FILE.json expected");
        }
    }
    if (file.empty()) throw UsageError("token encode: FILE.json missing");
    if (salt.find('.') != std::string::npos) {
        std::cerr << "njtool: a map token salt cannot contain '.'\n";
        return 1;
    }
    const std::string json = readInput(file);
    std::cout << nj::encodeMapToken(json, saltGiven ? salt : nj::mapSaltFor(json)) << "\n";
    return 0;
}

int decode(const Args& args) {
    if (args.size() != 1) throw UsageError("token decode: one FILE expected");
    const std::string token = readInput(args[0]);
    std::string json;
    try {
        json = nj::decodeMapToken(token);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cout << json;
    return 0;
}

}  // namespace

int runTokenCommand(const Args& args) {
    if (args.empty()) throw UsageError("token: expected 'encode' or 'decode'");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "encode") return encode(rest);
    if (args[0] == "decode") return decode(rest);
    throw UsageError("token: unknown subcommand '" + args[0] + "'");
}

}  // namespace njtool
