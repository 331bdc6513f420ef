#pragma once
// The one owner of all simulation state: campaign progress, the loaded
// mission's world, the operative, detection and alarm, the safe, the banner,
// the effect lists the scene draws, and the keys held down. Fields are public
// so the renderer and the page protocol read them directly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/color.hpp"
#include "core/links.hpp"
#include "data/records_file.hpp"
#include "data/run_record.hpp"
#include "game/custom_operations.hpp"
#include "game/player_command.hpp"
#include "game/world.hpp"

namespace nj {

enum class GameState : std::uint32_t {
    Briefing = 0,         // dossier; the selected mission is loaded but frozen
    Playing = 1,          // the rules run
    Paused = 2,           // nothing advances, not even effects
    MissionComplete = 3,  // effects keep animating
    MissionFailed = 4,
};

// Virtual-key codes the rules know by name.
namespace vk {
inline constexpr std::uint32_t kTab = 9, kEnter = 13, kShift = 16, kEsc = 27, kSpace = 32;
inline constexpr std::uint32_t kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
inline constexpr std::uint32_t kA = 'A', kD = 'D', kE = 'E', kP = 'P', kR = 'R', kS = 'S', kW = 'W';
inline constexpr std::uint32_t kN = 'N', kQ = 'Q';
inline constexpr std::uint32_t kO = 'O';  // the options screen, from the dossier or pause
inline constexpr std::uint32_t kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115;
}  // namespace vk

inline constexpr float kFieldWidth = 960.0f;
inline constexpr float kFieldHeight = 540.0f;
inline constexpr std::ptrdiff_t kNoGuard = -1;
// Most missions a campaign holds ("mission1" ... in the campaign file); the
// dossier, the progress arrays and the save file all count from this.
inline constexpr std::size_t kMaxMissions = 4;
// The briefing of a mission that does not write its own.
inline constexpr const char* kDefaultMissionDesc = "Infiltrate the perimeter and extract.";

// What the dossier lists for one campaign mission.
struct MissionSummary {
    std::string name;
    std::string desc;
};

// A perk NIA intel buys on the dossier's requisition list.
struct PerkOffer {
    const char* name;
    const char* effect;   // one line, for the list
    const char* mark;     // the HUD's two-letter mark while it is owned
    std::uint32_t price;  // NIA intel
};
// Slow detection, soft step, safe assist: the order save.dat keeps them in.
inline constexpr std::size_t kPerkCount = 3;
const std::array<PerkOffer, kPerkCount>& perkOffers();

enum class Purchase : std::uint8_t {
    Bought,
    NoSuchPerk,
    AlreadyOwned,
    TooLittleIntel,
    NotOnDossier
};

// The look and faction of a mission's building. The theme table treats every
// theme it does not name as the archive.
enum class Theme : std::uint8_t {
    Casino,
    Embassy,
    Laboratory,
    Archive,
    Other,  // a mission file's theme the game does not know: dressed as the archive
};

// The infiltration approach chosen on the dossier (F1..F4). The page and the
// keys can ask for any number: values past the last act as no approach.
enum class Approach : std::uint32_t {
    ServiceCorridor = 0,  // service spawn, holds cyan
    StaffDisguise = 1,    // disguise that wears off when seen
    UplinkHack = 2,       // a camera down, lasers slowed, patrols marked
    VipBackstage = 3,     // backstage spawn, holds ruby
};
inline constexpr std::uint32_t kApproachCount = 4;

// Where loadCampaign looks first.
enum class CampaignSource : std::uint8_t { PackageFirst, DiskFirst };

// Help a player switches on in the options. The rule flags they set are the
// same as the perks' (a perk bought with intel is part of the normal game; an
// assist is not): a rule reads the perk or the assist, and only perks are
// saved. A win with any assist on is marked as assisted.
struct Assists {
    bool slowDetection = false;
    bool softStep = false;
    bool safe = false;                 // wider, slower safe windows
    bool toggleSneak = false;          // the sneak key switches sneaking on and off
    std::uint32_t speedPercent = 100;  // game speed: 100, 85 or 70
    bool any() const { return slowDetection || softStep || safe || speedPercent != 100; }
};

// The device the player last used, so the page's hints name its buttons.
enum class InputDevice : std::uint8_t { Keyboard, Gamepad };

// Where the player's best run had its operative at this point of the
// mission clock: a translucent figure drawn beside the live one. Only the
// drawing reads it; the rules never do.
struct GhostView {
    bool visible = false;
    float x = 0, y = 0;   // canvas units
    float facing = 0;     // the drawn heading, radians
    float walkPhase = 0;  // distance walked, drives the stride
    bool moving = false;
    float strength = 1.0f;  // 1 while it runs, down to 0 as it fades at its end
};

// Why the last mission failed, so the failure screen can say it.
enum class FailReason : std::uint8_t {
    None = 0,      // not failed
    Laser = 1,     // touched a live laser
    Detected = 2,  // the detection meter filled
    Expired = 3,   // a timed directive ran out
};

class PlayerOptions;
class RunRecorder;
struct MissionWorld;
struct CarriedBonuses;
struct SaveRecord;

class Game {
  public:
    explicit Game(AudioSink* audioSink);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // One update of the rules with what the player holds. Without a command,
    // the one the held keys give (heldCommand): scripts and tests press keys.
    void update(float dt, const PlayerCommand& command);
    void update(float dt) { update(dt, heldCommand()); }
    // The command the keys the game holds down give through the key map.
    PlayerCommand heldCommand() const;
    // Rebuilds the selected mission and resets the per-mission state.
    void loadMission(bool startPlaying);

