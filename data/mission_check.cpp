// The mission file checker's text half: walks the file against the format
// table, then looks at where things lie on the field.
#include "data/mission_check.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/mission_format.hpp"

namespace nj {
namespace {

// The operative's radius: a spawn closer than this to a wall starts inside it.
constexpr double kOperativeRadius = 12.0;
// A did-you-mean suggestion is offered within this many single-letter edits.
constexpr std::size_t kNearMissEdits = 2;

struct Box {
    double x = 0.0, y = 0.0, w = 0.0, h = 0.0;
};

std::string typeName(JsonType type) {
    switch (type) {
        case JsonType::Null:
            return "null";
        case JsonType::Bool:
            return "true or false";
        case JsonType::Number:
            return "a number";
        case JsonType::String:
            return "a string";
        case JsonType::Array:
            return "a list";
        case JsonType::Object:
            return "an object";
    }
    return "something else";
}

std::string kindName(MissionValueKind kind) {
    switch (kind) {
        case MissionValueKind::Number:
            return "a number";
        case MissionValueKind::String:
            return "a string";
        case MissionValueKind::Bool:
            return "true or false";
        case MissionValueKind::Object:
            return "an object";
        case MissionValueKind::List:
            return "a list";
    }
    return "something else";
}

JsonType jsonTypeOf(MissionValueKind kind) {
    switch (kind) {
        case MissionValueKind::Number:
            return JsonType::Number;
        case MissionValueKind::String:
            return JsonType::String;
        case MissionValueKind::Bool:
            return JsonType::Bool;
        case MissionValueKind::Object:
            return JsonType::Object;
        case MissionValueKind::List:
            return JsonType::Array;
    }
    return JsonType::Null;
}

// Shortest number text that reads back the same, for messages.
std::string numberText(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The known spelling closest to `word`, or "" when none is near: within two
// edits, or one that starts with the other ("sabotage" for "sabotage_node").
template <typename Names>
std::string nearMiss(std::string_view word, const Names& names) {
    std::string best;
    std::size_t bestDistance = kNearMissEdits + 1;
    for (const auto& candidate : names) {
        const std::string_view name(candidate);
        std::size_t d = editDistance(word, name);
        if (word.size() >= 3 && (name.rfind(word, 0) == 0 || word.rfind(name, 0) == 0))
            d = std::min(d, kNearMissEdits);
        if (d < bestDistance) {
            bestDistance = d;
            best = std::string(name);
        }
    }
    return best;
}

std::string didYouMean(const std::string& suggestion) {
    return suggestion.empty() ? "" : " (did you mean \"" + suggestion + "\"?)";
}

std::vector<std::string_view> keyNames(const MissionObjectFormat& shape) {
    std::vector<std::string_view> names;
    for (const MissionKeyFormat& k : shape.keys) names.push_back(k.key);
    return names;
}

class TextChecker {
  public:
    explicit TextChecker(std::vector<MissionDiagnostic>& out) : out_(out) {}

    void checkObject(const LocatedJson& node, const MissionObjectFormat& shape,
                     const std::string& path) {
        for (const LocatedJson& member : node.items) {
            const std::string memberPath = path.empty() ? member.key : path + "." + member.key;
            const MissionKeyFormat* format = shape.find(member.key);
            if (format == nullptr) {
                error(member.keyAt, memberPath,
                      "unknown key" + didYouMean(nearMiss(member.key, keyNames(shape))));
                continue;
            }
            checkValue(member, *format, memberPath);
        }
    }

    void error(JsonPosition at, const std::string& path, std::string message) {
        out_.push_back({MissionSeverity::Error, at, path, std::move(message)});
    }
    void warning(JsonPosition at, const std::string& path, std::string message) {
        out_.push_back({MissionSeverity::Warning, at, path, std::move(message)});
    }

  private:
    std::vector<MissionDiagnostic>& out_;

    void checkValue(const LocatedJson& v, const MissionKeyFormat& format, const std::string& path) {
        if (v.type != jsonTypeOf(format.kind)) {
            error(v.at, path, "expected " + kindName(format.kind) + ", got " + typeName(v.type));
            return;
        }
        switch (format.kind) {
            case MissionValueKind::Number:
                checkNumber(v, format, path);
                break;
            case MissionValueKind::String:
                checkAllowed(v, format, path);
                break;
            case MissionValueKind::Object:
                checkObject(v, *format.shape, path);
                break;
            case MissionValueKind::List:
                checkList(v, format, path);
                break;
            case MissionValueKind::Bool:
                break;
        }
    }

    void checkNumber(const LocatedJson& v, const MissionKeyFormat& format,
                     const std::string& path) {
        // The game keeps numbers as floats: past float's range they turn
        // into infinities that no rule can use.
        if (!std::isfinite(v.number) || std::fabs(v.number) > std::numeric_limits<float>::max()) {
            error(v.at, path, "the number is too large for the game to use");
            return;
        }
        const bool below = format.minExclusive ? v.number <= format.min : v.number < format.min;
        if (below && format.minExclusive && format.min == 0.0) {
            error(v.at, path, "must be more than 0, got " + numberText(v.number));
        } else if (below || v.number > format.max) {
            error(v.at, path,
                  numberText(v.number) + " is outside " + numberText(format.min) + " to " +
                      numberText(format.max));
        }
    }

    void checkAllowed(const LocatedJson& v, const MissionKeyFormat& format,
                      const std::string& path) {
        if (format.allowed.empty()) return;
        if (std::find(format.allowed.begin(), format.allowed.end(), v.text) != format.allowed.end())
            return;
        error(v.at, path,
              "\"" + v.text + "\" is not one of " + listAllowed(format.allowed) +
                  didYouMean(nearMiss(v.text, format.allowed)));
    }

    void checkList(const LocatedJson& v, const MissionKeyFormat& format, const std::string& path) {
        if (v.items.size() > format.cap) {
            error(v.at, path,
                  std::to_string(v.items.size()) + " entries; the game takes at most " +
                      std::to_string(format.cap));
        }
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            const LocatedJson& item = v.items[i];
            const std::string itemPath = path + "[" + std::to_string(i) + "]";
            if (item.type != JsonType::Object) {
                error(item.at, itemPath, "expected an object, got " + typeName(item.type));
                continue;
            }
            checkObject(item, *format.shape, itemPath);
        }
    }
};

// The game's own reading of a number member: the value when it is a number,
// otherwise the fallback.
double numberOr(const LocatedJson* object, const char* key, double fallback) {
    const LocatedJson* v = object == nullptr ? nullptr : object->member(key);
    return v != nullptr && v->type == JsonType::Number ? v->number : fallback;
}

Box boxOf(const LocatedJson& o) {
    return {numberOr(&o, "x", 0.0), numberOr(&o, "y", 0.0), numberOr(&o, "w", 0.0),
            numberOr(&o, "h", 0.0)};
}

Box furnitureBox(const LocatedJson& o) {
    const double w = numberOr(&o, "w", 60.0), h = numberOr(&o, "h", 36.0);
    return {numberOr(&o, "x", 0.0) - w / 2, numberOr(&o, "y", 0.0) - h / 2, w, h};
}

bool circleTouchesBox(double cx, double cy, double r, const Box& b) {
    const double nx = std::clamp(cx, b.x, b.x + b.w);
    const double ny = std::clamp(cy, b.y, b.y + b.h);
    return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) < r * r;
}

bool boxesOverlap(const Box& a, const Box& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

const std::vector<LocatedJson>& listOf(const LocatedJson& root, const char* key) {
    static const std::vector<LocatedJson> kNone;
    const LocatedJson* v = root.member(key);
    return v != nullptr && v->type == JsonType::Array ? v->items : kNone;
}

struct Obstacle {
    Box box;
    std::string path;
};

std::vector<Obstacle> obstaclesOf(const LocatedJson& root) {
    std::vector<Obstacle> obstacles;
    const auto& walls = listOf(root, "walls");
    for (std::size_t i = 0; i < walls.size(); ++i)
        obstacles.push_back({boxOf(walls[i]), "walls[" + std::to_string(i) + "]"});
    const auto& furniture = listOf(root, "furniture");
    for (std::size_t i = 0; i < furniture.size(); ++i)
        obstacles.push_back({furnitureBox(furniture[i]), "furniture[" + std::to_string(i) + "]"});
    return obstacles;
}

class FieldChecker {
  public:
    FieldChecker(const LocatedJson& root, TextChecker& report)
        : root_(root), report_(report), obstacles_(obstaclesOf(root)) {}

    void run() {
        for (const char* list : {"walls", "pressures", "doors", "lasers"}) {
            const auto& items = listOf(root_, list);
            for (std::size_t i = 0; i < items.size(); ++i)
                boxInField(items[i], boxOf(items[i]), list + ("[" + std::to_string(i) + "]"));
        }
        const auto& furniture = listOf(root_, "furniture");
        for (std::size_t i = 0; i < furniture.size(); ++i)
            boxInField(furniture[i], furnitureBox(furniture[i]),
                       "furniture[" + std::to_string(i) + "]");
        for (const char* key : {"gate", "exit", "altExit"})
            if (const LocatedJson* v = root_.member(key); v != nullptr)
                boxInField(*v, boxOf(*v), key);

        pickupClear("card", 12.0);
        pickupClear("terminal", 18.0);
        pickupClear("optionalIntel", 14.0);
        pickupClear("dynamicObjective", 15.0);
        const auto& keycards = listOf(root_, "keycards");
        for (std::size_t i = 0; i < keycards.size(); ++i)
            circleClear(keycards[i], numberOr(&keycards[i], "r", 11.0),
                        "keycards[" + std::to_string(i) + "]", "lies under");
        if (const LocatedJson* v = root_.member("exit"); v != nullptr) exitClear(*v, "exit");
        if (const LocatedJson* v = root_.member("altExit"); v != nullptr) exitClear(*v, "altExit");
        for (const char* spawn : {"player", "serviceSpawn", "backstageSpawn"})
            if (const LocatedJson* v = root_.member(spawn); v != nullptr)
                circleClear(*v, kOperativeRadius, spawn, "the operative would start inside");
    }

  private:
    const LocatedJson& root_;
    TextChecker& report_;
    std::vector<Obstacle> obstacles_;

    void boxInField(const LocatedJson& node, const Box& b, const std::string& path) {
        if (node.type != JsonType::Object) return;
        if (b.x + b.w > kMissionFieldWidth)
            report_.error(node.at, path,
                          "reaches past the field's right edge (x + w = " + numberText(b.x + b.w) +
                              ", the field is 960 wide)");
        if (b.y + b.h > kMissionFieldHeight)
            report_.error(node.at, path,
                          "reaches past the field's bottom edge (y + h = " + numberText(b.y + b.h) +
                              ", the field is 540 high)");
        // A corner off the field is already out of its range; only a centred
        // piece can reach past the top or left with its centre inside.
        const bool cornerOutside =
            numberOr(&node, "x", 0.0) < 0.0 || numberOr(&node, "y", 0.0) < 0.0;
        if ((b.x < 0.0 || b.y < 0.0) && !cornerOutside)
            report_.error(node.at, path, "reaches past the field's top or left edge");
    }

    void pickupClear(const char* key, double radius) {
        const LocatedJson* v = root_.member(key);
        if (v != nullptr && v->type == JsonType::Object)
            circleClear(*v, numberOr(v, "r", radius), key, "lies under");
    }

    void circleClear(const LocatedJson& node, double radius, const std::string& path,
                     const std::string& what) {
        if (node.type != JsonType::Object) return;
        const double x = numberOr(&node, "x", 0.0), y = numberOr(&node, "y", 0.0);
        for (const Obstacle& o : obstacles_) {
            if (circleTouchesBox(x, y, radius, o.box)) {
                report_.error(node.at, path, what + " " + o.path);
                return;
            }
        }
    }

    void exitClear(const LocatedJson& node, const std::string& path) {
        if (node.type != JsonType::Object) return;
        const Box b = boxOf(node);
        for (const Obstacle& o : obstacles_) {
            // An exit may touch a wall along its edge, but not sit under one.
            const Box inner{b.x + 1.0, b.y + 1.0, b.w - 2.0, b.h - 2.0};
            if (boxesOverlap(inner, o.box)) {
                report_.error(node.at, path, "lies under " + o.path);
                return;
            }
        }
    }
};

void checkMissingPieces(const LocatedJson& root, TextChecker& report) {
    struct Piece {
        const char* key;
        const char* fallback;
    };
    // Without these the game puts the built-in mission's pieces, which were
    // not placed for this map.
    static const Piece kBuiltIn[] = {{"card", "cipher card at 495, 195"},
                                     {"gate", "vault gate at 660, 355, 24 x 140"},
                                     {"terminal", "safe terminal at 780, 205"},
                                     {"exit", "getaway car at 930, 420, which runs off the field"}};
    for (const Piece& p : kBuiltIn) {
        if (root.member(p.key) == nullptr)
            report.warning(
                root.at, p.key,
                std::string("missing: the game puts the built-in mission's ") + p.fallback);
    }
    static const Piece kSpawns[] = {
        {"player", "60, 460"}, {"serviceSpawn", "64, 95"}, {"backstageSpawn", "240, 485"}};
    for (const Piece& p : kSpawns) {
        if (root.member(p.key) == nullptr)
            report.warning(root.at, p.key,
                           std::string("missing: the approach starts at ") + p.fallback);
    }
    // Approaches hold cyan (the service corridor) and ruby (VIP backstage);
    // any other colour opens only with a keycard lying somewhere.
    const auto& doors = listOf(root, "doors");
    const auto& keycards = listOf(root, "keycards");
    const auto colorOf = [](const LocatedJson& o) {
        const LocatedJson* c = o.member("color");
        return c != nullptr && c->type == JsonType::String ? c->text : std::string("cyan");
    };
    for (std::size_t i = 0; i < doors.size(); ++i) {
        const std::string color = colorOf(doors[i]);
        const bool card = std::any_of(keycards.begin(), keycards.end(),
                                      [&](const LocatedJson& k) { return colorOf(k) == color; });
        if (card) continue;
        report.warning(doors[i].at, "doors[" + std::to_string(i) + "]",
                       "no " + color + " keycard lies anywhere: " +
                           (color == "cyan" || color == "ruby"
                                ? "only the approach that holds " + color + " opens it"
                                : std::string("it never opens")));
    }
    const auto& guards = listOf(root, "guards");
    for (std::size_t i = 0; i < guards.size(); ++i) {
        const LocatedJson* patrol = guards[i].member("patrol");
        const LocatedJson* axis = guards[i].member("axis");
        const bool walks = (patrol != nullptr && patrol->items.size() >= 2) ||
                           (axis != nullptr && (axis->text == "x" || axis->text == "y"));
        if (!walks)
            report.warning(guards[i].at, "guards[" + std::to_string(i) + "]",
                           "stands still: give it a patrol of two or more points or an axis");
    }
}

}  // namespace

MissionTextCheck checkMissionText(const std::string& text) {
    MissionTextCheck check;
    LocatedDocument doc;
    try {
        doc = parseLocatedJson(text);
    } catch (const JsonSyntaxError& e) {
        check.diagnostics.push_back({MissionSeverity::Error, e.at, "", e.what()});
        return check;
    }
    check.parsed = true;
    for (JsonLeniency& l : doc.leniencies)
        check.diagnostics.push_back({MissionSeverity::Warning, l.at, "", std::move(l.message)});
    check.root = std::move(doc.root);

    TextChecker report(check.diagnostics);
    if (check.root.type != JsonType::Object) {
        report.error(check.root.at, "",
                     "a mission is a JSON object, got " + typeName(check.root.type));
        return check;
    }
    report.checkObject(check.root, missionFormat(), "");
    FieldChecker(check.root, report).run();
    checkMissingPieces(check.root, report);
    return check;
}

std::string formatDiagnostic(const std::string& file, const MissionDiagnostic& d) {
    std::string line =
        file + ":" + std::to_string(d.at.line) + ":" + std::to_string(d.at.column) + ": ";
    if (!d.path.empty()) line += d.path + ": ";
    if (d.severity == MissionSeverity::Warning) line += "warning: ";
    return line + d.message;
}

bool hasErrors(const std::vector<MissionDiagnostic>& diagnostics) {
    return std::any_of(diagnostics.begin(), diagnostics.end(), [](const MissionDiagnostic& d) {
        return d.severity == MissionSeverity::Error;
    });
}

}  // namespace nj
