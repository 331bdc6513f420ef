// The mission format's table. Ranges are what makes sense on the play field;
// caps keep a mission within what a frame's sight lines and drawing can carry.
#include "data/mission_format.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace nj {
namespace {

using Kind = MissionValueKind;

constexpr double kTurn = 6.2832;  // a full turn, radians: angles beyond it add nothing
constexpr double kHalfTurn = 3.1416;
constexpr double kFieldDiagonal = 1102.0;  // no sight reaches further across the field
constexpr double kMostRadius = 100.0;
constexpr double kMostSpeed = 600.0;  // units per second: three times the operative's run

constexpr MissionKeyFormat number(std::string_view key, std::string_view fallback, double min,
                                  double max, bool minExclusive = false) {
    return {key, Kind::Number, fallback, min, max, minExclusive, {}, nullptr, 0};
}
constexpr MissionKeyFormat x(std::string_view fallback = "0") {
    return number("x", fallback, 0.0, kMissionFieldWidth);
}
constexpr MissionKeyFormat y(std::string_view fallback = "0") {
    return number("y", fallback, 0.0, kMissionFieldHeight);
}
constexpr MissionKeyFormat w(std::string_view fallback = "0") {
    return number("w", fallback, 0.0, kMissionFieldWidth, true);
}
constexpr MissionKeyFormat h(std::string_view fallback = "0") {
    return number("h", fallback, 0.0, kMissionFieldHeight, true);
}
constexpr MissionKeyFormat r(std::string_view fallback) {
    return number("r", fallback, 0.0, kMostRadius, true);
}
constexpr MissionKeyFormat angle() {
    return number("angle", "0", -kTurn, kTurn);
}
constexpr MissionKeyFormat text(std::string_view key, std::string_view fallback,
                                std::span<const std::string_view> allowed = {}) {
    return {key, Kind::String, fallback, 0.0, 0.0, false, allowed, nullptr, 0};
}
constexpr MissionKeyFormat flag(std::string_view key, std::string_view fallback) {
    return {key, Kind::Bool, fallback, 0.0, 0.0, false, {}, nullptr, 0};
}
constexpr MissionKeyFormat object(std::string_view key, std::string_view fallback,
                                  const MissionObjectFormat& shape) {
    return {key, Kind::Object, fallback, 0.0, 0.0, false, {}, &shape, 0};
}
constexpr MissionKeyFormat list(std::string_view key, const MissionObjectFormat& shape,
                                std::size_t cap) {
    return {key, Kind::List, "none", 0.0, 0.0, false, {}, &shape, cap};
}

constexpr std::array<std::string_view, 4> kThemes = {"casino", "embassy", "laboratory", "archive"};
constexpr std::array<std::string_view, 4> kDirectives = {"courier", "informant", "sabotage_node",
                                                         "evidence_burn"};
constexpr std::array<std::string_view, 4> kColors = {"cyan", "ruby", "emerald", "purple"};
constexpr std::array<std::string_view, 9> kFurniture = {"roulette",   "blackjack", "plush_booth",
                                                        "stanchions", "desk",      "bookcase",
                                                        "server",     "cryopod",   "archive_rack"};
constexpr std::array<std::string_view, 2> kAxes = {"x", "y"};

constexpr std::array kPointKeys = {x(), y()};
constexpr MissionObjectFormat kPoint{"point", kPointKeys};

constexpr std::array kBoxKeys = {x(), y(), w(), h()};
constexpr MissionObjectFormat kWall{"walls[]", kBoxKeys};
constexpr MissionObjectFormat kPressure{"pressures[]", kBoxKeys};

constexpr std::array kFurnitureKeys = {
    text("type", "desk", kFurniture), x(), y(), w("60"), h("36"), angle(), flag("cover", "true")};
constexpr MissionObjectFormat kFurniturePiece{"furniture[]", kFurnitureKeys};

constexpr std::array kLaserKeys = {x(),
                                   y(),
                                   w(),
                                   h(),
                                   text("axis", "y", kAxes),
                                   number("min", "0", 0.0, kMissionFieldWidth),
                                   number("max", "0", 0.0, kMissionFieldWidth),
                                   number("speed", "0", 0.0, kMostSpeed)};
constexpr MissionObjectFormat kLaser{"lasers[]", kLaserKeys};

constexpr std::array kCameraKeys = {x(),
                                    y(),
                                    angle(),
                                    number("sweep", "1.1", 0.0, kHalfTurn),
                                    number("range", "140", 0.0, kFieldDiagonal, true),
                                    number("speed", "1.2", 0.0, 20.0)};
constexpr MissionObjectFormat kCamera{"cameras[]", kCameraKeys};

constexpr std::array kDoorKeys = {x(), y(), w(), h(), text("color", "cyan", kColors)};
constexpr MissionObjectFormat kDoor{"doors[]", kDoorKeys};

constexpr std::array kKeycardKeys = {x(), y(), r("11"), text("color", "cyan", kColors)};
constexpr MissionObjectFormat kKeycard{"keycards[]", kKeycardKeys};

constexpr std::size_t kMostRoutePoints = 16;
constexpr std::array kGuardKeys = {x(),
                                   y(),
                                   angle(),
                                   number("speed", "50", 0.0, kMostSpeed),
                                   number("range", "150", 0.0, kFieldDiagonal, true),
                                   number("fov", "1.15", 0.0, kTurn, true),
                                   text("axis", "none", kAxes),
                                   number("min", "0", 0.0, kMissionFieldWidth),
                                   number("max", "0", 0.0, kMissionFieldWidth),
                                   list("patrol", kPoint, kMostRoutePoints)};
constexpr MissionObjectFormat kGuard{"guards[]", kGuardKeys};

constexpr std::array kPlayerKeys = {x("60"), y("460")};
constexpr MissionObjectFormat kPlayer{"player", kPlayerKeys};
constexpr std::array kServiceKeys = {x("64"), y("95")};
constexpr MissionObjectFormat kService{"serviceSpawn", kServiceKeys};
constexpr std::array kBackstageKeys = {x("240"), y("485")};
constexpr MissionObjectFormat kBackstage{"backstageSpawn", kBackstageKeys};
constexpr std::array kCardKeys = {x("495"), y("195"), r("12")};
constexpr MissionObjectFormat kCard{"card", kCardKeys};
constexpr std::array kGateKeys = {x("660"), y("355"), w("24"), h("140")};
constexpr MissionObjectFormat kGate{"gate", kGateKeys};
constexpr std::array kTerminalKeys = {x("780"), y("205"), r("18")};
constexpr MissionObjectFormat kTerminal{"terminal", kTerminalKeys};
constexpr std::array kExitKeys = {x("930"), y("420"), w("75"), h("80")};
constexpr MissionObjectFormat kExit{"exit", kExitKeys};
constexpr std::array kAltExitKeys = {
    x("855"), y("42"), w("72"), h("64"), text("label", "by theme"), flag("active", "true")};
constexpr MissionObjectFormat kAltExit{"altExit", kAltExitKeys};
constexpr std::array kIntelKeys = {x("340"), y("115"), r("14"), text("label", "by index"),
                                   flag("active", "true")};
constexpr MissionObjectFormat kIntel{"optionalIntel", kIntelKeys};
constexpr std::array kDirectiveKeys = {text("type", "by index", kDirectives),
                                       text("label", "by index"),
                                       x("by index"),
                                       y("by index"),
                                       r("15"),
                                       number("speed", "by index", 0.0, kMostSpeed),
                                       number("timer", "by index", 0.0, 3600.0, true),
                                       list("waypoints", kPoint, kMostRoutePoints)};
constexpr MissionObjectFormat kDirective{"dynamicObjective", kDirectiveKeys};

constexpr std::array kMissionKeys = {
    text("name", "OPERATION 0N"),
    text("desc", "Infiltrate the perimeter and extract."),
    text("theme", "casino", kThemes),
    text("faction", "by index and theme"),
    object("player", "60, 460", kPlayer),
    object("serviceSpawn", "64, 95", kService),
    object("backstageSpawn", "240, 485", kBackstage),
    object("card", "495, 195, 12", kCard),
    object("gate", "660, 355, 24, 140", kGate),
    object("terminal", "780, 205, 18", kTerminal),
    object("exit", "930, 420, 75, 80", kExit),
    object("altExit", "855, 42, 72, 64", kAltExit),
    object("optionalIntel", "340, 115", kIntel),
    object("dynamicObjective", "by index", kDirective),
    list("walls", kWall, 96),
    list("furniture", kFurniturePiece, 48),
    list("lasers", kLaser, 16),
    list("cameras", kCamera, 16),
    list("pressures", kPressure, 16),
    list("doors", kDoor, 16),
    list("keycards", kKeycard, 16),
    list("guards", kGuard, 16),
};
constexpr MissionObjectFormat kMission{"mission", kMissionKeys};

}  // namespace