    // Input (game/input.cpp).
    void onKeyDown(std::uint32_t key);
    void onKeyUp(std::uint32_t key);
    // Every held key released, as if each key-up had arrived (focus lost).
    void releaseAllKeys();

    // A press or page command that acts at once during a run, recorded when
    // a run is (game/input.cpp).
    void act(RunAction action);

    // Page commands that are not rule operations of their own (game/input.cpp).
    void retryMission();
    void togglePause();
    void openDossier();
    void toggleAudio();
    void quitGame();
    void prevMission();
    void nextMission();
    void abortSafe();
    void triggerSafe();
    // P or Esc on the dossier: quits at once, or asks first while a mission
    // waits there (confirmQuit); asked again, quits.
    void requestQuit();
    // On the dossier with a mission left by Tab (the page's "missionInProgress").
    bool missionWaiting() const;
    // The page's numeric arguments, converted with saturation (NaN gives 0).
    void selectMissionFromPage(double missionIndexArg);
    void setApproachFromPage(double approachArg);

    // Requisition (game/requisition.cpp). A refusal changes no progress: it
    // only says why, on the banner.
    bool perkOwned(std::size_t index) const;
    Purchase buyPerk(std::uint64_t index);
    void buyPerkFromPage(double perkIndexArg);
    void toggleRequisition();  // Q on the dossier

    // Records and the campaign's end (game/progression.cpp).
    void loadRecords();
    // Every operation of a loaded campaign won at least once (never for a
    // mission played on its own, which keeps no progress).
    bool campaignComplete() const;
    // The records of the operation the dossier lists at `index`, or null.
    const OperationRecord* recordFor(std::size_t index) const;
    void askNewCampaign();  // N on the dossier: the question first
    // save.dat moved aside as a dated backup, and progress from scratch;
    // records stay. Only while the question is up.
    void startNewCampaign();
    // Closes the campaign-complete screen or the new-campaign question.
    void closeDialog();

    // The options screen (game/options_input.cpp). It opens over the dossier
    // and the pause screen, takes every key while open, and Esc closes it.
    // Without player options (headless, no shell) nothing opens.
    void openOptions();
    void closeOptions();
    void stepOptionFromPage(double rowArg);
    void lowerOptionFromPage(double rowArg);
    void setVolumeFromPage(double percentArg);
    void listenForKeyFromPage(double targetArg);
    void resetBindings();

    // Mission flow (game/mission_flow.cpp).
    void startOrAdvance();
    void selectMission(std::uint64_t index);
    void setApproach(std::uint32_t value);

    // Campaign, mission builder and save (game/campaign.cpp, game/mission_builder.cpp).
    // The package's campaign wins over a file of the same name, unless the
    // player named a file on disk to play.
    bool loadCampaign(const std::string& path,
                      CampaignSource source = CampaignSource::PackageFirst);
    // The first of `paths` that loads; false when none does.
    bool loadFirstCampaign(const std::vector<std::string>& paths);
    // Takes the campaign's map tokens and reads each mission's summary from
    // them once; a token that does not decode gets the builder's defaults.
    void setCampaignMaps(std::vector<std::string> tokens);
    void buildMission(std::size_t index);
    // Puts a built world in play (game/mission_builder.cpp): every mission
    // field is the world's, and the operative starts fresh in it.
    void installWorld(MissionWorld world);
    void loadSave();
    void writeSave();

