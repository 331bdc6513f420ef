// Custom operations: reading the player's missions folder and mission codes.
// The dossier's commands on them are in game/custom_flow.cpp.
#include "game/custom_operations.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <exception>

#include "data/digest.hpp"
#include "data/json.hpp"
#include "data/map_token.hpp"
#include "data/mission_format.hpp"
#include "game/mission_playability.hpp"

namespace nj {
namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isMissionFileName(const std::string& name) {
    return !name.empty() && name[0] != '.' && (endsWith(name, ".json") || endsWith(name, ".nj3m"));
}

std::vector<std::string> missionFileNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    std::size_t looked = 0;
    while (const dirent* entry = readdir(dir)) {
        if (++looked > kMaxMissionFolderEntries) break;
        const std::string name = entry->d_name;
        if (isMissionFileName(name)) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    if (names.size() > kMaxCustomMissions) names.resize(kMaxCustomMissions);
    return names;
}

// Only a regular file has a stamp worth remembering; anything else is
// checked (and refused) every time, which costs a stat.
bool stampOf(const std::string& path, FileStamp& stamp) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    stamp.device = static_cast<std::uint64_t>(info.st_dev);
    stamp.inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanos = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return true;
}

const CustomMission* findUnchanged(const std::vector<CustomMission>& known, const std::string& name,
                                   const FileStamp& stamp) {
    for (const CustomMission& m : known) {
        if (m.fileName == name && m.stamp == stamp) return &m;
    }
    return nullptr;
}

// Name, briefing and theme as the game's own reader sees them.
void readSummary(const std::string& json, CustomMission& mission) {
    try {
        const JsonValue doc = parseJson(json);
        mission.name = doc.getString("name", mission.fileName);
        mission.desc = doc.getString("desc", "");
        mission.theme = doc.getString("theme", "casino");
    } catch (const std::exception&) {
        // Not JSON: listed by its file name, with the checker's reason.
    }
}

CustomMission checkCustomMission(const std::string& folder, const std::string& name,
                                 const FileStamp& stamp) {
    CustomMission mission;
    mission.fileName = name;
    mission.name = name;
    mission.stamp = stamp;
    std::string json;
    const std::vector<MissionDiagnostic> diagnostics = checkMissionFile(folder + name, 0, json);
    for (const MissionDiagnostic& d : diagnostics) {
        if (d.severity != MissionSeverity::Error) continue;
        mission.error = formatDiagnostic(name, d);
        break;
    }
    if (!json.empty()) readSummary(json, mission);
    if (mission.error.empty() && !json.empty())
        mission.code = encodeMapToken(json, mapSaltFor(json));
    return mission;
}

std::string withSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

std::vector<CustomMission> scanMissionFolder(const std::string& folderPath,
                                             const std::vector<CustomMission>& known) {
    std::vector<CustomMission> missions;
    if (folderPath.empty()) return missions;
    const std::string folder = withSlash(folderPath);
    for (const std::string& name : missionFileNames(folder)) {
        FileStamp stamp;
        const bool regular = stampOf(folder + name, stamp);
        const CustomMission* same = regular ? findUnchanged(known, name, stamp) : nullptr;
        missions.push_back(same ? *same : checkCustomMission(folder, name, stamp));
    }
    return missions;
}

std::string readMissionCode(const std::string& pasted, std::string& refusal) {
    refusal.clear();
    if (pasted.size() > kMissionFileMaxBytes) {
        refusal = "MISSION CODE REFUSED // TOO LONG TO BE ONE MISSION";
        return {};
    }
    const std::size_t first = pasted.find_first_not_of(" \t\r\n");
    if (first == std::string::npos || pasted.compare(first, kMapHeader.size(), kMapHeader) != 0) {
        refusal = "NO MISSION CODE ON THE CLIPBOARD // A CODE STARTS WITH NJ3M_V1";
        return {};
    }
    std::string json;
    try {
        json = decodeMapToken(pasted);
    } catch (const std::exception&) {
        // The tag covers every character: any change, or a code cut short,
        // lands here.
        refusal = "MISSION CODE REFUSED // IT WAS CHANGED OR CUT SHORT: COPY IT AGAIN";
        return {};
    }
    for (const MissionDiagnostic& d : checkMission(json, 0)) {
        if (d.severity != MissionSeverity::Error) continue;
        refusal = "MISSION CODE REFUSED // " + formatDiagnostic("code", d);
        return {};
    }
    return json;
}

std::string missionCodeFileName(const std::string& code) {
    const std::size_t first = code.find_first_not_of(" \t\r\n");
    const std::size_t last = code.find_last_not_of(" \t\r\n");
    const std::string bare = first == std::string::npos ? "" : code.substr(first, last - first + 1);
    return "code-" + sha256Hex(bare).substr(0, 12) + ".nj3m";
}

}  // namespace nj
