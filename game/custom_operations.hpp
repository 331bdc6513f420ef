#pragma once
// Custom operations: mission files a player drops into their missions folder
// (plain JSON, or a mission code saved from the clipboard) listed on the
// dossier beside the campaign and played without touching it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nj {

// The dossier lists at most this many; the rest of a crowded folder is not
// read at all.
inline constexpr std::size_t kMaxCustomMissions = 64;
// Folder entries looked at before giving up on the rest, so a folder of a
// million files cannot stall the dossier.
inline constexpr std::size_t kMaxMissionFolderEntries = 4096;

// What the file looked like when it was checked; the same file unchanged is
// not checked again.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t modifiedSeconds = 0, modifiedNanos = 0;
    bool operator==(const FileStamp&) const = default;
};

struct CustomMission {
    std::string fileName;  // "heist.json", inside the missions folder
    std::string name;      // the mission's name, else its file name
    std::string desc;      // its briefing, "" when it has none
    std::string theme;     // its theme as written ("casino" when unset), "" when unreadable
    std::string error;     // the checker's first error, "" when it passed
    std::string code;      // its mission code (signed map token), "" when it has errors
    FileStamp stamp;
    bool playable() const { return error.empty() && !code.empty(); }
};

// Mission files (".json" and ".nj3m", hidden files skipped) of `folder`,
// sorted by name, at most kMaxCustomMissions, each checked as the designer's
// checker does unless `known` holds it unchanged. A missing folder lists
// nothing; a folder, a named pipe or a huge file in a mission's place is
// listed with the checker's reason, never opened for reading.
std::vector<CustomMission> scanMissionFolder(const std::string& folder,
                                             const std::vector<CustomMission>& known);

// A mission code as pasted: the one token line, or why it is refused
// (`refusal` set, the result empty). A token that passes returns its JSON.
std::string readMissionCode(const std::string& pasted, std::string& refusal);

// The file name a pasted code is saved under: the same code always gets the
// same name, so pasting it twice keeps one copy.
std::string missionCodeFileName(const std::string& code);

}  // namespace nj