    // Custom operations (game/custom_flow.cpp). Reads the missions folder
    // again, checking only what changed; the selected one is rebuilt when
    // its file changed and dropped when it is gone.
    void refreshCustomMissions();
    // The page's index, converted with saturation; out of range does nothing.
    void selectCustomMissionFromPage(double customIndexArg);
    void playCustomMissionFromPage(double customIndexArg);
    // The selected custom operation's code to the shell's clipboard.
    void copyMissionCode();
    // A code from the shell's clipboard, checked and saved into the missions folder.
    void pasteMissionCode();
    bool customSelected() const { return customIndex >= 0; }

    // Shared operations.
    void spawnBurst(float x, float y, const Color& color, int count);
    void showBanner(const std::string& text, float seconds, const Color& color);
    void playCue(int cue);      // nothing without an audio sink
    bool audioEnabled() const;  // false without an audio sink

    // Guards (game/guards.cpp).
    void investigate(Guard& guard, float x, float y, float seconds);
    void emitNoise(float x, float y, float radius, bool loud);
    void alertNearby(Vec2 point, float radius);
    bool lineOfSightBlocked(Vec2 a, Vec2 b) const;
    // Whether `guard` notices what is at `point`: within `reach`, inside
    // `halfWidth` (radians) of its facing, and not behind anything that blocks sight.
    bool notices(const Guard& guard, Vec2 point, float reach, float halfWidth) const;
    bool guardCanSee(const Guard& guard, Vec2 point, float range) const;
    void takedown();

    // Objectives (game/objectives.cpp).
    // The card is held and the safe not yet decrypted.
    bool safeStillLocked() const;
    // The safe can be opened here: still locked, the terminal within reach.
    bool canOpenSafe() const;
    // What E does where the operative stands, the first that applies.
    enum class Interaction : std::uint8_t { None, Directive, Intel, SafeTerminal };
    Interaction interactionHere() const;
    void openSafe();
    void tapTumbler();
    void secureIntel();
    void finishMission(bool success);
    struct Grade {
        std::string label;
        std::int32_t award = 0;
        // How the score came about: 100, plus each line's points.
        std::int64_t score = 0;
        std::int64_t spottedPoints = 0, peakPoints = 0, timePoints = 0, intelPoints = 0,
                     altExitPoints = 0;
    };
    Grade gradeMission() const;

    // ---- Links and campaign progress ----
    AudioSink* audio = nullptr;  // not owned
    float frameDt = 0.016f;      // last step; no rule reads it
    GameState gameState = GameState::Briefing;
    std::uint64_t missionIndex = 0;
    std::vector<std::string> campaignMaps;         // map tokens, at most kMaxMissions
    std::vector<MissionSummary> missionSummaries;  // one per map, from setCampaignMaps
    // Every field a mission file sets (names, theme, spawns, the pieces and
    // lists) is written by installWorld alone; the constructor installs the
    // built-in mission, whose values are MissionWorld's defaults.
    std::string missionName;
    std::string missionDesc;
    Theme theme = Theme::Casino;
    std::string otherTheme;  // the mission file's spelling when theme is Other
    std::string faction;
    Approach approach = Approach::ServiceCorridor;
    float disguise = 0.0f;  // 0..1 integrity of the staff disguise
    Vec2 playerStart;
    Vec2 serviceSpawn;
    Vec2 backstageSpawn;
    std::vector<NoiseRing> noiseRings;
    Vec2 alarmPos;  // where the last alert broadcast pointed
    std::uint8_t alarmActive = 0;
    float alarmTimer = 0.0f;  // seconds left of the broadcast
    std::uint32_t timesSpotted = 0;
    float peakDetection = 0.0f;
    Objective dynamicObjective;
    Objective optionalIntel;
    std::uint8_t nearObjective = 0, nearIntel = 0;
    Rect altExit;
    std::string altExitLabel;
    std::uint8_t altExitActive = 0;
    std::uint8_t usedAltExit = 0;
    FailReason failReason = FailReason::None;
    std::uint32_t intelBudget = 200;  // saved (as a signed decimal)
    std::uint32_t lastIntelAward = 0;
    std::string stealthGrade = "S SHADOW";
    std::uint64_t highestUnlocked = 0;                          // saved
    std::array<std::uint8_t, kMaxMissions> missionCompleted{};  // saved
    std::array<std::string, kMaxMissions> missionGrades = ungradedMissions();
    // Owned perks (saved): bought on the requisition list, never switched on
    // by anything else.
    std::uint8_t perkSlowDetection = 0, perkSoftStep = 0, perkSafeAssist = 0;
    std::uint8_t ghostBonus = 0, intelBonus = 0;  // carried from the last win into later builds

