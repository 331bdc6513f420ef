// The mission editor's operations.
#include "data/mission_edit.hpp"

#include <algorithm>
#include <cmath>

#include "data/mission_check.hpp"
#include "data/mission_format.hpp"
#include "data/mission_text.hpp"

namespace nj {

const MissionKeyFormat* kindFormat(std::string_view kind) {
    const MissionKeyFormat* format = missionFormat().find(kind);
    if (format == nullptr || format->shape == nullptr) return nullptr;
    return format;
}

std::string routeKey(const MissionPiece& piece) {
    const MissionKeyFormat* format = kindFormat(piece.key);
    if (format == nullptr) return "";
    for (const MissionKeyFormat& k : format->shape->keys) {
        if (k.kind == MissionValueKind::List && k.shape != nullptr && k.shape->find("x") != nullptr)
            return std::string(k.key);
    }
    return "";
}

namespace {

// What a new box starts as where the format has no size of its own.
struct StartingSize {
    std::string_view kind;
    double w, h;
};
constexpr StartingSize kStartingSizes[] = {
    {"walls", 80, 16}, {"lasers", 60, 4},     {"pressures", 40, 40},
    {"doors", 14, 56}, {"furniture", 60, 36},
};

JsonValue number(double v) {
    JsonValue j;
    j.type = JsonType::Number;
    j.number = v;
    return j;
}

JsonValue emptyObject() {
    JsonValue j;
    j.type = JsonType::Object;
    return j;
}

bool isList(const MissionKeyFormat& format) {
    return format.kind == MissionValueKind::List;
}

// Whether the kind's pieces stand somewhere (have x and y).
bool placeable(const MissionKeyFormat& format) {
    return format.shape->find("x") != nullptr && format.shape->find("y") != nullptr;
}

// The piece's object in `mission` (const or not), or null with `why` set.
template <typename Mission>
Mission* pieceIn(Mission& mission, const MissionPiece& piece, std::string& why) {
    const MissionKeyFormat* format = kindFormat(piece.key);
    const auto found = mission.members.find(piece.key);
    Mission* value = found == mission.members.end() ? nullptr : &found->second;
    if (format != nullptr && isList(*format) && piece.index != kSinglePiece && value != nullptr &&
        value->type == JsonType::Array && piece.index < value->items.size() &&
        value->items[piece.index].type == JsonType::Object)
        return &value->items[piece.index];
    if (format != nullptr && !isList(*format) && piece.index == kSinglePiece && value != nullptr &&
        value->type == JsonType::Object)
        return value;
    why = "nothing of the mission is there";
    return nullptr;
}

double numberIn(const JsonValue& object, const char* key, double fallback) {
    const JsonValue& v = object.at(key);
    return v.type == JsonType::Number ? v.number : fallback;
}

JsonValue* routeOf(JsonValue& mission, const MissionPiece& piece, std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return nullptr;
    const std::string key = routeKey(piece);
    if (key.empty()) {
        why = "a " + piece.key + " piece has no route";
        return nullptr;
    }
    JsonValue& route = object->members[key];
    if (route.type != JsonType::Array) {
        route = JsonValue{};
        route.type = JsonType::Array;
    }
    return &route;
}

// The piece's route when it has a waypoint `at`, or null with `why` set
// (and the mission untouched).
JsonValue* routeWithWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at,
                             std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return nullptr;
    const auto route = object->members.find(routeKey(piece));
    if (route == object->members.end() || route->second.type != JsonType::Array ||
        at >= route->second.items.size()) {
        why = "the route has no such waypoint";
        return nullptr;
    }
    return &route->second;
}

JsonValue point(double x, double y) {
    JsonValue p = emptyObject();
    p.members["x"] = number(std::clamp(x, 0.0, kMissionFieldWidth));
    p.members["y"] = number(std::clamp(y, 0.0, kMissionFieldHeight));
    return p;
}

std::vector<std::string> checkerErrors(const JsonValue& mission) {
    std::vector<std::string> errors;
    for (const MissionDiagnostic& d : checkMissionText(formatMissionText(mission)).diagnostics) {
        if (d.severity == MissionSeverity::Error)
            errors.push_back(d.path.empty() ? d.message : d.path + ": " + d.message);
    }
    return errors;
}

}  // namespace

