#pragma once
// Which recorded runs the player keeps, in their replays folder: the last
// run whatever its end (until the next one ends), and for each operation
// (campaign or custom alike, known by its mission's hash) the best-scoring
// win and the fastest win. Wins with an assist on are watched and kept as
// the last run, but never stand as an operation's best, as in the records.

#include <string>

#include "data/run_record.hpp"

namespace nj {

enum class KeptAs : unsigned { Nothing = 0, Last = 1, Best = 2, Fastest = 4 };

class ReplayKeeper {
  public:
    // "" keeps nothing (a mission played on its own, a test).
    explicit ReplayKeeper(std::string folder) : folder_(std::move(folder)) {}

    // Writes the run as the last one and as any best it beats; says which,
    // as KeptAs bits.
    unsigned keep(const RunRecord& run) const;

    // "" when nothing is kept. The operation's kept wins may not exist.
    std::string lastPath() const;
    std::string bestPath(const RunStart& start) const;
    std::string fastestPath(const RunStart& start) const;

  private:
    std::string operationStem(const RunStart& start) const;
    std::string folder_;
};

// A win with an assist on at its start or at any step of it.
bool runAssisted(const RunRecord& run);

}  // namespace nj
