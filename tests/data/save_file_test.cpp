#include "data/save_file.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

#include "tests/support/deadline.hpp"

namespace {

nj::SaveRecord applied(const std::string& text, std::size_t campaignSize = 4) {
    nj::SaveRecord r;
    r.highestUnlocked = 1;  // anything the file does not mention must survive
    nj::applySaveText(text, r, campaignSize);
    return r;
}

TEST(SaveRead, ShortAndDamagedFilesApplyWhatWasRead) {
    const auto empty = applied("");
    EXPECT_EQ(empty.highestUnlocked, 1u);
    EXPECT_EQ(empty.intelBudget, 200);

    const auto two = applied("2 500");
    EXPECT_EQ(two.highestUnlocked, 2u);
    EXPECT_EQ(two.intelBudget, 500);
    EXPECT_FALSE(two.perkSlowDetection || two.perkSoftStep || two.perkSafeAssist);
    EXPECT_EQ(two.missionCompleted, (std::array<bool, 4>{}));

    // The third perk missing: no perk at all is applied.
    const auto perks = applied("0 200 1 0");
    EXPECT_FALSE(perks.perkSlowDetection);

    // Completion flags stop at the first bad value.
    const auto flags = applied("1 100 0 0 0 1 x 1 1");
    EXPECT_EQ(flags.missionCompleted, (std::array<bool, 4>{true, false, false, false}));

    // Letters in place of a number leave that field and all later ones alone.
    const auto letters = applied("abc 900 1 1 1");
    EXPECT_EQ(letters.highestUnlocked, 1u);
    EXPECT_EQ(letters.intelBudget, 200);
}

TEST(SaveRead, ClampsToTheCampaignAndReadsAnyNonZeroFlagAsSet) {
    EXPECT_EQ(applied("7 0 0 0 0").highestUnlocked, 3u);
    EXPECT_EQ(applied("7 0 0 0 0", 2).highestUnlocked, 1u);
    EXPECT_EQ(applied("7 0 0 0 0", 0).highestUnlocked, 7u);
    EXPECT_EQ(applied("", 1).highestUnlocked, 0u);  // an empty file still clamps

    const auto r = applied("0 -40 5 -1 0\n1 5 0 -3 \n");
    EXPECT_EQ(r.intelBudget, -40);
    EXPECT_TRUE(r.perkSlowDetection);
    EXPECT_TRUE(r.perkSoftStep);
    EXPECT_FALSE(r.perkSafeAssist);
    EXPECT_EQ(r.missionCompleted, (std::array<bool, 4>{true, true, false, true}));
    // Line breaks and blanks carry no meaning.
    EXPECT_EQ(applied("\n\n 2\t\t300\n").intelBudget, 300);
}

// A hand-edited number too large for its field reads as the field's limit;
// the fields after it are still read.
TEST(SaveRead, NumbersBeyondTheirFieldClampAndTheRestOfTheFileStillCounts) {
    constexpr std::int32_t kMostIntel = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kLeastIntel = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* text;
        std::size_t campaignSize;
        std::uint64_t unlocked;
        std::int32_t intel;
    };
    const Case cases[] = {
        {"99999999999999999999999 5 1 1 1\n1 1 1 1 \n", 0,
         std::numeric_limits<std::uint64_t>::max(), 5},
        {"99999999999999999999999 5 1 1 1\n1 1 1 1 \n", 4, 3, 5},
        {"18446744073709551615 5 1 1 1\n1 1 1 1 \n", 0, std::numeric_limits<std::uint64_t>::max(),
         5},
        {"2 2147483648 1 1 1\n1 1 1 1 \n", 4, 2, kMostIntel},
        {"2 +900000000000000000000 1 1 1\n1 1 1 1 \n", 4, 2, kMostIntel},
        {"2 -2147483649 1 1 1\n1 1 1 1 \n", 4, 2, kLeastIntel},
        {"2 -2147483648 1 1 1\n1 1 1 1 \n", 4, 2, kLeastIntel},
        {"-3 7 1 1 1\n1 1 1 1 \n", 4, 0, 7},
        {"1 7 -99999999999999999999 99999999999999999999 1\n"
         "1 -99999999999999999999 99999999999999999999 1 \n",
         4, 1, 7},
    };
    for (const Case& c : cases) {
        const auto r = applied(c.text, c.campaignSize);
        EXPECT_EQ(r.highestUnlocked, c.unlocked) << c.text;
        EXPECT_EQ(r.intelBudget, c.intel) << c.text;
        EXPECT_TRUE(r.perkSlowDetection && r.perkSoftStep && r.perkSafeAssist) << c.text;
        EXPECT_EQ(r.missionCompleted, (std::array<bool, 4>{true, true, true, true})) << c.text;
    }
}