std::vector<std::string> placeableKinds() {
    std::vector<std::string> kinds;
    for (const MissionKeyFormat& k : missionFormat().keys) {
        if (k.shape != nullptr && placeable(k)) kinds.emplace_back(k.key);
    }
    return kinds;
}

bool placePiece(JsonValue& mission, std::string_view kind, double x, double y, MissionPiece& placed,
                std::string& why) {
    const MissionKeyFormat* format = kindFormat(kind);
    if (format == nullptr || !placeable(*format) || mission.type != JsonType::Object) {
        why = "\"" + std::string(kind) + "\" cannot be placed";
        return false;
    }
    JsonValue piece = point(x, y);
    for (const StartingSize& size : kStartingSizes) {
        if (size.kind != kind) continue;
        piece.members["w"] = number(size.w);
        piece.members["h"] = number(size.h);
    }
    const std::string key(kind);
    if (!isList(*format)) {
        JsonValue& single = mission.members[key];
        if (single.type != JsonType::Object) single = emptyObject();
        single.members["x"] = piece.members["x"];
        single.members["y"] = piece.members["y"];
        placed = {key, kSinglePiece};
        return true;
    }
    JsonValue& list = mission.members[key];
    if (list.type != JsonType::Array) {
        list = JsonValue{};
        list.type = JsonType::Array;
    }
    if (list.items.size() >= format->cap) {
        why = key + ": the game takes at most " + std::to_string(format->cap);
        return false;
    }
    list.items.push_back(std::move(piece));
    placed = {key, list.items.size() - 1};
    return true;
}

bool movePiece(JsonValue& mission, const MissionPiece& piece, double dx, double dy,
               std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return false;
    const double x = numberIn(*object, "x", 0.0) + dx;
    const double y = numberIn(*object, "y", 0.0) + dy;
    object->members["x"] = number(std::clamp(x, 0.0, kMissionFieldWidth));
    object->members["y"] = number(std::clamp(y, 0.0, kMissionFieldHeight));
    return true;
}

bool resizePiece(JsonValue& mission, const MissionPiece& piece, double w, double h,
                 std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return false;
    const MissionObjectFormat& shape = *kindFormat(piece.key)->shape;
    if (shape.find("w") != nullptr && shape.find("h") != nullptr) {
        object->members["w"] = number(w);
        object->members["h"] = number(h);
        return true;
    }
    if (shape.find("r") != nullptr) {
        object->members["r"] = number(w);
        return true;
    }
    why = "a " + piece.key + " piece has no size";
    return false;
}

bool rotatePiece(JsonValue& mission, const MissionPiece& piece, double angle, std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return false;
    if (kindFormat(piece.key)->shape->find("angle") == nullptr) {
        why = "a " + piece.key + " piece does not turn";
        return false;
    }
    object->members["angle"] = number(angle);
    return true;
}

bool deletePiece(JsonValue& mission, const MissionPiece& piece, std::string& why) {
    if (pieceIn(mission, piece, why) == nullptr) return false;
    if (piece.index == kSinglePiece) {
        mission.members.erase(piece.key);
    } else {
        auto& items = mission.members[piece.key].items;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(piece.index));
    }
    return true;
}

bool setPieceValue(JsonValue& mission, const MissionPiece& piece, std::string_view key,
                   const JsonValue& value, std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return false;
    if (kindFormat(piece.key)->shape->find(key) == nullptr) {
        why = "a " + piece.key + " piece has no \"" + std::string(key) + "\"";
        return false;
    }
    object->members[std::string(key)] = value;
    return true;
}

