// Whole-file reads and writes refuse anything but a small regular file. A
// missing file, an oversized one and named pipes in either direction are the
// save file's tests (and the game's run with a pipe for its save).
#include "data/regular_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

class RegularFiles : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("nj_regular_" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    std::string at(const char* name) const { return (dir / name).string(); }
};

TEST_F(RegularFiles, OnlyARegularFileWithinTheCapIsRead) {
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        bool readable;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", [](const std::string& p) { std::ofstream{p}; }, true, ""},
        {"at the cap", [](const std::string& p) { std::ofstream(p) << std::string(64, 'x'); }, true,
         std::string(64, 'x')},
        {"one past the cap", [](const std::string& p) { std::ofstream(p) << std::string(65, 'x'); },
         false, ""},
        {"folder", [](const std::string& p) { fs::create_directories(p); }, false, ""},
    };
    for (const Case& c : cases) {
        const std::string path = at(c.name);
        c.make(path);
        std::string bytes = "untouched";
        EXPECT_EQ(nj::readRegularFile(path, 64, bytes), c.readable) << c.name;
        EXPECT_EQ(bytes, c.readable ? c.bytes : "untouched") << c.name;
    }
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
