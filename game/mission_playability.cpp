// Playability of a mission: a grid search for the operative's way to each goal
// through walls, furniture, the gate and doors, and an idle start run by the
// rules. Writes nothing but its own scratch games.
#include "game/mission_playability.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "data/map_token.hpp"
#include "data/mission_format.hpp"
#include "data/regular_file.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "game/shared_tuning.hpp"

namespace nj {
namespace {

// Grid step of the search, in field units: finer than any gap that matters
// (a passage must be wider than the operative's 24).
constexpr int kCell = 4;
constexpr int kColumns = static_cast<int>(kFieldWidth) / kCell + 1;
constexpr int kRows = static_cast<int>(kFieldHeight) / kCell + 1;
constexpr float kFairStartStep = 1.0f / 60.0f;

std::unique_ptr<Game> buildFor(const std::string& missionJson, std::size_t index,
                               std::uint32_t approach) {
    return gameForMission(missionJson, index, approach, nullptr);
}
std::string approachLabel(std::uint32_t approach) {
    return "approach " + std::to_string(approach) + " (" +
           std::string(approachName(static_cast<Approach>(approach))) + ")";
}

const char* spawnKey(std::uint32_t approach) {
    switch (static_cast<Approach>(approach)) {
        case Approach::ServiceCorridor:
            return "serviceSpawn";
        case Approach::VipBackstage:
            return "backstageSpawn";
        default:
            return "player";
    }
}

// Where the operative can stand, flooded from the spawn with the doors and
// the gate as they stand in `game`.
class ReachMap {
  public:
    explicit ReachMap(const Game& game) : seen_(kColumns * kRows, false) {
        const int si = static_cast<int>(std::lround(game.playerPos.x / kCell));
        const int sj = static_cast<int>(std::lround(game.playerPos.y / kCell));
        if (!inside(si, sj) || game.blocksMovement(game.playerPos.x, game.playerPos.y)) return;
        std::vector<int> todo{si + sj * kColumns};
        seen_[todo.back()] = true;
        while (!todo.empty()) {
            const int cell = todo.back();
            todo.pop_back();
            const int i = cell % kColumns, j = cell / kColumns;
            for (const auto& [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int ni = i + di, nj = j + dj;
                if (!inside(ni, nj) || seen_[ni + nj * kColumns]) continue;
                if (game.blocksMovement(static_cast<float>(ni * kCell),
                                        static_cast<float>(nj * kCell)))
                    continue;
                seen_[ni + nj * kColumns] = true;
                todo.push_back(ni + nj * kColumns);
            }
        }
    }

    bool empty() const {
        for (bool s : seen_)
            if (s) return false;
        return true;
    }

    const std::vector<bool>& cells() const { return seen_; }

    // Some reachable spot lies within `reach` of (x, y).
    bool near(float x, float y, float reach) const {
        return any([&](float cx, float cy) {
            return (cx - x) * (cx - x) + (cy - y) * (cy - y) < reach * reach;
        });
    }

    // Some reachable spot puts the operative's circle over the rectangle.
    bool overlaps(const Rect& r, float radius) const {
        return any([&](float cx, float cy) {
            const float nx = std::fmax(r.x, std::fmin(cx, r.x + r.w));
            const float ny = std::fmax(r.y, std::fmin(cy, r.y + r.h));
            return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) < radius * radius;
        });
    }

  private:
    std::vector<bool> seen_;

    static bool inside(int i, int j) { return i >= 0 && j >= 0 && i < kColumns && j < kRows; }

