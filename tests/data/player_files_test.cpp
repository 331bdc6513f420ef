// Where the game's data is found, where player files go, and that a player
// file is never left torn.
#include "data/player_files.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/scratch_dir.hpp"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

// The installed game found from an empty folder, and one run portable from
// its own, are the install run's; here the order when several qualify.
TEST(GameData, WorkingDirectoryFirstThenExecutableThenInstall) {
    const nj::test::ScratchDir scratch;
    const fs::path here = fs::current_path();
    const std::string exe = (here / "exe").string(), share = (here / "share").string();
    fs::create_directories(exe);
    fs::create_directories(share);
    // Found nowhere: the game runs where it stands, as it always did.
    EXPECT_TRUE(nj::locateGameData(exe, share).portable);
    touch(share + "/campaign_maps.json");
    EXPECT_EQ(nj::locateGameData(exe, share).campaignPaths(),
              std::vector<std::string>{share + "/campaign_maps.json"});
    touch(exe + "/game.nj3p");
    EXPECT_EQ(nj::locateGameData(exe + "/", share).dataDir, exe + "/");

    // A folder by the package's name is no package; a real one in the
    // working directory wins over both, with the campaign's old fallback.
    fs::create_directories("game.nj3p");
    EXPECT_FALSE(nj::locateGameData(exe, share).portable);
    fs::remove("game.nj3p");
    touch("campaign_maps.json");
    const nj::GameLocation found = nj::locateGameData(exe, share);
    EXPECT_TRUE(found.portable);
    EXPECT_EQ(found.campaignPaths(),
              (std::vector<std::string>{"campaign_maps.json", "../campaign_maps.json"}));
}

TEST(PlayerFolders, FollowTheXdgRules) {
    struct Case {
        const char* name;
        nj::PlayerEnvironment env;
        const char* save;
        const char* settings;
    };
    const Case cases[] = {
        {"defaults under home",
         {"", "", "/home/ana", false},
         "/home/ana/.local/share/nightjar/save.dat",
         "/home/ana/.config/nightjar/settings.json"},
        {"explicit folders",
         {"/d", "/c/", "/home/ana", false},
         "/d/nightjar/save.dat",
         "/c/nightjar/settings.json"},
        {"relative values are ignored",
         {"rel/data", "rel", "/h", false},
         "/h/.local/share/nightjar/save.dat",
         "/h/.config/nightjar/settings.json"},
        {"no home at all: the working directory", {"", "", "", false}, "save.dat", "settings.json"},
        {"half a home: the working directory", {"/d", "", "", false}, "save.dat", "settings.json"},
    };
    for (const Case& c : cases) {
        const nj::PlayerFiles files = nj::PlayerFiles::installed(c.env);
        EXPECT_EQ(files.path(nj::PlayerFile::Save), c.save) << c.name;
        EXPECT_EQ(files.path(nj::PlayerFile::Settings), c.settings) << c.name;
    }
    // An old save in the working directory stays in use (the install run's);
    // what came after it lives in the player's folder all the same.
    const nj::PlayerFiles xdg = nj::PlayerFiles::installed({"/d", "/c", "/h", true});
    EXPECT_EQ(xdg.path(nj::PlayerFile::Missions), "/d/nightjar/missions");
    EXPECT_EQ(xdg.path(nj::PlayerFile::Replays), "/d/nightjar/replays");
}

TEST(PlayerFileWrite, MakesPrivateFoldersAndRefusesOnceWhereItCannot) {
    const nj::test::ScratchDir scratch;
    ASSERT_TRUE(nj::writePlayerFile("a/b/settings.json", "{}"));
    EXPECT_EQ(nj::test::fileText("a/b/settings.json"), "{}");
    EXPECT_FALSE(fs::exists("a/b/settings.json.tmp"));
    struct stat info {};
    ASSERT_EQ(::stat("a/b", &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A file where a folder should be: refused, and said once only.
    touch("blocked");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nj::writePlayerFile("blocked/records.json", "{}"));
    EXPECT_FALSE(nj::writePlayerFile("blocked/records.json", "{}"));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("blocked"), std::string::npos) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;

    // A pipe where the temporary goes fails at once and keeps the old file.
    ASSERT_EQ(::mkfifo("a/b/settings.json.tmp", 0600), 0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(nj::writePlayerFile("a/b/settings.json", "new"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(nj::test::fileText("a/b/settings.json"), "{}");
}

// A player killed mid-save (a crash, a power button held) finds the old file
// or the new one, never a mix and never a stub.
TEST(PlayerFileWrite, AKillMidWriteNeverTearsTheFile) {
    const nj::test::ScratchDir scratch;
    const std::string first(256 << 10, 'a'), second(256 << 10, 'b');
    ASSERT_TRUE(nj::writePlayerFile("save.dat", first));
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) {
                nj::writePlayerFile("save.dat", second);
                nj::writePlayerFile("save.dat", first);
            }
        }
        ::usleep(static_cast<useconds_t>(1000 + round * 1300));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string got = nj::test::fileText("save.dat");
        ASSERT_TRUE(got == first || got == second) << "round " << round << ": " << got.size();
    }
}

}  // namespace