bool clearPieceValue(JsonValue& mission, const MissionPiece& piece, std::string_view key,
                     std::string& why) {
    JsonValue* object = pieceIn(mission, piece, why);
    if (object == nullptr) return false;
    if (kindFormat(piece.key)->shape->find(key) == nullptr) {
        why = "a " + piece.key + " piece has no \"" + std::string(key) + "\"";
        return false;
    }
    object->members.erase(std::string(key));
    return true;
}

bool addWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at, double x, double y,
                 std::string& why) {
    JsonValue* route = routeOf(mission, piece, why);
    if (route == nullptr) return false;
    at = std::min(at, route->items.size());
    route->items.insert(route->items.begin() + static_cast<std::ptrdiff_t>(at), point(x, y));
    return true;
}

bool moveWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at, double x, double y,
                  std::string& why) {
    JsonValue* route = routeWithWaypoint(mission, piece, at, why);
    if (route == nullptr) return false;
    route->items[at] = point(x, y);
    return true;
}

bool deleteWaypoint(JsonValue& mission, const MissionPiece& piece, std::size_t at,
                    std::string& why) {
    JsonValue* route = routeWithWaypoint(mission, piece, at, why);
    if (route == nullptr) return false;
    route->items.erase(route->items.begin() + static_cast<std::ptrdiff_t>(at));
    // An empty route is no route: the key goes, so the file says what it means.
    if (route->items.empty()) pieceIn(mission, piece, why)->members.erase(routeKey(piece));
    return true;
}

const JsonValue* pieceValue(const JsonValue& mission, const MissionPiece& piece) {
    std::string ignored;
    return pieceIn(mission, piece, ignored);
}

bool pastePiece(JsonValue& mission, const MissionPiece& copiedFrom, const JsonValue& copied,
                double dx, double dy, MissionPiece& placed, std::string& why) {
    if (copiedFrom.index == kSinglePiece || copied.type != JsonType::Object) {
        why = "only a list's piece can be pasted";
        return false;
    }
    if (!placePiece(mission, copiedFrom.key, 0.0, 0.0, placed, why)) return false;
    JsonValue& pasted = mission.members[placed.key].items[placed.index];
    pasted = copied;
    return movePiece(mission, placed, dx, dy, why);
}

double snapToGrid(double value, double grid) {
    if (!(grid > 0.0)) return value;
    return std::round(value / grid) * grid;
}

MissionEditor::MissionEditor(JsonValue mission)
    : mission_(std::move(mission)), errors_(checkerErrors(mission_)) {}

std::string MissionEditor::text() const {
    return formatMissionText(mission_);
}

bool MissionEditor::apply(const MissionEdit& edit, std::string& why) {
    JsonValue changed = mission_;
    if (!edit(changed, why)) return false;
    std::vector<std::string> errors = checkerErrors(changed);
    for (const std::string& error : errors) {
        if (std::find(errors_.begin(), errors_.end(), error) == errors_.end()) {
            why = error;
            return false;
        }
    }
    undo_.push_back(std::move(mission_));
    if (undo_.size() > kUndoDepth) undo_.erase(undo_.begin());
    redo_.clear();
    mission_ = std::move(changed);
    errors_ = std::move(errors);
    // Past an undo behind the save, the saved mission cannot come back by redoing.
    editsSinceSave_ = editsSinceSave_ < 0 ? INT64_MAX / 2 : editsSinceSave_ + 1;
    return true;
}

bool MissionEditor::undo() {
    if (!step(undo_, redo_)) return false;
    --editsSinceSave_;
    return true;
}

bool MissionEditor::redo() {
    if (!step(redo_, undo_)) return false;
    ++editsSinceSave_;
    return true;
}

bool MissionEditor::step(std::vector<JsonValue>& from, std::vector<JsonValue>& to) {
    if (from.empty()) return false;
    to.push_back(std::move(mission_));
    mission_ = std::move(from.back());
    from.pop_back();
    errors_ = checkerErrors(mission_);
    return true;
}

}  // namespace nj
