#include "data/save_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/scratch_dir.hpp"

namespace {

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
        nj::SaveRecord r;
        r.highestUnlocked = 1;
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
