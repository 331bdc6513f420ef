// The real game under Xvfb on lavapipe with the validation layer, also handed broken files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <regex>
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
using nj::test::ProgramRun;
using ::testing::HasSubstr;

// The game, or a script driving it, under Xvfb: the validation layer must say nothing.
ProgramRun play(const fs::path& dir, const std::string& screen, const std::string& command,
                const std::string& environment = "") {
    ProgramRun run = nj::test::runUnderXvfb(dir, screen, command, environment);
    EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << run.output;
    return run;
}

// One of tests/app/*.sh driving the game to its own exit.
ProgramRun drive(const fs::path& dir, const std::string& screen, const char* script,
                 const std::string& args = "", const std::string& environment = "") {
    ProgramRun run =
        play(dir, screen, std::string("'") + script + "' '" NIGHTJAR_PATH "' " + args, environment);
    EXPECT_THAT(run.output, HasSubstr("exit 0")) << script << " " << args;
    return run;
}

// The game's self-test with `args`: it ends by itself, with `exitCode`.
ProgramRun selfTest(const fs::path& dir, const std::string& screen, const std::string& args,
                    int exitCode = 0) {
    ProgramRun run = play(dir, screen, "timeout 120 '" NIGHTJAR_PATH "' --test " + args);
    EXPECT_EQ(run.exitCode, exitCode) << args << "\n" << run.output;
    return run;
}

// A picture the run saved (width 0 when it cannot be read).
DecodedPng shotIn(const fs::path& dir, const char* file) {
    DecodedPng shot = nj::test::readPng((dir / file).string());
    EXPECT_EQ(shot.error, "") << file;
    return shot;
}

// Each test plays in a fresh folder named after it.
class Nightjar : public ::testing::Test {
  protected:
    const GameFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name(),
                            NJ_BUILD_DIR};
    const fs::path& dir = folder.dir;
};

bool near(std::uint32_t c, std::uint32_t want, int by) {
    for (const int shift : {16, 8, 0}) {
        if (std::abs(int((c >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > by) return false;
    }
    return true;
}
constexpr std::uint32_t kClear = 0x050911;  // the clear colour (0.02, 0.035, 0.065) in 8 bits

// At 1920 x 1200 a mission file plays between cleared bars 60 pixels high and saves nothing;
// one with errors names them on stderr (the game tests hold that it never starts).
TEST_F(Nightjar, AMissionFileIsPlayedLetterboxedOnANon16by9ScreenOrItsErrorsNamed) {
    selfTest(dir, "1920x1200",
             "--screenshot shot.png --mission '" NJ_TOOLS_FIXTURES "/quick_win.json'");
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_EQ(shot.width, 1920u);
    ASSERT_EQ(shot.height, 1200u);
    for (std::uint32_t x : {10u, 960u, 1910u}) {
        EXPECT_TRUE(near(shot.pixel(x, 20), kClear, 1)) << "top bar at " << x;
        EXPECT_TRUE(near(shot.pixel(x, 1180), kClear, 1)) << "bottom bar at " << x;
    }
    // The mission started at the 30th pass, so the play field is drawn.
    EXPECT_GT(nj::test::playFieldColours(shot), 50u);

    std::ofstream(dir / "broken.json") << "{\n  \"theme\": \"casion\"\n}\n";
    EXPECT_THAT(selfTest(dir, "1280x720", "--mission broken.json").output,
                HasSubstr("broken.json:2:12: theme: \"casion\" is not one of"));
    EXPECT_FALSE(fs::exists(dir / "save.dat")) << "nothing was won, nothing is saved";
}

// The player sees the window, not a screenshot's copy: frames reach it through its pixels
// (converted for a 16-bit screen) or the swapchain. The game ends once the screen is taken.
TEST_F(Nightjar, TheWindowShowsTheGameThroughEitherPath) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "1280x1024"}, {"--swapchain", "1280x1024"}, {"", "1280x1024x16"}};
    for (const auto& [path, screen] : cases) {
        const GameFolder each("window" + path + screen, NJ_BUILD_DIR);
        play(each.dir, screen,
             "sh -c \"'" NIGHTJAR_PATH "' " + path +
                 " & sleep 3; '" NJ_SCREEN_GRAB "' screen.png; kill \\$!; wait \\$!\"");
        EXPECT_GT(nj::test::playFieldColours(shotIn(each.dir, "screen.png")), 50u)
            << path << screen;
    }
}