class SaveFileOnDisk : public ::testing::Test {
  protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("nj_save_" + std::to_string(::getpid()));
    std::string path = (dir / "save.dat").string();
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string contents() {
        std::ifstream f(path);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
};

TEST_F(SaveFileOnDisk, WritesTheExactLayoutAndReadsItBack) {
    nj::SaveRecord r;
    r.highestUnlocked = 1;
    r.intelBudget = 350;
    r.perkSoftStep = true;
    r.missionCompleted = {true, false, false, false};
    ASSERT_TRUE(nj::writeSaveFile(path, r));
    EXPECT_EQ(contents(), "1 350 0 1 0\n1 0 0 0 \n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    nj::SaveRecord back;
    nj::readSaveFile(path, back, 4);
    EXPECT_EQ(back.highestUnlocked, 1u);
    EXPECT_EQ(back.intelBudget, 350);
    EXPECT_TRUE(back.perkSoftStep);
    EXPECT_EQ(back.missionCompleted, r.missionCompleted);

    // Rewriting keeps exactly nine numbers.
    r.highestUnlocked = 2;
    r.missionCompleted[1] = true;
    ASSERT_TRUE(nj::writeSaveFile(path, r));
    EXPECT_EQ(contents(), "2 350 0 1 0\n1 1 0 0 \n");
}

// A missing save resets only the unlock; something that is not a save in
// save.dat's place reads as missing, and the next save replaces it: a pipe
// nobody writes to never holds up the start.
TEST_F(SaveFileOnDisk, AnythingButASmallRegularFileReadsAsMissingAndIsReplacedOnSave) {
    const nj::test::Deadline deadline(10);
    using Make = std::function<void(const std::string&)>;
    const Make missing = [](const std::string&) {};
    const Make pipe = [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    const Make oversized = [](const std::string& p) {
        std::ofstream(p) << "2 350 1 1 1\n1 1 1 1 " << std::string(70000, ' ') << "\n";
    };
    for (const Make& make : {missing, pipe, oversized}) {
        std::filesystem::remove(path);
        make(path);
        nj::SaveRecord r;
        r.highestUnlocked = 3;
        r.intelBudget = 999;
        nj::readSaveFile(path, r, 4);
        EXPECT_EQ(r.highestUnlocked, 0u);
        EXPECT_EQ(r.intelBudget, 999);
        EXPECT_FALSE(r.perkSoftStep);

        ASSERT_TRUE(nj::writeSaveFile(path, r));
        EXPECT_EQ(contents(), "0 999 0 0 0\n0 0 0 0 \n");
    }
    // A pipe where the temporary goes fails the save at once and keeps the old one.
    ASSERT_EQ(::mkfifo((path + ".tmp").c_str(), 0600), 0);
    nj::SaveRecord r;
    EXPECT_FALSE(nj::writeSaveFile(path, r));
    EXPECT_EQ(contents(), "0 999 0 0 0\n0 0 0 0 \n");
    EXPECT_FALSE(nj::writeSaveFile((dir / "no" / "such" / "save.dat").string(), r));
}

}  // namespace
