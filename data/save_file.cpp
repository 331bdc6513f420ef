// Reading and writing save.dat.
#include "data/save_file.hpp"

#include <sys/stat.h>

#include <cstdio>

#include <limits>
#include <sstream>
#include <string_view>

#include "data/player_files.hpp"
#include "data/regular_file.hpp"

namespace nj {
namespace {

// Nine small numbers with blanks between them; anything bigger is not a save.
constexpr std::size_t kSaveFileMaxBytes = 64 * 1024;

// One decimal whole number as written: its sign, and its magnitude held at
// 2^64 - 1 however many digits follow.
struct WrittenNumber {
    bool negative = false;
    std::uint64_t magnitude = 0;
};

// The nearest value of T: a number beyond the field's range reads as the
// field's limit on that side.
template <typename T>
T clampedTo(const WrittenNumber& n) {
    using Limits = std::numeric_limits<T>;
    if (n.negative) {
        if constexpr (!Limits::is_signed) {
            return 0;
        } else {
            const std::uint64_t lowestMagnitude =
                std::uint64_t{0} - static_cast<std::uint64_t>(Limits::min());
            return n.magnitude >= lowestMagnitude
                       ? Limits::min()
                       : static_cast<T>(-static_cast<long long>(n.magnitude));
        }
    }
    return n.magnitude >= static_cast<std::uint64_t>(Limits::max()) ? Limits::max()
                                                                    : static_cast<T>(n.magnitude);
}

// The numbers of save text in order, read the way a stream reads them: blanks
// skipped, an optional sign, then digits. Anything else ends the reading, and
// every later read fails too, so the fields after it keep their values.
class SaveNumbers {
  public:
    explicit SaveNumbers(std::string_view text) : text_(text) {}

    template <typename T>
    bool next(T& field) {
        WrittenNumber n;
        if (!read(n)) return false;
        field = clampedTo<T>(n);
        return true;
    }

  private:
    bool read(WrittenNumber& n) {
        if (failed_) return false;
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
            n.negative = text_[pos_] == '-';
            ++pos_;
        }
        const std::size_t digitsFrom = pos_;
        constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
        for (; pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9'; ++pos_) {
            const auto digit = static_cast<std::uint64_t>(text_[pos_] - '0');
            n.magnitude = n.magnitude > (kMost - digit) / 10 ? kMost : n.magnitude * 10 + digit;
        }
        failed_ = pos_ == digitsFrom;
        return !failed_;
    }
    static bool isBlank(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace

void applySaveText(const std::string& text, SaveRecord& record, std::size_t campaignSize) {
    SaveNumbers in(text);
    in.next(record.highestUnlocked);
    in.next(record.intelBudget);
    long long perks[3] = {0, 0, 0};
    const bool perksRead = in.next(perks[0]) && in.next(perks[1]) && in.next(perks[2]);
    if (perksRead) {
        record.perkSlowDetection = perks[0] != 0;
        record.perkSoftStep = perks[1] != 0;
        record.perkSafeAssist = perks[2] != 0;
    }
    for (bool& completed : record.missionCompleted) {
        long long flag = 0;
        if (!in.next(flag)) break;
        completed = flag != 0;
    }
    if (campaignSize > 0 && record.highestUnlocked >= campaignSize) {
        record.highestUnlocked = campaignSize - 1;
    }
}

void readSaveFile(const std::string& path, SaveRecord& record, std::size_t campaignSize) {
    std::string text;
    if (!readRegularFile(path, kSaveFileMaxBytes, text)) {
        record.highestUnlocked = 0;
        return;
    }
    applySaveText(text, record, campaignSize);
}

std::string formatSaveText(const SaveRecord& r) {
    std::ostringstream out;
    out << r.highestUnlocked << ' ' << r.intelBudget << ' ' << (r.perkSlowDetection ? 1 : 0) << ' '
        << (r.perkSoftStep ? 1 : 0) << ' ' << (r.perkSafeAssist ? 1 : 0) << '\n';
    for (bool completed : r.missionCompleted) out << (completed ? 1 : 0) << ' ';
    out << '\n';
    return out.str();
}

SaveBackup backUpSaveFile(const std::string& path, const std::string& stamp, std::string& keptAs) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return SaveBackup::NoSave;
    // Two new campaigns within a second get "-2", "-3"... rather than one
    // backup over the other.
    constexpr int kMostBackupsASecond = 100;
    for (int n = 1; n <= kMostBackupsASecond; ++n) {
        const std::string name =
            path + "." + stamp + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".bak";
        struct stat taken {};
        if (::lstat(name.c_str(), &taken) == 0) continue;
        if (std::rename(path.c_str(), name.c_str()) != 0) return SaveBackup::Failed;
        keptAs = name;
        return SaveBackup::Kept;
    }
    return SaveBackup::Failed;
}

bool writeSaveFile(const std::string& path, const SaveRecord& record) {
    return writePlayerFile(path, formatSaveText(record));
}

}  // namespace nj