// With no settings file the game starts full screen; left windowed, sized and moved, it opens
// there at the next start. "icon set": the packaged icon.
TEST_F(Nightjar, StormsAreSurvivedAndTheWindowIsRememberedWhereThePlayerLeftIt) {
    const ProgramRun storm = drive(dir, "1280x1024", NJ_STORM_SCRIPT);
    for (const char* line : {"start Geometry:1280x1024", "icon set", "windowed Geometry:1280x720",
                             "fullscreen Geometry:1280x1024", "altenter Geometry:1280x720"})
        EXPECT_THAT(storm.output, HasSubstr(line));
    EXPECT_THAT(drive(dir, "1280x1024", NJ_STORM_SCRIPT, "again").output,
                HasSubstr("start Geometry:1000x600 Position:120,90"));
}

// Samples louder than a whisper in OpenAL Soft's wave file (our sound card); -1 when none.
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

// The volume and MOVE RIGHT set to L on the page: L walks the operative (footsteps heard) and
// D, no longer bound, does not, in a second start that reads them from settings.json.
TEST_F(Nightjar, ABindingAndTheVolumeSetOnThePageMoveTheOperativeAndPersist) {
    std::ofstream(dir / "alsoft.conf")
        << "[general]\ndrivers=wave\nsample-type=int16\nchannels=mono\n[wave]\nfile=played.wav\n";
    drive(dir, "1280x720", NJ_REBIND_SCRIPT, "l rebind", "ALSOFT_CONF=alsoft.conf");
    const std::string settings = nj::test::fileText(dir / "settings.json");
    EXPECT_THAT(settings, HasSubstr("\"volume\": 80,"));
    EXPECT_THAT(settings, HasSubstr("\"moveRight\": 15,"));
    const long walkedWithL = loudSamples(dir / "played.wav");
    drive(dir, "1280x720", NJ_REBIND_SCRIPT, "d", "ALSOFT_CONF=alsoft.conf");
    const long heldD = loudSamples(dir / "played.wav");
    ASSERT_GE(heldD, 0) << "no recording";
    EXPECT_GT(walkedWithL, 200) << "L did not walk the operative";
    EXPECT_LT(heldD * 4, walkedWithL) << "D still walks the operative";
}

// Another window takes the focus mid-mission: the game pauses (the pause screen dims the field)
// unless switched off; either way the run, pause and all, replays headless to where it stood.
TEST_F(Nightjar, LosingTheFocusWhilePlayingPausesUnlessSwitchedOff) {
    double level[2] = {0.0, 0.0};  // the mean of every channel of the frame
    for (const bool pauses : {true, false}) {
        const GameFolder own(pauses ? "focus-pauses" : "focus-plays", NJ_BUILD_DIR);
        if (!pauses) std::ofstream(own.dir / "settings.json") << "{\"pauseOnFocusLoss\": false}";
        drive(own.dir, "1280x720", NJ_LOSE_FOCUS_SCRIPT, "--screenshot shot.png");
        const DecodedPng shot = shotIn(own.dir, "shot.png");
        level[pauses ? 0 : 1] =
            std::accumulate(shot.rgb.begin(), shot.rgb.end(), 0.0) / shot.rgb.size();
        EXPECT_THAT(
            nj::test::runCommand(own.dir, "'" NJ_SIM_PATH "' --replay replays/last.njr").output,
            HasSubstr("replay: verified"))
            << (pauses ? "paused" : "playing");
    }
    EXPECT_LT(level[0], 0.75 * level[1]) << "paused " << level[0] << ", playing " << level[1];
}

// On a 1000 x 562 screen the page is scaled down, and a click lands on what is drawn there.
TEST_F(Nightjar, OnASmallScreenAClickSelectsTheOperationDrawnUnderIt) {
    // The play field fills the 1000 x 562 screen less a half-pixel pillarbox.
    const double scale = 562.0 / 720.0, left = (1000.0 - 1280.0 * scale) / 2.0;
    const auto x = [&](double pageX) { return static_cast<std::uint32_t>(left + pageX * scale); };
    const auto y = [&](double pageY) { return static_cast<std::uint32_t>(pageY * scale); };
    drive(dir, "1000x562", NJ_SMALL_CLICK_SCRIPT,
          std::to_string(x(224)) + " " + std::to_string(y(195)));  // the middle of the OP 01 card
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_EQ(shot.width, 1000u);
    // Inside OP 01, right of its number: red less blue, the selected card's gold-brown is warm, an
    // unselected card's navy cool (OP 03, chosen before the click, would be).
    const std::uint32_t c = shot.pixel(x(330), y(168));
    EXPECT_GT(int(c >> 16) - int(c & 0xFF), 8) << "OP 01 is drawn selected, " << std::hex << c;
}

