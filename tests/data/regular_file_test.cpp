// Whole-file reads and writes refuse anything but a small regular file. A
// missing file, an oversized one, folders and named pipes are read by the
// save, campaign and page-file tests (and the game's run with a pipe for its
// save); the cap's boundary and writing are here.
#include "data/regular_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/scratch_dir.hpp"

namespace {

class RegularFiles : public ::testing::Test {
    nj::test::ScratchDir scratch;
};

TEST_F(RegularFiles, AFileUpToTheCapIsRead) {
    std::ofstream{"empty"};
    std::ofstream("at the cap") << std::string(64, 'x');
    std::ofstream("past the cap") << std::string(65, 'x');
    std::string bytes = "untouched";
    EXPECT_TRUE(nj::readRegularFile("empty", 64, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(nj::readRegularFile("at the cap", 64, bytes));
    EXPECT_EQ(bytes, std::string(64, 'x'));
    bytes = "untouched";
    EXPECT_FALSE(nj::readRegularFile("past the cap", 64, bytes));
    EXPECT_EQ(bytes, "untouched");
}

TEST_F(RegularFiles, WritingReplacesALongerFileButNotAFolder) {
    std::ofstream("file") << "a much longer old text";
    ASSERT_TRUE(nj::writeRegularFile("file", "new"));
    std::string back;
    ASSERT_TRUE(nj::readRegularFile("file", 100, back));
    EXPECT_EQ(back, "new");
    std::filesystem::create_directories("folder");
    EXPECT_FALSE(nj::writeRegularFile("folder", "lost"));
    EXPECT_TRUE(std::filesystem::is_directory("folder"));
}

}  // namespace
