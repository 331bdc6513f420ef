// A mission file or a campaign file given on the command line. Writes the
// campaign (campaignMaps, missionIndex, highestUnlocked), savePath,
// recordsPath and missionErrors.
#include "game/mission_file.hpp"

#include "data/map_token.hpp"
#include "game/game.hpp"
#include "game/mission_playability.hpp"

namespace nj {

std::vector<std::string> loadMissionFile(Game& game, const std::string& path) {
    std::string text;
    const std::vector<MissionDiagnostic> diagnostics = checkMissionFile(path, 0, text);
    std::vector<std::string> lines;
    game.missionErrors.clear();
    for (const MissionDiagnostic& d : diagnostics) {
        lines.push_back(formatDiagnostic(path, d));
        if (d.severity == MissionSeverity::Error) game.missionErrors.push_back(lines.back());
    }
    // Its wins are not campaign progress, even when it cannot be played, nor
    // records of a campaign's operations.
    game.savePath.clear();
    game.recordsPath.clear();
    if (!game.missionErrors.empty()) return lines;
    game.setCampaignMaps({encodeMapToken(text, mapSaltFor(text))});
    game.missionIndex = 0;
    game.highestUnlocked = 0;
    game.loadMission(false);
    return lines;
}

bool loadCampaignFromDisk(Game& game, const std::string& path) {
    return game.loadCampaign(path, CampaignSource::DiskFirst);
}

}  // namespace nj
