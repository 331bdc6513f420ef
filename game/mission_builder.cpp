// The mission builder: decodes a campaign entry and writes its world straight
// into the game, then applies the theme table, carried-over bonuses and the
// chosen approach. Writes every mission field of the game object.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "data/json.hpp"
#include "data/map_token.hpp"
#include "game/enum_names.hpp"
#include "game/game.hpp"

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

// A present key replaces the rectangle; its missing members take `fallback`.
void readRect(const JsonValue& v, Rect& rect, const Rect& fallback) {
    rect = {v.getNumber("x", fallback.x), v.getNumber("y", fallback.y),
            v.getNumber("w", fallback.w), v.getNumber("h", fallback.h)};
}

void readCircle(const JsonValue& v, Circle& circle, const Circle& fallback) {
    circle = {v.getNumber("x", fallback.x), v.getNumber("y", fallback.y),
              v.getNumber("r", fallback.r)};
}

void readPoint(const JsonValue& v, Vec2& point, const Vec2& fallback) {
    point = {v.getNumber("x", fallback.x), v.getNumber("y", fallback.y)};
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

}  // namespace

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
    buildMissionFromToken(campaignMaps[index], index);
}

void Game::buildMissionFromToken(const std::string& token, std::size_t index) {
    try {
        // Both can throw; nothing has been written yet, so a bad token or
        // payload leaves the previous world whole.
        const JsonValue doc = parseJson(decodeMapToken(token));

        MissionSummary summary = readSummary(doc, index);
        missionName = std::move(summary.name);
        missionDesc = std::move(summary.desc);
        const std::string themeSpelling = doc.getString("theme", "casino");
        theme = themeNamed(themeSpelling);
        otherTheme = theme == Theme::Other ? themeSpelling : std::string();
        if (doc.has("player")) readPoint(doc.at("player"), playerPos, {60.0f, 460.0f});
        playerStart = playerPos;  // without "player": wherever the operative stands now

        playerFacing = playerDrawFacing = walkDistance = takedownTimer = 0.0f;
        cipherAcquired = cipherDecrypted = 0;
        playerMoving = playerSneaking = playerInCover = 0;
        keycardsHeld.clear();

        readList(doc, "walls", walls, readWall);
        readList(doc, "furniture", furniture, readFurniture);
        readList(doc, "lasers", lasers, readLaser);
        readList(doc, "cameras", cameras, readCamera);
        readList(doc, "pressures", pressurePlates, readPlate);
        readList(doc, "doors", doors, readDoor);
        readList(doc, "keycards", keycards, readKeycard);
        std::size_t guardIndex = 0;
        readList(doc, "guards", guards,
                 [&](const JsonValue& v) { return readGuard(v, guardIndex++); });

        if (doc.has("gate")) readRect(doc.at("gate"), gate, {660.0f, 355.0f, 24.0f, 140.0f});
        gateOpen = 0.0f;
        if (doc.has("card")) readCircle(doc.at("card"), card, {495.0f, 195.0f, 12.0f});
        cardTaken = 0;
        if (doc.has("terminal")) readCircle(doc.at("terminal"), terminal, {780.0f, 205.0f, 18.0f});
        if (doc.has("exit")) readRect(doc.at("exit"), exit, {930.0f, 420.0f, 75.0f, 80.0f});
        serviceSpawn = {64.0f, 95.0f};
        if (doc.has("serviceSpawn")) readPoint(doc.at("serviceSpawn"), serviceSpawn, serviceSpawn);
        backstageSpawn = {240.0f, 485.0f};
        if (doc.has("backstageSpawn"))
            readPoint(doc.at("backstageSpawn"), backstageSpawn, backstageSpawn);

        applyThemeDefaults(index);

        if (doc.has("faction")) faction = doc.getString("faction", faction);
        if (doc.has("altExit")) {
            const JsonValue& v = doc.at("altExit");
            readRect(v, altExit, altExit);
            altExitLabel = v.getString("label", altExitLabel);
            altExitActive = v.getBool("active", true) ? 1 : 0;
        }
        if (doc.has("optionalIntel")) {
            const JsonValue& v = doc.at("optionalIntel");
            Objective& o = optionalIntel;
            o.x = v.getNumber("x", o.x);
            o.y = v.getNumber("y", o.y);
            o.r = v.getNumber("r", o.r);
            o.label = v.getString("label", o.label);
            o.active = v.getBool("active", true) ? 1 : 0;
        }
        if (doc.has("dynamicObjective")) {
            const JsonValue& v = doc.at("dynamicObjective");
            Objective& o = dynamicObjective;
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
            if (route.type == JsonType::Array && !route.items.empty())
                o.waypoints = readPoints(route);
        }

        applyApproach();
    } catch (const std::exception&) {
        // A mission that cannot be read is simply not loaded.
    }
}

