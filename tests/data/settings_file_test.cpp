// settings.json: a damaged file can neither stop the game nor slip a value past its range.
#include "data/settings_file.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

nj::Settings everythingChanged() {
    nj::Settings s;
    s.volume = 35, s.rumbleStrength = 30, s.stickDeadZone = 41, s.textSize = 150, s.gameSpeed = 70;
    s.window = {-40, 120, 1000, 562};
    s.fullScreen = s.pauseOnFocusLoss = s.rumble = false;
    s.muted = s.toggleSneak = s.assistSlowDetection = s.assistSoftStep = s.assistSafe = true;
    s.colourGlyphs = s.highContrastCones = s.reducedFlashing = s.ghost = true;
    std::swap(s.keys[0], s.keys[3]);
    s.keys[5] = 12;  // I
    std::swap(s.padButtons[0], s.padButtons[2]);
    return s;
}

// Every option survives a round trip; a file from before the ghost option keeps
// every option it holds and reads the ghost as off, with nothing reported.
TEST(SettingsFile, EveryOptionSurvivesARoundTripAndAnOlderFileReadsTheGhostOff) {
    for (const nj::Settings& original : {nj::Settings{}, everythingChanged()}) {
        const nj::SettingsLoad load = nj::parseSettingsText(nj::formatSettingsText(original));
        EXPECT_TRUE(load.found && !load.damaged && load.problem.empty()) << load.problem;
        EXPECT_TRUE(load.settings == original);
    }
    std::string text = nj::formatSettingsText(everythingChanged());
    EXPECT_NE(text.find("\"version\": 1"), std::string::npos);
    const std::string ghost = "  \"ghost\": true,\n";
    ASSERT_NE(text.find(ghost), std::string::npos);
    const nj::SettingsLoad load = nj::parseSettingsText(text.erase(text.find(ghost), ghost.size()));
    nj::Settings expected = everythingChanged();
    expected.ghost = false;
    EXPECT_TRUE(!load.damaged && load.settings == expected) << load.problem;
}

// Text that is no settings object gives every default and says so on one line.
TEST(SettingsFile, TextThatIsNoSettingsObjectGivesTheDefaults) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"a bare NaN", "{\"volume\": NaN}"},
        {"a number past double", "{\"volume\": 1e999}"},
        {"nesting past the limit", deep},
        {"deep nesting inside", "{\"volume\": 40, \"x\": " + deep + "}"},
        {"an array", "[1, 2, 3]"},
        {"cut short", "{\"volume\": 40, \"keys\": {\"moveUp\": "},
        {"bytes that are no UTF-8", std::string("\xff\xfe{\0\"", 5)},
    };
    for (const auto& c : cases) {
        const nj::SettingsLoad load = nj::parseSettingsText(c.text);
        EXPECT_TRUE(load.damaged && load.settings == nj::Settings{}) << c.what;
        EXPECT_NE(load.problem.find("every option at its default"), std::string::npos) << c.what;
        EXPECT_EQ(load.problem.find('\n'), std::string::npos) << c.what;
    }
}

// Each unusable value falls back on its own; the good ones around it stay.
TEST(SettingsFile, EachUnusableValueFallsBackAloneAndIsNamed) {
    const struct {
        const char* member;  // as the problem line names it
        std::string json;
    } cases[] = {
        {"volume", "\"volume\": \"loud\""},
        {"fullScreen", "\"fullScreen\": 1"},
        {"textSize", "\"textSize\": [150]"},
        {"sneak", "\"sneak\": \"crouch\""},
        {"keys.moveUp", "\"keys\": {\"moveUp\": 0}"},
        {"keys.interact", "\"keys\": {\"interact\": 512}"},
        {"keys.retry", "\"keys\": {\"retry\": 21.5}"},
        {"keys.sneak", "\"keys\": {\"sneak\": \"shift\"}"},
        {"keys", "\"keys\": 7"},
        {"keys (one key for two actions)", "\"keys\": {\"moveUp\": 22}"},
        {"padButtons.interact", "\"padButtons\": {\"interact\": \"Z\"}"},
        {"padButtons (one button for two actions)", "\"padButtons\": {\"interact\": \"B\"}"},
        {"window.width", "\"window\": {\"x\": 0, \"y\": 0, \"width\": true, \"height\": 600}"},
        {"window", "\"window\": {\"x\": 0}"},
        {"ghost", "\"ghost\": 1"},
    };
    nj::Settings neighbourRead;
    neighbourRead.rumbleStrength = 40;
    for (const auto& c : cases) {
        const std::string text = "{\"version\": 1, \"rumbleStrength\": 40, " + c.json + "}";
        const nj::SettingsLoad load = nj::parseSettingsText(text);
        EXPECT_TRUE(load.damaged && load.settings == neighbourRead) << text;
        EXPECT_NE(load.problem.find(c.member), std::string::npos) << load.problem;
    }
}

TEST(SettingsFile, NumbersArePulledIntoTheirRangesAndSteps) {
    const struct {
        std::string json;
        int nj::Settings::*field;
        int expected;
    } cases[] = {
        {"\"volume\": 1e300", &nj::Settings::volume, 100},
        {"\"volume\": -7", &nj::Settings::volume, 0},
        {"\"volume\": 63", &nj::Settings::volume, 65},
        {"\"volume\": 62.4", &nj::Settings::volume, 60},
        {"\"rumbleStrength\": 44", &nj::Settings::rumbleStrength, 40},
        {"\"stickDeadZone\": 0", &nj::Settings::stickDeadZone, nj::kDeadZoneMin},
        {"\"stickDeadZone\": 1e300", &nj::Settings::stickDeadZone, nj::kDeadZoneMax},
        {"\"textSize\": 140", &nj::Settings::textSize, 150},
        {"\"textSize\": 1e300", &nj::Settings::textSize, 150},
        {"\"gameSpeed\": 80", &nj::Settings::gameSpeed, 85},
        {"\"gameSpeed\": 0", &nj::Settings::gameSpeed, 70},
    };
    for (const auto& c : cases) {
        const nj::SettingsLoad load = nj::parseSettingsText("{" + c.json + "}");
        EXPECT_FALSE(load.damaged) << c.json << ": " << load.problem;
        EXPECT_EQ(load.settings.*c.field, c.expected) << c.json;
    }
    const nj::SettingsLoad window = nj::parseSettingsText(
        "{\"window\": {\"x\": -1e300, \"y\": 1e300, \"width\": 2, \"height\": 1e300}}");
    EXPECT_TRUE(window.settings.window ==
                (nj::WindowPlacement{-32767, 32767, nj::kMinWindowWidth, nj::kMaxWindowSide}));
}

}  // namespace