    template <typename Test>
    bool any(Test test) const {
        for (int cell = 0; cell < kColumns * kRows; ++cell) {
            if (seen_[cell] && test(static_cast<float>(cell % kColumns * kCell),
                                    static_cast<float>(cell / kColumns * kCell)))
                return true;
        }
        return false;
    }
};

// Floods again each time a new keycard or the card (opening the gate) comes
// within reach, until nothing more opens.
ReachMap reachWithEverythingOpened(Game& game) {
    for (;;) {
        ReachMap map(game);
        bool opened = false;
        const float radius = game.playerRadius;
        if (!game.cardTaken &&
            map.near(game.card.x, game.card.y, game.card.r + radius + kCardReachMargin)) {
            game.cardTaken = 1;
            game.gateOpen = 1.0f;
            opened = true;
        }
        for (const Keycard& k : game.keycards) {
            if (game.keycardsHeld.count(k.color) == 0 &&
                map.near(k.x, k.y, k.r + radius + kKeycardReachMargin)) {
                game.keycardsHeld.insert(k.color);
                opened = true;
            }
        }
        for (Door& d : game.doors)
            if (game.keycardsHeld.count(d.color) != 0) d.openAmount = 1.0f;
        if (!opened) return map;
    }
}

bool directiveWithinReach(const Game& game, const ReachMap& map) {
    const Objective& o = game.dynamicObjective;
    if (map.near(o.x, o.y, kDirectiveReach)) return true;
    // A walking directive can be met anywhere along its route.
    if (o.type == ObjectiveType::Courier || o.type == ObjectiveType::Informant) {
        for (const Vec2& p : o.waypoints)
            if (map.near(p.x, p.y, kDirectiveReach)) return true;
    }
    return false;
}

}  // namespace

std::vector<PlayabilityProblem> checkReachability(const std::string& missionJson,
                                                  std::size_t index) {
    std::vector<PlayabilityProblem> problems;
    for (std::uint32_t approach = 0; approach < kApproachCount; ++approach) {
        const std::unique_ptr<Game> game = buildFor(missionJson, index, approach);
        const std::string who = approachLabel(approach) + ": ";
        const ReachMap map = reachWithEverythingOpened(*game);
        if (map.empty()) {
            problems.push_back({spawnKey(approach), who + "the operative starts inside an obstacle "
                                                          "or off the field"});
            continue;
        }
        if (!game->cardTaken) {
            problems.push_back({"card", who + "the cipher card cannot be reached"});
            continue;
        }
        if (!map.near(game->terminal.x, game->terminal.y, kTerminalReach))
            problems.push_back({"terminal", who + "the safe terminal cannot be reached"});
        if (game->optionalIntel.active &&
            !map.near(game->optionalIntel.x, game->optionalIntel.y, kIntelReach))
            problems.push_back({"optionalIntel", who + "the intel cannot be reached"});
        if (!directiveWithinReach(*game, map))
            problems.push_back({"dynamicObjective", who + "the directive cannot be reached"});
        if (!map.overlaps(game->exit, game->playerRadius))
            problems.push_back({"exit", who + "the exit cannot be reached"});
        if (game->altExitActive && !map.overlaps(game->altExit, game->playerRadius))
            problems.push_back({"altExit", who + "the alternative exit cannot be reached"});
    }
    return problems;
}

bool ReachableArea::at(float x, float y) const {
    if (cell <= 0) return false;
    const long i = std::lround(x / static_cast<float>(cell));
    const long j = std::lround(y / static_cast<float>(cell));
    if (i < 0 || j < 0 || i >= columns || j >= rows) return false;
    return reachable[static_cast<std::size_t>(i + j * columns)];
}

ReachableArea reachableArea(const std::string& missionJson, std::uint32_t approach) {
    const std::unique_ptr<Game> game = buildFor(missionJson, 0, approach);
    return {kCell, kColumns, kRows, reachWithEverythingOpened(*game).cells()};
}

std::vector<PlayabilityProblem> checkFairStart(const std::string& missionJson, std::size_t index) {
    std::vector<PlayabilityProblem> problems;
    const int steps = static_cast<int>(std::lround(kFairStartSeconds / kFairStartStep));
    for (std::uint32_t approach = 0; approach < kApproachCount; ++approach) {
        const std::unique_ptr<Game> game = buildFor(missionJson, index, approach);
        game->update(0.0f);
        game->startOrAdvance();
        int step = 0;
        for (; step < steps && game->gameState == GameState::Playing && game->timesSpotted == 0;
             ++step)
            game->update(kFairStartStep);
        if (game->gameState == GameState::Playing && game->timesSpotted == 0) continue;
        char when[24];
        std::snprintf(when, sizeof when, "%.1f", static_cast<double>(step) * kFairStartStep);
        const char* what = game->gameState == GameState::MissionFailed ? "fails" : "is spotted";
        problems.push_back({spawnKey(approach), approachLabel(approach) +
                                                    ": an operative standing still " + what +
                                                    " after " + std::string(when) + " s"});
    }
    return problems;
}

std::vector<MissionDiagnostic> checkMission(const std::string& missionJson, std::size_t index) {
    MissionTextCheck check = checkMissionText(missionJson);
    std::vector<MissionDiagnostic> diagnostics = std::move(check.diagnostics);
    if (check.parsed && !hasErrors(diagnostics)) {
        std::vector<PlayabilityProblem> problems = checkReachability(missionJson, index);
        for (PlayabilityProblem& p : checkFairStart(missionJson, index))
            problems.push_back(std::move(p));
        for (PlayabilityProblem& p : problems)
            diagnostics.push_back({MissionSeverity::Error, locateJsonPath(check.root, p.path),
                                   p.path, std::move(p.message)});
    }
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const MissionDiagnostic& a, const MissionDiagnostic& b) {
                         return a.at.line != b.at.line ? a.at.line < b.at.line
                                                       : a.at.column < b.at.column;
                     });
    return diagnostics;
}

std::vector<MissionDiagnostic> checkMissionFile(const std::string& path, std::size_t index,
                                                std::string& text) {
    text.clear();
    if (!readRegularFile(path, kMissionFileMaxBytes, text)) {
        text.clear();
        return {{MissionSeverity::Error,
                 {},
                 "",
                 "cannot read it: a mission is a regular file of at most 1 MiB"}};
    }
    // A mission code (a map token, as players pass missions around) is
    // checked as the mission it carries; lines and columns are the carried
    // JSON's.
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text.compare(first, kMapHeader.size(), kMapHeader) == 0) {
        try {
            text = decodeMapToken(text);
        } catch (const std::exception& e) {
            text.clear();
            return {{MissionSeverity::Error,
                     {},
                     "",
                     std::string("the mission code is refused: ") + e.what()}};
        }
    }
    return checkMission(text, index);
}

std::unique_ptr<Game> gameForMission(const std::string& missionJson, std::size_t index,
                                     std::uint32_t approach, AudioSink* audio) {
    auto game = std::make_unique<Game>(audio);
    game->savePath.clear();
    // Earlier places in the campaign hold the same map: only this index's
    // theme row matters.
    game->setCampaignMaps(
        std::vector<std::string>(index + 1, encodeMapToken(missionJson, mapSaltFor(missionJson))));
    game->highestUnlocked = index;
    game->missionIndex = index;
    game->approach = static_cast<Approach>(approach);
    game->loadMission(false);
    return game;
}

}  // namespace nj
