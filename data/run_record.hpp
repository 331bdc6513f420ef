#pragma once
// A recorded run: where it started and everything that reached the rules from
// its start to its end, so a fresh game fed the same events plays it again
// exactly. The header holds what the world is built from and the campaign
// progress the rules read; the events hold each update's step and command,
// the keys and page commands that act at once, and any change of assists.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace nj {

enum class RunSource : std::uint8_t {
    BuiltIn = 0,   // no campaign: the game's own mission
    Campaign = 1,  // the campaign's mission at missionIndex
    Custom = 2,    // a custom operation, found by its code's hash
};

enum class RunOutcome : std::uint8_t {
    Unfinished = 0,  // the record was cut off (the game quit mid-run)
    Won = 1,
    Failed = 2,
    Restarted = 3,       // retry, restart or another approach
    LeftForDossier = 4,  // left waiting on the dossier, then given up there
};

// Presses and page commands that act at once during a run, the dossier's
// among them: a run left waiting there goes on when the player comes back,
// so what they did there is part of it.
enum class RunAction : std::uint8_t {
    TogglePause = 0,
    TumblerTap = 1,
    AbortSafe = 2,
    TriggerSafe = 3,
    ToggleAudio = 4,
    OpenDossier = 5,  // out to the dossier, or back to the waiting mission
    ToggleRequisition = 6,
    BuyPerk0 = 7,  // the requisition list's three perks, in save order
    BuyPerk1 = 8,
    BuyPerk2 = 9,
    AskQuit = 10,
    AskNewCampaign = 11,
    CloseDialog = 12,
    CopyMissionCode = 13,
    // The banner naming the approach a run was begun with from play (F1-F4),
    // which comes up once the run has begun.
    ApproachBanner = 14,
};
inline constexpr std::uint8_t kRunActionCount = 15;

enum class RunEventKind : std::uint8_t {
    Step,     // `count` updates of `dt` seconds with command `value`
    Key,      // key `value` pressed
    Action,   // RunAction `value`
    Assists,  // assists switched to `value` (RunStart's packing)
};

struct RunEvent {
    RunEventKind kind = RunEventKind::Step;
    std::uint32_t value = 0;
    float dt = 0.0f;          // Step only
    std::uint32_t count = 1;  // Step only: the same update, repeated
    bool operator==(const RunEvent&) const = default;
};

// What a run starts from. Progress is kept whole so the end of a winning run
// (the award, the unlock, the grade) comes out as it did.
struct RunStart {
    RunSource source = RunSource::BuiltIn;
    std::uint32_t missionIndex = 0;
    std::string missionHash;  // SHA-256 of the mission's token, 32 bytes ("" when built-in)
    std::string missionName;  // for messages only
    std::uint32_t approach = 0;
    std::uint8_t perks = 0;    // bit per perk, in save order
    std::uint8_t bonuses = 0;  // bit 0 ghost, bit 1 intel: carried from the last win
    // Bits 0-4: slow detection, soft step, safe, toggle sneak, and the
    // game speed's percentage from bit 8.
    std::uint32_t assists = 100u << 8;
    std::uint32_t intelBudget = 0;
    std::uint32_t highestUnlocked = 0;
    std::uint8_t completed = 0;  // bit per mission
    std::array<std::string, 4> grades;
    bool audioEnabled = true;
    float footstepPhase = 0.0f;        // the footstep cadence carries over between missions
    std::uint32_t currentTumbler = 0;  // so does the safe's last tumbler, until it opens again
    // What the last win and the last banner left behind, which a new run
    // keeps until it replaces them.
    std::string stealthGrade;
    std::uint32_t lastIntelAward = 0;
    std::string bannerText;
    bool operator==(const RunStart&) const = default;
};

struct RunRecord {
    RunStart start;
    std::vector<RunEvent> events;
    RunOutcome outcome = RunOutcome::Unfinished;
    std::int32_t score = 0;  // the grade's score when won
    float missionClock = 0.0f;
    std::string finalState;  // the run's state line at its end
    bool operator==(const RunRecord&) const = default;
};

}  // namespace nj
