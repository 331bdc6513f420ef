// records.json: what a win improves, the file's exact form read back, every
// value checked, and hostile files (not JSON, huge, a folder, a pipe) that
// leave the game with no records and never block or crash it.
#include "data/records_file.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "data/local_time.hpp"
#include "tests/support/deadline.hpp"
#include "tests/support/scratch_dir.hpp"

namespace {

using nj::OneWin;
using nj::RecordBook;
using nj::RecordNews;

OneWin win(const char* grade, std::int64_t score, std::int64_t ms, bool assisted = false,
           const char* date = "2026-12-07") {
    return OneWin{grade, score, ms, assisted, date};
}

bool same(const RecordNews& a, const RecordNews& b) {
    return a.firstWin == b.firstWin && a.bestGrade == b.bestGrade && a.bestScore == b.bestScore &&
           a.bestTime == b.bestTime;
}

// One operation's wins in turn, and what each one improved. The fastest
// time and the best score are kept apart; assisted wins never touch the
// unassisted bests.
TEST(RecordWins, EachWinSaysWhatItImproved) {
    RecordBook book;
    const struct {
        OneWin win;
        RecordNews news;  // first, grade, score, time
    } turns[] = {
        {win("A OPERATIVE", 80, 90000), {true, false, false, false}},
        {win("A OPERATIVE", 80, 90000), {false, false, false, false}},  // a repeat
        {win("A OPERATIVE", 85, 95000), {false, false, true, false}},   // same grade, more points
        {win("S SHADOW", 92, 99000), {false, true, true, false}},       // a better grade
        {win("B AGENT", 60, 70000), {false, false, false, true}},       // worse, but quicker
        {win("S+ PHANTOM", 130, 60000, true), {true, false, false, false}},  // assisted: apart
        {win("S+ PHANTOM", 125, 50000, true), {false, false, false, true}},
        {win("S SHADOW", 90, 80000), {false, false, false, false}},
    };
    int turn = 0;
    for (const auto& t : turns) {
        SCOPED_TRACE(::testing::Message() << "win " << ++turn);
        EXPECT_TRUE(same(book.addWin("OP", t.win), t.news));
    }
    const nj::OperationRecord* op = book.find("OP");
    ASSERT_NE(op, nullptr);
    ASSERT_TRUE(op->best && op->assisted);
    EXPECT_EQ(op->best->grade, "S SHADOW");
    EXPECT_EQ(op->best->score, 92);
    EXPECT_EQ(op->best->timeMs, 70000);
    EXPECT_EQ(op->assisted->score, 130);
    EXPECT_EQ(op->assisted->timeMs, 50000);
    EXPECT_EQ(op->firstWin, "2026-12-07");
    EXPECT_EQ(book.find("OTHER"), nullptr);
}

TEST(RecordWins, TheFirstWinsDateStaysAndOperationsStayApart) {
    RecordBook book;
    book.addWin("ONE", win("B AGENT", 60, 1000, true, "2026-01-02"));
    book.addWin("ONE", win("S SHADOW", 95, 900, false, "2026-03-04"));
    book.addWin("TWO", win("C COMPROMISED", 10, 5, false, "2026-05-06"));
    EXPECT_EQ(book.find("ONE")->firstWin, "2026-01-02");
    EXPECT_EQ(book.find("TWO")->firstWin, "2026-05-06");
    EXPECT_EQ(book.find("TWO")->best->score, 10);
    EXPECT_FALSE(book.find("TWO")->assisted);
}

TEST(RecordsText, WrittenInItsFormAndReadBackTheSame) {
    RecordBook book;
    book.addWin("OPERATION \"QUOTED\" \xC3\x89T\xC3\x89", win("S SHADOW", 95, 61234));
    book.addWin("OPERATION TWO", win("B AGENT", -5, 0, true));
    const std::string text = nj::formatRecordsText(book);
    EXPECT_EQ(
        text,
        "{\"version\":1,\"operations\":["
        "{\"name\":\"OPERATION \\\"QUOTED\\\" \xC3\x89T\xC3\x89\",\"firstWin\":\"2026-12-07\","
        "\"best\":{\"grade\":\"S SHADOW\",\"score\":95,\"timeMs\":61234}},"
        "{\"name\":\"OPERATION TWO\",\"firstWin\":\"2026-12-07\","
        "\"assisted\":{\"grade\":\"B AGENT\",\"score\":-5,\"timeMs\":0}}]}\n");
    RecordBook back;
    ASSERT_TRUE(nj::parseRecordsText(text, back));
    EXPECT_EQ(nj::formatRecordsText(back), text);
}

// Every value is checked: one wrong value makes the whole text damaged.
TEST(RecordsText, AnythingButRecordsIsRefusedWhole) {
    const std::string good =
        R"({"name":"OP","firstWin":"2026-12-07","best":{"grade":"S SHADOW","score":95,"timeMs":100}})";
    const auto withOp = [](const std::string& op) {
        return "{\"version\":1,\"operations\":[" + op + "]}";
    };
    const auto swapped = [&](const std::string& from, const std::string& to) {
        std::string op = good;
        op.replace(op.find(from), from.size(), to);
        return withOp(op);
    };
    ASSERT_TRUE([&] {
        RecordBook b;
        return nj::parseRecordsText(withOp(good), b);
    }());
    const std::string bad[] = {
        "",
        "not json",
        "[]",
        "{\"version\":2,\"operations\":[]}",
        "{\"version\":\"1\",\"operations\":[]}",
        "{\"operations\":[]}",
        "{\"version\":1}",
        "{\"version\":1,\"operations\":{}}",
        withOp("3"),
        withOp(good + "," + good),  // one record an operation
        swapped("\"OP\"", "\"\""),
        swapped("\"OP\"", "7"),
        swapped("\"OP\"", "\"" + std::string(300, 'x') + "\""),
        // Found by the fuzzer: a raw NUL, written as \u0000 and read back as '?'.
        swapped("\"OP\"", std::string("\"O\0P\"", 5)),
        swapped("\"OP\"", "\"O\tP\""),
        swapped("2026-12-07", "07/12/2026"),
        swapped("2026-12-07", "2026-12-0x"),
        swapped("\"grade\":\"S SHADOW\"", "\"grade\":\"\""),
        swapped("\"score\":95", "\"score\":95.5"),
        swapped("\"score\":95", "\"score\":1e300"),
        swapped("\"score\":95", "\"score\":true"),
        swapped("\"timeMs\":100", "\"timeMs\":-1"),
        swapped("\"timeMs\":100", "\"timeMs\":1e20"),
        swapped(",\"best\":{\"grade\":\"S SHADOW\",\"score\":95,\"timeMs\":100}", ""),  // no win
        swapped("\"best\":{", "\"best\":[{") + "]",
        std::string(600, '[') + std::string(600, ']'),
    };
    for (const std::string& text : bad) {
        RecordBook book;
        book.addWin("LEFT OVER", win("B AGENT", 60, 1));
        EXPECT_FALSE(nj::parseRecordsText(text, book)) << text.substr(0, 200);
        EXPECT_TRUE(book.operations().empty()) << "a refused text leaves no records";
    }
}

TEST(RecordsText, TooManyOperationsIsNotRecords) {
    RecordBook book;
    for (std::size_t i = 0; i < nj::kMaxRecordedOperations + 5; ++i)
        book.addWin("OP " + std::to_string(i), win("B AGENT", 60, 1));
    EXPECT_EQ(book.operations().size(), nj::kMaxRecordedOperations) << "no more are kept";
    std::string text = nj::formatRecordsText(book);
    RecordBook back;
    ASSERT_TRUE(nj::parseRecordsText(text, back));
    text.insert(
        text.rfind(']'),
        R"(,{"name":"ONE MORE","firstWin":"2026-12-07","best":{"grade":"B","score":1,"timeMs":1}})");
    EXPECT_FALSE(nj::parseRecordsText(text, back));
}

class RecordsFile : public ::testing::Test {
  protected:
    nj::test::ScratchDir scratch;
    RecordBook book;
    void SetUp() override { book.addWin("LEFT OVER", win("B AGENT", 60, 1)); }
};

TEST_F(RecordsFile, MissingMeansNoRecordsYetAndAWriteReadsBack) {
    EXPECT_EQ(nj::readRecordsFile("records.json", book), nj::RecordsLoad::Missing);
    EXPECT_TRUE(book.operations().empty());
    EXPECT_FALSE(std::filesystem::exists("records.json.bad"));

    RecordBook written;
    written.addWin("OP", win("S SHADOW", 95, 100));
    ASSERT_TRUE(nj::writeRecordsFile("sub/records.json", written));
    EXPECT_EQ(nj::readRecordsFile("sub/records.json", book), nj::RecordsLoad::Read);
    EXPECT_EQ(nj::formatRecordsText(book), nj::formatRecordsText(written));
}

// A damaged file (not JSON, a wrong value, 10 MB) is kept aside as
// records.json.bad with its bytes, and the next write starts afresh.
TEST_F(RecordsFile, ADamagedFileIsKeptAsideWhole) {
    const std::string damaged[] = {"not json at all", "{\"version\":1,\"operations\":[7]}",
                                   std::string(10 << 20, '{')};
    for (const std::string& bytes : damaged) {
        std::ofstream("records.json", std::ios::binary) << bytes;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(nj::readRecordsFile("records.json", book), nj::RecordsLoad::Damaged);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("records.json.bad"), std::string::npos) << said;
        EXPECT_TRUE(book.operations().empty());
        EXPECT_FALSE(std::filesystem::exists("records.json"));
        EXPECT_EQ(nj::test::fileText("records.json.bad"), bytes);
    }
    RecordBook fresh;
    fresh.addWin("OP", win("S SHADOW", 95, 100));
    EXPECT_TRUE(nj::writeRecordsFile("records.json", fresh));
    EXPECT_EQ(nj::readRecordsFile("records.json", book), nj::RecordsLoad::Read);
}

