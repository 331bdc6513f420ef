// Whole-file reads and writes refuse, without waiting, anything but a small
// regular file.
#include "data/regular_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/deadline.hpp"

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
    // A pipe nobody writes to would hold a blocking read forever.
    const nj::test::Deadline deadline(10);
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        bool readable;
        std::string bytes;
    };
    const Case cases[] = {
        {"small", [](const std::string& p) { std::ofstream(p) << "hello"; }, true, "hello"},
        {"empty", [](const std::string& p) { std::ofstream{p}; }, true, ""},
        {"at the cap", [](const std::string& p) { std::ofstream(p) << std::string(64, 'x'); }, true,
         std::string(64, 'x')},
        {"one past the cap", [](const std::string& p) { std::ofstream(p) << std::string(65, 'x'); },
         false, ""},
        {"folder", [](const std::string& p) { fs::create_directories(p); }, false, ""},
        {"pipe", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, false, ""},
        {"missing", [](const std::string&) {}, false, ""},
    };
    for (const Case& c : cases) {
        const std::string path = at(c.name);
        c.make(path);
        std::string bytes = "untouched";
        EXPECT_EQ(nj::readRegularFile(path, 64, bytes), c.readable) << c.name;
        EXPECT_EQ(bytes, c.readable ? c.bytes : "untouched") << c.name;
    }
}

TEST_F(RegularFiles, WritingReplacesAFileButNeverWaitsOnAPipeOrFolder) {
    const nj::test::Deadline deadline(10);
    const std::string file = at("file");
    std::ofstream(file) << "a much longer old text";
    ASSERT_TRUE(nj::writeRegularFile(file, "new"));
    std::string back;
    ASSERT_TRUE(nj::readRegularFile(file, 100, back));
    EXPECT_EQ(back, "new");

    ASSERT_EQ(::mkfifo(at("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(nj::writeRegularFile(at("pipe"), "lost"));
    fs::create_directories(at("folder"));
    EXPECT_FALSE(nj::writeRegularFile(at("folder"), "lost"));
    EXPECT_TRUE(fs::is_fifo(at("pipe")));
    EXPECT_TRUE(fs::is_directory(at("folder")));
}

}  // namespace
