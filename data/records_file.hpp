#pragma once
// records.json: the player's best runs per operation, beside save.dat and
// never inside it. UTF-8 JSON with a version:
//   {"version":1,"operations":[{"name":"OPERATION GILDED WHEEL",
//     "firstWin":"2026-12-07",
//     "best":{"grade":"S+ PHANTOM","score":130,"timeMs":78450}}]}
// "best" holds unassisted wins only; a win with any assist on is kept apart
// in "assisted", so an assisted run never beats an unassisted best; a kind
// with no win yet is left out. Times are whole milliseconds of mission clock;
// the fastest time and the best score may come from different wins.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace nj {

inline constexpr const char* kRecordsFileName = "records.json";
inline constexpr std::int64_t kRecordsVersion = 1;
// A campaign holds a few operations; a file naming more is not ours.
inline constexpr std::size_t kMaxRecordedOperations = 256;

// The best of the wins of one kind (unassisted or assisted).
struct BestRuns {
    std::string grade;        // the best score's grade label
    std::int64_t score = 0;   // the best score
    std::int64_t timeMs = 0;  // the fastest win, whatever its score
};

struct OperationRecord {
    std::string name;                  // the operation's name, as the dossier lists it
    std::string firstWin;              // "YYYY-MM-DD" of the first win of either kind
    std::optional<BestRuns> best;      // unassisted
    std::optional<BestRuns> assisted;  // with an assist on
};

// What a win improved, for the win screen.
struct RecordNews {
    bool firstWin = false;   // the operation's first win of this kind
    bool bestGrade = false;  // a better grade than the kind's best
    bool bestScore = false;
    bool bestTime = false;
};

struct OneWin {
    std::string grade;
    std::int64_t score = 0;
    std::int64_t timeMs = 0;
    bool assisted = false;
    std::string date;  // "YYYY-MM-DD"
};

class RecordBook {
  public:
    const OperationRecord* find(const std::string& name) const;
    // Folds a win into the operation's records and says what it improved.
    RecordNews addWin(const std::string& name, const OneWin& win);
    const std::vector<OperationRecord>& operations() const { return operations_; }
    void clear() { operations_.clear(); }

  private:
    friend bool parseRecordsText(const std::string& text, RecordBook& book);
    std::vector<OperationRecord> operations_;
};

enum class RecordsLoad {
    Missing,  // no file: no records yet
    Read,
    Unreadable,  // a folder, a pipe or a device in its place: left alone
    Damaged,     // not records (not JSON, a wrong value, too large): kept aside as NAME.bad
};

// Every value is checked: a wrong type, a negative or absurd number, a date
// that is not YYYY-MM-DD, an unknown version or too many operations makes the
// whole text damaged. False (and `book` empty) then.
bool parseRecordsText(const std::string& text, RecordBook& book);
std::string formatRecordsText(const RecordBook& book);

// Reads `path` into `book` (empty unless Read). A damaged file is renamed to
// `path`.bad (replacing an older one) so that the next write starts afresh
// and the player can still look at what was there.
RecordsLoad readRecordsFile(const std::string& path, RecordBook& book);
// Atomic (writePlayerFile).
bool writeRecordsFile(const std::string& path, const RecordBook& book);

}  // namespace nj
