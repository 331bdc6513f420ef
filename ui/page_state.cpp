// The per-frame state script: directive, clock, stealth tier, health, prompt,
// the safe's tumblers, the dossier's campaign data, and what explains an
// outcome (why a mission failed, how its grade came about).
#include "ui/page_state.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/json.hpp"
#include "data/map_token.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "ui/json_text.hpp"

namespace nj {
namespace {

constexpr const char* kBullet = "\xE2\x80\xA2 ";
constexpr const char* kDefaultDesc = "Infiltrate the perimeter and extract.";

class Fields {
  public:
    void integer(const char* key, long long value) { raw(key, std::to_string(value)); }
    void number(const char* key, double value) { raw(key, formatNumber(value)); }
    void boolean(const char* key, bool value) { raw(key, value ? "true" : "false"); }
    void text(const char* key, const std::string& value) { raw(key, quoted(value)); }
    void raw(const char* key, const std::string& value) {
        if (!out_.empty()) out_ += ',';
        out_ += '"';
        out_ += key;
        out_ += "\":";
        out_ += value;
    }
    static std::string quoted(const std::string& value) {
        return "\"" + escapeJsonText(value) + "\"";
    }
    const std::string& str() const { return out_; }

  private:
    std::string out_;
};

template <typename T, typename Format>
std::string arrayOf(const T& items, Format format) {
    std::string out = "[";
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ',';
        first = false;
        out += format(item);
    }
    return out + "]";
}

std::string tumblerObject(const Tumbler& t) {
    return "{\"angle\":" + formatNumber(t.angle) + ",\"target\":" + formatNumber(t.target) +
           ",\"width\":" + formatNumber(t.width) + ",\"locked\":" + (t.locked ? "true" : "false") +
           "}";
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

std::string gradeLine(const char* label, const std::string& detail, std::int64_t points) {
    return "{\"label\":" + Fields::quoted(label) + ",\"detail\":" + Fields::quoted(detail) +
           ",\"points\":" + std::to_string(points) + "}";
}

// The win screen's account of the grade, line by line, in the grade's order.
std::string gradeLines(const Game& game, const Game::Grade& grade) {
    const long long peakPercent = std::llround(std::clamp(game.peakDetection, 0.0f, 1.0f) * 100.0f);
    return "[" + gradeLine("SPOTTED", std::to_string(game.timesSpotted), grade.spottedPoints) +
           "," + gradeLine("PEAK DETECTION", std::to_string(peakPercent) + "%", grade.peakPoints) +
           "," + gradeLine("TIME", clockText(game.missionClock), grade.timePoints) + "," +
           gradeLine("INTEL", game.optionalIntel.done ? "TAKEN" : "MISSED", grade.intelPoints) +
           "," +
           gradeLine("ALT EXIT", game.usedAltExit ? "USED" : "NOT USED", grade.altExitPoints) + "]";
}

}  // namespace

std::vector<MissionSummary> summarizeCampaign(const std::vector<std::string>& tokens) {
    std::vector<MissionSummary> missions;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        MissionSummary summary{"OPERATION 0" + std::to_string(i + 1), kDefaultDesc};
        try {
            const JsonValue doc = parseJson(decodeMapToken(tokens[i]));
            summary.name = doc.getString("name", summary.name);
            summary.desc = doc.getString("desc", summary.desc);
        } catch (const std::exception&) {
            // A mission that does not decode keeps its default name; the
            // game cannot load it either.
        }
        missions.push_back(std::move(summary));
    }
    return missions;
}

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

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
    } else if (game.nearObjective) {
        prompt.text = "[E] " + game.dynamicObjective.label;
        x = game.dynamicObjective.x;
        y = game.dynamicObjective.y;
    } else if (game.nearIntel) {
        prompt.text = "[E] SECURE " + game.optionalIntel.label;
        x = game.optionalIntel.x;
        y = game.optionalIntel.y;
    } else if (game.cipherAcquired && !game.cipherDecrypted &&
               std::hypot(game.playerPos.x - game.terminal.x, game.playerPos.y - game.terminal.y) <
                   55.0f) {
        prompt.text = "[E] DECRYPT SAFE TERMINAL";
        x = game.terminal.x;
        y = game.terminal.y;
    } else {
        return prompt;
    }
    // Canvas units to page units, 20 canvas units above the point.
    prompt.x = x * (static_cast<float>(layout.logicalWidth) / 960.0f);
    prompt.y = (y - 20.0f) * (static_cast<float>(layout.logicalHeight) / 540.0f);
    return prompt;
}

