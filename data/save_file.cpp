// Reading and writing save.dat.
#include "data/save_file.hpp"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace nj {
namespace {

// Stream extraction into a temporary: a failed read leaves the field alone
// and, as with any stream, every later read fails too.
template <typename T>
bool extract(std::istream& in, T& field) {
    T value{};
    if (!(in >> value)) return false;
    field = value;
    return true;
}

}  // namespace

void applySaveText(const std::string& text, SaveRecord& record, std::size_t campaignSize) {
    std::istringstream in(text);
    extract(in, record.highestUnlocked);
    extract(in, record.intelBudget);
    long long perks[3] = {0, 0, 0};
    const bool perksRead = extract(in, perks[0]) && extract(in, perks[1]) && extract(in, perks[2]);
    if (perksRead) {
        record.perkSlowDetection = perks[0] != 0;
        record.perkSoftStep = perks[1] != 0;
        record.perkSafeAssist = perks[2] != 0;
    }
    for (bool& completed : record.missionCompleted) {
        long long flag = 0;
        if (!extract(in, flag)) break;
        completed = flag != 0;
    }
    if (campaignSize > 0 && record.highestUnlocked >= campaignSize) {
        record.highestUnlocked = campaignSize - 1;
    }
}

void readSaveFile(const std::string& path, SaveRecord& record, std::size_t campaignSize) {
    std::ifstream file(path);
    if (!file) {
        record.highestUnlocked = 0;
        return;
    }
    std::ostringstream text;
    text << file.rdbuf();
    applySaveText(text.str(), record, campaignSize);
}

std::string formatSaveText(const SaveRecord& r) {
    std::ostringstream out;
    out << r.highestUnlocked << ' ' << r.intelBudget << ' ' << (r.perkSlowDetection ? 1 : 0) << ' '
        << (r.perkSoftStep ? 1 : 0) << ' ' << (r.perkSafeAssist ? 1 : 0) << '\n';
    for (bool completed : r.missionCompleted) out << (completed ? 1 : 0) << ' ';
    out << '\n';
    return out.str();
}

bool writeSaveFile(const std::string& path, const SaveRecord& record) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        if (!file) return false;
        file << formatSaveText(record);
        file.flush();
        if (!file) {
            file.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace nj
