// Whole-file reads and writes refuse anything but a small regular file. A
// missing file, an oversized one, folders and named pipes are read by the
// save, campaign and page-file tests (and the game's run with a pipe for its
// save); the cap's boundary and writing are here.
#include "data/regular_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class RegularFiles : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("nj_regular_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char* name) const { return (dir / name).string(); }
};

TEST_F(RegularFiles, AFileUpToTheCapIsRead) {
    std::ofstream{at("empty")};
    std::ofstream(at("at the cap")) << std::string(64, 'x');
    std::ofstream(at("past the cap")) << std::string(65, 'x');
    std::string bytes = "untouched";
    EXPECT_TRUE(nj::readRegularFile(at("empty"), 64, bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_TRUE(nj::readRegularFile(at("at the cap"), 64, bytes));
    EXPECT_EQ(bytes, std::string(64, 'x'));
    bytes = "untouched";
    EXPECT_FALSE(nj::readRegularFile(at("past the cap"), 64, bytes));
    EXPECT_EQ(bytes, "untouched");
}

TEST_F(RegularFiles, WritingReplacesALongerFileButNotAFolder) {
    const std::string file = at("file");
    std::ofstream(file) << "a much longer old text";
    ASSERT_TRUE(nj::writeRegularFile(file, "new"));
    std::string back;
    ASSERT_TRUE(nj::readRegularFile(file, 100, back));
    EXPECT_EQ(back, "new");
    fs::create_directories(at("folder"));
    EXPECT_FALSE(nj::writeRegularFile(at("folder"), "lost"));
    EXPECT_TRUE(fs::is_directory(at("folder")));
}

}  // namespace