std::string buildStateScript(const Game& game, const PageLayout& layout,
                             const std::vector<MissionSummary>& missions) {
    const InteractionPrompt prompt = interactionPrompt(game, layout);
    Fields f;
    f.integer("gameState", static_cast<long long>(game.gameState));
    f.integer("missionIndex",
              static_cast<std::int32_t>(static_cast<std::uint32_t>(game.missionIndex)));
    f.integer("highestUnlocked",
              static_cast<std::int32_t>(static_cast<std::uint32_t>(game.highestUnlocked)));
    f.raw("missionCompleted", arrayOf(game.missionCompleted, [](std::uint8_t c) {
              return std::string(c ? "true" : "false");
          }));
    f.text("directive", directiveText(game));
    f.integer("intelDone", objectivesDone(game));
    f.integer("stealthTier", stealthTier(game));
    f.text("clock", clockText(game.missionClock));
    f.boolean("cipherAcquired", game.cipherAcquired);
    f.boolean("cipherDecrypted", game.cipherDecrypted);
    f.integer("healthSegs", healthSegments(game.detection));
    f.integer("intelBudget", game.intelBudget);
    f.integer("approach", static_cast<std::uint32_t>(game.approach));
    f.boolean("audioEnabled", game.audioEnabled());
    f.text("promptText", prompt.text);
    f.number("promptX", prompt.x);
    f.number("promptY", prompt.y);
    f.boolean("safeActive", game.safeActive);
    f.raw("currentTumbler", std::to_string(game.currentTumbler));
    f.raw("tumblers", arrayOf(game.tumblers, tumblerObject));

    // The dossier's campaign data. With no campaign, the built-in mission is
    // a campaign of one.
    const std::vector<MissionSummary> builtIn =
        missions.empty() ? std::vector<MissionSummary>{{game.missionName, game.missionDesc}}
                         : std::vector<MissionSummary>{};
    const std::vector<MissionSummary>& shown = missions.empty() ? builtIn : missions;
    f.raw("missionNames",
          arrayOf(shown, [](const MissionSummary& m) { return Fields::quoted(m.name); }));
    f.raw("missionDescs",
          arrayOf(shown, [](const MissionSummary& m) { return Fields::quoted(m.desc); }));
    f.integer("missionCount", static_cast<long long>(shown.size()));
    f.raw("missionGrades", arrayOf(game.missionGrades, Fields::quoted));
    f.text("stealthGrade", game.stealthGrade);
    f.integer("lastIntelAward", game.lastIntelAward);
    f.boolean("bannerActive", game.bannerActive && game.bannerTimer > 0.0f);
    f.text("bannerText", game.bannerText);
    f.raw("bannerColor", "[" + formatNumber(game.bannerColor.r) + "," +
                             formatNumber(game.bannerColor.g) + "," +
                             formatNumber(game.bannerColor.b) + "]");

    // What the player needs to understand an outcome and to find the next move.
    f.text("failReason", failReasonText(game.failReason));
    const Game::Grade grade = game.gradeMission();
    f.integer("gradeScore", grade.score);
    f.raw("gradeLines", gradeLines(game, grade));
    f.boolean("smokeReady", game.smokeWindow && game.gameState == GameState::Playing);
    f.boolean("missionInProgress",
              game.gameState == GameState::Briefing && game.missionClock > 0.0f);
    f.number("operativeX",
             game.playerPos.x * (static_cast<float>(layout.logicalWidth) / kFieldWidth));
    f.number("operativeY",
             game.playerPos.y * (static_cast<float>(layout.logicalHeight) / kFieldHeight));
    f.text("inputDevice", game.inputDevice == InputDevice::Gamepad ? "gamepad" : "keyboard");
    return "window.syncGameState && window.syncGameState({" + f.str() + "});";
}

std::string approachNamesScript() {
    std::vector<std::string> names;
    for (std::uint32_t i = 0; i < kApproachCount; ++i)
        names.emplace_back(approachName(static_cast<Approach>(i)));
    return "window.nameApproaches && window.nameApproaches(" + arrayOf(names, Fields::quoted) +
           ");";
}

}  // namespace nj
