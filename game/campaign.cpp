// The campaign file and the save file: which missions exist and how far the
// player got. Writes campaignMaps, missionIndex and the saved progress fields.
#include <exception>

#include "data/json.hpp"
#include "data/package.hpp"
#include "data/regular_file.hpp"
#include "data/save_file.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

// A few map tokens of a few kilobytes each; a larger file is no campaign.
constexpr std::size_t kCampaignFileMaxBytes = 1024 * 1024;

// save.dat keeps one completion flag per campaign mission.
static_assert(kSaveMissionSlots == kMaxMissions,
              "the save file's mission slots must match the campaign's most missions");

bool readCampaignText(const std::string& path, CampaignSource source, std::string& text) {
    if (source == CampaignSource::DiskFirst)
        return readRegularFile(path, kCampaignFileMaxBytes, text);
    const NJ3Package& package = NJ3Package::instance();
    if (package.readText(path, text)) return true;
    if (package.readText("campaign_maps.json", text)) return true;
    return readRegularFile(path, kCampaignFileMaxBytes, text);
}

}  // namespace

bool Game::loadCampaign(const std::string& path, CampaignSource source) {
    std::string text;
    if (!readCampaignText(path, source, text)) return false;
    JsonValue doc;
    try {
        doc = parseJson(text);
    } catch (const std::exception&) {
        return false;
    }
    std::vector<std::string> maps;
    for (std::size_t i = 0; i < kMaxMissions; ++i) {
        const std::string key = "mission" + std::to_string(i + 1);
        if (!doc.has(key)) continue;  // later missions move up
        const JsonValue& member = doc.at(key);
        maps.push_back(member.type == JsonType::String ? member.text : std::string());
    }
    setCampaignMaps(std::move(maps));
    if (campaignMaps.empty()) return false;
    missionIndex = 0;
    loadSave();
    loadRecords();
    loadMission(false);
    return true;
}

bool Game::loadFirstCampaign(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (loadCampaign(path)) return true;
    }
    return false;
}

// The one mapping between the save record and the game's progress fields.
SaveRecord Game::progressRecord() const {
    SaveRecord record;
    record.highestUnlocked = highestUnlocked;
    record.intelBudget = static_cast<std::int32_t>(intelBudget);
    record.perkSlowDetection = perkSlowDetection != 0;
    record.perkSoftStep = perkSoftStep != 0;
    record.perkSafeAssist = perkSafeAssist != 0;
    for (std::size_t i = 0; i < kMaxMissions; ++i)
        record.missionCompleted[i] = missionCompleted[i] != 0;
    return record;
}

void Game::takeProgress(const SaveRecord& record) {
    highestUnlocked = record.highestUnlocked;
    intelBudget = static_cast<std::uint32_t>(record.intelBudget);
    perkSlowDetection = record.perkSlowDetection ? 1 : 0;
    perkSoftStep = record.perkSoftStep ? 1 : 0;
    perkSafeAssist = record.perkSafeAssist ? 1 : 0;
    for (std::size_t i = 0; i < kMaxMissions; ++i)
        missionCompleted[i] = record.missionCompleted[i] ? 1 : 0;
}

void Game::loadSave() {
    if (savePath.empty()) {  // as with no save file: nothing beyond the first mission is open
        highestUnlocked = 0;
        return;
    }
    // A damaged file keeps the fields it does not reach as they stand.
    SaveRecord record = progressRecord();
    readSaveFile(savePath, record, campaignMaps.size());
    takeProgress(record);
}

void Game::writeSave() {
    if (savePath.empty()) return;
    writeSaveFile(savePath, progressRecord());  // a save that cannot be written is ignored
}

}  // namespace nj
