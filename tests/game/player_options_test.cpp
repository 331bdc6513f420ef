// The player's options while the game runs: what the options screen changes,
// when settings.json is written, and what happens to a damaged one.
#include "game/player_options.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/game.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj {
namespace {

class PlayerOptionsTest : public ::testing::Test {
  protected:
    test::ScratchDir dir;
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
        {OptionRow::Volume, -1, 3, &Settings::volume, 85},
        {OptionRow::Volume, +1, 9, &Settings::volume, 100},
        {OptionRow::Volume, -1, 40, &Settings::volume, 0},
        {OptionRow::RumbleStrength, -1, 2, &Settings::rumbleStrength, 80},
        {OptionRow::StickDeadZone, -1, 100, &Settings::stickDeadZone, kDeadZoneMin},
        {OptionRow::StickDeadZone, +1, 100, &Settings::stickDeadZone, kDeadZoneMax},
        {OptionRow::TextSize, +1, 1, &Settings::textSize, 125},
        {OptionRow::TextSize, +1, 5, &Settings::textSize, 150},
        {OptionRow::TextSize, -1, 5, &Settings::textSize, 100},
        {OptionRow::GameSpeed, +1, 1, &Settings::gameSpeed, 85},
        {OptionRow::GameSpeed, +1, 4, &Settings::gameSpeed, 70},
        {OptionRow::GameSpeed, -1, 4, &Settings::gameSpeed, 100},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.times; ++i) options.step(c.row, c.direction);
        EXPECT_EQ(options.settings().*c.field, c.expected) << static_cast<int>(c.row);
    }
    options.step(OptionRow::SneakMode, -1);
    EXPECT_TRUE(options.settings().toggleSneak);
    options.step(OptionRow::Ghost, -1);
    EXPECT_TRUE(options.settings().ghost);
    options.step(OptionRow::Ghost, +1);
    EXPECT_FALSE(options.settings().ghost);
    options.step(OptionRow::Count, +1);  // nothing there
}

TEST_F(PlayerOptionsTest, AssistsReachTheRulesAndTheFileButNeverThePerks) {
    Game game(nullptr);
    PlayerOptions options(path);
    game.options = &options;
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
    EXPECT_TRUE(reread.settings().assistSoftStep);
    EXPECT_EQ(reread.settings().gameSpeed, 85);
}

// Nothing is written until the player changes something; then the damaged
// file is set aside as settings.json.bad, whatever was in it.
TEST_F(PlayerOptionsTest, ADamagedFileIsKeptUntilAChangeThenSetAside) {
    const std::string damaged = "{\"volume\": \"loud\", \"textSize\": 150}";
    std::ofstream(path) << damaged;
    PlayerOptions options(path);
    testing::internal::CaptureStderr();
    options.load();
    const std::string said = testing::internal::GetCapturedStderr();
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
    // Later changes write the settings only: the player's old file stays set aside.
    options.setVolume(45);
    EXPECT_EQ(test::fileText(path + ".bad"), damaged);
}

TEST_F(PlayerOptionsTest, AFolderInTheFilesPlaceIsSetAsideOnTheFirstChange) {
    std::filesystem::create_directory(path);
    PlayerOptions options(path);
    testing::internal::CaptureStderr();
    options.load();
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(std::filesystem::is_directory(path));
    options.step(OptionRow::FullScreen, +1);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".bad"));
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
}

// AUDIO ON / OFF stays the mute, and the mute is remembered.
TEST_F(PlayerOptionsTest, TheMuteIsKept) {
    SilentAudio audio;
    Game game(&audio);
    PlayerOptions options(path);
    game.options = &options;
    game.toggleAudio();
    EXPECT_FALSE(audio.enabled());
    PlayerOptions reread(path);
    reread.load();
    EXPECT_TRUE(reread.settings().muted);
    game.toggleAudio();
    EXPECT_FALSE(options.settings().muted);
}

TEST_F(PlayerOptionsTest, SettingTheSameValueWritesNothing) {
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
    EXPECT_TRUE(std::filesystem::exists(path));
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

// The options screen takes every key while open: Esc closes it, and nothing
// reaches the rules (Esc on the dossier would otherwise quit).
TEST_F(PlayerOptionsTest, TheScreenTakesTheKeysWhileOpen) {
    Game game(nullptr);
    bool quit = false;
    game.quitHook = [&] { quit = true; };
    game.onKeyDown(vk::kO);
    EXPECT_FALSE(game.optionsOpen);  // no options: nothing to open
    PlayerOptions options;
    game.options = &options;
    game.onKeyDown(vk::kO);
    ASSERT_TRUE(game.optionsOpen);
    game.onKeyDown(vk::kEnter);
    game.onKeyDown(vk::kTab);
    EXPECT_EQ(game.gameState, GameState::Briefing);
    game.onKeyDown(vk::kEsc);
    EXPECT_FALSE(game.optionsOpen);
    EXPECT_FALSE(quit);

    game.gameState = GameState::Playing;
    game.openOptions();
    EXPECT_FALSE(game.optionsOpen);  // not in play
    game.onKeyDown(vk::kP);
    game.onKeyDown(vk::kO);
    EXPECT_TRUE(game.optionsOpen);  // from the pause screen
}

}  // namespace
}  // namespace nj
