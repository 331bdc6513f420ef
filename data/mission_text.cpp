// Writing a mission's text.
#include "data/mission_text.hpp"

#include <charconv>
#include <cmath>

#include "data/json_writer.hpp"
#include "data/mission_format.hpp"

namespace nj {
namespace {

std::string numberText(double value) {
    if (!std::isfinite(value)) return "0";  // JSON has no such numbers; never a file we read
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void writeInline(std::string& out, const JsonValue& value, const MissionObjectFormat* shape);

// An object's members: the format's keys in its order, then any others.
template <typename Each>
void forEachMember(const JsonValue& object, const MissionObjectFormat* shape, Each each) {
    if (shape != nullptr) {
        for (const MissionKeyFormat& k : shape->keys) {
            const auto found = object.members.find(std::string(k.key));
            if (found != object.members.end()) each(found->first, found->second, k.shape);
        }
    }
    for (const auto& [key, value] : object.members) {
        if (shape == nullptr || shape->find(key) == nullptr) each(key, value, nullptr);
    }
}

void writeInlineObject(std::string& out, const JsonValue& object,
                       const MissionObjectFormat* shape) {
    if (object.members.empty()) {
        out += "{}";
        return;
    }
    out += "{ ";
    bool first = true;
    forEachMember(object, shape,
                  [&](const std::string& key, const JsonValue& v, const MissionObjectFormat* s) {
                      if (!first) out += ", ";
                      first = false;
                      out += '"' + escapeJsonText(key) + "\": ";
                      writeInline(out, v, s);
                  });
    out += " }";
}

void writeInline(std::string& out, const JsonValue& value, const MissionObjectFormat* shape) {
    switch (value.type) {
        case JsonType::Null:
            out += "null";
            return;
        case JsonType::Bool:
            out += value.boolean ? "true" : "false";
            return;
        case JsonType::Number:
            out += numberText(value.number);
            return;
        case JsonType::String:
            out += '"' + escapeJsonText(value.text) + '"';
            return;
        case JsonType::Array:
            out += '[';
            for (std::size_t i = 0; i < value.items.size(); ++i) {
                if (i > 0) out += ", ";
                writeInline(out, value.items[i], shape);
            }
            out += ']';
            return;
        case JsonType::Object:
            writeInlineObject(out, value, shape);
            return;
    }
}

// A top-level list: one element a line.
void writeList(std::string& out, const JsonValue& list, const MissionObjectFormat* shape) {
    if (list.items.empty()) {
        out += "[]";
        return;
    }
    out += "[\n";
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        out += "    ";
        writeInline(out, list.items[i], shape);
        out += i + 1 < list.items.size() ? ",\n" : "\n";
    }
    out += "  ]";
}

}  // namespace

std::string formatMissionText(const JsonValue& mission) {
    if (mission.type != JsonType::Object) {
        std::string out;
        writeInline(out, mission, nullptr);
        return out + "\n";
    }
    std::string out = "{\n";
    bool first = true;
    forEachMember(mission, &missionFormat(),
                  [&](const std::string& key, const JsonValue& v, const MissionObjectFormat* s) {
                      if (!first) out += ",\n";
                      first = false;
                      out += "  \"" + escapeJsonText(key) + "\": ";
                      if (v.type == JsonType::Array) {
                          writeList(out, v, s);
                      } else {
                          writeInline(out, v, s);
                      }
                  });
    return out + "\n}\n";
}

}  // namespace nj
