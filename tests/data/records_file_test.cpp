// records.json (the file in hostile places: hostile_files_test).
#include "data/records_file.hpp"

#include <gtest/gtest.h>

#include "data/local_time.hpp"

namespace {

using nj::OneWin;
using nj::RecordBook;
using nj::RecordNews;

OneWin win(const char* grade, std::int64_t score, std::int64_t ms, bool assisted = false,
           const char* date = "2026-12-08") {
    return OneWin{grade, score, ms, assisted, date};
}

bool same(const RecordNews& a, const RecordNews& b) {
    return a.firstWin == b.firstWin && a.bestGrade == b.bestGrade && a.bestScore == b.bestScore &&
           a.bestTime == b.bestTime;
}

// One operation's wins in turn: the fastest time and the best score are kept
// apart, and assisted wins never touch the unassisted bests.
TEST(RecordWins, EachWinSaysWhatItImprovedAndTheBookReadsBackWithTodaysDate) {
    RecordBook book;
    const struct {
        OneWin win;
        RecordNews news;  // first, grade, score, time
    } turns[] = {
        {win("A OPERATIVE", 80, 90000, false, "2026-12-07"), {true, false, false, false}},
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
    // Operations stay apart; names are escaped and kept in UTF-8.
    book.addWin("TWO \"QUOTED\" \xC3\x89T\xC3\x89", win("C COMPROMISED", 10, 5));
    book.addWin("THREE", win("B AGENT", -5, 0, true));
    const std::string text = nj::formatRecordsText(book);
    EXPECT_EQ(text,
              "{\"version\":1,\"operations\":[{\"name\":\"OP\",\"firstWin\":\"2026-12-07\","
              "\"best\":{\"grade\":\"S SHADOW\",\"score\":92,\"timeMs\":70000},"
              "\"assisted\":{\"grade\":\"S+ PHANTOM\",\"score\":130,\"timeMs\":50000}},"
              "{\"name\":\"TWO \\\"QUOTED\\\" \xC3\x89T\xC3\x89\",\"firstWin\":\"2026-12-08\","
              "\"best\":{\"grade\":\"C COMPROMISED\",\"score\":10,\"timeMs\":5}},"
              "{\"name\":\"THREE\",\"firstWin\":\"2026-12-08\","
              "\"assisted\":{\"grade\":\"B AGENT\",\"score\":-5,\"timeMs\":0}}]}\n");
    RecordBook back;
    ASSERT_TRUE(nj::parseRecordsText(text, back));
    EXPECT_EQ(nj::formatRecordsText(back), text);
    // Today, as the game stamps a win, reads back too.
    const std::string date = nj::localDateText(), stamp = nj::localStampText();
    EXPECT_EQ(stamp.size(), 17u);
    EXPECT_EQ(stamp.substr(0, 10), date);
    back.addWin("TODAY", win("S SHADOW", 95, 1, false, date.c_str()));
    EXPECT_TRUE(nj::parseRecordsText(nj::formatRecordsText(back), back)) << date;
}

// Every value is checked: one wrong value, or one operation past the cap,
// makes the whole text damaged.
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
    RecordBook full;
    for (std::size_t i = 0; i < nj::kMaxRecordedOperations + 5; ++i)
        full.addWin("OP " + std::to_string(i), win("B AGENT", 60, 1));
    EXPECT_EQ(full.operations().size(), nj::kMaxRecordedOperations) << "no more are kept";
    std::string oneTooMany = nj::formatRecordsText(full);
    for (const std::string& text : {withOp(good), oneTooMany})
        ASSERT_TRUE(nj::parseRecordsText(text, full)) << text.substr(0, 200);
    oneTooMany.insert(oneTooMany.rfind(']'), "," + good);
    const std::string bad[] = {
        "",
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
        swapped("\"grade\":\"S SHADOW\"", "\"grade\":\"\""),
        swapped("\"score\":95", "\"score\":95.5"),
        swapped("\"score\":95", "\"score\":true"),
        swapped("\"timeMs\":100", "\"timeMs\":-1"),
        swapped(",\"best\":{\"grade\":\"S SHADOW\",\"score\":95,\"timeMs\":100}", ""),  // no win
        swapped("\"best\":{", "\"best\":[{") + "]",
        std::string(600, '[') + std::string(600, ']'),
        oneTooMany,
    };
    for (const std::string& text : bad) {
        RecordBook book;
        book.addWin("LEFT OVER", win("B AGENT", 60, 1));
        EXPECT_FALSE(nj::parseRecordsText(text, book)) << text.substr(0, 200);
        EXPECT_TRUE(book.operations().empty()) << "a refused text leaves no records";
    }
}

}  // namespace
