// The real game under Xvfb on lavapipe with the Khronos validation layer, and
// handed the broken files a new player or a level designer with a typo might
// leave beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "data/json.hpp"
#include "data/map_token.hpp"
#include "tests/support/png_reader.hpp"
#include "tests/support/scratch_dir.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

namespace fs = std::filesystem;

using nj::test::DecodedPng;
using nj::test::GameFolder;
using nj::test::hasValidationMessage;
using nj::test::ProgramRun;
using ::testing::HasSubstr;

// A run under Xvfb of the game or of a script driving it: whatever else a test
// asks of it, the validation layer says nothing.
ProgramRun play(const fs::path& dir, const std::string& screen, const std::string& command,
                const std::string& environment = "") {
    ProgramRun run = nj::test::runUnderXvfb(dir, screen, command, environment);
    EXPECT_FALSE(hasValidationMessage(run.output)) << run.output;
    return run;
}

// The command line of one of tests/app/*.sh driving the game.
std::string driving(const char* script, const std::string& args = "") {
    return std::string("'") + script + "' '" NIGHTJAR_PATH "' " + args;
}

// A picture the run saved (width 0 when it cannot be read).
DecodedPng shotIn(const fs::path& dir, const char* file) {
    DecodedPng shot = nj::test::readPng((dir / file).string());
    EXPECT_EQ(shot.error, "") << file;
    return shot;
}

bool isClearColour(std::uint32_t c) {
    // (0.02, 0.035, 0.065) in 8 bits, allowing for rounding.
    return std::abs(static_cast<int>(c >> 16) - 5) <= 1 &&
           std::abs(static_cast<int>((c >> 8) & 0xFF) - 9) <= 1 &&
           std::abs(static_cast<int>(c & 0xFF) - 17) <= 1;
}