const MissionKeyFormat* MissionObjectFormat::find(std::string_view key) const {
    for (const MissionKeyFormat& k : keys)
        if (k.key == key) return &k;
    return nullptr;
}

const MissionObjectFormat& missionFormat() {
    return kMission;
}

std::string listAllowed(std::span<const std::string_view> allowed) {
    std::string out;
    for (std::size_t i = 0; i < allowed.size(); ++i) {
        if (i > 0) out += i + 1 == allowed.size() ? " or " : ", ";
        out += '"';
        out += allowed[i];
        out += '"';
    }
    return out;
}

namespace {

std::string rangeText(const MissionKeyFormat& k) {
    char buffer[64];
    if (k.minExclusive)
        std::snprintf(buffer, sizeof buffer, "more than %g, at most %g", k.min, k.max);
    else
        std::snprintf(buffer, sizeof buffer, "%g to %g", k.min, k.max);
    return buffer;
}

std::string typeText(const MissionKeyFormat& k) {
    switch (k.kind) {
        case MissionValueKind::Number:
            return "number";
        case MissionValueKind::String:
            return "string";
        case MissionValueKind::Bool:
            return "true / false";
        case MissionValueKind::Object:
            return "object: `" + std::string(k.shape->name) + "`";
        case MissionValueKind::List:
            return "list of `" + std::string(k.shape->name) + "`";
    }
    return "";
}

std::string allowedText(const MissionKeyFormat& k) {
    switch (k.kind) {
        case MissionValueKind::Number:
            return rangeText(k);
        case MissionValueKind::String:
            return k.allowed.empty() ? "any text" : listAllowed(k.allowed);
        case MissionValueKind::List:
            return "at most " + std::to_string(k.cap);
        default:
            return "";
    }
}

}  // namespace

std::string missionFormatGuide() {
    std::string out;
    std::vector<const MissionObjectFormat*> order{&missionFormat()};
    for (std::size_t i = 0; i < order.size(); ++i) {
        const MissionObjectFormat& shape = *order[i];
        out += "#### `" + std::string(shape.name) + "`\n\n";
        out += "| key | type | when absent | allowed |\n|---|---|---|---|\n";
        for (const MissionKeyFormat& k : shape.keys) {
            out += "| `" + std::string(k.key) + "` | " + typeText(k) + " | " +
                   std::string(k.fallback) + " | " + allowedText(k) + " |\n";
            if (k.shape != nullptr && std::find(order.begin(), order.end(), k.shape) == order.end())
                order.push_back(k.shape);
        }
        out += "\n";
    }
    return out;
}

}  // namespace nj
