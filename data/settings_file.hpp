#pragma once
// settings.json: the player's options, UTF-8 JSON with a version number.
//
// The file is the player's, so it is read as hostile input: each value that
// cannot be used falls back to its default and is named in one problem line,
// numbers are pulled into their ranges, and a file that is not JSON at all
// (or not a regular file of sane size) leaves every option at its default.
// With no file, every option is what the game has always done, apart from
// pausing when the window loses the focus.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace nj {

inline constexpr const char* kSettingsFileName = "settings.json";
inline constexpr int kSettingsVersion = 1;

// What the keyboard can be rebound for, in the order the options screen lists
// them. Names are the members of "keys" in the file.
enum class BoundAction : std::uint8_t {
    MoveUp,
    MoveDown,
    MoveLeft,
    MoveRight,
    Sneak,
    Interact,
    Takedown,
    Pause,
    Dossier,
    Retry,
    Approach1,
    Approach2,
    Approach3,
    Approach4,
    Count
};
inline constexpr std::size_t kBoundActionCount = static_cast<std::size_t>(BoundAction::Count);
const char* boundActionName(BoundAction action);
// Where the action's key sits by default: the key a US board labels W, S, A,
// D, Shift, E, Space, P, Tab, R, F1-F4, wherever another layout prints them.
int defaultKeyPosition(BoundAction action);

// The pad's action buttons, each rebindable to another physical button. The
// values stored are the physical buttons in this same order (A, B, X, Y,
// Back, Start), so the defaults are 0..5.
enum class PadRole : std::uint8_t { Interact, Cancel, Takedown, Retry, Dossier, Pause, Count };
inline constexpr std::size_t kPadRoleCount = static_cast<std::size_t>(PadRole::Count);
const char* padRoleName(PadRole role);
// The physical button's name as the file writes it ("A", "B", "X", "Y", "BACK", "START").
const char* padButtonLabel(int button);

// Ranges and steps the options take.
inline constexpr int kVolumeStep = 5;                                         // percent
inline constexpr int kRumbleStep = 10;                                        // percent
inline constexpr int kDeadZoneMin = 5, kDeadZoneMax = 60, kDeadZoneStep = 1;  // percent
inline constexpr std::array<int, 3> kTextSizes{100, 125, 150};                // percent
inline constexpr std::array<int, 3> kGameSpeeds{100, 85, 70};                 // percent
// Windowed sizes below this are not a window the game can be played in.
inline constexpr int kMinWindowWidth = 320, kMinWindowHeight = 180;
inline constexpr int kMaxWindowSide = 16384;

// The window's last place and size when windowed; width 0: never recorded.
struct WindowPlacement {
    int x = 0, y = 0;
    int width = 0, height = 0;
    bool known() const { return width > 0 && height > 0; }
    bool operator==(const WindowPlacement&) const = default;
};

struct Settings {
    Settings();        // every option at its default
    int volume = 100;  // master volume, percent, a multiple of kVolumeStep
    bool muted = false;
    bool fullScreen = true;
    WindowPlacement window;
    bool pauseOnFocusLoss = true;
    bool rumble = true;
    int rumbleStrength = 100;  // percent, a multiple of kRumbleStep
    int stickDeadZone = 24;    // percent of a full tilt
    int textSize = 100;        // one of kTextSizes
    bool toggleSneak = false;  // false: sneak while the key is held
    bool assistSlowDetection = false;
    bool assistSoftStep = false;
    bool assistSafe = false;
    int gameSpeed = 100;  // one of kGameSpeeds
    bool colourGlyphs = false;
    bool highContrastCones = false;
    bool reducedFlashing = false;
    bool ghost = false;  // the best run's operative drawn during play
    // Physical key positions (USB usage ids, which are SDL's scancodes) per
    // BoundAction, each on a key of its own.
    std::array<int, kBoundActionCount> keys;
    // Physical pad buttons per PadRole (0..5: A, B, X, Y, Back, Start).
    std::array<int, kPadRoleCount> padButtons{0, 1, 2, 3, 4, 5};

    bool anyAssist() const {
        return assistSlowDetection || assistSoftStep || assistSafe || gameSpeed != 100;
    }
    bool operator==(const Settings&) const = default;
};

// The highest scancode the file may name (SDL's table has 512).
inline constexpr int kMaxScancode = 511;

struct SettingsLoad {
    Settings settings;
    bool found = false;    // something has the file's name
    bool damaged = false;  // some of it could not be used: keep it aside before writing
    // One line for stderr naming what fell back to its default; "" when nothing did.
    std::string problem;
};

// The options as `text` gives them, starting from the defaults.
SettingsLoad parseSettingsText(const std::string& text);
// Reads `path`: missing gives the defaults with found false; a folder, a
// pipe, a device or a file past 64 KiB gives the defaults, damaged. Never
// blocks and never throws.
SettingsLoad readSettingsFile(const std::string& path);
// The file's text: every option, the version first, one member a line.
std::string formatSettingsText(const Settings& settings);

// Helpers the options screen steps with, also used to clamp what is read.
int clampVolume(double percent);
int clampRumbleStrength(double percent);
int clampDeadZone(double percent);
// The nearest of `choices` to `value` (the first for NaN).
int nearestChoice(double value, const std::array<int, 3>& choices);

}  // namespace nj
