// The per-frame state script: directive, clock, stealth tier, health, prompt,
// the safe's tumblers, the dossier's campaign data, and what explains an
// outcome (why a mission failed, how its grade came about).
#include "ui/page_state.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "data/json_writer.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "ui/page_options_state.hpp"

namespace nj {
namespace {

constexpr const char* kBullet = "\xE2\x80\xA2 ";

void writeTumbler(JsonWriter& json, const Tumbler& t) {
    json.beginObject();
    json.key("angle").number(t.angle).key("target").number(t.target);
    json.key("width").number(t.width).key("locked").boolean(t.locked);
    json.endObject();
}

// A custom operation as the dossier lists it; "error" is null when the file
// passed the checker.
void writeCustomMission(JsonWriter& json, const CustomMission& m) {
    json.beginObject();
    json.key("file").string(m.fileName).key("name").string(m.name);
    json.key("theme").string(m.theme).key("desc").string(m.desc);
    json.key("error");
    if (m.error.empty()) {
        json.null();
    } else {
        json.string(m.error);
    }
    json.endObject();
}

const char* failReasonText(FailReason reason) {
    switch (reason) {
        case FailReason::Laser:
            return "laser";
        case FailReason::Detected:
            return "detected";
        case FailReason::Expired:
            return "expired";
        case FailReason::None:
            break;
    }
    return "";
}

void writeGradeLine(JsonWriter& json, const char* label, const std::string& detail,
                    std::int64_t points) {
    json.beginObject();
    json.key("label").string(label).key("detail").string(detail).key("points").integer(points);
    json.endObject();
}

// The win screen's account of the grade, line by line, in the grade's order.
void writeGradeLines(JsonWriter& json, const Game& game, const Game::Grade& grade) {
    const long long peakPercent = std::llround(std::clamp(game.peakDetection, 0.0f, 1.0f) * 100.0f);
    json.beginArray();
    writeGradeLine(json, "SPOTTED", std::to_string(game.timesSpotted), grade.spottedPoints);
    writeGradeLine(json, "PEAK DETECTION", std::to_string(peakPercent) + "%", grade.peakPoints);
    writeGradeLine(json, "TIME", clockText(game.missionClock), grade.timePoints);
    writeGradeLine(json, "INTEL", game.optionalIntel.done ? "TAKEN" : "MISSED", grade.intelPoints);
    writeGradeLine(json, "ALT EXIT", game.usedAltExit ? "USED" : "NOT USED", grade.altExitPoints);
    json.endArray();
}

// A directive on a clock (plant the bug, recover the evidence) counts down
// once the safe opens; -1 while nothing does.
float countdownSeconds(const Game& game) {
    const Objective& o = game.dynamicObjective;
    const bool timed =
        o.type == ObjectiveType::SabotageNode || o.type == ObjectiveType::EvidenceBurn;
    if (!timed || !o.active || o.done) return -1.0f;
    return o.timeLeft > 0.0f ? o.timeLeft : 0.0f;  // NaN too
}

void writePerks(JsonWriter& f, const Game& game) {
    f.beginArray();
    for (std::size_t i = 0; i < kPerkCount; ++i) {
        const PerkOffer& offer = perkOffers()[i];
        f.beginObject();
        f.key("name").string(offer.name).key("effect").string(offer.effect);
        f.key("mark").string(offer.mark).key("price").unsignedInteger(offer.price);
        f.key("owned").boolean(game.perkOwned(i));
        f.endObject();
    }
    f.endArray();
}

// A record's time: minutes, seconds and tenths.
std::string recordTimeText(std::int64_t ms) {
    const long long tenths = std::max<long long>(ms, 0) / 100;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                  tenths % 10);
    return text;
}

// One operation's records as the dossier and the campaign's end show them;
// "" where no win of that kind was made.
void writeRecord(JsonWriter& f, const OperationRecord* record) {
    const BestRuns* best = record && record->best ? &*record->best : nullptr;
    const BestRuns* assisted = record && record->assisted ? &*record->assisted : nullptr;
    f.beginObject();
    f.key("grade").string(best ? best->grade : "").key("score").integer(best ? best->score : 0);
    f.key("time").string(best ? recordTimeText(best->timeMs) : "");
    f.key("firstWin").string(record ? record->firstWin : "");
    f.key("assistedGrade").string(assisted ? assisted->grade : "");
    f.key("assistedScore").integer(assisted ? assisted->score : 0);
    f.key("assistedTime").string(assisted ? recordTimeText(assisted->timeMs) : "");
    f.endObject();
}

void writeRecordNews(JsonWriter& f, const RecordNews& news) {
    f.beginObject();
    f.key("first").boolean(news.firstWin).key("grade").boolean(news.bestGrade);
    f.key("score").boolean(news.bestScore).key("time").boolean(news.bestTime);
    f.endObject();
}

// What the player needs beyond one mission: the quit question, the
// directive's clock, the requisition list, the records and the campaign's end.
void writeProgressionExtras(JsonWriter& f, const Game& game, const PageLayout& layout) {
    f.key("confirmQuit").boolean(game.confirmQuit && game.gameState == GameState::Briefing);
    f.key("countdown").number(countdownSeconds(game));
    f.key("countdownX")
        .number(game.dynamicObjective.x * (static_cast<float>(layout.logicalWidth) / kFieldWidth));
    f.key("countdownY")
        .number(game.dynamicObjective.y *
                (static_cast<float>(layout.logicalHeight) / kFieldHeight));
    f.key("perks");
    writePerks(f, game);
    f.key("requisitionOpen").boolean(game.requisitionOpen && game.gameState == GameState::Briefing);
    f.key("requisitionChoice").unsignedInteger(game.requisitionChoice);
    f.key("records").beginArray();
    const std::size_t listed = std::max<std::size_t>(game.missionSummaries.size(), 1);
    for (std::size_t i = 0; i < listed; ++i) writeRecord(f, game.recordFor(i));
    f.endArray();
    f.key("recordNews");
    writeRecordNews(f, game.lastRecordNews);
    f.key("recordAssisted").boolean(game.runAssisted);
    f.key("campaignComplete").boolean(game.campaignComplete());
    const bool onDossier = game.gameState == GameState::Briefing;
    f.key("campaignEnd").boolean(game.campaignEndShown && onDossier);
    f.key("confirmNewCampaign").boolean(game.confirmNewCampaign && onDossier);
}

}  // namespace

