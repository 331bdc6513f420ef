#pragma once
// Whether a mission can be played, judged by the rules themselves: the
// mission is built by the game's own builder once per approach, then searched
// for a way from the spawn to every goal, and left to run with an idle
// operative for the first seconds.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/mission_check.hpp"

namespace nj {
class AudioSink;
class Game;
}  // namespace nj

namespace nj {

struct PlayabilityProblem {
    std::string path;  // the mission key the problem belongs to ("card", "backstageSpawn")
    std::string message;
};

// Where the operative can stand from an approach's spawn once every keycard
// and the cipher card in reach have opened their doors and the gate: a grid
// of `cell`-unit squares over the field, row by row, for the editor to shade.
struct ReachableArea {
    int cell = 0;
    int columns = 0;
    int rows = 0;
    std::vector<bool> reachable;  // columns * rows
    // Whether the grid point nearest (x, y) can be stood on.
    bool at(float x, float y) const;
};
ReachableArea reachableArea(const std::string& missionJson, std::uint32_t approach);

// A game of its own holding only this mission, on the dossier with
// `approach` chosen, writing no save: the checker's scratch game, and the
// editor's preview and test-play.
std::unique_ptr<Game> gameForMission(const std::string& missionJson, std::size_t index,
                                     std::uint32_t approach, AudioSink* audio);

// How long an operative who does nothing must stay unseen and alive.
inline constexpr float kFairStartSeconds = 10.0f;

// `missionJson` is the file's text; `index` is its place in a campaign, which
// picks the theme table's row (a mission played on its own is index 0).
std::vector<PlayabilityProblem> checkReachability(const std::string& missionJson,
                                                  std::size_t index);
std::vector<PlayabilityProblem> checkFairStart(const std::string& missionJson, std::size_t index);

// Everything the checker says about a mission's text, in file order: the text
// checks, then (only when they found no error, so one fault is not reported
// twice) reachability and the fair start, placed at the key they concern.
std::vector<MissionDiagnostic> checkMission(const std::string& missionJson, std::size_t index);

// The same for a file on disk, which must be a regular file of at most
// kMissionFileMaxBytes holding a mission's JSON or its mission code (a map
// token, checked and deciphered first); `text` receives the JSON.
std::vector<MissionDiagnostic> checkMissionFile(const std::string& path, std::size_t index,
                                                std::string& text);

}  // namespace nj
