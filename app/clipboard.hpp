#pragma once
// The desktop's clipboard, which only the shell may touch: mission codes
// travel through it, while the game and the page see commands only.

namespace nj {

class Game;

// Gives the game's copy and paste hooks SDL's clipboard.
void connectClipboard(Game& game);

}  // namespace nj
