// Keeping the last run and each operation's best runs.
#include "game/replay_keeper.hpp"

#include <cstdio>

#include "data/digest.hpp"
#include "data/regular_file.hpp"
#include "data/replay_file.hpp"

namespace nj {
namespace {

constexpr std::uint32_t kAssistFlags = 0x07;  // slow detection, soft step, safe
constexpr std::uint32_t kFullSpeed = 100u << 8;
// Enough of the hash to tell a player's operations apart in a file name.
constexpr std::size_t kStemHexDigits = 16;

bool assistsOn(std::uint32_t packed) {
    return (packed & kAssistFlags) != 0 || (packed & ~0xFFu) != kFullSpeed;
}

bool betterScore(const RunRecord& a, const RunRecord& b) {
    return a.score != b.score ? a.score > b.score : a.missionClock < b.missionClock;
}

bool faster(const RunRecord& a, const RunRecord& b) {
    return a.missionClock != b.missionClock ? a.missionClock < b.missionClock : a.score > b.score;
}

// The run kept at `path`, if one is there and whole. A damaged file is put
// aside as NAME.bad so the new run can take its place.
bool keptRun(const std::string& path, RunRecord& run) {
    std::string why;
    if (readReplayFile(path, run, why)) return true;
    std::string bytes;
    if (readRegularFile(path, kMaxReplayBytes, bytes)) {
        const std::string aside = path + ".bad";
        std::rename(path.c_str(), aside.c_str());
    }
    return false;
}

template <typename Better>
bool keepIfBetter(const std::string& path, const RunRecord& run, Better better) {
    RunRecord kept;
    if (keptRun(path, kept) && !better(run, kept)) return false;
    return writeReplayFile(path, run);
}

}  // namespace

bool runAssisted(const RunRecord& run) {
    if (assistsOn(run.start.assists)) return true;
    for (const RunEvent& e : run.events) {
        if (e.kind == RunEventKind::Assists && assistsOn(e.value)) return true;
    }
    return false;
}

std::string ReplayKeeper::lastPath() const {
    return folder_.empty() ? "" : folder_ + "/last" + kReplayExtension;
}

std::string ReplayKeeper::operationStem(const RunStart& start) const {
    const std::string name = start.missionHash.empty()
                                 ? std::string("built-in")
                                 : hexEncode(start.missionHash).substr(0, kStemHexDigits);
    return folder_ + "/" + name;
}

std::string ReplayKeeper::bestPath(const RunStart& start) const {
    return folder_.empty() ? "" : operationStem(start) + ".best" + kReplayExtension;
}

std::string ReplayKeeper::fastestPath(const RunStart& start) const {
    return folder_.empty() ? "" : operationStem(start) + ".fastest" + kReplayExtension;
}

unsigned ReplayKeeper::keep(const RunRecord& run) const {
    if (folder_.empty()) return 0;
    unsigned kept = 0;
    if (writeReplayFile(lastPath(), run)) kept |= static_cast<unsigned>(KeptAs::Last);
    if (run.outcome != RunOutcome::Won || runAssisted(run)) return kept;
    if (keepIfBetter(bestPath(run.start), run, betterScore))
        kept |= static_cast<unsigned>(KeptAs::Best);
    if (keepIfBetter(fastestPath(run.start), run, faster))
        kept |= static_cast<unsigned>(KeptAs::Fastest);
    return kept;
}

}  // namespace nj
