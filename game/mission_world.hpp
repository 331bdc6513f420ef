#pragma once
// A mission's world as one value: everything a mission file decides, after
// the theme table, the carried bonuses and the chosen approach have had their
// say. Building one touches no game; Game::installWorld puts one in play.
// Field names are the game's own, so installing is one assignment each.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "data/json.hpp"
#include "game/game.hpp"

namespace nj {

// What a win carries into the missions built after it.
struct CarriedBonuses {
    bool ghost = false;  // the last win was unseen: every guard 12 % slower
    bool intel = false;  // the last win secured the intel: last camera blind, guards marked
};

// The defaults are the built-in mission: the world the game holds before any
// campaign loads, and the one every mission file's absent keys fall back to.
struct MissionWorld {
    std::string missionName = "OPERATION CASINO VAULT";
    std::string missionDesc = kDefaultMissionDesc;
    Theme theme = Theme::Casino;
    std::string otherTheme;  // the mission file's spelling when theme is Other
    std::string faction = "THE CRIMSON SYNDICATE";

    // Where the disguise and uplink approaches start, and the other two.
    Vec2 playerStart{60.0f, 460.0f};
    Vec2 serviceSpawn{64.0f, 95.0f};
    Vec2 backstageSpawn{240.0f, 485.0f};
    // The chosen approach's start: its spawn, its disguise and the keycard
    // colour it holds. The built-in mission applies no approach.
    Vec2 playerPos{60.0f, 460.0f};
    float disguise = 1.0f;
    std::set<std::string> keycardsHeld;

    std::vector<Wall> walls;
    std::vector<Furniture> furniture;
    std::vector<Laser> lasers;
    std::vector<Camera> cameras;
    std::vector<PressurePlate> pressurePlates;
    std::vector<Guard> guards;
    std::vector<Door> doors;
    std::vector<Keycard> keycards;

    Rect gate{660.0f, 355.0f, 24.0f, 140.0f};
    Circle card{495.0f, 195.0f, 12.0f};
    Circle terminal{780.0f, 205.0f, 18.0f};
    Rect exit{930.0f, 420.0f, 75.0f, 80.0f};
    Rect altExit{880.0f, 48.0f, 68.0f, 64.0f};
    std::string altExitLabel = "HELIPAD EXFIL";
    std::uint8_t altExitActive = 1;
    Objective dynamicObjective;
    Objective optionalIntel;

    bool operator==(const MissionWorld&) const = default;
};

// The built-in mission, as the game is constructed.
MissionWorld builtInWorld();

// The mission `doc` at place `index` of its campaign (which picks the theme
// table's row and the default name), played with `approach` after a win that
// carried `bonuses`. A key the file leaves out takes the built-in mission's
// value, never the value of a mission built before.
MissionWorld buildWorld(const JsonValue& doc, std::size_t index, Approach approach,
                        CarriedBonuses bonuses);

}  // namespace nj
