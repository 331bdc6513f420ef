#pragma once
// The options screen's part of the state: the player's settings, whether the
// screen is open and what a rebinding said, the keys and pad buttons as
// bound, and whether the last win was assisted. Appended after the other
// extras (ui/README.md lists them).

namespace nj {

class Game;
class JsonWriter;
class PlayerOptions;

// `shown`, when given, stands in for the game's own options (a watched
// replay's game has none; the page still shows the player's).
void writeOptionsExtras(JsonWriter& json, const Game& game, const PlayerOptions* shown = nullptr);

}  // namespace nj
