// Each file the game reads, with hostile things in its place: nothing blocks or is read whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/digest.hpp"
#include "data/mission_format.hpp"
#include "data/package.hpp"
#include "data/records_file.hpp"
#include "data/regular_file.hpp"
#include "data/replay_file.hpp"
#include "data/save_file.hpp"
#include "data/settings_file.hpp"
#include "tests/support/deadline.hpp"
#include "tests/support/scratch_dir.hpp"

namespace nj {
namespace {

namespace fs = std::filesystem;

enum Hostile { Good, NotTheFormat, Huge, Folder, Pipe, Missing, kHostileKinds };
const char* const kHostileNames[] = {"its own good file", "not the format", "huge",
                                     "a folder",          "a named pipe",   "missing"};

struct Format {
    const char* name;
    std::function<void(const std::string&)> writeGood;
    // What reading left the game with, in a word.
    std::function<std::string(const std::string&)> read;
    const char* expected[kHostileKinds];
};

// The good file, then padding past every cap but the package's (whose bytes
// after the payload are ignored), in a form that reads as nothing but space.
void put(Hostile kind, const Format& format, const std::string& path) {
    if (kind == Good || kind == Huge) format.writeGood(path);
    if (kind == Huge) std::ofstream(path, std::ios::app) << std::string(17u << 20, ' ');
    if (kind == NotTheFormat) std::ofstream(path) << "no such file {";
    if (kind == Folder) fs::create_directory(path);
    if (kind == Pipe) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    }
}

RunRecord shortRun() {
    RunRecord r;
    r.start.source = RunSource::Campaign;
    r.start.missionHash = sha256Raw("token");
    r.start.missionName = "OPERATION TEST";
    r.events = {{RunEventKind::Step, 0x05, 1.0f / 60.0f, 3}};
    return r;
}

const Format kFormats[] = {
    {"settings.json",
     [](const std::string& p) { std::ofstream(p) << "{\"volume\": 35}"; },
     [](const std::string& p) {
         const SettingsLoad load = readSettingsFile(p);
         if (!load.found) return load.damaged ? "?" : "none";
         if (!load.damaged) return load.settings.volume == 35 ? "read" : "?";
         return load.settings == Settings{} && !load.problem.empty() ? "defaults" : "?";
     },
     {"read", "defaults", "defaults", "defaults", "defaults", "none"}},
    {"records.json",
     [](const std::string& p) {
         RecordBook book;
         book.addWin("OP", OneWin{"S SHADOW", 95, 100, false, "2026-12-07"});
         ASSERT_TRUE(writeRecordsFile(p, book));
     },
     [](const std::string& p) {
         const std::string bytes = fs::is_regular_file(p) ? test::fileText(p) : "";
         RecordBook book;
         book.addWin("LEFT OVER", OneWin{"B AGENT", 60, 1, false, "2026-12-07"});
         ::testing::internal::CaptureStderr();
         const RecordsLoad load = readRecordsFile(p, book);
         const std::string said = ::testing::internal::GetCapturedStderr();
         if (load == RecordsLoad::Read) return book.find("OP") ? "read" : "?";
         if (!book.operations().empty()) return "?";
         if (load == RecordsLoad::Missing) return "none";
         if (load == RecordsLoad::Unreadable)
             return fs::exists(fs::symlink_status(p)) ? "left" : "?";
         const bool aside = !fs::exists(p) && test::fileText(p + ".bad") == bytes &&
                            said.find(p + ".bad") != std::string::npos;
         return aside ? "kept aside" : "?";
     },
     {"read", "kept aside", "kept aside", "left", "left", "none"}},
    {"save.dat",
     [](const std::string& p) {
         ASSERT_TRUE(
             writeSaveFile(p, {.highestUnlocked = 2, .intelBudget = 350, .perkSoftStep = true}));
     },
     [](const std::string& p) {
         SaveRecord r{.highestUnlocked = 3, .intelBudget = 999};
         readSaveFile(p, r, 4);
         if (r.intelBudget == 350 && r.highestUnlocked == 2 && r.perkSoftStep) return "read";
         if (r.intelBudget != 999 || r.perkSoftStep) return "?";
         return r.highestUnlocked == 0 ? "first start" : "untouched";
     },
     {"read", "untouched", "first start", "first start", "first start", "first start"}},
    {"run.njr",
     [](const std::string& p) { ASSERT_TRUE(writeReplayFile(p, shortRun())); },
     [](const std::string& p) {
         RunRecord read;
         std::string why;
         if (readReplayFile(p, read, why)) return read == shortRun() ? "read" : "?";
         if (why.find(p) == std::string::npos || !(read == RunRecord{})) return "?";
         return why.rfind("cannot read", 0) == 0 ? "not read" : "refused";
     },
     {"read", "refused", "not read", "not read", "not read", "not read"}},
    {"game.nj3p",
     [](const std::string& p) {
         std::ofstream(p, std::ios::binary) << buildPackage({{"ui/ui.html", "<p>"}}, "pepper");
     },
     [](const std::string& p) {
         NJ3Package store;
         std::ostringstream log;
         store.setLogStreams(&log, &log);
         return store.mount(p) && store.contains("ui/ui.html") ? "read" : "refused";
     },
     {"read", "refused", "read", "refused", "refused", "refused"}},
    {"mission.json",
     [](const std::string& p) { std::ofstream(p) << "{}"; },
     [](const std::string& p) {
         std::string bytes = "untouched";
         if (readRegularFile(p, kMissionFileMaxBytes, bytes))
             return fs::is_regular_file(p) && bytes == test::fileText(p) ? "read" : "?";
         return bytes == "untouched" ? "refused" : "?";
     },
     {"read", "read", "refused", "refused", "refused", "refused"}},
};

TEST(HostileFiles, EachFormatMeetsEachHostileThingAsItSays) {
    const test::Deadline deadline(60);
    for (const Format& format : kFormats) {
        for (int kind = Good; kind < kHostileKinds; ++kind) {
            const test::ScratchDir scratch;
            put(static_cast<Hostile>(kind), format, format.name);
            EXPECT_EQ(format.read(format.name), format.expected[kind])
                << format.name << ": " << kHostileNames[kind];
        }
    }
}

// The reader's cap is exact, and the writer shortens what it replaces.
TEST(RegularFiles, TheCapIsExactAndAWriteReplacesALongerFileButNotAFolder) {
    const test::ScratchDir scratch;
    std::ofstream("at the cap") << std::string(64, 'x');
    std::ofstream("past the cap") << std::string(65, 'x');
    std::string bytes;
    EXPECT_TRUE(readRegularFile("at the cap", 64, bytes));
    EXPECT_EQ(bytes, std::string(64, 'x'));
    EXPECT_FALSE(readRegularFile("past the cap", 64, bytes));
    ASSERT_TRUE(writeRegularFile("past the cap", "new"));
    EXPECT_EQ(test::fileText("past the cap"), "new");
    fs::create_directories("folder");
    EXPECT_FALSE(writeRegularFile("folder", "lost"));
    EXPECT_TRUE(fs::is_directory("folder"));
}

}  // namespace
}  // namespace nj