std::string directiveText(const Game& game) {
    if (game.cipherDecrypted) {
        const Objective& objective = game.dynamicObjective;
        if (objective.active && !objective.done)
            return kBullet + std::string("Phase-2 Directive: ") + objective.label;
        return kBullet + std::string("Exfiltrate via Aston Martin DB5 or ") + game.altExitLabel;
    }
    if (game.cipherAcquired)
        return kBullet + std::string("Decrypt the diplomatic safe terminal [E]");
    return kBullet + std::string("Reach the vault and obtain the cipher card");
}

std::string clockText(float missionClock) {
    // Truncation toward zero; a negative or absurd clock still prints digits.
    const double clamped =
        std::isfinite(missionClock) ? std::clamp<double>(missionClock, -1e15, 1e15) : 0.0;
    const long long t = static_cast<long long>(clamped);
    const long long minutes = t / 60;
    const long long seconds = t - 60 * minutes;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld", minutes, seconds);
    return text;
}

int stealthTier(const Game& game) {
    const float d = game.detection;
    if (d > 0.7f) return 3;
    if (d > 0.4f || game.alarmActive) return 2;
    if (d > 0.14f) return 1;
    return 0;
}

int healthSegments(float detection) {
    const double segments = std::round((1.0 - 0.75 * static_cast<double>(detection)) * 8.0);
    if (!(segments >= 2.0)) return 2;  // NaN too
    return static_cast<int>(std::min(8.0, segments));
}

int objectivesDone(const Game& game) {
    return 1 + (game.cipherAcquired ? 1 : 0) + (game.cipherDecrypted ? 1 : 0) +
           ((game.optionalIntel.done || game.dynamicObjective.done) ? 1 : 0);
}

InteractionPrompt interactionPrompt(const Game& game, const PageLayout& layout) {
    InteractionPrompt prompt;
    if (game.gameState != GameState::Playing) return prompt;
    float x = 0.0f, y = 0.0f;
    const auto target = game.takedownTarget;
    if (target >= 0 && static_cast<std::size_t>(target) < game.guards.size()) {
        prompt.text = "[SPACE] SILENT TAKEDOWN";
        x = game.guards[static_cast<std::size_t>(target)].x;
        y = game.guards[static_cast<std::size_t>(target)].y;
    } else {
        switch (game.interactionHere()) {
            case Game::Interaction::Directive:
                prompt.text = "[E] " + game.dynamicObjective.label;
                x = game.dynamicObjective.x;
                y = game.dynamicObjective.y;
                break;
            case Game::Interaction::Intel:
                prompt.text = "[E] SECURE " + game.optionalIntel.label;
                x = game.optionalIntel.x;
                y = game.optionalIntel.y;
                break;
            case Game::Interaction::SafeTerminal:
                prompt.text = "[E] DECRYPT SAFE TERMINAL";
                x = game.terminal.x;
                y = game.terminal.y;
                break;
            case Game::Interaction::None:
                return prompt;
        }
    }
    // Canvas units to page units, 20 canvas units above the point.
    prompt.x = x * (static_cast<float>(layout.logicalWidth) / 960.0f);
    prompt.y = (y - 20.0f) * (static_cast<float>(layout.logicalHeight) / 540.0f);
    return prompt;
}

namespace {

void writeReplayExtra(JsonWriter& f, const ReplayPageState& replay) {
    f.key("replay").beginObject();
    f.key("watching").boolean(replay.watching);
    f.key("paused").boolean(replay.paused);
    f.key("speed").integer(replay.speed);
    f.key("clock").string(replay.clock);
    f.key("ended").boolean(replay.ended);
    f.key("notice").string(replay.notice);
    f.endObject();
}

}  // namespace

