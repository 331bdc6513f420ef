// Where the game's data and the player's files are, how they are written, and save.dat.
#include "data/player_files.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "data/save_file.hpp"
#include "tests/support/scratch_dir.hpp"

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

// One place at a time is the install run's; here, the order when several qualify.
TEST(GameData, WorkingDirectoryFirstThenExecutableThenInstall) {
    const nj::test::ScratchDir scratch;
    const std::string exe = fs::absolute("exe").string(), share = fs::absolute("share").string();
    for (const std::string& dir : {exe, share}) fs::create_directories(dir);
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
    const struct {
        const char* name;
        nj::PlayerEnvironment env;
        const char* save;
        const char* settings;
    } cases[] = {
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
    for (const auto& c : cases) {
        const nj::PlayerFiles files = nj::PlayerFiles::installed(c.env);
        EXPECT_EQ(files.path(nj::PlayerFile::Save), c.save) << c.name;
        EXPECT_EQ(files.path(nj::PlayerFile::Settings), c.settings) << c.name;
    }
    // An old save in the working directory stays in use; later kinds of file do not follow it.
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

// Each text applied over a record that has unlocked mission 1 (anything the
// file does not mention must survive), shown as the save it would write.
TEST(SaveRead, ShortDamagedAndOutOfRangeTextsApplyWhatCanBeRead) {
    const std::string allSet = " 1 1 1\n1 1 1 1 \n";
    const struct {
        std::string text;
        std::size_t campaignSize;
        std::string expected;
    } cases[] = {
        {"", 4, "1 200 0 0 0\n0 0 0 0 \n"},
        {"2 500", 4, "2 500 0 0 0\n0 0 0 0 \n"},
        {"0 200 1 0", 4, "0 200 0 0 0\n0 0 0 0 \n"},  // the third perk missing: none applied
        {"1 100 0 0 0 1 x 1 1", 4, "1 100 0 0 0\n1 0 0 0 \n"},  // flags stop at a bad value
        {"abc 900 1 1 1", 4, "1 200 0 0 0\n0 0 0 0 \n"},
        // The unlock is pulled back into the campaign (0: no campaign, no clamp).
        {"7 0 0 0 0", 4, "3 0 0 0 0\n0 0 0 0 \n"},
        {"7 0 0 0 0", 0, "7 0 0 0 0\n0 0 0 0 \n"},
        {"", 1, "0 200 0 0 0\n0 0 0 0 \n"},  // an empty file still clamps
        // Any non-zero flag is set; line breaks and blanks carry no meaning.
        {"0 -40 5 -1 0\n\n\t1 5 0 -3 \n", 4, "0 -40 1 1 0\n1 1 0 1 \n"},
        // A hand-edited number too large for its field reads as the field's
        // limit, and the fields after it still count.
        {"99999999999999999999999 5" + allSet, 0, "18446744073709551615 5" + allSet},
        {"2 2147483648" + allSet, 4, "2 2147483647" + allSet},
        {"2 +900000000000000000000" + allSet, 4, "2 2147483647" + allSet},
        {"2 -2147483649" + allSet, 4, "2 -2147483648" + allSet},
        {"-3 7" + allSet, 4, "0 7" + allSet},
        {"1 7 -99999999999999999999 99999999999999999999 1\n"
         "1 -99999999999999999999 99999999999999999999 1 \n",
         4, "1 7" + allSet},
    };
    for (const auto& c : cases) {
        nj::SaveRecord r{.highestUnlocked = 1};
        nj::applySaveText(c.text, r, c.campaignSize);
        EXPECT_EQ(nj::formatSaveText(r), c.expected) << c.text << " / " << c.campaignSize;
    }
}

// A new campaign moves save.dat aside, never over an earlier backup, and
// leaves anything that is not a save alone.
TEST(SaveBackup, TheSaveIsMovedAsideNeverOverAnother) {
    const nj::test::ScratchDir scratch;
    std::string keptAs;
    EXPECT_EQ(nj::backUpSaveFile("save.dat", "2026-12-07-101500", keptAs), nj::SaveBackup::NoSave);
    EXPECT_TRUE(keptAs.empty());

    const std::string texts[] = {"3 1955 1 1 1\n1 1 1 1 \n", "1 200 0 0 0\n1 0 0 0 \n"};
    const std::string names[] = {"save.dat.2026-12-07-101500.bak",
                                 "save.dat.2026-12-07-101500-2.bak"};
    for (int i = 0; i < 2; ++i) {
        std::ofstream("save.dat", std::ios::binary) << texts[i];
        ASSERT_EQ(nj::backUpSaveFile("save.dat", "2026-12-07-101500", keptAs),
                  nj::SaveBackup::Kept);
        EXPECT_EQ(keptAs, names[i]);
        EXPECT_FALSE(std::filesystem::exists("save.dat"));
    }
    for (int i = 0; i < 2; ++i) EXPECT_EQ(nj::test::fileText(names[i]), texts[i]);

    std::filesystem::create_directory("save.dat");
    EXPECT_EQ(nj::backUpSaveFile("save.dat", "2026-12-07-101501", keptAs), nj::SaveBackup::NoSave);
    EXPECT_TRUE(std::filesystem::is_directory("save.dat"));
}

}  // namespace
