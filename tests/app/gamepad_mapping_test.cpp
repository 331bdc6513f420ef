#include "app/gamepad_mapping.hpp"
#include "app/rumble_cues.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "game/game.hpp"

namespace {

using nj::PadButton;
using nj::PadScreen;
namespace vk = nj::vk;

using Events = std::vector<std::pair<std::uint32_t, bool>>;  // (key, down)

struct Recorder {
    Events events;
    nj::GamepadMapper mapper{
        [this](std::uint32_t key, bool down) { events.emplace_back(key, down); }};
};

TEST(GamepadStick, DeadZoneSneakAndEightDirections) {
    // x, y, then up, down, left, right and sneak held
    const std::tuple<float, float, bool, bool, bool, bool, bool> cases[] = {
        {0.2f, 0.1f, false, false, false, false, false},  // a resting stick's drift
        {0.64f, 0.0f, false, false, false, true, true},
        {0.66f, 0.0f, false, false, false, true, false},  // past the limit: full pace
        {-1.0f, 0.0f, false, false, true, false, false},
        {0.0f, -1.0f, true, false, false, false, false},   // y grows downwards
        {0.7f, -0.7f, true, false, false, true, false},    // diagonal
        {0.92f, 0.37f, false, false, false, true, false},  // within 22.5° of the x axis
        {0.92f, 0.40f, false, true, false, true, false},   // just beyond it
        {NAN, 0.5f, false, false, false, false, false},
    };
    for (const auto& [x, y, up, down, left, right, sneak] : cases) {
        const nj::StickKeys k = nj::stickKeys(x, y);
        EXPECT_EQ(std::tuple(k.up, k.down, k.left, k.right, k.sneak),
                  std::tuple(up, down, left, right, sneak))
            << x << ", " << y << ": up, down, left, right, sneak";
    }
}

// The options' dead zone, grown past the tilt, lets go. A small tilt and a pulled trigger both
// hold sneak, let go only when both are; with sneaking on a toggle a small tilt only walks.
TEST(GamepadStick, TheDeadZoneFollowsTheOptionsAndTwoSourcesShareSneak) {
    EXPECT_TRUE(nj::stickKeys(0.3f, 0.0f).right);
    EXPECT_FALSE(nj::stickKeys(0.3f, 0.0f, 0.4f).right);
    EXPECT_TRUE(nj::stickKeys(0.1f, 0.0f, 0.05f).right);
    Recorder r;
    nj::GamepadMapper& pad = r.mapper;
    pad.axis(nj::PadAxis::LeftX, 0.3f);
    EXPECT_TRUE(pad.holds(vk::kD));
    pad.setDeadZone(0.4f);
    EXPECT_FALSE(pad.holds(vk::kD));
    pad.setDeadZone(NAN);
    EXPECT_EQ(pad.deadZone(), nj::kStickDeadZone);
    EXPECT_TRUE(pad.holds(vk::kShift));
    pad.axis(nj::PadAxis::RightTrigger, 0.9f);
    pad.axis(nj::PadAxis::LeftX, 1.0f);
    EXPECT_TRUE(pad.holds(vk::kShift)) << "full tilt: the trigger still sneaks";
    pad.axis(nj::PadAxis::RightTrigger, 0.1f);
    EXPECT_FALSE(pad.holds(vk::kShift));
    pad.axis(nj::PadAxis::LeftX, 0.4f);
    pad.setStickSneaks(false);
    EXPECT_FALSE(pad.holds(vk::kShift));
    EXPECT_TRUE(pad.holds(vk::kD));
    pad.axis(nj::PadAxis::LeftTrigger, 0.9f);
    EXPECT_TRUE(pad.holds(vk::kShift));
}

TEST(GamepadButtons, APhysicalButtonPlaysTheRoleItWasGiven) {
    const std::array<int, 6> defaults{0, 1, 2, 3, 4, 5};
    const std::array<int, 6> swapped{2, 1, 0, 3, 5, 4};  // A<->X, Back<->Start
    EXPECT_EQ(nj::roleButton(PadButton::A, defaults), PadButton::A);
    EXPECT_EQ(nj::roleButton(PadButton::A, swapped), PadButton::X);
    EXPECT_EQ(nj::roleButton(PadButton::X, swapped), PadButton::A);
    EXPECT_EQ(nj::roleButton(PadButton::Start, swapped), PadButton::Back);
    EXPECT_EQ(nj::roleButton(PadButton::B, swapped), PadButton::B);
    EXPECT_EQ(nj::roleButton(PadButton::DpadUp, swapped), PadButton::DpadUp);
}

TEST(GamepadButtons, EachScreenGetsTheKeyAKeyboardPlayerWouldPress) {
    struct Case {
        PadButton button;
        PadScreen screen;
        std::uint32_t key;  // 0: nothing
        bool customOperation = false;
    };
    // One case for each way a button goes that the real game's controller run
    // (shoulders and d-pad on the dossier, A, X and B in the safe, Start, Back) does not play.
    const Case cases[] = {
        {PadButton::A, PadScreen::Paused, vk::kP},
        {PadButton::A, PadScreen::Ended, vk::kEnter},
        {PadButton::X, PadScreen::Dossier, vk::kQ},  // the requisition list
        {PadButton::DpadUp, PadScreen::Requisition, vk::kUp},
        {PadButton::DpadDown, PadScreen::Requisition, vk::kDown},
        {PadButton::A, PadScreen::Requisition, vk::kEnter},
        {PadButton::B, PadScreen::Requisition, vk::kQ},
        {PadButton::LeftShoulder, PadScreen::Requisition, 0},
        {PadButton::X, PadScreen::Paused, vk::kO},  // the options screen
        {PadButton::X, PadScreen::Ended, nj::kWatchReplayKey},
        {PadButton::A, PadScreen::Options, vk::kEnter},
        {PadButton::B, PadScreen::Options, vk::kEsc},
        {PadButton::DpadUp, PadScreen::Options, vk::kUp},  // not the dossier's approach keys
        {PadButton::DpadRight, PadScreen::Options, vk::kRight},
        {PadButton::X, PadScreen::Options, 0},
        {PadButton::B, PadScreen::Dossier, 0},  // Esc there would quit the game
        // With one of the player's own missions chosen, X and Y paste and copy codes.
        {PadButton::X, PadScreen::Dossier, 'V', true},
        {PadButton::Y, PadScreen::Dossier, 'C', true},
        {PadButton::B, PadScreen::Ended, 0},
        {PadButton::Start, PadScreen::Dossier, vk::kO},  // the options screen
        {PadButton::Start, PadScreen::Safe, 0},
        {PadButton::Back, PadScreen::Ended, vk::kTab},  // the failure screen's DOSSIER
        {PadButton::RightShoulder, PadScreen::Playing, 0},
        {PadButton::DpadUp, PadScreen::Playing, vk::kUp},
        {PadButton::Y, PadScreen::Dossier, vk::kN},  // NEW CAMPAIGN, asked first
        {PadButton::Y, PadScreen::Paused, vk::kR},
    };
    for (const Case& c : cases) {
        Recorder r;
        for (const bool down : {true, false})
            r.mapper.button(c.button, down, {c.screen, 0, c.customOperation});
        SCOPED_TRACE(testing::Message() << "button " << static_cast<int>(c.button) << " screen "
                                        << static_cast<int>(c.screen));
        EXPECT_EQ(r.events, (c.key ? Events{{c.key, true}, {c.key, false}} : Events{}));
    }
    // A begins the mission; its release is Enter's even though play began.
    Recorder r;
    r.mapper.button(PadButton::A, true, {PadScreen::Dossier, 0});
    r.mapper.button(PadButton::A, false, {PadScreen::Playing, 0});
    EXPECT_EQ(r.events, (Events{{vk::kEnter, true}, {vk::kEnter, false}}));
}

TEST(GamepadRumble, OnlyTheMomentsThatMatterRumbleAndTheStrongestWins) {
    nj::RumbleWatcher watcher;
    const auto rumble = [&](nj::RumbleWatch w) { return watcher.observe(w).milliseconds; };
    EXPECT_EQ(rumble({2, true, true}), 0u);    // the first frame only sets the baseline
    EXPECT_EQ(rumble({0, false, false}), 0u);  // a new mission resets the count
    const std::uint32_t spotted = rumble({1, false, false});
    EXPECT_GT(spotted, 0u);
    EXPECT_EQ(rumble({1, false, false}), 0u);  // still spotted once: nothing new
    EXPECT_GT(rumble({1, true, false}), 0u);   // a takedown lunge begins
    EXPECT_EQ(rumble({1, true, false}), 0u);
    nj::RumbleWatcher fresh;
    fresh.observe({0, false, false});
    const nj::RumbleCue both = fresh.observe({1, false, true});  // spotted and failed at once
    EXPECT_GT(both.milliseconds, spotted);
    EXPECT_GT(both.low, 0);
    EXPECT_EQ(rumble({2, false, true}), both.milliseconds);  // the failure's, not the sighting's
}

}  // namespace
