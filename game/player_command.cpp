// The key map: held key codes to the player's command.
#include "game/player_command.hpp"

#include "game/game.hpp"

namespace nj {
namespace {

enum class HeldIntent : std::uint8_t { Up, Down, Left, Right, Sneak, Interact, Takedown };

struct KeyIntent {
    std::uint32_t code;
    HeldIntent intent;
};

// The one place a key code means a held intent.
constexpr KeyIntent kDefaultKeyMap[] = {
    {vk::kW, HeldIntent::Up},           {vk::kUp, HeldIntent::Up},
    {vk::kS, HeldIntent::Down},         {vk::kDown, HeldIntent::Down},
    {vk::kA, HeldIntent::Left},         {vk::kLeft, HeldIntent::Left},
    {vk::kD, HeldIntent::Right},        {vk::kRight, HeldIntent::Right},
    {vk::kShift, HeldIntent::Sneak},    {vk::kE, HeldIntent::Interact},
    {vk::kSpace, HeldIntent::Takedown},
};

}  // namespace

PlayerCommand commandFromKeys(const std::set<std::uint32_t>& held, SneakToggle toggle) {
    bool up = false, down = false, left = false, right = false, sneakHeld = false;
    PlayerCommand command;
    for (const KeyIntent& k : kDefaultKeyMap) {
        if (held.count(k.code) == 0) continue;
        switch (k.intent) {
            case HeldIntent::Up:
                up = true;
                break;
            case HeldIntent::Down:
                down = true;
                break;
            case HeldIntent::Left:
                left = true;
                break;
            case HeldIntent::Right:
                right = true;
                break;
            case HeldIntent::Sneak:
                sneakHeld = true;
                break;
            case HeldIntent::Interact:
                command.interact = true;
                break;
            case HeldIntent::Takedown:
                command.takedown = true;
                break;
        }
    }
    // Opposite directions held together cancel out, as two keys always did.
    command.moveX = static_cast<std::int8_t>(int{right} - int{left});
    command.moveY = static_cast<std::int8_t>(int{down} - int{up});
    command.sneak = toggle.on ? toggle.latched : sneakHeld;
    return command;
}

}  // namespace nj
