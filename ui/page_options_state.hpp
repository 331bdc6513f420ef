#pragma once
// The options screen's part of the state: the player's settings, whether the
// screen is open and what a rebinding said, the keys and pad buttons as
// bound, and whether the last win was assisted. Appended after the other
// extras (ui/README.md lists them).

namespace nj {

class Game;
class JsonWriter;

void writeOptionsExtras(JsonWriter& json, const Game& game);

}  // namespace nj
