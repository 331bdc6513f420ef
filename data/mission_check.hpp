#pragma once
// What can be said about a mission file from its text alone: JSON syntax and
// leniencies, keys, types, values, ranges and caps by the mission format's
// table, pieces lying under walls and pieces left to the game's fallbacks.
// Whether the mission can be played (reachability, a fair start) needs the
// rules and lives in game/mission_playability.hpp.

#include <string>
#include <vector>

#include "data/json_located.hpp"

namespace nj {

enum class MissionSeverity { Error, Warning };

struct MissionDiagnostic {
    MissionSeverity severity = MissionSeverity::Error;
    JsonPosition at;
    std::string path;  // "guards[2].x"; empty for the text itself
    std::string message;
};

struct MissionTextCheck {
    bool parsed = false;  // false: diagnostics hold the syntax error, root is empty
    LocatedJson root;
    std::vector<MissionDiagnostic> diagnostics;
};

MissionTextCheck checkMissionText(const std::string& text);

// "FILE:LINE:COL: PATH: MESSAGE", with "warning: " before a warning's message.
std::string formatDiagnostic(const std::string& file, const MissionDiagnostic& diagnostic);

bool hasErrors(const std::vector<MissionDiagnostic>& diagnostics);

}  // namespace nj
