// Options while the game runs, settings.json's writes and damage, key positions and rebinding.
#include "game/player_options.hpp"

#include <set>

#include "game/key_bindings.hpp"
#include "tests/game/game_test_support.hpp"

namespace nj {
namespace {

class PlayerOptionsTest : public testing::GameTest {
  protected:
    const std::string path = "settings.json";
};

TEST_F(PlayerOptionsTest, RowsStepWithinTheirRanges) {
    PlayerOptions options;
    const struct {
        OptionRow row;
        int direction, times;
        int Settings::*field;
        int expected;
    } cases[] = {
        {OptionRow::Volume, +1, 9, &Settings::volume, 100},
        {OptionRow::Volume, -1, 40, &Settings::volume, 0},
        {OptionRow::RumbleStrength, -1, 2, &Settings::rumbleStrength, 80},
        {OptionRow::StickDeadZone, -1, 100, &Settings::stickDeadZone, kDeadZoneMin},
        {OptionRow::StickDeadZone, +1, 100, &Settings::stickDeadZone, kDeadZoneMax},
        {OptionRow::TextSize, +1, 5, &Settings::textSize, 150},
        {OptionRow::TextSize, -1, 5, &Settings::textSize, 100},
        {OptionRow::GameSpeed, +1, 4, &Settings::gameSpeed, 70},
        {OptionRow::GameSpeed, -1, 4, &Settings::gameSpeed, 100},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.times; ++i) options.step(c.row, c.direction);
        EXPECT_EQ(options.settings().*c.field, c.expected) << static_cast<int>(c.row);
    }
    options.step(OptionRow::Ghost, -1);
    EXPECT_TRUE(options.settings().ghost);
    options.step(OptionRow::Ghost, +1);
    EXPECT_FALSE(options.settings().ghost);
}

// A damaged file is set aside as settings.json.bad at the first change only.
TEST_F(PlayerOptionsTest, ADamagedFileIsKeptUntilAChangeThenSetAside) {
    const std::string damaged = "{\"volume\": \"loud\", \"textSize\": 150}";
    std::ofstream(path) << damaged;
    PlayerOptions options(path);
    ::testing::internal::CaptureStderr();
    options.load();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "nightjar: settings.json: kept at their defaults, unreadable: volume\n");
    EXPECT_EQ(options.settings().textSize, 150);
    EXPECT_EQ(test::fileText(path), damaged);
    EXPECT_FALSE(std::filesystem::exists(path + ".bad"));

    options.setVolume(40);
    EXPECT_EQ(test::fileText(path + ".bad"), damaged);
    PlayerOptions reread(path);
    reread.load();
    EXPECT_EQ(reread.loadProblem(), "");
    EXPECT_EQ(reread.settings().volume, 40);
    EXPECT_EQ(reread.settings().textSize, 150);
    options.setVolume(45);
    EXPECT_EQ(test::fileText(path + ".bad"), damaged);
}

TEST_F(PlayerOptionsTest, AFolderInTheFilesPlaceIsSetAsideOnTheFirstChange) {
    std::filesystem::create_directory(path);
    PlayerOptions options(path);
    ::testing::internal::CaptureStderr();
    options.load();
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    options.step(OptionRow::FullScreen, +1);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".bad"));
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
}

// A value already set writes nothing; AUDIO ON / OFF is the remembered mute; assists reach the
// rules and the file, never the perks.
TEST_F(PlayerOptionsTest, OnlyAChangeIsWrittenAndTheMuteAndAssistsAreKept) {
    PlayerOptions options(path);
    options.load();
    int changes = 0;
    options.onChange = [&](const Settings&) { ++changes; };
    options.setVolume(100);
    options.setVolume(101);  // steps to 100 again
    options.setFullScreen(true);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(changes, 0);
    options.setVolume(52);
    EXPECT_EQ(options.settings().volume, 50);
    EXPECT_EQ(changes, 1);

    game.options = &options;
    game.toggleAudio();
    EXPECT_FALSE(audio.enabled());
    game.openOptions();
    ASSERT_TRUE(game.optionsOpen);  // from the dossier
    game.stepOptionFromPage(static_cast<double>(OptionRow::AssistSoftStep));
    game.stepOptionFromPage(static_cast<double>(OptionRow::GameSpeed));
    game.stepOptionFromPage(1e300);  // no such row
    game.lowerOptionFromPage(-1.0);
    EXPECT_TRUE(game.assists.softStep);
    EXPECT_EQ(game.assists.speedPercent, 85u);
    EXPECT_FALSE(game.perkSoftStep);
    PlayerOptions reread(path);
    reread.load();
    EXPECT_TRUE(reread.settings().muted);
    EXPECT_EQ(reread.settings().volume, 50);
    EXPECT_TRUE(reread.settings().assistSoftStep);
    EXPECT_EQ(reread.settings().gameSpeed, 85);
}

