// The designer's checker on arbitrary bytes: its position-keeping JSON reading accepts and
// refuses exactly what the game's reader does, with the same error text, and nothing crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "data/json.hpp"
#include "data/json_located.hpp"
#include "data/mission_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string located, game;
    try {
        const nj::LocatedDocument doc = nj::parseLocatedJson(text);
        (void)nj::locateJsonPath(doc.root, "guards[1].patrol[0].x");
    } catch (const nj::JsonSyntaxError& e) {
        located = e.what();
    }
    try {
        nj::parseJson(text);
    } catch (const std::exception& e) {
        game = e.what();
    }
    if (located != game) std::abort();
    const nj::MissionTextCheck check = nj::checkMissionText(text);
    for (const nj::MissionDiagnostic& d : check.diagnostics) (void)nj::formatDiagnostic("f", d);
    return 0;
}
