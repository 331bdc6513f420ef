#pragma once
// The player's options while the game runs: read from settings.json at start,
// changed from the options screen (or by F11), applied at once, and written
// back only when the player changes something. A damaged file is left as it
// is until then, and set aside as settings.json.bad at the first write.
//
// The game reads its assists from here; the shell applies the rest (volume,
// window, controller) through onChange.

#include <cstdint>
#include <functional>
#include <string>

#include "data/settings_file.hpp"
#include "game/key_bindings.hpp"

namespace nj {

class Game;

// The options screen's rows that step through values, by number (the page's
// setOption / lowerOption argument).
enum class OptionRow : std::uint8_t {
    Volume,
    FullScreen,
    PauseOnFocusLoss,
    Rumble,
    RumbleStrength,
    StickDeadZone,
    TextSize,
    SneakMode,
    AssistSlowDetection,
    AssistSoftStep,
    AssistSafe,
    GameSpeed,
    ColourGlyphs,
    HighContrastCones,
    ReducedFlashing,
    Ghost,
    Count
};
inline constexpr std::size_t kOptionRowCount = static_cast<std::size_t>(OptionRow::Count);

// What the player asked to rebind, waiting for the next key or button: an
// action (0..13) or, from kListenPadBase on, a pad role.
inline constexpr int kNotListening = -1;
inline constexpr int kListenPadBase = 100;

class PlayerOptions {
  public:
    // `path` "" keeps everything in memory (tests, a run with no player folder).
    explicit PlayerOptions(std::string path = "");

    // Reads the file; its one problem line, if any, goes to stderr.
    void load();
    // A reader only (the headless harness): changes are kept in memory.
    void keepFileUnwritten() { writable_ = false; }
    const Settings& settings() const { return settings_; }
    // What the file said wrong at load ("" when nothing).
    const std::string& loadProblem() const { return loadProblem_; }

    // The assists and sneak mode into the game's rule fields.
    void applyTo(Game& game) const;

    // One step up (+1) or down (-1) of a row; a yes/no row flips either way.
    void step(OptionRow row, int direction);
    void setVolume(double percent);
    void setFullScreen(bool on);
    void setMuted(bool on);
    // Where the window is left: noted quietly while it moves, and written by
    // keepWindowPlacement (at exit), so a drag does not write a file per step.
    void setWindow(const WindowPlacement& placement);
    void keepWindowPlacement();
    void resetBindings();

    // Rebinding waits for the next key or button.
    void listen(int target) { listening_ = target; }
    int listening() const { return listening_; }
    // A key press while listening; false when nothing was listening.
    bool offerKey(int scancode);
    // A pad button (0..5) while listening for a pad role.
    bool offerPadButton(int button);
    // The last rebinding's outcome, for the options screen.
    const std::string& message() const { return message_; }

    // The key a position shows on the player's layout; the shell supplies the
    // layout-aware names, everything else names US positions.
    std::string (*keyName)(int scancode) = keyPositionName;
    // Called after every change with the new settings (the shell applies them).
    std::function<void(const Settings&)> onChange;

  private:
    void changed();
    bool save();

    std::string path_;
    Settings settings_;
    bool damaged_ = false;  // the file on disk is the player's damaged one
    bool windowMoved_ = false;
    bool writable_ = true;
    std::string loadProblem_;
    int listening_ = kNotListening;
    std::string message_;
};

}  // namespace nj
