// Recursive-descent JSON reader with the game's historical leniencies: bare
// words starting with t/f are booleans, anything starting with n is null,
// unknown escapes vanish, \u escapes become '?', and numbers take the longest
// convertible prefix of their token.
#include "data/json.hpp"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace nj {
namespace {

const JsonValue kNullValue{};
const JsonValue kMissingElement{};

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// Locale-independent decimal conversion with the text-to-double errors the
// format has always reported.
double convertDecimal(const std::string& token) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const char* begin = token.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = strtod_l(begin, &end, cLocale);
    if (end == begin) throw std::invalid_argument("invalid stod argument");
    if (errno == ERANGE) throw std::out_of_range("stod argument out of range");
    return value;
}

class JsonParser {
  public:
    explicit JsonParser(const std::string& text) : text_(text) {}

    JsonValue parseValue(int depth) {
        skipSpace();
        const char c = peek();
        if (c == '{') return parseObject(depth + 1);
        if (c == '[') return parseArray(depth + 1);
        if (c == '"') return stringValue(parseString());
        if (c == '-' || (c >= '0' && c <= '9')) return parseNumber();
        if (c == 't' || c == 'f') return parseWord();
        if (c == 'n') {
            // Historically "null" is taken on trust: four bytes are skipped
            // unread. Never step past the end of the text, though.
            pos_ = std::min(pos_ + 4, text_.size());
            return JsonValue{};
        }
        throw std::runtime_error(std::string("Unexpected character in JSON: '") + c + "'");
    }

  private:
    const std::string& text_;
    std::size_t pos_ = 0;

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void skipSpace() {
        while (!atEnd() && isJsonSpace(text_[pos_])) ++pos_;
    }
    static JsonValue stringValue(std::string s) {
        JsonValue v;
        v.type = JsonType::String;
        v.text = std::move(s);
        return v;
    }
    static void checkDepth(int depth) {
        if (depth > kJsonMaxDepth) throw std::runtime_error("JSON nesting too deep");
    }

    JsonValue parseWord() {
        const std::size_t start = pos_;
        while (!atEnd() && isAsciiAlpha(text_[pos_])) ++pos_;
        JsonValue v;
        v.type = JsonType::Bool;
        v.boolean = text_.compare(start, pos_ - start, "true") == 0;
        return v;
    }

    JsonValue parseNumber() {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        while (!atEnd() && isNumberByte(text_[pos_])) ++pos_;
        JsonValue v;
        v.type = JsonType::Number;
        v.number = convertDecimal(text_.substr(start, pos_ - start));
        return v;
    }

    std::string parseString() {
        skipSpace();
        if (atEnd() || text_[pos_] != '"') throw std::runtime_error("Expected '\"'");
        ++pos_;
        std::string out;
        while (!atEnd()) {
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\' || atEnd()) {
                out.push_back(c);
                continue;
            }
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                    out.push_back('"');
                    break;
                case '\\':
                    out.push_back('\\');
                    break;
                case '/':
                    out.push_back('/');
                    break;
                case 'b':
                    out.push_back('\b');
                    break;
                case 'f':
                    out.push_back('\f');
                    break;
                case 'n':
                    out.push_back('\n');
                    break;
                case 'r':
                    out.push_back('\r');
                    break;
                case 't':
                    out.push_back('\t');
                    break;
                case 'u':
                    // No code-point decoding: the four hex digits become one '?'.
                    if (text_.size() - pos_ >= 4) {
                        pos_ += 4;
                        out.push_back('?');
                    }
                    break;
                default:
                    break;  // unknown escapes are dropped
            }
        }
        throw std::runtime_error("Unterminated string");
    }

    JsonValue parseArray(int depth) {
        checkDepth(depth);
        skipSpace();
        if (atEnd() || text_[pos_] != '[') throw std::runtime_error("Expected '['");
        ++pos_;
        JsonValue v;
        v.type = JsonType::Array;
        skipSpace();
        if (peek() == ']') {
            ++pos_;
            return v;
        }
        for (;;) {
            v.items.push_back(parseValue(depth));
            skipSpace();
            const char c = atEnd() ? '\0' : text_[pos_];
            if (c == ']') {
                ++pos_;
                return v;
            }
            if (c != ',') throw std::runtime_error("Expected ',' or ']' in array");
            ++pos_;
        }
    }

    JsonValue parseObject(int depth) {
        checkDepth(depth);
        skipSpace();
        const char open = atEnd() ? '\0' : text_[pos_++];
        if (open != '{') throw std::runtime_error("Expected '{'");
        JsonValue v;
        v.type = JsonType::Object;
        skipSpace();
        if (peek() == '}') {
            ++pos_;
            return v;
        }
        for (;;) {
            std::string key = parseString();
            skipSpace();
            const char colon = atEnd() ? '\0' : text_[pos_++];
            if (colon != ':') throw std::runtime_error("Expected ':' after key");
            v.members.insert_or_assign(std::move(key), parseValue(depth));
            skipSpace();
            const char c = atEnd() ? '\0' : text_[pos_];
            if (c == '}') {
                ++pos_;
                return v;
            }
            if (c != ',') throw std::runtime_error("Expected ',' or '}' in object");
            ++pos_;
        }
    }
};

}  // namespace

bool JsonValue::has(const std::string& key) const {
    return type == JsonType::Object && members.find(key) != members.end();
}

const JsonValue& JsonValue::at(const std::string& key) const {
    if (type != JsonType::Object) return kNullValue;
    const auto it = members.find(key);
    return it == members.end() ? kNullValue : it->second;
}

const JsonValue& JsonValue::at(std::size_t index) const {
    if (type != JsonType::Array || index >= items.size()) return kMissingElement;
    return items[index];
}

std::size_t JsonValue::size() const {
    if (type == JsonType::Array) return items.size();
    if (type == JsonType::Object) return members.size();
    return 0;
}

bool JsonValue::getBool(const std::string& key, bool fallback) const {
    const JsonValue& v = at(key);
    return v.type == JsonType::Bool ? v.boolean : fallback;
}

float JsonValue::getNumber(const std::string& key, float fallback) const {
    const JsonValue& v = at(key);
    if (v.type != JsonType::Number) return fallback;
    // Beyond float's range the value saturates to infinity instead of being
    // an undefined conversion.
    if (v.number > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    if (v.number < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v.number);
}

std::string JsonValue::getString(const std::string& key, const std::string& fallback) const {
    const JsonValue& v = at(key);
    return v.type == JsonType::String ? v.text : fallback;
}

JsonValue parseJson(const std::string& text) {
    return JsonParser(text).parseValue(0);
}

}  // namespace nj