// A folder or a named pipe in the file's place is left alone, and read
// without waiting.
TEST_F(RecordsFile, AFolderOrAPipeIsLeftAloneAndNeverWaitedOn) {
    const nj::test::Deadline deadline(10);
    std::filesystem::create_directory("records.json");
    EXPECT_EQ(nj::readRecordsFile("records.json", book), nj::RecordsLoad::Unreadable);
    EXPECT_TRUE(std::filesystem::is_directory("records.json"));
    EXPECT_TRUE(book.operations().empty());
    std::filesystem::remove("records.json");

    ASSERT_EQ(::mkfifo("records.json", 0600), 0);
    book.addWin("LEFT OVER", win("B AGENT", 60, 1));
    EXPECT_EQ(nj::readRecordsFile("records.json", book), nj::RecordsLoad::Unreadable);
    EXPECT_TRUE(book.operations().empty());
    EXPECT_TRUE(std::filesystem::is_fifo("records.json"));
    EXPECT_FALSE(std::filesystem::exists("records.json.bad"));
}

TEST(LocalTime, DatesAndStampsHaveTheirShape) {
    const std::string date = nj::localDateText(), stamp = nj::localStampText();
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(stamp.size(), 17u);
    EXPECT_EQ(stamp.substr(0, 10), date.substr(0, 10));
    RecordBook book;
    book.addWin("OP", win("S SHADOW", 95, 1, false, date.c_str()));
    RecordBook back;
    EXPECT_TRUE(nj::parseRecordsText(nj::formatRecordsText(book), back)) << "today reads back";
}

}  // namespace
