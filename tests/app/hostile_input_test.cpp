// The real game under Xvfb on lavapipe with the validation layer, handed the
// broken files a new player or a level designer with a typo might leave
// beside it: each self-test run still ends
// within 30 s of processor time, still drawing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include "data/map_token.hpp"
#include "tests/support/png_reader.hpp"
#include "tests/support/scratch_dir.hpp"
#include "tests/support/vulkan_run.hpp"

namespace {

namespace fs = std::filesystem;

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
    const nj::test::ProgramRun run =
        nj::test::runUnderXvfb(dir, "1280x1024",
                               "sh -c \"ulimit -t 30 && exec timeout -k 5 120 '" NIGHTJAR_PATH
                               "' --test --screenshot shot.png\"");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_FALSE(nj::test::hasValidationMessage(run.output)) << run.output;
    const nj::test::DecodedPng shot = nj::test::readPng((dir / "shot.png").string());
    ASSERT_EQ(shot.error, "") << run.output;
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
