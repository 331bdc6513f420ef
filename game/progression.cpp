// What lasts beyond one mission: the records of each operation's best runs,
// the campaign's end and a new campaign. Writes records, lastRecordNews,
// campaignEndShown, confirmNewCampaign and, for a new campaign, the saved
// progress fields.
#include <algorithm>
#include <cmath>

#include "data/local_time.hpp"
#include "data/save_file.hpp"
#include "game/game.hpp"

namespace nj {
namespace {

constexpr float kNewCampaignBannerSeconds = 2.4f;
// A mission clock beyond this is recorded as this (about eleven days).
constexpr double kLongestRecordedMs = 1e9;

std::int64_t clockMs(float missionClock) {
    const double ms = static_cast<double>(missionClock) * 1000.0;
    if (!(ms > 0.0)) return 0;  // NaN too
    return static_cast<std::int64_t>(std::llround(std::min(ms, kLongestRecordedMs)));
}

}  // namespace

void Game::loadRecords() {
    records.clear();
    if (recordsPath.empty()) return;
    readRecordsFile(recordsPath, records);  // damaged or unreadable: no records, play goes on
}

bool Game::campaignComplete() const {
    // A mission played on its own keeps no progress: no campaign to complete.
    const std::size_t count = savePath.empty() ? 0 : std::min(campaignMaps.size(), kMaxMissions);
    if (count == 0) return false;
    return std::all_of(missionCompleted.begin(), missionCompleted.begin() + count,
                       [](std::uint8_t done) { return done != 0; });
}

const OperationRecord* Game::recordFor(std::size_t index) const {
    if (index >= missionSummaries.size()) return nullptr;
    return records.find(missionSummaries[index].name);
}

// A campaign's win (the built-in mission keeps no records, as it keeps no
// save) folds into its operation's records, written at once.
void Game::recordWin(const Grade& grade) {
    lastRecordNews = RecordNews{};
    if (campaignMaps.empty() || missionIndex >= missionSummaries.size()) return;
    OneWin win;
    win.grade = grade.label;
    win.score = grade.score;
    win.timeMs = clockMs(missionClock);
    win.assisted = runAssisted;
    win.date = recordDate ? recordDate() : localDateText();
    lastRecordNews = records.addWin(missionSummaries[missionIndex].name, win);
    if (!recordsPath.empty()) writeRecordsFile(recordsPath, records);
}

void Game::askNewCampaign() {
    if (gameState != GameState::Briefing || campaignMaps.empty()) return;
    confirmQuit = false;
    requisitionOpen = false;
    campaignEndShown = false;
    confirmNewCampaign = true;
}

void Game::startNewCampaign() {
    if (!confirmNewCampaign || gameState != GameState::Briefing) return;
    // A replay keeps no save to back up: a waiting run ends before either outcome.
    endRun(RunOutcome::LeftForDossier);
    confirmNewCampaign = false;
    std::string keptAs;
    if (!savePath.empty() &&
        backUpSaveFile(savePath, localStampText(), keptAs) == SaveBackup::Failed) {
        playCue(CueBuzz);
        showBanner("SAVE COULD NOT BE KEPT AS A BACKUP // NOTHING CHANGED",
                   kNewCampaignBannerSeconds, kRuby);
        return;
    }
    takeProgress(SaveRecord{});  // the progress a save file starts from
    missionGrades.fill("--");
    ghostBonus = intelBonus = 0;
    lastIntelAward = 0;
    missionIndex = 0;
    loadMission(false);
    playCue(CueChime);
    showBanner(keptAs.empty() ? "NEW CAMPAIGN" : "NEW CAMPAIGN // PREVIOUS SAVE KEPT AS " + keptAs,
               kNewCampaignBannerSeconds, kCyan);
}

void Game::closeDialog() {
    campaignEndShown = false;
    confirmNewCampaign = false;
}

// The campaign-complete screen and the new-campaign question take the
// dossier's keys while they are up: the key that asked (N) answers yes;
// Enter, Esc, P and Tab close them (Esc never quits from under a question).
bool Game::dossierQuestionKey(std::uint32_t key) {
    if (confirmNewCampaign) {
        if (key == vk::kN) {
            startNewCampaign();
        } else if (key == vk::kEnter || key == vk::kEsc || key == vk::kP || key == vk::kTab) {
            confirmNewCampaign = false;
        }
        return true;
    }
    if (campaignEndShown) {
        if (key == vk::kN) {
            askNewCampaign();
        } else if (key == vk::kEnter || key == vk::kEsc || key == vk::kP || key == vk::kTab ||
                   key == vk::kSpace) {
            campaignEndShown = false;
        }
        return true;
    }
    return false;
}

}  // namespace nj
