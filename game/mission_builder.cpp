// The mission builder: reads a campaign entry into a MissionWorld, applies
// the theme table, carried-over bonuses and the chosen approach to it, and
// installs it. installWorld writes every mission field of the game object.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "data/json.hpp"
#include "data/map_token.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"
#include "game/mission_world.hpp"

namespace nj {
namespace {

// Guards start out of step: each a little further along its stride.
constexpr float kGuardStrideOffset = 25.0f;

// Theme factors, applied to the freshly read lists on every build.
constexpr float kEmbassyGuardRangeFactor = 1.12f;
constexpr float kLaboratoryCameraSpeedFactor = 1.2f;
constexpr float kArchiveGuardSpeedFactor = 1.08f;
constexpr float kArchiveGuardFovFactor = 1.1f;
// A ghost run before slows every later mission's guards; intel taken blinds
// the last camera for the mission and tags every guard.
constexpr float kGhostGuardSpeedFactor = 0.88f;
constexpr float kBlindForTheMission = 999.0f;

// The table's objectives: radii, walking speeds and the timed directives'
// seconds.
constexpr float kIntelRadius = 14.0f;
constexpr float kDirectiveRadius = 15.0f;
constexpr float kCourierSpeed = 46.0f;
constexpr float kInformantSpeed = 42.0f;
constexpr float kStandingDirectiveSpeed = 38.0f;
constexpr float kSabotageSeconds = 40.0f;
constexpr float kEvidenceBurnSeconds = 45.0f;

// The uplink hack: lasers slide slower and the first guards are tagged.
constexpr float kHackedLaserSpeedShare = 0.65f;
constexpr std::size_t kHackTaggedGuards = 2;

std::vector<Vec2> readPoints(const JsonValue& list) {
    std::vector<Vec2> points;
    for (const JsonValue& p : list.items)
        points.push_back({p.getNumber("x", 0.0f), p.getNumber("y", 0.0f)});
    return points;
}

// The x, y, w, h every rectangular record starts with, each 0 when missing.
template <typename Box>
void readBox(const JsonValue& v, Box& box) {
    box.x = v.getNumber("x", 0.0f);
    box.y = v.getNumber("y", 0.0f);
    box.w = v.getNumber("w", 0.0f);
    box.h = v.getNumber("h", 0.0f);
}

Wall readWall(const JsonValue& v) {
    Wall w;
    readBox(v, w);
    return w;
}

Furniture readFurniture(const JsonValue& v) {
    Furniture f;
    f.type = v.getString("type", f.type);
    f.x = v.getNumber("x", f.x);
    f.y = v.getNumber("y", f.y);
    f.w = v.getNumber("w", f.w);
    f.h = v.getNumber("h", f.h);
    f.angle = v.getNumber("angle", f.angle);
    f.cover = v.getBool("cover", f.cover);
    return f;
}

Laser readLaser(const JsonValue& v) {
    Laser l;
    readBox(v, l);
    const std::string axis = v.getString("axis", "");
    l.axis = axis.empty() ? l.axis : axis[0];
    l.min = v.getNumber("min", 0.0f);
    l.max = v.getNumber("max", 0.0f);
    l.speed = v.getNumber("speed", 0.0f);
    return l;
}

Camera readCamera(const JsonValue& v) {
    Camera c;
    c.x = v.getNumber("x", 0.0f);
    c.y = v.getNumber("y", 0.0f);
    c.angle = c.baseAngle = v.getNumber("angle", 0.0f);
    c.sweep = v.getNumber("sweep", c.sweep);
    c.range = v.getNumber("range", c.range);
    c.speed = v.getNumber("speed", c.speed);
    return c;
}

PressurePlate readPlate(const JsonValue& v) {
    PressurePlate p;
    readBox(v, p);
    return p;
}

Door readDoor(const JsonValue& v) {
    Door d;
    readBox(v, d);
    d.color = v.getString("color", d.color);
    return d;
}

Keycard readKeycard(const JsonValue& v) {
    Keycard k;
    k.x = v.getNumber("x", 0.0f);
    k.y = v.getNumber("y", 0.0f);
    k.r = v.getNumber("r", k.r);
    k.color = v.getString("color", k.color);
    return k;
}

Guard readGuard(const JsonValue& v, std::size_t listIndex) {
    Guard g;
    g.x = g.homeX = v.getNumber("x", 0.0f);
    g.y = g.homeY = v.getNumber("y", 0.0f);
    g.facing = g.homeFacing = g.drawFacing = v.getNumber("angle", 0.0f);
    g.walkPhase = kGuardStrideOffset * static_cast<float>(listIndex);
    g.speed = v.getNumber("speed", g.speed);
    g.range = v.getNumber("range", g.range);
    g.fov = v.getNumber("fov", g.fov);
    const std::string axis = v.getString("axis", "");
    g.axis = axis.empty() ? 0 : axis[0];
    g.min = v.getNumber("min", 0.0f);
    g.max = v.getNumber("max", 0.0f);
    if (v.at("patrol").type == JsonType::Array) g.patrol = readPoints(v.at("patrol"));
    return g;
}

// Empties `list` and, when `key` holds an array, fills it element by element.
template <typename T, typename Read>
void readList(const JsonValue& doc, const char* key, std::vector<T>& list, Read read) {
    list.clear();
    const JsonValue& items = doc.at(key);
    if (items.type != JsonType::Array) return;
    list.reserve(items.items.size());
    for (const JsonValue& item : items.items) list.push_back(read(item));
}

// A present key replaces the value; the members it leaves out keep what the
// value held (the built-in mission's, or for the alternative exit the table's).
void readRect(const JsonValue& doc, const char* key, Rect& rect) {
    if (!doc.has(key)) return;
    const JsonValue& v = doc.at(key);
    rect = {v.getNumber("x", rect.x), v.getNumber("y", rect.y), v.getNumber("w", rect.w),
            v.getNumber("h", rect.h)};
}

void readCircle(const JsonValue& doc, const char* key, Circle& circle) {
    if (!doc.has(key)) return;
    const JsonValue& v = doc.at(key);
    circle = {v.getNumber("x", circle.x), v.getNumber("y", circle.y), v.getNumber("r", circle.r)};
}

void readPoint(const JsonValue& doc, const char* key, Vec2& point) {
    if (!doc.has(key)) return;
    const JsonValue& v = doc.at(key);
    point = {v.getNumber("x", point.x), v.getNumber("y", point.y)};
}

// A mission that names itself nothing is "OPERATION 01", "OPERATION 02", ...
MissionSummary defaultSummary(std::size_t index) {
    return {"OPERATION 0" + std::to_string(index + 1), kDefaultMissionDesc};
}

MissionSummary readSummary(const JsonValue& doc, std::size_t index) {
    MissionSummary summary = defaultSummary(index);
    summary.name = doc.getString("name", summary.name);
    summary.desc = doc.getString("desc", summary.desc);
    return summary;
}

// The theme table's row: the faction and its factors on the freshly read
// lists, the carried bonuses, the alternative exit, the intel and the
// directive. Keys in the file override all but the factors afterwards.
void applyThemeTable(MissionWorld& w, std::size_t index, CarriedBonuses bonuses) {
    if (index == 0 || w.theme == Theme::Casino) {
        w.faction = "THE CRIMSON SYNDICATE";
    } else if (index == 1 || w.theme == Theme::Embassy) {
        w.faction = "VORON DIRECTORATE";
        for (Guard& g : w.guards) g.range *= kEmbassyGuardRangeFactor;
    } else if (index == 2 || w.theme == Theme::Laboratory) {
        w.faction = "AEGIS BIO-CORP";
        for (Camera& c : w.cameras) c.speed *= kLaboratoryCameraSpeedFactor;
    } else {
        w.faction = "OMEGA ARCHIVE CABAL";
        for (Guard& g : w.guards) {
            g.speed *= kArchiveGuardSpeedFactor;
            g.fov *= kArchiveGuardFovFactor;
        }
    }
    if (bonuses.ghost) {
        for (Guard& g : w.guards) g.speed *= kGhostGuardSpeedFactor;
    }
    if (bonuses.intel && !w.cameras.empty()) {
        w.cameras.back().disabledTime = kBlindForTheMission;
        for (Guard& g : w.guards) g.marked = 1;
    }

    w.altExit = {855.0f, 42.0f, 72.0f, 64.0f};
    if (w.theme == Theme::Casino) {
        w.altExitLabel = "ROOF HELIPAD";
    } else if (w.theme == Theme::Embassy) {
        w.altExitLabel = "DIPLOMATIC MOTORCADE";
    } else if (w.theme == Theme::Laboratory) {
        w.altExitLabel = "SUB-CANAL SUBMERSIBLE";
    } else {
        w.altExitLabel = "TUNNEL RAIL EXFIL";
    }
    w.altExitActive = 1;

    static const char* const kIntelLabels[4] = {"SYNDICATE BLACK LEDGER", "AMBASSADOR CIPHER DISK",
                                                "BIOWEAPON PROTOTYPE VIAL",
                                                "OMEGA COUNCIL DOSSIER"};
    w.optionalIntel = Objective{};
    w.optionalIntel.type = ObjectiveType::OptionalIntel;
    w.optionalIntel.label = kIntelLabels[index < 3 ? index : 3];
    w.optionalIntel.x = 340.0f;
    w.optionalIntel.y = 115.0f;
    w.optionalIntel.r = kIntelRadius;
    w.optionalIntel.active = 1;

    Objective& o = w.dynamicObjective;
    o = Objective{};
    o.r = kDirectiveRadius;
    switch (index) {
        case 0:
            o.type = ObjectiveType::Courier;
            o.label = "INTERCEPT SYNDICATE COURIER";
            o.x = 610.0f;
            o.y = 260.0f;
            o.speed = kCourierSpeed;
            o.waypoints = {{610.0f, 130.0f}, {830.0f, 130.0f}, {830.0f, 330.0f}, {610.0f, 330.0f}};
            break;
        case 1:
            o.type = ObjectiveType::Informant;
            o.label = "RENDEZVOUS WITH NIA INFORMANT";
            o.x = 580.0f;
            o.y = 435.0f;
            o.speed = kInformantSpeed;
            o.waypoints = {{580.0f, 435.0f}, {320.0f, 340.0f}, {610.0f, 140.0f}};
            break;
        case 2:
            o.type = ObjectiveType::SabotageNode;
            o.label = "PLANT CRYO-CORE TELEMETRY BUG";
            o.x = 640.0f;
            o.y = 310.0f;
            o.speed = kStandingDirectiveSpeed;
            o.timeLeft = o.timeLimit = kSabotageSeconds;
            break;
        default:
            o.type = ObjectiveType::EvidenceBurn;
            o.label = "RECOVER OMEGA MICROFILM BEFORE PURGE";
            o.x = 635.0f;
            o.y = 395.0f;
            o.speed = kStandingDirectiveSpeed;
            o.timeLeft = o.timeLimit = kEvidenceBurnSeconds;
            break;
    }
}

// The file's own faction, alternative exit, intel and directive, each member
// it leaves out keeping the table's.
void readTableOverrides(const JsonValue& doc, MissionWorld& w) {
    if (doc.has("faction")) w.faction = doc.getString("faction", w.faction);
    if (doc.has("altExit")) {
        readRect(doc, "altExit", w.altExit);
        const JsonValue& v = doc.at("altExit");
        w.altExitLabel = v.getString("label", w.altExitLabel);
        w.altExitActive = v.getBool("active", true) ? 1 : 0;
    }
    if (doc.has("optionalIntel")) {
        const JsonValue& v = doc.at("optionalIntel");
        Objective& o = w.optionalIntel;
        o.x = v.getNumber("x", o.x);
        o.y = v.getNumber("y", o.y);
        o.r = v.getNumber("r", o.r);
        o.label = v.getString("label", o.label);
        o.active = v.getBool("active", true) ? 1 : 0;
    }
    if (doc.has("dynamicObjective")) {
        const JsonValue& v = doc.at("dynamicObjective");
        Objective& o = w.dynamicObjective;
        const std::string typeSpelling =
            v.getString("type", objectiveTypeText(o.type, o.otherType));
        o.type = objectiveTypeNamed(typeSpelling);
        o.otherType = o.type == ObjectiveType::Other ? typeSpelling : std::string();
        o.label = v.getString("label", o.label);
        o.x = v.getNumber("x", o.x);
        o.y = v.getNumber("y", o.y);
        o.r = v.getNumber("r", o.r);
        o.speed = v.getNumber("speed", o.speed);
        o.timeLeft = v.getNumber("timer", o.timeLeft);
        o.timeLimit = o.timeLeft;
        const JsonValue& route = v.at("waypoints");
        // An empty or missing route keeps the table's.
        if (route.type == JsonType::Array && !route.items.empty()) o.waypoints = readPoints(route);
    }
}

// Opens every door of `color` and hands the operative that colour.
void holdColor(MissionWorld& w, const char* color) {
    w.keycardsHeld.insert(color);
    for (Door& d : w.doors) {
        if (d.color == color) {
            d.unlocked = 1;
            d.openAmount = 1.0f;
        }
    }
}

void applyApproach(MissionWorld& w, Approach approach) {
    w.playerPos = w.playerStart;
    w.disguise = 0.0f;
    switch (approach) {
        case Approach::ServiceCorridor:
            w.playerPos = w.serviceSpawn;
            holdColor(w, "cyan");
            break;
        case Approach::StaffDisguise:
            w.disguise = 1.0f;
            break;
        case Approach::UplinkHack:
            if (!w.cameras.empty()) w.cameras.front().disabledTime = kBlindForTheMission;
            for (Laser& l : w.lasers) l.speed *= kHackedLaserSpeedShare;
            for (std::size_t i = 0; i < w.guards.size() && i < kHackTaggedGuards; ++i)
                w.guards[i].marked = 1;
            break;
        case Approach::VipBackstage:
            w.playerPos = w.backstageSpawn;
            holdColor(w, "ruby");
            break;
        default:
            break;
    }
}

}  // namespace

MissionWorld builtInWorld() {
    return MissionWorld{};
}

MissionWorld buildWorld(const JsonValue& doc, std::size_t index, Approach approach,
                        CarriedBonuses bonuses) {
    MissionWorld w = builtInWorld();
    MissionSummary summary = readSummary(doc, index);
    w.missionName = std::move(summary.name);
    w.missionDesc = std::move(summary.desc);
    const std::string themeSpelling = doc.getString("theme", "casino");
    w.theme = themeNamed(themeSpelling);
    w.otherTheme = w.theme == Theme::Other ? themeSpelling : std::string();
    readPoint(doc, "player", w.playerStart);
    readPoint(doc, "serviceSpawn", w.serviceSpawn);
    readPoint(doc, "backstageSpawn", w.backstageSpawn);

    readList(doc, "walls", w.walls, readWall);
    readList(doc, "furniture", w.furniture, readFurniture);
    readList(doc, "lasers", w.lasers, readLaser);
    readList(doc, "cameras", w.cameras, readCamera);
    readList(doc, "pressures", w.pressurePlates, readPlate);
    readList(doc, "doors", w.doors, readDoor);
    readList(doc, "keycards", w.keycards, readKeycard);
    std::size_t guardIndex = 0;
    readList(doc, "guards", w.guards,
             [&](const JsonValue& v) { return readGuard(v, guardIndex++); });

    readRect(doc, "gate", w.gate);
    readCircle(doc, "card", w.card);
    readCircle(doc, "terminal", w.terminal);
    readRect(doc, "exit", w.exit);

    applyThemeTable(w, index, bonuses);
    readTableOverrides(doc, w);
    applyApproach(w, approach);
    return w;
}

void Game::setCampaignMaps(std::vector<std::string> tokens) {
    campaignMaps = std::move(tokens);
    missionSummaries.clear();
    for (std::size_t i = 0; i < campaignMaps.size(); ++i) {
        try {
            missionSummaries.push_back(readSummary(parseJson(decodeMapToken(campaignMaps[i])), i));
        } catch (const std::exception&) {
            // The game cannot build this mission either; the dossier still
            // lists it under its default name.
            missionSummaries.push_back(defaultSummary(i));
        }
    }
}

void Game::buildMission(std::size_t index) {
    if (index >= campaignMaps.size()) return;
    buildMissionFromToken(campaignMaps[index], index, {ghostBonus != 0, intelBonus != 0});
}

void Game::buildMissionFromToken(const std::string& token, std::size_t index,
                                 CarriedBonuses bonuses) {
    JsonValue doc;
    try {
        doc = parseJson(decodeMapToken(token));
    } catch (const std::exception&) {
        // A mission that cannot be read is simply not loaded: the previous
        // world stays whole.
        return;
    }
    installWorld(buildWorld(doc, index, approach, bonuses));
}

void Game::installWorld(MissionWorld w) {
    missionName = std::move(w.missionName);
    missionDesc = std::move(w.missionDesc);
    theme = w.theme;
    otherTheme = std::move(w.otherTheme);
    faction = std::move(w.faction);
    playerStart = w.playerStart;
    serviceSpawn = w.serviceSpawn;
    backstageSpawn = w.backstageSpawn;
    playerPos = w.playerPos;
    disguise = w.disguise;
    keycardsHeld = std::move(w.keycardsHeld);
    walls = std::move(w.walls);
    furniture = std::move(w.furniture);
    lasers = std::move(w.lasers);
    cameras = std::move(w.cameras);
    pressurePlates = std::move(w.pressurePlates);
    guards = std::move(w.guards);
    doors = std::move(w.doors);
    keycards = std::move(w.keycards);
    gate = w.gate;
    card = w.card;
    terminal = w.terminal;
    exit = w.exit;
    altExit = w.altExit;
    altExitLabel = std::move(w.altExitLabel);
    altExitActive = w.altExitActive;
    dynamicObjective = std::move(w.dynamicObjective);
    optionalIntel = std::move(w.optionalIntel);

    // The operative arrives fresh, and nothing of the world is open yet.
    playerFacing = playerDrawFacing = walkDistance = takedownTimer = 0.0f;
    cipherAcquired = cipherDecrypted = 0;
    playerMoving = playerSneaking = playerInCover = 0;
    gateOpen = 0.0f;
    cardTaken = 0;
    usedAltExit = 0;
}

}  // namespace nj
