#pragma once
// The game's own small JSON reader: campaign files and decoded mission maps.
// It is deliberately lenient in a few places (see json.cpp) because campaign
// files in the wild rely on that; its error texts are part of the contract.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace nj {

enum class JsonType { Null = 0, Bool = 1, Number = 2, String = 3, Array = 4, Object = 5 };

// Deepest nesting of arrays and objects the reader accepts; deeper input fails
// with "JSON nesting too deep" instead of exhausting the stack.
inline constexpr int kJsonMaxDepth = 512;

struct JsonValue {
    JsonType type = JsonType::Null;
    bool boolean = false;                      // only for Bool
    double number = 0.0;                       // only for Number
    std::string text;                          // only for String: raw bytes
    std::vector<JsonValue> items;              // only for Array, document order
    std::map<std::string, JsonValue> members;  // only for Object, byte-wise key order

    bool operator==(const JsonValue&) const = default;
    bool has(const std::string& key) const;
    // Missing members/elements resolve to a shared immutable Null.
    const JsonValue& at(const std::string& key) const;
    const JsonValue& at(std::size_t index) const;
    std::size_t size() const;

    // Typed lookups: a member of another type yields the default, never a conversion.
    bool getBool(const std::string& key, bool fallback) const;
    float getNumber(const std::string& key, float fallback) const;
    std::string getString(const std::string& key, const std::string& fallback) const;
};

// Parses one value from the start of `text`; trailing bytes are ignored.
// Throws std::runtime_error (syntax), std::invalid_argument or
// std::out_of_range (number conversion) with fixed texts.
JsonValue parseJson(const std::string& text);

}  // namespace nj
