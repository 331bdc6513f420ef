#pragma once
// A virtual game controller played from a script, so tests can drive the real
// game with a pad where there is none ("--pad-script PATH"). The pad is
// SDL's own virtual device, so its input takes exactly the path a real
// controller's does. One command a line, run in order as the game's frames go by:
//   plug | unplug                      attach or detach the virtual pad
//   wait SECONDS                       let the game run
//   button NAME down|up                a, b, x, y, back, start, lb, rb, up, down, left, right
//   stick X Y                          left stick, -1..1 each (y grows downwards)
//   trigger left|right VALUE           0..1
//   key NAME                           a key press through the window's own events (e, space)
//   print                              one "pad-state ..." line of the game's state on stdout
//   quit                               close the game
// A rumble the game asks of the pad prints "pad-rumble LOW HIGH".

#include <SDL2/SDL.h>

#include <string>
#include <vector>

namespace nj {

class Game;

class PadScript {
  public:
    // False (with a message on stderr) when the file cannot be read.
    bool load(const std::string& path);
    // Runs every command that is due at `seconds` (time since the start).
    void tick(double seconds, const Game& game);
    ~PadScript();

  private:
    void run(const std::vector<std::string>& words, double seconds, const Game& game);
    void plug();
    void unplug();

    std::vector<std::vector<std::string>> lines_;
    std::size_t next_ = 0;
    double resumeAt_ = 0.0;
    int deviceIndex_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

}  // namespace nj
