#pragma once
// The process-wide pointers through which window events reach the game,
// the renderer and the controllers. Set during bring-up, cleared before any tear-down step,
// so an event that arrives while shutting down reaches neither.

namespace nj {

class Game;
class Gamepads;
class OptionsShell;
class VulkanRenderer;

extern Game* g_game;
extern VulkanRenderer* g_renderer;
extern Gamepads* g_gamepads;
extern OptionsShell* g_optionsShell;  // the player's options; null before bring-up

}  // namespace nj
