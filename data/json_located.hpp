#pragma once
// A second reading of the game's JSON for the level designer's tools: the same
// grammar and leniencies as data/json.hpp, but every value keeps the line and
// column it starts at, and each leniency a strict JSON reader would refuse is
// reported, so a mission that only the game's reader accepts can be spotted.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/json.hpp"

namespace nj {

// 1-based; columns count characters (UTF-8 sequences), a tab as one.
struct JsonPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};

struct LocatedJson {
    JsonType type = JsonType::Null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    JsonPosition at;                 // first character of the value
    std::string key;                 // for an object's member: its key
    JsonPosition keyAt;              // for an object's member: the key's opening quote
    std::vector<LocatedJson> items;  // array elements, or object members in file order

    // The member the game reads for `name`: the last one with that key.
    const LocatedJson* member(const std::string& name) const;
};

// Something the game reads but a strict JSON reader refuses.
struct JsonLeniency {
    JsonPosition at;
    std::string message;
};

struct LocatedDocument {
    LocatedJson root;
    std::vector<JsonLeniency> leniencies;
};

// The game's reader would fail here with exactly what(); `at` says where.
struct JsonSyntaxError : std::runtime_error {
    JsonSyntaxError(const std::string& message, JsonPosition position)
        : std::runtime_error(message), at(position) {}
    JsonPosition at;
};

// Accepts exactly the texts parseJson accepts and fails with its messages.
LocatedDocument parseLocatedJson(const std::string& text);

// Where `path` ("guards[2].x", "" for the root) is written; a path that is not
// in the document resolves to its deepest written ancestor.
JsonPosition locateJsonPath(const LocatedJson& root, const std::string& path);

}  // namespace nj
