// Reading, checking and writing records.json.
#include "data/records_file.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>

#include "data/json.hpp"
#include "data/json_writer.hpp"
#include "data/player_files.hpp"
#include "data/regular_file.hpp"

namespace nj {
namespace {

// A few hundred bytes an operation; anything near this is not ours.
constexpr std::size_t kRecordsFileMaxBytes = 1024 * 1024;
// Names and grades are short; a longer one is damage.
constexpr std::size_t kMaxNameBytes = 256;
constexpr std::size_t kMaxGradeBytes = 32;
// Scores are a hundred or so; times are below a day of play.
constexpr double kMaxScoreMagnitude = 1e9;
constexpr double kMaxTimeMs = 1e12;

bool isDateText(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == 4 || i == 7) continue;
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

bool wholeNumberIn(const JsonValue& v, double lo, double hi, std::int64_t& out) {
    if (v.type != JsonType::Number || !std::isfinite(v.number)) return false;
    if (v.number < lo || v.number > hi || std::floor(v.number) != v.number) return false;
    out = static_cast<std::int64_t>(v.number);
    return true;
}

// Names, grades and dates are printable: a control character (a NUL the
// reader would turn into '?') is damage, not text to show.
bool shortText(const JsonValue& v, std::size_t most, std::string& out) {
    if (v.type != JsonType::String || v.text.size() > most) return false;
    for (const char c : v.text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    }
    out = v.text;
    return true;
}

// A "best" or "assisted" member: absent or null (no such win), or the three
// values.
bool readBest(const JsonValue& v, std::optional<BestRuns>& out) {
    if (v.type == JsonType::Null) {
        out.reset();
        return true;
    }
    if (v.type != JsonType::Object) return false;
    BestRuns best;
    if (!shortText(v.at("grade"), kMaxGradeBytes, best.grade) || best.grade.empty()) return false;
    if (!wholeNumberIn(v.at("score"), -kMaxScoreMagnitude, kMaxScoreMagnitude, best.score))
        return false;
    if (!wholeNumberIn(v.at("timeMs"), 0.0, kMaxTimeMs, best.timeMs)) return false;
    out = best;
    return true;
}

bool readOperation(const JsonValue& v, OperationRecord& out) {
    if (v.type != JsonType::Object) return false;
    if (!shortText(v.at("name"), kMaxNameBytes, out.name) || out.name.empty()) return false;
    if (!shortText(v.at("firstWin"), kMaxGradeBytes, out.firstWin) || !isDateText(out.firstWin))
        return false;
    if (!readBest(v.at("best"), out.best) || !readBest(v.at("assisted"), out.assisted))
        return false;
    return out.best || out.assisted;  // a record is made by a win
}

// A kind with no win yet is left out.
void writeBest(JsonWriter& json, const char* key, const std::optional<BestRuns>& best) {
    if (!best) return;
    json.key(key).beginObject();
    json.key("grade").string(best->grade).key("score").integer(best->score);
    json.key("timeMs").integer(best->timeMs);
    json.endObject();
}

bool fileExists(const std::string& path, bool& regular) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;
    regular = S_ISREG(info.st_mode);
    return true;
}

}  // namespace

const OperationRecord* RecordBook::find(const std::string& name) const {
    for (const OperationRecord& record : operations_) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

RecordNews RecordBook::addWin(const std::string& name, const OneWin& win) {
    OperationRecord* record = nullptr;
    for (OperationRecord& each : operations_) {
        if (each.name == name) record = &each;
    }
    if (!record) {
        if (operations_.size() >= kMaxRecordedOperations) return {};
        operations_.push_back(OperationRecord{name, win.date, std::nullopt, std::nullopt});
        record = &operations_.back();
    }
    std::optional<BestRuns>& kind = win.assisted ? record->assisted : record->best;
    RecordNews news;
    if (!kind) {
        news.firstWin = true;
        kind = BestRuns{win.grade, win.score, win.timeMs};
        return news;
    }
    // A higher score never has a worse grade: a better grade is a higher
    // score whose label is not the old one.
    if (win.score > kind->score) {
        news.bestScore = true;
        news.bestGrade = win.grade != kind->grade;
        kind->score = win.score;
        kind->grade = win.grade;
    }
    if (win.timeMs < kind->timeMs) {
        news.bestTime = true;
        kind->timeMs = win.timeMs;
    }
    return news;
}

bool parseRecordsText(const std::string& text, RecordBook& book) {
    book.clear();
    JsonValue doc;
    try {
        doc = parseJson(text);
    } catch (const std::exception&) {
        return false;
    }
    std::int64_t version = 0;
    if (doc.type != JsonType::Object || !wholeNumberIn(doc.at("version"), 0.0, 1e6, version) ||
        version != kRecordsVersion)
        return false;
    const JsonValue& operations = doc.at("operations");
    if (operations.type != JsonType::Array || operations.size() > kMaxRecordedOperations)
        return false;
    std::vector<OperationRecord> read;
    for (const JsonValue& each : operations.items) {
        OperationRecord record;
        if (!readOperation(each, record)) return false;
        for (const OperationRecord& earlier : read) {
            if (earlier.name == record.name) return false;  // one record an operation
        }
        read.push_back(std::move(record));
    }
    book.operations_ = std::move(read);
    return true;
}

std::string formatRecordsText(const RecordBook& book) {
    JsonWriter json;
    json.beginObject();
    json.key("version").integer(kRecordsVersion);
    json.key("operations").beginArray();
    for (const OperationRecord& record : book.operations()) {
        json.beginObject();
        json.key("name").string(record.name).key("firstWin").string(record.firstWin);
        writeBest(json, "best", record.best);
        writeBest(json, "assisted", record.assisted);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text() + "\n";
}

RecordsLoad readRecordsFile(const std::string& path, RecordBook& book) {
    book.clear();
    bool regular = false;
    if (!fileExists(path, regular)) return RecordsLoad::Missing;
    if (!regular) return RecordsLoad::Unreadable;
    std::string text;
    if (readRegularFile(path, kRecordsFileMaxBytes, text) && parseRecordsText(text, book)) {
        return RecordsLoad::Read;
    }
    book.clear();
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        std::fprintf(stderr, "nightjar: %s is damaged and could not be moved aside: %s\n",
                     path.c_str(), std::strerror(errno));
    } else {
        std::fprintf(stderr, "nightjar: %s is damaged: kept as %s, records start afresh\n",
                     path.c_str(), aside.c_str());
    }
    return RecordsLoad::Damaged;
}

bool writeRecordsFile(const std::string& path, const RecordBook& book) {
    return writePlayerFile(path, formatRecordsText(book));
}

}  // namespace nj
