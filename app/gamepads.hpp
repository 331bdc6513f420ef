#pragma once
// The game controllers plugged in: opened when SDL reports them (at start-up
// or while playing), closed when unplugged, each turned into key commands for
// the game by its own GamepadMapper. Also rumbles them.
//
// The pads press the game's keys rather than adding to the player's command
// on their own: which presses count as held (none while the safe, the options
// screen or a dossier question has the keys; the stick walks the requisition
// list) is the game's key handling, and a pad player meets exactly what a
// keyboard player does.

#include <SDL2/SDL.h>

#include <memory>
#include <vector>

#include "app/gamepad_mapping.hpp"
#include "app/rumble_cues.hpp"

namespace nj {

class Game;
class InputRouter;
class OptionsShell;

class Gamepads {
  public:
    // The pads press keys as the keyboard does: the page is offered them first.
    explicit Gamepads(InputRouter& keys);
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // True when the event was a controller's (handled here). A rebinding
    // waiting on `options` takes a button press; null: none can.
    bool handleEvent(const SDL_Event& event, OptionsShell* options);
    // Lets go of everything every pad holds (focus lost).
    void releaseAll();
    // Rumbles every pad that can; a pad without motors simply stays still.
    void rumble(const RumbleCue& cue);
    // The options: rumble on or off and its strength (percent), the stick's
    // dead zone (0..1), for the pads plugged in and those still to come.
    void setRumble(bool on, int strengthPercent);
    void setDeadZone(float deadZone);
    void setStickSneaks(bool on);
    std::size_t count() const { return pads_.size(); }

  private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        std::unique_ptr<GamepadMapper> mapper;
    };
    void open(int deviceIndex);
    void close(SDL_JoystickID id);
    Pad* find(SDL_JoystickID id);

    void sendKey(std::uint32_t key, bool down);

    InputRouter& keys_;
    bool available_ = false;
    bool rumbleOn_ = true;
    int rumblePercent_ = 100;
    float deadZone_ = kStickDeadZone;
    bool stickSneaks_ = true;
    std::vector<Pad> pads_;
};

}  // namespace nj