    // ---- Player and progress ----
    Vec2 playerPos;
    float playerRadius = 12.0f;
    float playerSpeed = 190.0f;  // units per second
    float playerFacing = 0.0f;
    float playerDrawFacing = 0.0f;
    float walkDistance = 0.0f;
    std::uint8_t cipherAcquired = 0, cipherDecrypted = 0;
    std::uint8_t playerMoving = 0, playerSneaking = 0, playerInCover = 0;
    float takedownTimer = 0.0f;  // seconds left of the 0.42 s lunge
    Vec2 takedownFrom, takedownTo;
    std::set<std::string> keycardsHeld;
    std::vector<Wall> walls;
    std::vector<Furniture> furniture;
    std::vector<Laser> lasers;
    std::vector<Camera> cameras;
    std::vector<PressurePlate> pressurePlates;
    std::vector<Guard> guards;
    std::vector<Door> doors;
    std::vector<Keycard> keycards;
    Rect gate;
    float gateOpen = 0.0f;  // 0..1; blocks below 1
    Circle card;
    std::uint8_t cardTaken = 0;
    Circle terminal;
    Rect exit;
    float missionClock = 0.0f;  // play time, Playing only
    float animClock = 0.0f;     // every state but Paused
    float laserBlinkTimer = 0.0f;
    std::uint8_t lasersOn = 1;
    float detection = 0.0f;                    // 0..1
    std::ptrdiff_t takedownTarget = kNoGuard;  // guard index or kNoGuard
    std::uint8_t smokeWindow = 0;
    float smokeWindowTimer = 0.0f;
    std::uint8_t safeActive = 0;
    std::vector<Tumbler> tumblers;
    std::uint64_t currentTumbler = 0;
    std::uint8_t bannerActive = 0;
    float bannerTimer = 0.0f, bannerDuration = 0.8f;
    Color bannerColor = kGold;
    std::string bannerText;
    std::vector<Particle> particles;
    std::vector<Puff> puffs;
    std::vector<Footprint> footprints;
    std::vector<DustMote> dust;
    std::vector<Impact> impacts;
    std::vector<Tracer> tracers;
    std::set<std::uint32_t> heldKeys;

    // ---- Beyond the rule fields ----
    // Footstep cadence; never reset, so it carries over between missions.
    float footstepPhase = 0.0f;
    // Set by the shell; quitting with no hook does nothing.
    std::function<void()> quitHook;
    // Set by the shell from the last key press or controller input.
    InputDevice inputDevice = InputDevice::Keyboard;
    // Set by the shell each frame from the ghost of the best run (the
    // GHOST option); no rule reads it and no state line shows it.
    GhostView ghostView;
    // The dossier asks "Quit? The mission in progress will be lost." and
    // waits for QUIT or RESUME; any way off the dossier closes it.
    bool confirmQuit = false;
    // The dossier's requisition list is up in place of the approaches; it
    // takes the keys while it is.
    bool requisitionOpen = false;
    std::uint32_t requisitionChoice = 0;  // the perk Enter buys, in save order
    // Where the best runs are kept (records.json in the player's folder); ""
    // keeps none. Read when the campaign loads, written after each win.
    std::string recordsPath;
    RecordBook records;
    RecordNews lastRecordNews;  // what the last win improved, for its screen
    // True when any assist was on at some step of the run (cleared by a
    // mission load): its win is recorded apart and says ASSISTED.
    bool runAssisted = false;
    // The CAMPAIGN COMPLETE screen over the dossier, after the win that
    // completed the last operation.
    bool campaignEndShown = false;
    bool confirmNewCampaign = false;  // "Start a new campaign?" is up
    // Stands in for the wall clock's date in tests; empty: today's.
    std::function<std::string()> recordDate;
    // Set by the shell from the player's options; none by default.
    Assists assists;
    PlayerOptions* options = nullptr;  // not owned; null: no options screen
    std::uint8_t optionsOpen = 0;
    // Toggled by the sneak key when sneaking toggles; cleared by a mission load.
    std::uint8_t sneakLatched = 0;

    // Set by the shell (or a tool) to record runs; not owned. The rules
    // never read it.
    RunRecorder* recorder = nullptr;

    // A rule changed campaign progress (a won mission): update writes
    // save.dat when the step is over, so no rule writes a file.
    bool progressChanged = false;

