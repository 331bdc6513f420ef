// njtool json check FILE: runs the game's own JSON reader over a file.
#include <iostream>

#include "cli_io.hpp"
#include "data/json.hpp"

namespace njtool {

int runJsonCommand(const Args& args) {
    if (args.size() != 2 || args[0] != "check") throw UsageError("json: expected 'check FILE'");
    const std::string text = readInput(args[1]);
    try {
        nj::parseJson(text);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cout << "ok\n";
    return 0;
}

}  // namespace njtool