std::string buildStateScript(const Game& game, const PageLayout& layout,
                             const ReplayPageState* replay, std::string_view editor) {
    const InteractionPrompt prompt = interactionPrompt(game, layout);
    JsonWriter f;
    f.beginObject();
    f.key("gameState").integer(static_cast<long long>(game.gameState));
    f.key("missionIndex")
        .integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(game.missionIndex)));
    f.key("highestUnlocked")
        .integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(game.highestUnlocked)));
    f.key("missionCompleted").beginArray();
    for (std::uint8_t completed : game.missionCompleted) f.boolean(completed);
    f.endArray();
    f.key("directive").string(directiveText(game));
    f.key("intelDone").integer(objectivesDone(game));
    f.key("stealthTier").integer(stealthTier(game));
    f.key("clock").string(clockText(game.missionClock));
    f.key("cipherAcquired").boolean(game.cipherAcquired);
    f.key("cipherDecrypted").boolean(game.cipherDecrypted);
    f.key("healthSegs").integer(healthSegments(game.detection));
    f.key("intelBudget").integer(game.intelBudget);
    f.key("approach").integer(static_cast<std::uint32_t>(game.approach));
    f.key("audioEnabled").boolean(game.audioEnabled());
    f.key("promptText").string(prompt.text);
    f.key("promptX").number(prompt.x);
    f.key("promptY").number(prompt.y);
    f.key("safeActive").boolean(game.safeActive);
    f.key("currentTumbler").unsignedInteger(game.currentTumbler);
    f.key("tumblers").beginArray();
    for (const Tumbler& t : game.tumblers) writeTumbler(f, t);
    f.endArray();

    // The dossier's campaign data. With no campaign, the built-in mission is
    // a campaign of one.
    const std::vector<MissionSummary>& missions = game.missionSummaries;
    const std::vector<MissionSummary> builtIn =
        missions.empty() ? std::vector<MissionSummary>{{game.missionName, game.missionDesc}}
                         : std::vector<MissionSummary>{};
    const std::vector<MissionSummary>& shown = missions.empty() ? builtIn : missions;
    f.key("missionNames").beginArray();
    for (const MissionSummary& m : shown) f.string(m.name);
    f.endArray();
    f.key("missionDescs").beginArray();
    for (const MissionSummary& m : shown) f.string(m.desc);
    f.endArray();
    f.key("missionCount").integer(static_cast<long long>(shown.size()));
    f.key("missionGrades").beginArray();
    for (const std::string& grade : game.missionGrades) f.string(grade);
    f.endArray();
    f.key("stealthGrade").string(game.stealthGrade);
    f.key("lastIntelAward").integer(game.lastIntelAward);
    f.key("bannerActive").boolean(game.bannerActive && game.bannerTimer > 0.0f);
    f.key("bannerText").string(game.bannerText);
    f.key("bannerColor").beginArray();
    f.number(game.bannerColor.r).number(game.bannerColor.g).number(game.bannerColor.b);
    f.endArray();

    // What the player needs to understand an outcome and to find the next move.
    f.key("failReason").string(failReasonText(game.failReason));
    const Game::Grade grade = game.gradeMission();
    f.key("gradeScore").integer(grade.score);
    f.key("gradeLines");
    writeGradeLines(f, game, grade);
    f.key("smokeReady").boolean(game.smokeWindow && game.gameState == GameState::Playing);
    f.key("missionInProgress")
        .boolean(game.gameState == GameState::Briefing && game.missionClock > 0.0f);
    f.key("operativeX")
        .number(game.playerPos.x * (static_cast<float>(layout.logicalWidth) / kFieldWidth));
    f.key("operativeY")
        .number(game.playerPos.y * (static_cast<float>(layout.logicalHeight) / kFieldHeight));
    f.key("inputDevice").string(game.inputDevice == InputDevice::Gamepad ? "gamepad" : "keyboard");
    // A mission file that cannot be played: the checker's messages, shown on
    // the dossier where the operations would be.
    f.key("missionErrors").beginArray();
    for (const std::string& error : game.missionErrors) f.string(error);
    f.endArray();
    writeProgressionExtras(f, game, layout);
    // The player's own missions, beside the campaign.
    f.key("customMissions").beginArray();
    for (const CustomMission& m : game.customMissions) writeCustomMission(f, m);
    f.endArray();
    f.key("customIndex").integer(static_cast<long long>(game.customIndex));
    f.key("customFolder").string(game.missionsFolder);
    writeOptionsExtras(f, game, replay ? replay->playerOptions : nullptr);
    if (replay) writeReplayExtra(f, *replay);
    f.endObject();
    std::string state = f.text();
    if (!editor.empty()) {
        state.pop_back();  // the closing brace, put back after the editor's object
        state.append(",\"editor\":").append(editor).push_back('}');
    }
    return "window.syncGameState && window.syncGameState(" + state + ");";
}

std::string approachNamesScript() {
    JsonWriter names;
    names.beginArray();
    for (std::uint32_t i = 0; i < kApproachCount; ++i) {
        names.string(approachName(static_cast<Approach>(i)));
    }
    names.endArray();
    return "window.nameApproaches && window.nameApproaches(" + names.text() + ");";
}

}  // namespace nj