// The "pad-state" lines a pad script printed, each as its key=value fields.
std::vector<std::map<std::string, std::string>> padStates(const std::string& output) {
    std::vector<std::map<std::string, std::string>> states;
    std::istringstream lines(output);
    const std::regex field(R"((\w+)=(\S*))");
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("pad-state ", 0) != 0) continue;
        auto& fields = states.emplace_back();
        for (std::sregex_iterator m(line.begin(), line.end(), field), end; m != end; ++m)
            fields[(*m)[1]] = (*m)[2];
    }
    return states;
}

// A virtual controller alone drives the dossier, a mission and the safe.
TEST_F(Nightjar, AVirtualControllerPlaysTheGameAlone) {
    // Our own campaign of two, packed with the real page (the package's campaign is played).
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

// A fixed-step self-test frame (operation 1 and its HUD), off by rounding only. Retake it with
// scripts/reference_frame.sh when the page or the scene is meant to change.
TEST_F(Nightjar, APlayingFrameMatchesTheReferencePicture) {
    selfTest(dir, "1280x720", "--fixed-step --screenshot shot.png");
    const DecodedPng shot = shotIn(dir, "shot.png");
    const DecodedPng reference = nj::test::readPng(NJ_REFERENCE_FRAME);
    ASSERT_EQ(reference.error, "");
    ASSERT_EQ(shot.width, reference.width);
    ASSERT_EQ(shot.height, reference.height);
    std::vector<int> off(shot.rgb.size());
    std::ranges::transform(shot.rgb, reference.rgb, off.begin(),
                           [](int a, int b) { return std::abs(a - b); });
    const auto worst = std::ranges::max_element(off);
    const std::size_t at = static_cast<std::size_t>(worst - off.begin()) / 3;
    EXPECT_LE(*worst, 2) << std::ranges::count_if(off, [](int d) { return d > 0; })
                         << " channels differ; the worst at (" << at % shot.width << ", "
                         << at / shot.width << ")";
}

// A run played in the game (walk, a stay on the dossier, walk) is kept stay and all, replays
// headless to the state recorded and opens with --replay, which saves nothing and keeps the
// file; a pipe is refused with its reason, and the self-test runs on to its end.
TEST_F(Nightjar, ARunPlayedInTheGameVerifiesHeadlessAndIsWatchedAgain) {
    drive(dir, "1280x720", NJ_REBIND_SCRIPT, "d stay");
    const fs::path last = dir / "replays" / "last.njr";
    ASSERT_TRUE(fs::is_regular_file(last));
    EXPECT_THAT(nj::test::runCommand(dir, "'" NJ_SIM_PATH "' --replay replays/last.njr").output,
                HasSubstr("replay: verified"));

    const std::string before = nj::test::fileText(last);
    fs::remove(dir / "save.dat");
    EXPECT_THAT(selfTest(dir, "1280x720", "--replay replays/last.njr --frames 90").output,
                ::testing::Not(HasSubstr("replay refused")));
    EXPECT_EQ(nj::test::fileText(last), before) << "watching keeps the file as it was";
    EXPECT_FALSE(fs::exists(dir / "save.dat")) << "watching saves nothing";

    ASSERT_EQ(nj::test::runCommand(dir, "mkfifo pipe.njr").exitCode, 0);
    EXPECT_THAT(selfTest(dir, "1280x720", "--replay pipe.njr").output,
                HasSubstr("nightjar: replay refused: "));
}

// --edit opens a mission, or a file not there yet (written only when saved); what is not one
// is refused with the checker's words before any window opens, and left as it was (a folder
// or a huge file meets the pipe's reader; hostile missions are the data tests').
TEST_F(Nightjar, EditOpensAMissionAndRefusesWhatIsNotOne) {
    std::ofstream(dir / "words.json") << "not a mission";
    ASSERT_EQ(nj::test::runCommand(dir, "mkfifo pipe.json").exitCode, 0);
    const std::pair<std::string, const char*> cases[] = {
        {"new.json", nullptr},
        {NJ_SHIPPED_MISSIONS "/mission1.json", nullptr},
        {"pipe.json", "a mission is a regular file of at most 1 MiB"},
        {"words.json", "words.json:1:1: a mission is a JSON object"},
    };
    for (const auto& [file, refusal] : cases) {
        const ProgramRun run = selfTest(dir, "1280x720", "--edit '" + file + "'", refusal ? 1 : 0);
        if (!refusal) continue;
        EXPECT_THAT(run.output, HasSubstr("nightjar: cannot edit"));
        EXPECT_THAT(run.output, HasSubstr(refusal)) << file;
    }
    EXPECT_FALSE(fs::exists(dir / "new.json"));
    EXPECT_EQ(nj::test::fileText(dir / "words.json"), "not a mission");
}

// The editor with the mouse (edit_with_mouse.sh): the undo history comes back
// whole from test play, the waypoint drawn before it undone after it.
TEST_F(Nightjar, AWallAndAGuardPlacedWithTheMouseAreSavedAndSurviveTestPlay) {
    const ProgramRun run = drive(dir, "1280x720", NJ_EDIT_SCRIPT, "heist.json");
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

// The page's layout is 1280 x 720, letterboxed into the 1280 x 1024 screen
// 152 rows down; a page block at (0, 0, 100, 100) lands here.
constexpr std::uint32_t kPageBlockX = 50, kPageBlockY = 152 + 50;

// A page that paints a magenta block first, then misbehaves (`rest` nested `depth` divs deep).
std::string pageWithBlock(const std::string& rest, int depth = 0) {
    std::string open;
    for (int i = 0; i < depth; ++i) open += "<div>";
    return "<html><head><style>body{margin:0}</style></head><body>"
           "<div style='position:absolute;left:0;top:0;width:100px;height:100px;"
           "background-color:#ff00ff'></div>" +
           open + rest + std::regex_replace(open, std::regex("<"), "</") + "</body></html>";
}

// The scene fuzzer's hostile missions: every number at 1e30 (the one played), then a gate, a
// bookcase and a rack where a float no longer moves by one step of their bars or shelves.
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

const char* const kPage = "assets/ui/ui.html";

struct Hostile {
    const char* name;  // also the test's name
    bool package;      // the built game.nj3p beside the game; else only loose files
    std::string file;
    std::string contents;  // none: the file is a named pipe nobody writes
};

// The game starts without waiting on a pipe for its options (damaged contents are the
// settings file's tests'). An empty img src names the page's own folder.
const Hostile kCases[] = {
    {"BrokenPackage", false, "game.nj3p", "NJ3P" + std::string(4096, '\x5a')},
    {"CampaignOfAbsurdCoordinates", false, "campaign_maps.json", absurdCampaign()},
    {"NamedPipeForTheSave", true, "save.dat", ""},
    {"PageWhoseScriptsNeverEnd", false, kPage,
     pageWithBlock("<img src=''><script>function syncGameState() { for (;;) {} }"
                   "setInterval(function () { while (true) {} }, 10);"
                   "requestAnimationFrame(function again() { requestAnimationFrame(again); "
                   "for (;;) {} }); for (;;) {}</script>")},
    {"PageNested10000Deep", false, kPage, pageWithBlock("deepest", 10000)},
    {"NamedPipeForTheSettings", true, "settings.json", ""},
};

// ctest lists each case by its name rather than by its bytes.
void PrintTo(const Hostile& c, std::ostream* out) {
    *out << c.name;
}

class NightjarHostileInput : public ::testing::TestWithParam<Hostile> {};

// With a broken file beside it the self-test still ends within 30 s of processor time, drawing.
TEST_P(NightjarHostileInput, TheSelfTestEndsWithin30SecondsStillDrawing) {
    const Hostile& c = GetParam();
    const nj::test::GameFolder folder(c.name, NJ_BUILD_DIR, c.package);
    const fs::path& dir = folder.dir;
    if (!c.contents.empty()) {
        fs::create_directories((dir / c.file).parent_path());
        std::ofstream(dir / c.file, std::ios::binary) << c.contents;
    } else {
        ASSERT_EQ(::mkfifo((dir / c.file).c_str(), 0600), 0);
    }
    // An endless loop meets ulimit's 30 s of processor time; the wall clock (busy machines make
    // runs wait) catches a blocked run, and kills it: a game stuck in a frame never reads SIGTERM.
    const ProgramRun run = play(dir, "1280x1024",
                                "sh -c \"ulimit -t 30 && exec timeout -k 5 120 '" NIGHTJAR_PATH
                                "' --test --screenshot shot.png\"");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const DecodedPng shot = shotIn(dir, "shot.png");
    ASSERT_GT(shot.width, kPageBlockX) << run.output;
    EXPECT_GT(nj::test::playFieldColours(shot), 20u);
    if (c.file == kPage) {
        EXPECT_TRUE(near(shot.pixel(kPageBlockX, kPageBlockY), 0xFF00FF, 55))
            << std::hex << shot.pixel(kPageBlockX, kPageBlockY);
    }
    // Nothing won, no option changed: no save or settings written or set aside; a pipe stays one.
    const bool pipe = c.contents.empty();
    EXPECT_EQ(fs::is_fifo(dir / "save.dat"), pipe && c.file == "save.dat");
    EXPECT_EQ(fs::exists(dir / "settings.json"), pipe && c.file == "settings.json");
    EXPECT_EQ(fs::is_fifo(dir / "settings.json"), pipe && c.file == "settings.json");
    EXPECT_FALSE(fs::exists(dir / "settings.json.bad"));
}

INSTANTIATE_TEST_SUITE_P(Cases, NightjarHostileInput, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Hostile>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