// At 1920 x 1200 the 16:9 viewport sits between cleared bars 60 pixels high. A
// mission file is played on its own like the campaign's first operation and
// saves nothing; one with errors names them on stderr (that it is never
// started is held by the game tests).
TEST(NightjarSelfTest, AMissionFileIsPlayedLetterboxedOnANon16by9ScreenOrItsErrorsNamed) {
    const GameFolder folder("selftest", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    const ProgramRun run =
        play(dir, "1920x1200",
             "'" NIGHTJAR_PATH "' --test --screenshot shot.png --mission '" NJ_TOOLS_FIXTURES
             "/quick_win.json'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_EQ(shot.width, 1920u);
    ASSERT_EQ(shot.height, 1200u);
    for (std::uint32_t x : {10u, 960u, 1910u}) {
        EXPECT_TRUE(isClearColour(shot.pixel(x, 20))) << "top bar at " << x;
        EXPECT_TRUE(isClearColour(shot.pixel(x, 1180))) << "bottom bar at " << x;
    }
    // The mission started at the 30th pass, so the play field is drawn.
    EXPECT_GT(nj::test::playFieldColours(shot), 50u);

    std::ofstream(dir / "broken.json") << "{\n  \"theme\": \"casion\"\n}\n";
    const ProgramRun broken =
        play(dir, "1280x720", "'" NIGHTJAR_PATH "' --test --mission broken.json");
    EXPECT_EQ(broken.exitCode, 0) << broken.output;
    EXPECT_THAT(broken.output, HasSubstr("broken.json:2:12: theme: \"casion\" is not one of"));
    EXPECT_FALSE(fs::exists(dir / "save.dat")) << "nothing was won, nothing is saved";
}

// The player sees the window, not a screenshot's copy: frames reach it through
// the window's pixels (converted for a 16-bit screen) or the swapchain
// (--swapchain). The game ends once the screen is taken.
TEST(NightjarWindow, TheWindowShowsTheGameThroughEitherPath) {
    const struct {
        std::string path, screen;
    } cases[] = {{"", "1280x1024"}, {"--swapchain", "1280x1024"}, {"", "1280x1024x16"}};
    for (const auto& [path, screen] : cases) {
        const GameFolder folder("window" + path + screen, NJ_BUILD_DIR);
        play(folder.dir, screen,
             "sh -c \"'" NIGHTJAR_PATH "' " + path +
                 " & sleep 3; '" NJ_SCREEN_GRAB "' screen.png; kill \\$!; wait \\$!\"");
        EXPECT_GT(nj::test::playFieldColours(shotIn(folder.dir, "screen.png")), 50u)
            << path << screen;
    }
}

TEST(NightjarWindow, DisplayModeAndResizeStormsSurviveAndEscQuitsFromTheDossier) {
    const GameFolder folder("storm", NJ_BUILD_DIR);
    const ProgramRun run = play(folder.dir, "1280x1024", driving(NJ_STORM_SCRIPT));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    // "icon set": the packaged icon.
    for (const char* line :
         {"start Geometry:1280x1024", "icon set", "windowed Geometry:1280x720",
          "fullscreen Geometry:1280x1024", "altenter Geometry:1280x720", "exit 0"})
        EXPECT_THAT(run.output, HasSubstr(line));
}

// Samples louder than a whisper in what OpenAL Soft's file writer (standing
// in for a sound card) recorded; -1 when nothing was recorded.
long loudSamples(const fs::path& wav) {
    const std::string bytes = nj::test::fileText(wav);
    const std::size_t data = bytes.find("data");
    if (data == std::string::npos) return -1;
    long loud = 0;
    for (std::size_t i = data + 8; i + 1 < bytes.size(); i += 2) {
        const int sample = static_cast<std::int16_t>(
            static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
        loud += std::abs(sample) > 1000;
    }
    return loud;
}

// The volume turned down and MOVE RIGHT bound to L on the page: L then walks
// the operative (its footsteps are heard) and D, no longer bound, does not,
// in a second start that takes the choices from settings.json.
TEST(NightjarOptions, ABindingAndTheVolumeSetOnThePageMoveTheOperativeAndPersist) {
    const GameFolder folder("options", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    std::ofstream(dir / "alsoft.conf")
        << "[general]\ndrivers=wave\nsample-type=int16\nchannels=mono\n[wave]\nfile=played.wav\n";
    EXPECT_THAT(
        play(dir, "1280x720", driving(NJ_REBIND_SCRIPT, "l rebind"), "ALSOFT_CONF=alsoft.conf")
            .output,
        HasSubstr("exit 0"));
    const std::string settings = nj::test::fileText(dir / "settings.json");
    EXPECT_THAT(settings, HasSubstr("\"volume\": 80,"));
    EXPECT_THAT(settings, HasSubstr("\"moveRight\": 15,"));
    const long walkedWithL = loudSamples(dir / "played.wav");

    EXPECT_THAT(
        play(dir, "1280x720", driving(NJ_REBIND_SCRIPT, "d"), "ALSOFT_CONF=alsoft.conf").output,
        HasSubstr("exit 0"));
    const long heldD = loudSamples(dir / "played.wav");
    ASSERT_GE(walkedWithL, 0) << "no recording";
    ASSERT_GE(heldD, 0) << "no recording";
    EXPECT_GT(walkedWithL, 200) << "L did not walk the operative";
    EXPECT_LT(heldD * 4, walkedWithL) << "D still walks the operative";
}

// The line a remember_window.sh run printed for `label`, "" when none.
std::string geometryLine(const std::string& output, const std::string& label) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(label + " ", 0) == 0) return line;
    }
    return "";
}

// Windowed by F11, sized and moved by the player: the next start opens the
// window there, at that size (with no settings file it starts full screen: the storm run).
TEST(NightjarOptions, TheWindowIsRememberedWhereThePlayerLeftIt) {
    const GameFolder folder("remember-window", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    const ProgramRun first = play(dir, "1280x1024", driving(NJ_REMEMBER_WINDOW_SCRIPT, "change"));
    EXPECT_THAT(first.output, HasSubstr("exit 0"));
    const std::string settings = nj::test::fileText(dir / "settings.json");
    EXPECT_THAT(settings, HasSubstr("\"fullScreen\": false"));
    EXPECT_THAT(settings, HasSubstr("\"width\": 1000, \"height\": 600"));

    const ProgramRun second = play(dir, "1280x1024", driving(NJ_REMEMBER_WINDOW_SCRIPT));
    EXPECT_THAT(second.output, HasSubstr("exit 0"));
    EXPECT_THAT(geometryLine(second.output, "start"), HasSubstr("Geometry:1000x600"));
    EXPECT_THAT(geometryLine(second.output, "start"), HasSubstr("Position:120,90"));
}

// The mean of every channel of a frame, 0..255.
double meanLevel(const DecodedPng& shot) {
    double sum = 0.0;
    for (const std::uint8_t c : shot.rgb) sum += c;
    return shot.rgb.empty() ? 0.0 : sum / static_cast<double>(shot.rgb.size());
}

// Another window takes the focus while the mission runs: by default the game
// pauses (the pause screen dims the field); with the option off it plays on.
// Either way the run, quit mid-way, replays headless to where it stood: the
// pause the window's focus brought is part of the run.
TEST(NightjarOptions, LosingTheFocusWhilePlayingPausesUnlessSwitchedOff) {
    double level[2] = {0.0, 0.0};
    for (const bool pauses : {true, false}) {
        const GameFolder folder(pauses ? "focus-pauses" : "focus-plays", NJ_BUILD_DIR);
        if (!pauses) std::ofstream(folder.dir / "settings.json") << "{\"pauseOnFocusLoss\": false}";
        EXPECT_THAT(
            play(folder.dir, "1280x720", driving(NJ_LOSE_FOCUS_SCRIPT, "--screenshot shot.png"))
                .output,
            HasSubstr("exit 0"));
        level[pauses ? 0 : 1] = meanLevel(shotIn(folder.dir, "shot.png"));
        EXPECT_THAT(
            nj::test::runCommand(folder.dir, "'" NJ_SIM_PATH "' --replay replays/last.njr").output,
            HasSubstr("replay: verified"))
            << (pauses ? "paused" : "playing");
    }
    EXPECT_LT(level[0], 0.75 * level[1]) << "paused " << level[0] << ", playing " << level[1];
}

// Red less blue: the selected operation card's gold-brown is warm (> 8), an
// unselected card's navy cool (OP 03, chosen before the click, would be).
int warmth(std::uint32_t c) {
    return static_cast<int>((c >> 16) & 0xFF) - static_cast<int>(c & 0xFF);
}

// On a 1000 x 562 screen the page is the 1280 x 720 page scaled down, and a
// click lands on what is drawn there.
TEST(NightjarWindow, OnASmallScreenAClickSelectsTheOperationDrawnUnderIt) {
    const GameFolder folder("smallclick", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    // The play field fills the 1000 x 562 screen less a half-pixel pillarbox.
    const double scale = 562.0 / 720.0, left = (1000.0 - 1280.0 * scale) / 2.0;
    const auto toScreen = [&](double pageX, double pageY, std::uint32_t& x, std::uint32_t& y) {
        x = static_cast<std::uint32_t>(left + pageX * scale);
        y = static_cast<std::uint32_t>(pageY * scale);
    };
    std::uint32_t clickX = 0, clickY = 0;
    toScreen(224.0, 195.0, clickX, clickY);  // the middle of the OP 01 card
    EXPECT_THAT(
        play(dir, "1000x562",
             driving(NJ_SMALL_CLICK_SCRIPT, std::to_string(clickX) + " " + std::to_string(clickY)))
            .output,
        HasSubstr("exit 0"));
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_EQ(shot.width, 1000u);
    std::uint32_t x = 0, y = 0;
    toScreen(330.0, 168.0, x, y);  // inside OP 01, right of its number
    EXPECT_GT(warmth(shot.pixel(x, y)), 8)
        << "OP 01 is drawn selected, " << std::hex << shot.pixel(x, y);
}

// The "pad-state" lines a pad script printed, each as its key=value fields.
std::vector<std::map<std::string, std::string>> padStates(const std::string& output) {
    std::vector<std::map<std::string, std::string>> states;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("pad-state ", 0) != 0) continue;
        std::istringstream words(line.substr(10));
        std::map<std::string, std::string> fields;
        for (std::string word; words >> word;) {
            const std::size_t eq = word.find('=');
            if (eq != std::string::npos) fields[word.substr(0, eq)] = word.substr(eq + 1);
        }
        states.push_back(std::move(fields));
    }
    return states;
}

// A virtual controller alone drives the dossier, a mission and the safe.
TEST(NightjarGamepad, AVirtualControllerPlaysTheGameAlone) {
    const GameFolder folder("pad", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    // Our own small campaign of two, packed with the real page (the package's
    // campaign is the one the game plays).
    const std::string mission = NJ_PAD_DIR "/pad_mission.json";
    const ProgramRun build = nj::test::runCommand(
        dir, "'" NJTOOL_PATH "' campaign build campaign_maps.json '" + mission + "' '" + mission +
                 "' && '" NJTOOL_PATH "' pack build game.nj3p '" NJ_BUILD_DIR
                 "/package-stage' campaign_maps.json=campaign_maps.json");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    const ProgramRun run =
        play(dir, "1280x720", "'" NIGHTJAR_PATH "' --pad-script '" NJ_PAD_DIR "/full_session.pad'");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    auto s = padStates(run.output);
    ASSERT_EQ(s.size(), 16u) << run.output;
    EXPECT_EQ(s[0]["mission"], "1") << "RB: next operation";
    EXPECT_EQ(s[1]["mission"], "0") << "LB: previous operation";
    EXPECT_EQ(s[2]["approach"], "1") << "d-pad down: next approach";
    EXPECT_EQ(s[3]["approach"], "0") << "d-pad up: previous approach";
    EXPECT_EQ(s[4]["state"], "1") << "A begins";
    EXPECT_EQ(s[4]["device"], "gamepad");
    EXPECT_EQ(s[5]["moving"], "1");
    EXPECT_EQ(s[5]["keys"], "68") << "a full tilt holds D alone";
    EXPECT_GT(std::stod(s[5]["x"]), 300.0);
    EXPECT_EQ(s[6]["keys"], "16,68") << "a small tilt sneaks (Shift)";
    EXPECT_EQ(s[7]["safe"], "1") << "A by the terminal opens the safe\n" << run.output;
    EXPECT_TRUE(s[8]["tumbler"] != "0" || s[8]["noise"] != "0") << "X taps: a hit or a noisy miss";
    EXPECT_EQ(s[9]["safe"], "0") << "B closes the safe";
    EXPECT_EQ(s[10]["state"], "2") << "Start pauses";
    EXPECT_EQ(s[11]["state"], "0") << "Back: the dossier";
    EXPECT_EQ(s[12]["state"], "1") << "Back again resumes";
    EXPECT_EQ(s[12]["x"], s[10]["x"]) << "without a reset";
    EXPECT_EQ(s[13]["device"], "keyboard") << "a key press names keys again";
    EXPECT_EQ(s[14]["moving"], "0") << "unplugged: the operative stops";
    EXPECT_EQ(s[14]["keys"], "-");
    EXPECT_EQ(s[15]["state"], "4") << "plugged in again and walked into the laser";
    EXPECT_THAT(run.output, HasSubstr("pad-rumble")) << "the failure rumbles";
}

// A fixed-step self-test frame (operation 1 in play, the HUD over it) against
// the reference, allowing for rounding only. Retake it with
// scripts/reference_frame.sh when the page or the scene is meant to change.
TEST(NightjarSelfTest, APlayingFrameMatchesTheReferencePicture) {
    const GameFolder folder("reference", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    const ProgramRun run =
        play(dir, "1280x720", "'" NIGHTJAR_PATH "' --test --fixed-step --screenshot shot.png");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const DecodedPng shot = shotIn(dir, "shot.png");
    const DecodedPng reference = nj::test::readPng(NJ_REFERENCE_FRAME);
    ASSERT_EQ(reference.error, "");
    ASSERT_EQ(shot.width, reference.width);
    ASSERT_EQ(shot.height, reference.height);
    int worst = 0;
    std::size_t differing = 0, worstAt = 0;
    for (std::size_t i = 0; i < shot.rgb.size(); ++i) {
        const int d = std::abs(int{shot.rgb[i]} - int{reference.rgb[i]});
        differing += d > 0;
        if (d > worst) {
            worst = d;
            worstAt = i / 3;
        }
    }
    EXPECT_LE(worst, 2) << differing << " channels differ; the worst at (" << worstAt % shot.width
                        << ", " << worstAt / shot.width << ")";
}

// A run played in the game (walk, a stay on the dossier and back in, walk)
// is kept stay and all, replays headless to the state the game recorded and
// opens with --replay, which saves nothing and keeps the file; a pipe is
// refused with its reason, and the self-test runs on to its end.
TEST(NightjarReplay, ARunPlayedInTheGameVerifiesHeadlessAndIsWatchedAgain) {
    const GameFolder folder("replay", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    EXPECT_THAT(play(dir, "1280x720", driving(NJ_REBIND_SCRIPT, "d stay")).output,
                HasSubstr("exit 0"));
    const fs::path last = dir / "replays" / "last.njr";
    ASSERT_TRUE(fs::is_regular_file(last));
    const ProgramRun verified =
        nj::test::runCommand(dir, "'" NJ_SIM_PATH "' --replay replays/last.njr");
    EXPECT_EQ(verified.exitCode, 0) << verified.output;
    EXPECT_THAT(verified.output, HasSubstr("replay: verified"));

    const std::string before = nj::test::fileText(last);
    fs::remove(dir / "save.dat");
    const ProgramRun watched =
        play(dir, "1280x720", "'" NIGHTJAR_PATH "' --replay replays/last.njr --test --frames 90");
    EXPECT_EQ(watched.exitCode, 0) << watched.output;
    EXPECT_THAT(watched.output, ::testing::Not(HasSubstr("replay refused")));
    EXPECT_EQ(nj::test::fileText(last), before) << "watching keeps the file as it was";
    EXPECT_FALSE(fs::exists(dir / "save.dat")) << "watching saves nothing";

    ASSERT_EQ(nj::test::runCommand(dir, "mkfifo pipe.njr").exitCode, 0);
    const ProgramRun refused =
        play(dir, "1280x720", "timeout 60 '" NIGHTJAR_PATH "' --test --replay pipe.njr");
    EXPECT_EQ(refused.exitCode, 0) << refused.output;
    EXPECT_THAT(refused.output, HasSubstr("nightjar: replay refused: "));
}

// --edit opens a mission, or a file not there yet; what is not a mission is
// refused with the checker's words before any window opens, and left as it was.
TEST(NightjarEditor, EditOpensAMissionAndRefusesWhatIsNotOne) {
    const GameFolder folder("edit", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    for (const fs::path& path :
         {dir / "new.json", fs::path(NJ_SHIPPED_MISSIONS) / "mission1.json"}) {
        const ProgramRun run =
            play(dir, "1280x720",
                 "timeout 60 '" NIGHTJAR_PATH "' --test --edit '" + path.string() + "'");
        EXPECT_EQ(run.exitCode, 0) << path << "\n" << run.output;
    }
    EXPECT_FALSE(fs::exists(dir / "new.json")) << "nothing is written until the player saves";

    // A folder or a huge file meets the same reader as the pipe (the mission
    // file's hostile cases are the data tests').
    std::ofstream(dir / "words.json") << "not a mission";
    ASSERT_EQ(nj::test::runCommand(dir, "mkfifo pipe.json").exitCode, 0);
    const std::pair<const char*, const char*> refused[] = {
        {"pipe.json", "a mission is a regular file of at most 1 MiB"},
        {"words.json", "words.json:1:1: a mission is a JSON object"},
    };
    for (const auto& [file, why] : refused) {
        const ProgramRun run = play(
            dir, "1280x720", std::string("timeout 60 '" NIGHTJAR_PATH "' --test --edit ") + file);
        EXPECT_EQ(run.exitCode, 1) << file << "\n" << run.output;
        EXPECT_THAT(run.output, HasSubstr("nightjar: cannot edit"));
        EXPECT_THAT(run.output, HasSubstr(why)) << file;
    }
    EXPECT_EQ(nj::test::fileText(dir / "words.json"), "not a mission");
}

// The editor with the mouse (edit_with_mouse.sh): the undo history comes back
// whole from test play, the waypoint drawn before it undone after it.
TEST(NightjarEditor, AWallAndAGuardPlacedWithTheMouseAreSavedAndSurviveTestPlay) {
    const GameFolder folder("edit-mouse", NJ_BUILD_DIR);
    const fs::path& dir = folder.dir;
    const ProgramRun run = play(dir, "1280x720", driving(NJ_EDIT_SCRIPT, "heist.json"));
    EXPECT_THAT(run.output, HasSubstr("exit 0"));
    const nj::JsonValue first = nj::parseJson(nj::test::fileText(dir / "first-save.json"));
    const nj::JsonValue last = nj::parseJson(nj::test::fileText(dir / "heist.json"));
    for (const nj::JsonValue* saved : {&first, &last}) {
        const nj::JsonValue& wall = saved->at("walls").items.back();
        EXPECT_EQ(wall.at("x").number, 304);  // page 400, 400 is field 300, 300, on the grid
        EXPECT_EQ(wall.at("y").number, 304);
        ASSERT_EQ(saved->at("guards").items.size(), 1u) << run.output;
        EXPECT_EQ(saved->at("guards").items[0].at("x").number, 448);
    }
    EXPECT_EQ(first.at("name").text, "Harbor Night") << "typed into the NAME field";
    EXPECT_EQ(first.at("guards").items[0].at("patrol").items.size(), 2u);
    EXPECT_EQ(last.at("guards").items[0].at("patrol").items.size(), 1u);
    EXPECT_FALSE(fs::exists(dir / ".heist.json.autosave")) << "a save takes the autosave away";
}

// Each self-test run with a broken file beside it still ends within 30 s of
// processor time, still drawing.
// The page's layout is 1280 x 720, letterboxed into the 1280 x 1024 screen
// 152 rows down; a page block at (0, 0, 100, 100) lands here.
constexpr std::uint32_t kPageBlockX = 50, kPageBlockY = 152 + 50;

// A page that paints a magenta block first, then misbehaves.
std::string pageWithBlock(const std::string& rest) {
    return "<html><head><style>body{margin:0}</style></head><body>"
           "<div style='position:absolute;left:0;top:0;width:100px;height:100px;"
           "background-color:#ff00ff'></div>" +
           rest + "</body></html>";
}

std::string endlessPage() {
    // An empty src names the page's own folder.
    return pageWithBlock(
        "<img src=''><script>"
        "function syncGameState() { for (;;) {} }"
        "setInterval(function () { while (true) {} }, 10);"
        "requestAnimationFrame(function again() { requestAnimationFrame(again); for (;;) {} });"
        "for (;;) {}</script>");
}

std::string deepPage() {
    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<div>";
    deep += "deepest";
    for (int i = 0; i < 10000; ++i) deep += "</div>";
    return pageWithBlock(deep);
}

// The scene fuzzer's hostile missions as a campaign: first every number at
// 1e30 (the one played), then the gate, a bookcase and an archive rack where
// a float no longer moves by one step of their bars, shelves or binders.
std::string absurdCampaign() {
    std::string campaign = "{";
    const char* const missions[] = {"everything_1e30.json", "gate_5e8.json"};
    for (int i = 0; i < 2; ++i) {
        const std::string json = nj::test::fileText(fs::path(NJ_SCENE_CORPUS) / missions[i]);
        campaign += std::string(i > 0 ? "," : "") + "\"mission" + std::to_string(i + 1) + "\":\"" +
                    nj::encodeMapToken(json, nj::mapSaltFor(json)) + "\"";
    }
    return campaign + "}";
}

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

struct Hostile {
    const char* name;  // also the test's name
    bool package;      // the built game.nj3p beside the game; else only loose files
    std::function<void(const fs::path&)> prepare;
    bool pageBlock;  // the page's magenta block must be in the last frame
};

const Hostile kCases[] = {
    {"BrokenPackage", false,
     [](const fs::path& dir) { write(dir / "game.nj3p", "NJ3P" + std::string(4096, '\x5a')); },
     false},
    {"CampaignOfAbsurdCoordinates", false,
     [](const fs::path& dir) { write(dir / "campaign_maps.json", absurdCampaign()); }, false},
    {"NamedPipeForTheSave", true,
     [](const fs::path& dir) { ASSERT_EQ(::mkfifo((dir / "save.dat").c_str(), 0600), 0); }, false},
    {"PageWhoseScriptsNeverEnd", false,
     [](const fs::path& dir) { write(dir / "assets" / "ui" / "ui.html", endlessPage()); }, true},
    {"PageNested10000Deep", false,
     [](const fs::path& dir) { write(dir / "assets" / "ui" / "ui.html", deepPage()); }, true},
    // The player's options file as a pipe nobody writes: the game starts
    // without waiting on it and leaves it as it was (damaged contents are the
    // settings file's own tests').
    {"NamedPipeForTheSettings", true,
     [](const fs::path& dir) { ASSERT_EQ(::mkfifo((dir / "settings.json").c_str(), 0600), 0); },
     false},
};

// ctest lists each case by its name rather than by its bytes.
void PrintTo(const Hostile& c, std::ostream* out) {
    *out << c.name;
}

bool isMagenta(std::uint32_t c) {
    return (c >> 16) > 200 && ((c >> 8) & 0xFF) < 60 && (c & 0xFF) > 200;
}

class NightjarHostileInput : public ::testing::TestWithParam<Hostile> {};

TEST_P(NightjarHostileInput, TheSelfTestEndsWithin30SecondsStillDrawing) {
    const Hostile& c = GetParam();
    const nj::test::GameFolder folder(c.name, NJ_BUILD_DIR, c.package);
    const fs::path& dir = folder.dir;
    c.prepare(dir);
    const std::string name = c.name;

    // A loop that never ends meets ulimit's 30 s of processor time; the wall
    // clock (busy machines make runs wait) only catches a run that blocks, and
    // kills it, since a game stuck in a frame never reads SIGTERM.
    const ProgramRun run = play(dir, "1280x1024",
                                "sh -c \"ulimit -t 30 && exec timeout -k 5 120 '" NIGHTJAR_PATH
                                "' --test --screenshot shot.png\"");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_GT(shot.width, kPageBlockX) << run.output;
    EXPECT_GT(nj::test::playFieldColours(shot), 20u);
    if (c.pageBlock) {
        EXPECT_TRUE(isMagenta(shot.pixel(kPageBlockX, kPageBlockY)))
            << std::hex << shot.pixel(kPageBlockX, kPageBlockY);
    }
    // Nothing was won and no option changed: no save or settings.json written
    // (a pipe left a pipe), and nothing set aside.
    EXPECT_EQ(fs::is_fifo(dir / "save.dat"), name == "NamedPipeForTheSave");
    EXPECT_EQ(fs::exists(dir / "settings.json"), name == "NamedPipeForTheSettings");
    EXPECT_EQ(fs::is_fifo(dir / "settings.json"), name == "NamedPipeForTheSettings");
    EXPECT_FALSE(fs::exists(dir / "settings.json.bad"));
}

INSTANTIATE_TEST_SUITE_P(Cases, NightjarHostileInput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Hostile>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
