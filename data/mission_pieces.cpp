// The mission's pieces as the editor's screen sees them.
#include "data/mission_pieces.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "data/mission_format.hpp"

namespace nj {
namespace {

// Half the side of the square that stands for a piece that is only a point:
// as wide as the operative, so a spawn is as easy to pick as it is to see.
constexpr double kPointHalf = 12.0;
constexpr std::size_t kLongestText = 200;

struct KindName {
    std::string_view kind, label;
};
constexpr std::array<KindName, 18> kKindNames = {{
    {"player", "SPAWN: DISGUISE / UPLINK"},
    {"serviceSpawn", "SPAWN: SERVICE"},
    {"backstageSpawn", "SPAWN: VIP"},
    {"card", "CIPHER CARD"},
    {"gate", "VAULT GATE"},
    {"terminal", "SAFE"},
    {"exit", "EXIT"},
    {"altExit", "ALT EXIT"},
    {"optionalIntel", "INTEL"},
    {"dynamicObjective", "DIRECTIVE"},
    {"walls", "WALL"},
    {"furniture", "FURNITURE"},
    {"lasers", "LASER"},
    {"cameras", "CAMERA"},
    {"pressures", "PLATE"},
    {"doors", "DOOR"},
    {"keycards", "KEYCARD"},
    {"guards", "GUARD"},
}};

double numberAt(const JsonValue& object, const char* key, double fallback) {
    const JsonValue& v = object.at(key);
    return v.type == JsonType::Number && std::isfinite(v.number) ? v.number : fallback;
}

bool hasKey(const MissionObjectFormat& shape, std::string_view key) {
    return shape.find(key) != nullptr;
}

std::string numberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string valueText(const JsonValue& value, std::string_view fallback) {
    switch (value.type) {
        case JsonType::Number:
            return numberText(value.number);
        case JsonType::String:
            return value.text;
        case JsonType::Bool:
            return value.boolean ? "true" : "false";
        default:
            return std::string(fallback);
    }
}

// What an absent key's field shows: the game's own value where the guide's
// "when absent" is one ("0", "cyan", "true"), else nothing, since the rest
// ("by index and theme", "none") describe what the game does and would be
// written into the file as text if sent back.
std::string absentValue(const MissionKeyFormat& k) {
    const std::string fallback(k.fallback);
    switch (k.kind) {
        case MissionValueKind::Number: {
            double ignored = 0.0;
            const auto [end, error] =
                std::from_chars(fallback.data(), fallback.data() + fallback.size(), ignored);
            return error == std::errc() && end == fallback.data() + fallback.size() ? fallback : "";
        }
        case MissionValueKind::Bool:
            return fallback == "true" || fallback == "false" ? fallback : "";
        case MissionValueKind::String:
            return std::find(k.allowed.begin(), k.allowed.end(), k.fallback) != k.allowed.end()
                       ? fallback
                       : "";
        default:
            return "";
    }
}

PieceField fieldOf(const MissionKeyFormat& k, const JsonValue& object) {
    PieceField field;
    field.name = std::string(k.key);
    const JsonValue& value = object.at(std::string(k.key));
    field.value = valueText(value, absentValue(k));
    switch (k.kind) {
        case MissionValueKind::Number:
            field.kind = FieldKind::Number;
            field.min = k.min;
            field.max = k.max;
            break;
        case MissionValueKind::String:
            field.kind = k.allowed.empty() ? FieldKind::Text : FieldKind::Choice;
            for (const std::string_view choice : k.allowed) field.choices.emplace_back(choice);
            break;
        case MissionValueKind::Bool:
            field.kind = FieldKind::Choice;
            field.choices = {"true", "false"};
            break;
        default:
            field.kind = FieldKind::Info;
            field.value = std::to_string(value.type == JsonType::Array ? value.items.size() : 0) +
                          " waypoints";
            break;
    }
    return field;
}

const MissionKeyFormat* fieldFormat(const MissionPiece& piece, std::string_view field) {
    if (piece.key.empty()) return missionFormat().find(field);
    const MissionKeyFormat* kind = kindFormat(piece.key);
    return kind == nullptr ? nullptr : kind->shape->find(field);
}

}  // namespace

std::vector<MissionPiece> missionPieces(const JsonValue& mission) {
    std::vector<MissionPiece> pieces;
    if (mission.type != JsonType::Object) return pieces;
    for (const std::string& kind : placeableKinds()) {
        const JsonValue& value = mission.at(kind);
        if (kindFormat(kind)->kind == MissionValueKind::List) {
            if (value.type != JsonType::Array) continue;
            for (std::size_t i = 0; i < value.items.size(); ++i) {
                if (value.items[i].type == JsonType::Object) pieces.push_back({kind, i});
            }
        } else if (value.type == JsonType::Object) {
            pieces.push_back({kind, kSinglePiece});
        }
    }
    return pieces;
}

std::string kindLabel(std::string_view kind) {
    for (const KindName& name : kKindNames) {
        if (name.kind == kind) return std::string(name.label);
    }
    return std::string(kind);
}

std::string pieceLabel(const MissionPiece& piece) {
    if (piece.key.empty()) return "MISSION";
    const std::string label = kindLabel(piece.key);
    return piece.index == kSinglePiece ? label : label + " " + std::to_string(piece.index + 1);
}

bool PieceBox::contains(double px, double py) const {
    return px >= x && px <= x + w && py >= y && py <= y + h;
}

bool PieceBox::overlaps(const PieceBox& other) const {
    return x <= other.x + other.w && other.x <= x + w && y <= other.y + other.h && other.y <= y + h;
}

std::optional<PieceBox> pieceBox(const JsonValue& mission, const MissionPiece& piece) {
    const JsonValue* object = pieceValue(mission, piece);
    const MissionKeyFormat* format = kindFormat(piece.key);
    if (object == nullptr || format == nullptr) return std::nullopt;
    const MissionObjectFormat& shape = *format->shape;
    const double x = numberAt(*object, "x", 0.0), y = numberAt(*object, "y", 0.0);
    PieceBox box;
    if (hasKey(shape, "w") && hasKey(shape, "h")) {
        const double w = std::max(numberAt(*object, "w", 0.0), 0.0);
        const double h = std::max(numberAt(*object, "h", 0.0), 0.0);
        // Furniture stands on its centre; every other box on its top-left corner.
        const bool centred = piece.key == "furniture";
        box = {centred ? x - w / 2 : x, centred ? y - h / 2 : y, w, h, false, true};
    } else if (hasKey(shape, "r")) {
        const double fallback =
            std::strtod(std::string(shape.find("r")->fallback).c_str(), nullptr);
        const double r = std::max(numberAt(*object, "r", fallback), 1.0);
        box = {x - r, y - r, 2 * r, 2 * r, true, true};
    } else {
        box = {x - kPointHalf, y - kPointHalf, 2 * kPointHalf, 2 * kPointHalf, false, false};
    }
    return box;
}

std::optional<MissionPiece> pieceAt(const JsonValue& mission, double x, double y) {
    std::optional<MissionPiece> best;
    double bestArea = 0.0;
    for (const MissionPiece& piece : missionPieces(mission)) {
        const std::optional<PieceBox> box = pieceBox(mission, piece);
        if (!box || !box->contains(x, y)) continue;
        const double area = box->w * box->h;
        if (!best || area < bestArea) {
            best = piece;
            bestArea = area;
        }
    }
    return best;
}

std::vector<MissionPiece> piecesWithin(const JsonValue& mission, const PieceBox& area) {
    std::vector<MissionPiece> found;
    for (const MissionPiece& piece : missionPieces(mission)) {
        const std::optional<PieceBox> box = pieceBox(mission, piece);
        if (box && box->overlaps(area)) found.push_back(piece);
    }
    return found;
}

bool pieceHasRoute(const MissionPiece& piece) {
    return !routeKey(piece).empty();
}

std::vector<RoutePoint> pieceRoute(const JsonValue& mission, const MissionPiece& piece) {
    std::vector<RoutePoint> route;
    const JsonValue* object = pieceValue(mission, piece);
    const std::string key = routeKey(piece);
    if (object == nullptr || key.empty()) return route;
    for (const JsonValue& p : object->at(key).items) {
        if (p.type == JsonType::Object)
            route.push_back({numberAt(p, "x", 0.0), numberAt(p, "y", 0.0)});
    }
    return route;
}

std::vector<PieceField> pieceFields(const JsonValue& mission, const MissionPiece& piece) {
    std::vector<PieceField> fields;
    if (piece.key.empty()) {
        // The mission's own words: what the dossier shows of it.
        for (const MissionKeyFormat& k : missionFormat().keys) {
            if (k.kind == MissionValueKind::String) fields.push_back(fieldOf(k, mission));
        }
        return fields;
    }
    const JsonValue* object = pieceValue(mission, piece);
    const MissionKeyFormat* format = kindFormat(piece.key);
    if (object == nullptr || format == nullptr) return fields;
    for (const MissionKeyFormat& k : format->shape->keys) fields.push_back(fieldOf(k, *object));
    return fields;
}

bool fieldValueFromText(const MissionPiece& piece, std::string_view field, std::string_view text,
                        JsonValue& value, std::string& why) {
    const MissionKeyFormat* format = fieldFormat(piece, field);
    if (format == nullptr) {
        why = pieceLabel(piece) + " has no \"" + std::string(field) + "\"";
        return false;
    }
    const std::string name(field);
    value = JsonValue{};
    switch (format->kind) {
        case MissionValueKind::Number: {
            while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
            while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
            double number = 0.0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), number);
            if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                !std::isfinite(number)) {
                why = name + ": \"" + std::string(text.substr(0, 40)) + "\" is not a number";
                return false;
            }
            value.type = JsonType::Number;
            value.number = number;
            return true;
        }
        case MissionValueKind::Bool:
            if (text != "true" && text != "false") {
                why = name + ": true or false";
                return false;
            }
            value.type = JsonType::Bool;
            value.boolean = text == "true";
            return true;
        case MissionValueKind::String:
            if (text.size() > kLongestText) {
                why = name + ": at most " + std::to_string(kLongestText) + " characters";
                return false;
            }
            value.type = JsonType::String;
            value.text = std::string(text);
            return true;
        default:
            why = name + " is edited on the field";
            return false;
    }
}