    // The rule flags: the perk bought or the assist switched on.
    bool slowDetectionOn() const { return perkSlowDetection || assists.slowDetection; }
    bool softStepOn() const { return perkSoftStep || assists.softStep; }
    bool safeAssistOn() const { return perkSafeAssist || assists.safe; }
    // Where campaign progress is read and written: the player's folder, or
    // the working directory when the game runs portable. Empty: progress is
    // neither read nor written (a mission played on its own).
    std::string savePath = "save.dat";
    // Why a mission file given on the command line cannot be played, one
    // checker message each; the dossier shows them instead of the operations.
    std::vector<std::string> missionErrors;
    // The player's missions folder; "" lists no custom operations.
    std::string missionsFolder;
    std::vector<CustomMission> customMissions;
    // The custom operation on the dossier and in play, or -1: the campaign's.
    std::ptrdiff_t customIndex = -1;
    // Set by the shell: the clipboard's text, and putting text on it. Without
    // them copying and pasting codes does nothing.
    std::function<std::string()> readClipboardHook;
    std::function<void(const std::string&)> writeClipboardHook;

    // Whether the operative's circle at (cx, cy) would hit a wall, the closed
    // gate, a closed door or furniture (game/movement.cpp).
    bool blocksMovement(float cx, float cy) const;

  private:
    // "--" for every mission: no grade yet.
    static std::array<std::string, kMaxMissions> ungradedMissions() {
        std::array<std::string, kMaxMissions> grades;
        grades.fill("--");
        return grades;
    }

    // campaign.cpp: the save record and the progress fields, both ways.
    SaveRecord progressRecord() const;
    void takeProgress(const SaveRecord& record);

    // Scratch list for sight tests, kept to avoid an allocation per test.
    mutable std::vector<Rect> sightBlockers_;

    void requisitionKey(std::uint32_t key);  // requisition.cpp
    void pressKey(std::uint32_t key);        // input.cpp: what a key does
    void perform(RunAction action);          // input.cpp: what an action does
    // run_recorder hooks (game.cpp): a run begins, ends, or is told an update
    bool runRecorded() const;
    void beginRun();
    void endRun(RunOutcome outcome);
    bool pressInteract();  // input.cpp; true when E acted
    // progression.cpp
    void recordWin(const Grade& grade);
    bool dossierQuestionKey(std::uint32_t key);                // true when a question took the key
    bool playingStep(float dt, const PlayerCommand& command);  // false when a rule ended the step
    void saveChangedProgress();  // save.dat, when a rule changed progress
    void ageEffects(float dt);

    // movement.cpp
    void movePlayer(float dt, const PlayerCommand& command);
    void turnPlayerDrawFacing(float dt);
    void testCover();

    // devices.cpp
    void slideLasers(float dt);
    void blinkLasers();
    void updatePressurePlates();
    bool updateCameras(float dt);  // true when a camera caught the operative
    bool laserContact();           // true when the mission failed
    void pickUpKeycards();
    void openDoors(float dt);

    // objectives.cpp
    void pickUpCard();
    void updateGateAndTerminal(float dt, const PlayerCommand& command);
    void updateOptionalIntel(const PlayerCommand& command);
    bool updateDynamicObjective(float dt, const PlayerCommand& command);  // false: mission failed
    bool exfiltrate();  // true when the mission ended
    void failMission(FailReason why);
    // With no campaign there is no token to rebuild from: the built-in
    // mission is put back as the game was constructed.
    void rebuildBuiltInMission();
    // Builds the selected custom operation on the built-in mission's world,
    // as the checker judged it: the campaign's carried bonuses left out.
    void buildCustomMission();
    void buildMissionFromToken(const std::string& token, std::size_t index, CarriedBonuses bonuses);
    // Back to the campaign's selection (nothing when none is selected).
    void leaveCustomMission();
    // custom_flow.cpp: what copying the selected code does, clipboard or none.
    void copySelectedCode();
    void showApproachBanner();  // mission_flow.cpp
    void turnTumbler(float dt);
    void completeObjective(const std::string& banner);

    // guards.cpp
    bool guardPass(float dt);  // true when a guard saw the operative
    void updateGuard(std::size_t index, float dt, bool& seen);
    void moveGuard(Guard& guard, float dt);
    void fireAt(Guard& guard);
    // game.cpp: a shot's scorch, sparks and smoke where it hit, (dx, dy) back along the shot
    void spawnImpact(float x, float y, float dx, float dy);
    // detection.cpp; false when the mission failed
    bool updateDetection(float dt, bool seen, const PlayerCommand& command);
};

}  // namespace nj
