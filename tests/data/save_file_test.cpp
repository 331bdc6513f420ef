#include "data/save_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

nj::SaveRecord fresh() { return nj::SaveRecord{}; }

nj::SaveRecord applied(const std::string& text, std::size_t campaignSize = 4) {
    nj::SaveRecord r = fresh();
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

class SaveFileOnDisk : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("nj_save_" + std::to_string(::getpid()));
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

TEST_F(SaveFileOnDisk, MissingFileResetsOnlyTheUnlockAndUnwritableTargetKeepsOldSave) {
    nj::SaveRecord r;
    r.highestUnlocked = 3;
    r.intelBudget = 999;
    nj::readSaveFile((dir / "none.dat").string(), r, 4);
    EXPECT_EQ(r.highestUnlocked, 0u);
    EXPECT_EQ(r.intelBudget, 999);

    ASSERT_TRUE(nj::writeSaveFile(path, r));
    const std::string before = contents();
    // A folder in the way of the temporary file: the write fails, the old save stays.
    std::filesystem::create_directories(path + ".tmp");
    r.intelBudget = 1;
    EXPECT_FALSE(nj::writeSaveFile(path, r));
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(nj::writeSaveFile((dir / "no" / "such" / "save.dat").string(), r));
}

}  // namespace
