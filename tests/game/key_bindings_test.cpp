// Key positions to the rules' key codes, and rebinding without doubling.
#include "game/key_bindings.hpp"

#include <gtest/gtest.h>

#include <set>

#include "game/game.hpp"

namespace nj {
namespace {

const KeyPositions kDefaults = Settings{}.keys;

// The codes the keys a US player has always pressed give, from where they sit.
TEST(KeyBindings, DefaultPositionsGiveTheKeyCodesTheRulesKnow) {
    const struct {
        int position;
        std::uint32_t layoutCode;  // the label's code on a US board
        std::uint32_t expected;
    } cases[] = {
        {26, 'W', vk::kW},
        {22, 'S', vk::kS},
        {4, 'A', vk::kA},
        {7, 'D', vk::kD},
        {225, 16, vk::kShift},
        {229, 16, vk::kShift},
        {8, 'E', vk::kE},
        {44, 32, vk::kSpace},
        {19, 'P', vk::kP},
        {43, 9, vk::kTab},
        {21, 'R', vk::kR},
        {58, 112, vk::kF1},
        {61, 115, vk::kF4},
        // Keys no action is bound to keep the code of their label.
        {82, 38, vk::kUp},
        {41, 27, vk::kEsc},
        {40, 13, vk::kEnter},
        {68, 122, 122},
        {18, 'O', vk::kO},
        {16, 'M', 'M'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(boundKeyCode(kDefaults, c.position, c.layoutCode), c.expected) << c.position;
    }
    std::set<std::uint32_t> codes;
    for (std::size_t i = 0; i < kBoundActionCount; ++i)
        codes.insert(actionKeyCode(static_cast<BoundAction>(i)));
    EXPECT_EQ(codes.size(), kBoundActionCount);
}

// On AZERTY the key under the left hand's ring finger is labelled Z and sits
// where W sits on QWERTY: it moves up. The key labelled W sits where Z does,
// and gives nothing rather than a second "move up".
TEST(KeyBindings, TheMovementClusterFollowsThePositionOnOtherLayouts) {
    EXPECT_EQ(boundKeyCode(kDefaults, 26, 'Z'), vk::kW);
    EXPECT_EQ(boundKeyCode(kDefaults, 20, 'A'), 0u);  // AZERTY's A, where Q sits
    EXPECT_EQ(boundKeyCode(kDefaults, 4, 'Q'), vk::kA);
    EXPECT_EQ(boundKeyCode(kDefaults, 29, 'W'), 0u);
    EXPECT_EQ(boundKeyCode(kDefaults, 28, 'Z'), 'Z');    // QWERTZ's Z, where Y sits
    EXPECT_EQ(boundKeyCode(kDefaults, 0, 'D'), vk::kD);  // no position: the label decides
}

TEST(KeyBindings, ABoundKeyGivesItsActionAndTheOldKeyGivesNothing) {
    KeyPositions keys = kDefaults;
    const RebindOutcome outcome = rebindKey(keys, BoundAction::Interact, 12);  // I
    EXPECT_EQ(outcome.kind, RebindOutcome::Kind::Bound);
    EXPECT_EQ(outcome.message, "INTERACT ON I");
    EXPECT_EQ(boundKeyCode(keys, 12, 'I'), vk::kE);
    EXPECT_EQ(boundKeyCode(keys, 8, 'E'), 0u);
}

TEST(KeyBindings, AKeyTakenIsSwappedNeverDoubled) {
    KeyPositions keys = kDefaults;
    const RebindOutcome outcome = rebindKey(keys, BoundAction::MoveUp, 8);  // E
    EXPECT_EQ(outcome.kind, RebindOutcome::Kind::Swapped);
    EXPECT_EQ(outcome.message, "MOVE UP ON E, INTERACT MOVED TO W");
    EXPECT_EQ(boundKeyCode(keys, 8, 'E'), vk::kW);
    EXPECT_EQ(boundKeyCode(keys, 26, 'W'), vk::kE);
    EXPECT_EQ(std::set<int>(keys.begin(), keys.end()).size(), kBoundActionCount);
    // A right-hand modifier is the left one: binding to it swaps with sneak.
    EXPECT_EQ(rebindKey(keys, BoundAction::Takedown, 229).kind, RebindOutcome::Kind::Swapped);
    EXPECT_EQ(boundKeyCode(keys, 225, 16), vk::kSpace);
    EXPECT_EQ(boundKeyCode(keys, 44, 32), vk::kShift);
    EXPECT_EQ(rebindKey(keys, BoundAction::Takedown, 225).kind, RebindOutcome::Kind::Unchanged);
}

TEST(KeyBindings, KeysTheGameKeepsAreRefused) {
    for (const int reserved :
         {40, 88, 41, 18, 67, 68, 79, 80, 81, 82, 226, 230, 227, 0, 2, 512, -5}) {
        KeyPositions keys = kDefaults;
        const RebindOutcome outcome = rebindKey(keys, BoundAction::Sneak, reserved);
        EXPECT_EQ(outcome.kind, RebindOutcome::Kind::Refused) << reserved;
        EXPECT_NE(outcome.message.find("KEPT FOR THE GAME"), std::string::npos);
        EXPECT_EQ(keys, kDefaults);
    }
}

TEST(KeyBindings, PadButtonsSwapAndRefuseWhatIsNoButton) {
    PadAssignment pad = Settings{}.padButtons;
    const RebindOutcome swapped = rebindPadButton(pad, PadRole::Interact, 2);  // X
    EXPECT_EQ(swapped.kind, RebindOutcome::Kind::Swapped);
    EXPECT_EQ(pad[static_cast<std::size_t>(PadRole::Interact)], 2);
    EXPECT_EQ(pad[static_cast<std::size_t>(PadRole::Takedown)], 0);
    EXPECT_EQ(rebindPadButton(pad, PadRole::Interact, 6).kind, RebindOutcome::Kind::Refused);
    EXPECT_EQ(rebindPadButton(pad, PadRole::Interact, -1).kind, RebindOutcome::Kind::Refused);
    EXPECT_EQ(std::set<int>(pad.begin(), pad.end()).size(), kPadRoleCount);
}

TEST(KeyBindings, PositionsAreNamedAsAUsBoardPrintsThem) {
    const std::pair<int, const char*> cases[] = {
        {4, "A"},      {29, "Z"},   {30, "1"},        {39, "0"},
        {58, "F1"},    {69, "F12"}, {229, "SHIFT"},   {225, "SHIFT"},
        {44, "SPACE"}, {43, "TAB"}, {89, "KEYPAD 1"}, {400, "KEY 400"}};
    for (const auto& [position, name] : cases) EXPECT_EQ(keyPositionName(position), name);
}

}  // namespace
}  // namespace nj