bool setFieldValue(JsonValue& mission, const MissionPiece& piece, std::string_view field,
                   const JsonValue& value, std::string& why) {
    // A text emptied leaves the key out: the game decides, as the guide says.
    const bool emptied = value.type == JsonType::String && value.text.empty();
    if (!piece.key.empty()) {
        return emptied ? clearPieceValue(mission, piece, field, why)
                       : setPieceValue(mission, piece, field, value, why);
    }
    const MissionKeyFormat* format = missionFormat().find(field);
    if (format == nullptr || format->kind != MissionValueKind::String ||
        mission.type != JsonType::Object) {
        why = "the mission has no \"" + std::string(field) + "\" to type";
        return false;
    }
    if (emptied) {
        mission.members.erase(std::string(field));
    } else {
        mission.members[std::string(field)] = value;
    }
    return true;
}

std::optional<MissionPiece> pieceOfPath(std::string_view path) {
    const std::size_t end = path.find_first_of(".[");
    const std::string key(path.substr(0, end));
    const MissionKeyFormat* format = kindFormat(key);
    if (format == nullptr) return std::nullopt;
    if (format->kind != MissionValueKind::List) return MissionPiece{key, kSinglePiece};
    if (end == std::string_view::npos || path[end] != '[') return std::nullopt;
    std::size_t index = 0;
    const char* first = path.data() + end + 1;
    const auto [stop, error] = std::from_chars(first, path.data() + path.size(), index);
    if (error != std::errc() || stop == first || stop == path.data() + path.size() || *stop != ']')
        return std::nullopt;
    return MissionPiece{key, index};
}

}  // namespace nj
