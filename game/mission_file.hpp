#pragma once
// Playing a mission file from disk on its own, as a campaign of one, and
// playing a campaign file from disk over the package's.

#include <string>
#include <vector>

namespace nj {

class Game;

// Checks the file as the designer's checker does and, when it has no error,
// makes it the game's only mission (briefing, the four approaches, no
// save.dat read or written). Its errors go to game.missionErrors for the
// dossier; every message, errors and warnings, is returned as
// "FILE:LINE:COL: PATH: MESSAGE" lines for standard error.
std::vector<std::string> loadMissionFile(Game& game, const std::string& path);

// Reads the campaign from `path` on disk, whatever the package holds; false
// when the file cannot be read or holds no mission.
bool loadCampaignFromDisk(Game& game, const std::string& path);

}  // namespace nj
