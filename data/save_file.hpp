#pragma once
// save.dat: campaign progress as nine whitespace-separated decimal integers.
//   line 1: highestUnlocked intelBudget perkSlowDetection perkSoftStep perkSafeAssist
//   line 2: completed1 completed2 completed3 completed4   (each followed by a blank)

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace nj {

inline constexpr const char* kSaveFileName = "save.dat";
// The format stores exactly this many completion flags, one per campaign
// mission; the game's own most missions is tied to it (game/campaign.cpp).
inline constexpr std::size_t kSaveMissionSlots = 4;

struct SaveRecord {
    std::uint64_t highestUnlocked = 0;
    std::int32_t intelBudget = 200;
    bool perkSlowDetection = false;
    bool perkSoftStep = false;
    bool perkSafeAssist = false;
    std::array<bool, kSaveMissionSlots> missionCompleted{};
};

// Applies what `path` holds on top of `record`. A missing file resets
// highestUnlocked to 0 and touches nothing else, and so does anything that is
// not a regular file of at most 64 KiB (a folder, a named pipe). A short or
// damaged file applies the values read before the first one that is not a
// number; a number beyond its field's range reads as the nearest value the
// field holds (a negative unlock as 0, a huge intel as 2^31 - 1).
// highestUnlocked is pulled back into a campaign of `campaignSize` missions
// (no clamp when 0).
void readSaveFile(const std::string& path, SaveRecord& record, std::size_t campaignSize);
// Parses save text; the same rules as readSaveFile on an existing file.
void applySaveText(const std::string& text, SaveRecord& record, std::size_t campaignSize);

std::string formatSaveText(const SaveRecord& record);

enum class SaveBackup {
    NoSave,  // nothing to keep: no save.dat (or no regular file in its place)
    Kept,    // renamed to `keptAs`
    Failed,  // still in place: it could not be renamed
};
// Moves save.dat aside as "save.dat.STAMP.bak" (STAMP from the caller, a
// date and time), never over an older backup, so a new campaign loses no
// progress for good.
SaveBackup backUpSaveFile(const std::string& path, const std::string& stamp, std::string& keptAs);
// Written atomically (writePlayerFile), so a crash mid-write never loses the
// previous progress. False when it could not be written.
bool writeSaveFile(const std::string& path, const SaveRecord& record);

}  // namespace nj