void Game::rebuildBuiltInMission() {
    const Game built(nullptr, nullptr);
    // As first played: the built-in mission has no approach spawns to apply.
    playerStart = built.playerStart;
    serviceSpawn = built.serviceSpawn;
    backstageSpawn = built.backstageSpawn;
    playerFacing = playerDrawFacing = walkDistance = takedownTimer = 0.0f;
    cipherAcquired = cipherDecrypted = 0;
    playerMoving = playerSneaking = playerInCover = 0;
    keycardsHeld.clear();
    walls = built.walls;
    furniture = built.furniture;
    lasers = built.lasers;
    cameras = built.cameras;
    pressurePlates = built.pressurePlates;
    guards = built.guards;
    doors = built.doors;
    keycards = built.keycards;
    gate = built.gate;
    gateOpen = 0.0f;
    card = built.card;
    cardTaken = 0;
    terminal = built.terminal;
    exit = built.exit;
    altExit = built.altExit;
    altExitLabel = built.altExitLabel;
    altExitActive = built.altExitActive;
    usedAltExit = 0;
    dynamicObjective = built.dynamicObjective;
    optionalIntel = built.optionalIntel;
    tumblers = built.tumblers;
    currentTumbler = 0;
    playerPos = built.playerPos;
}

void Game::applyThemeDefaults(std::size_t index) {
    if (index == 0 || theme == Theme::Casino) {
        faction = "THE CRIMSON SYNDICATE";
    } else if (index == 1 || theme == Theme::Embassy) {
        faction = "VORON DIRECTORATE";
        for (Guard& g : guards) g.range *= kEmbassyGuardRangeFactor;
    } else if (index == 2 || theme == Theme::Laboratory) {
        faction = "AEGIS BIO-CORP";
        for (Camera& c : cameras) c.speed *= kLaboratoryCameraSpeedFactor;
    } else {
        faction = "OMEGA ARCHIVE CABAL";
        for (Guard& g : guards) {
            g.speed *= kArchiveGuardSpeedFactor;
            g.fov *= kArchiveGuardFovFactor;
        }
    }
    if (ghostBonus) {
        for (Guard& g : guards) g.speed *= kGhostGuardSpeedFactor;
    }
    if (intelBonus && !cameras.empty()) {
        cameras.back().disabledTime = kBlindForTheMission;
        for (Guard& g : guards) g.marked = 1;
    }

    altExit = {855.0f, 42.0f, 72.0f, 64.0f};
    if (theme == Theme::Casino) {
        altExitLabel = "ROOF HELIPAD";
    } else if (theme == Theme::Embassy) {
        altExitLabel = "DIPLOMATIC MOTORCADE";
    } else if (theme == Theme::Laboratory) {
        altExitLabel = "SUB-CANAL SUBMERSIBLE";
    } else {
        altExitLabel = "TUNNEL RAIL EXFIL";
    }
    altExitActive = 1;
    usedAltExit = 0;

    static const char* const kIntelLabels[4] = {"SYNDICATE BLACK LEDGER", "AMBASSADOR CIPHER DISK",
                                                "BIOWEAPON PROTOTYPE VIAL",
                                                "OMEGA COUNCIL DOSSIER"};
    optionalIntel = Objective{};
    optionalIntel.type = ObjectiveType::OptionalIntel;
    optionalIntel.label = kIntelLabels[index < 3 ? index : 3];
    optionalIntel.x = 340.0f;
    optionalIntel.y = 115.0f;
    optionalIntel.r = kIntelRadius;
    optionalIntel.active = 1;
    optionalIntel.done = 0;

    Objective& o = dynamicObjective;
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

void Game::applyApproach() {
    playerPos = playerStart;
    disguise = 0.0f;
    switch (approach) {
        case Approach::ServiceCorridor:
            playerPos = serviceSpawn;
            keycardsHeld.insert("cyan");
            for (Door& d : doors) {
                if (d.color == "cyan") {
                    d.unlocked = 1;
                    d.openAmount = 1.0f;
                }
            }
            break;
        case Approach::StaffDisguise:
            disguise = 1.0f;
            break;
        case Approach::UplinkHack:
            if (!cameras.empty()) cameras.front().disabledTime = kBlindForTheMission;
            for (Laser& l : lasers) l.speed *= kHackedLaserSpeedShare;
            for (std::size_t i = 0; i < guards.size() && i < kHackTaggedGuards; ++i)
                guards[i].marked = 1;
            break;
        case Approach::VipBackstage:
            playerPos = backstageSpawn;
            keycardsHeld.insert("ruby");
            for (Door& d : doors) {
                if (d.color == "ruby") {
                    d.unlocked = 1;
                    d.openAmount = 1.0f;
                }
            }
            break;
        default:
            break;
    }
}

}  // namespace nj