TEST_F(PlayerOptionsTest, ListeningTakesTheNextKeyAndEscCancels) {
    PlayerOptions options;
    EXPECT_FALSE(options.offerKey(12));  // not listening: the key is the game's
    options.listen(static_cast<int>(BoundAction::Interact));
    EXPECT_TRUE(options.offerKey(82));  // Up is the game's: refused, still listening
    EXPECT_NE(options.message().find("KEPT FOR THE GAME"), std::string::npos);
    EXPECT_EQ(options.listening(), static_cast<int>(BoundAction::Interact));
    EXPECT_TRUE(options.offerKey(12));
    EXPECT_EQ(options.listening(), kNotListening);
    EXPECT_EQ(options.settings().keys[static_cast<std::size_t>(BoundAction::Interact)], 12);
    options.listen(static_cast<int>(BoundAction::Retry));
    EXPECT_TRUE(options.offerKey(scan::kEscape));
    EXPECT_EQ(options.listening(), kNotListening);
    EXPECT_EQ(options.settings().keys[static_cast<std::size_t>(BoundAction::Retry)], 21);

    options.listen(kListenPadBase + static_cast<int>(PadRole::Pause));
    EXPECT_FALSE(options.offerKey(12));  // a pad role waits for a button
    EXPECT_TRUE(options.offerPadButton(0));
    EXPECT_EQ(options.settings().padButtons[static_cast<std::size_t>(PadRole::Pause)], 0);
    options.resetBindings();
    EXPECT_TRUE(options.settings() == Settings{});
}

// Open, it takes every key; it opens from the dossier and the pause screen.
TEST_F(PlayerOptionsTest, TheScreenTakesTheKeysWhileOpen) {
    game.onKeyDown(vk::kO);
    EXPECT_FALSE(game.optionsOpen);
    PlayerOptions options;
    game.options = &options;
    game.onKeyDown(vk::kO);
    ASSERT_TRUE(game.optionsOpen);
    game.onKeyDown(vk::kEnter);
    game.onKeyDown(vk::kTab);
    EXPECT_EQ(game.gameState, GameState::Briefing);

    game.gameState = GameState::Playing;
    game.optionsOpen = false;
    game.openOptions();
    EXPECT_FALSE(game.optionsOpen);
    game.onKeyDown(vk::kP);
    game.onKeyDown(vk::kO);
    EXPECT_TRUE(game.optionsOpen);
}

const KeyPositions kDefaults = Settings{}.keys;

// US keys from where they sit; AZERTY's Z (in W's place) moves up, its A (in Q's) and W give
// nothing; QWERTZ's Z; no position; Up, bound to no action, keeps its label's code. D, Tab,
// Enter, Esc, O and F11 are the integration runs', S the page's names'.
TEST(KeyBindings, PositionsGiveTheKeyCodesTheRulesKnowOnAnyLayout) {
    const struct {
        int position;
        std::uint32_t labelCode;  // the code of the key's label on its layout
        std::uint32_t expected;
    } cases[] = {
        {26, 'W', vk::kW},  {4, 'A', vk::kA},     {225, 16, vk::kShift}, {229, 16, vk::kShift},
        {8, 'E', vk::kE},   {44, 32, vk::kSpace}, {19, 'P', vk::kP},     {21, 'R', vk::kR},
        {61, 115, vk::kF4}, {82, 38, vk::kUp},    {26, 'Z', vk::kW},     {20, 'A', 0},
        {4, 'Q', vk::kA},   {29, 'W', 0},         {28, 'Z', 'Z'},        {0, 'D', vk::kD}};
    for (const auto& c : cases)
        EXPECT_EQ(boundKeyCode(kDefaults, c.position, c.labelCode), c.expected)
            << c.position << " labelled " << c.labelCode;
    std::set<std::uint32_t> codes;
    for (std::size_t i = 0; i < kBoundActionCount; ++i)
        codes.insert(actionKeyCode(static_cast<BoundAction>(i)));
    EXPECT_EQ(codes.size(), kBoundActionCount);
}

TEST(KeyBindings, AKeyOrPadButtonTakenIsSwappedNeverDoubled) {
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

    PadAssignment pad = Settings{}.padButtons;
    EXPECT_EQ(rebindPadButton(pad, PadRole::Interact, 2).kind, RebindOutcome::Kind::Swapped);  // X
    EXPECT_EQ(pad[static_cast<std::size_t>(PadRole::Interact)], 2);
    EXPECT_EQ(pad[static_cast<std::size_t>(PadRole::Takedown)], 0);
    EXPECT_EQ(rebindPadButton(pad, PadRole::Interact, 6).kind, RebindOutcome::Kind::Refused);
    EXPECT_EQ(rebindPadButton(pad, PadRole::Interact, -1).kind, RebindOutcome::Kind::Refused);
    EXPECT_EQ(std::set<int>(pad.begin(), pad.end()).size(), kPadRoleCount);
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

TEST(KeyBindings, PositionsAreNamedAsAUsBoardPrintsThem) {
    const std::pair<int, const char*> cases[] = {
        {29, "Z"}, {39, "0"}, {69, "F12"}, {229, "SHIFT"}, {89, "KEYPAD 1"}, {400, "KEY 400"}};
    for (const auto& [position, name] : cases) EXPECT_EQ(keyPositionName(position), name);
}

}  // namespace
}  // namespace nj
