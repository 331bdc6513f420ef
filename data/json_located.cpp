// The designer's JSON reading: walks the text exactly as data/json.cpp does
// (numbers even go through parseJson itself, so conversions and their errors
// are the game's), remembering where each value starts and noting every
// leniency a strict reader would refuse.
#include "data/json_located.hpp"

#include <algorithm>
#include <exception>

namespace nj {
namespace {

bool isJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool isNumberByte(char c) {
    return isDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isStrictNumber(const std::string& s) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < s.size() && isDigit(s[i])) ++i;
        return i - from;
    };
    if (i < s.size() && s[i] == '-') ++i;
    const std::size_t intStart = i;
    const std::size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && s[intStart] == '0')) return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        if (digits() == 0) return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

class LocatingParser {
  public:
    explicit LocatingParser(const std::string& text) : text_(text) {}

    LocatedDocument parseDocument() {
        LocatedDocument doc;
        doc.root = parseValue(0);
        skipSpace();
        if (!atEnd()) lenient(pos_, "text after the mission; the game ignores it");
        doc.leniencies = std::move(leniencies_);
        return doc;
    }

  private:
    const std::string& text_;
    std::size_t pos_ = 0;
    std::vector<JsonLeniency> leniencies_;
    // Positions are asked for almost always further on, so one cursor walks
    // the text once; going back restarts from the beginning.
    std::size_t cursorPos_ = 0;
    JsonPosition cursor_;

    JsonPosition positionAt(std::size_t pos) {
        pos = std::min(pos, text_.size());
        if (pos < cursorPos_) {
            cursorPos_ = 0;
            cursor_ = JsonPosition{};
        }
        for (; cursorPos_ < pos; ++cursorPos_) {
            const unsigned char c = static_cast<unsigned char>(text_[cursorPos_]);
            if (c == '\n') {
                ++cursor_.line;
                cursor_.column = 1;
            } else if ((c & 0xC0) != 0x80) {
                ++cursor_.column;  // continuation bytes belong to the character before
            }
        }
        return cursor_;
    }

    [[noreturn]] void fail(std::size_t pos, const std::string& message) {
        throw JsonSyntaxError(message, positionAt(pos));
    }
    void lenient(std::size_t pos, std::string message) {
        leniencies_.push_back({positionAt(pos), std::move(message)});
    }

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void skipSpace() {
        while (!atEnd() && isJsonSpace(text_[pos_])) ++pos_;
    }

    LocatedJson parseValue(int depth) {
        skipSpace();
        // Taken before the value's insides, so the cursor only ever walks on.
        const JsonPosition at = positionAt(pos_);
        const char c = peek();
        LocatedJson v;
        if (c == '{') {
            v = parseObject(depth + 1);
        } else if (c == '[') {
            v = parseArray(depth + 1);
        } else if (c == '"') {
            v.type = JsonType::String;
            v.text = parseString();
        } else if (c == '-' || isDigit(c)) {
            v = parseNumber();
        } else if (c == 't' || c == 'f') {
            v = parseWord();
        } else if (c == 'n') {
            const std::size_t end = std::min(pos_ + 4, text_.size());
            if (text_.compare(pos_, end - pos_, "null") != 0)
                lenient(pos_, "'" + text_.substr(pos_, end - pos_) + "' is read as null");
            pos_ = end;
        } else {
            fail(pos_, std::string("Unexpected character in JSON: '") + c + "'");
        }
        v.at = at;
        return v;
    }

    LocatedJson parseWord() {
        const std::size_t start = pos_;
        while (!atEnd() && isAsciiAlpha(text_[pos_])) ++pos_;
        const std::string word = text_.substr(start, pos_ - start);
        LocatedJson v;
        v.type = JsonType::Bool;
        v.boolean = word == "true";
        if (word != "true" && word != "false")
            lenient(start, "'" + word + "' is read as " + (v.boolean ? "true" : "false"));
        return v;
    }

    LocatedJson parseNumber() {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        while (!atEnd() && isNumberByte(text_[pos_])) ++pos_;
        const std::string token = text_.substr(start, pos_ - start);
        LocatedJson v;
        v.type = JsonType::Number;
        try {
            v.number = parseJson(token).number;
        } catch (const std::exception& e) {
            fail(start, e.what());
        }
        if (!isStrictNumber(token)) lenient(start, "the number '" + token + "' is not strict JSON");
        return v;
    }

    void readEscape(std::string& out, std::size_t backslash) {
        const char e = text_[pos_++];
        switch (e) {
            case '"':
            case '\\':
            case '/':
                out.push_back(e);
                return;
            case 'b':
                out.push_back('\b');
                return;
            case 'f':
                out.push_back('\f');
                return;
            case 'n':
                out.push_back('\n');
                return;
            case 'r':
                out.push_back('\r');
                return;
            case 't':
                out.push_back('\t');
                return;
            case 'u':
                if (text_.size() - pos_ < 4) {
                    lenient(backslash, "a \\u escape without its four hex digits");
                    return;
                }
                if (!std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                 text_.begin() + static_cast<std::ptrdiff_t>(pos_ + 4), isHexDigit))
                    lenient(backslash, "'\\u" + text_.substr(pos_, 4) +
                                           "' is not four hex digits; the game does not check");
                else
                    lenient(backslash, "the game shows '\\u" + text_.substr(pos_, 4) + "' as '?'");
                pos_ += 4;
                out.push_back('?');
                return;
            default:
                lenient(backslash, std::string("unknown escape '\\") + e + "'; the game drops it");
                return;
        }
    }

    std::string parseString() {
        skipSpace();
        if (atEnd() || text_[pos_] != '"') fail(pos_, "Expected '\"'");
        const std::size_t open = pos_++;
        std::string out;
        while (!atEnd()) {
            const std::size_t here = pos_;
            const char c = text_[pos_++];
            if (c == '"') return out;
            if (c != '\\' || atEnd()) {
                if (static_cast<unsigned char>(c) < 0x20)
                    lenient(here, "a raw control character in a string; write it as an escape");
                out.push_back(c);
                continue;
            }
            readEscape(out, here);
        }
        fail(open, "Unterminated string");
    }

    void checkDepth(int depth) {
        if (depth > kJsonMaxDepth) fail(pos_, "JSON nesting too deep");
    }

    LocatedJson parseArray(int depth) {
        checkDepth(depth);
        ++pos_;  // '[', seen by parseValue
        LocatedJson v;
        v.type = JsonType::Array;
        skipSpace();
        if (peek() == ']') {
            ++pos_;
            return v;
        }
        for (;;) {
            v.items.push_back(parseValue(depth));
            skipSpace();
            const char c = peek();
            if (c == ']') {
                ++pos_;
                return v;
            }
            if (c != ',') fail(pos_, "Expected ',' or ']' in array");
            ++pos_;
        }
    }

    LocatedJson parseObject(int depth) {
        checkDepth(depth);
        ++pos_;  // '{', seen by parseValue
        LocatedJson v;
        v.type = JsonType::Object;
        skipSpace();
        if (peek() == '}') {
            ++pos_;
            return v;
        }
        for (;;) {
            skipSpace();
            const std::size_t keyStart = pos_;
            const JsonPosition keyAt = positionAt(keyStart);
            std::string key = parseString();
            skipSpace();
            if (peek() != ':') fail(pos_, "Expected ':' after key");
            ++pos_;
            LocatedJson value = parseValue(depth);
            if (v.member(key) != nullptr)
                lenient(keyStart, "\"" + key + "\" is written twice; the game keeps the last");
            value.key = std::move(key);
            value.keyAt = keyAt;
            v.items.push_back(std::move(value));
            skipSpace();
            const char c = peek();
            if (c == '}') {
                ++pos_;
                return v;
            }
            if (c != ',') fail(pos_, "Expected ',' or '}' in object");
            ++pos_;
        }
    }
};

}  // namespace

const LocatedJson* LocatedJson::member(const std::string& name) const {
    if (type != JsonType::Object) return nullptr;
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (it->key == name) return &*it;
    return nullptr;
}

LocatedDocument parseLocatedJson(const std::string& text) {
    return LocatingParser(text).parseDocument();
}

JsonPosition locateJsonPath(const LocatedJson& root, const std::string& path) {
    const LocatedJson* node = &root;
    std::size_t i = 0;
    while (i < path.size()) {
        const LocatedJson* next = nullptr;
        if (path[i] == '[') {
            const std::size_t close = path.find(']', i);
            if (close == std::string::npos) break;
            const std::size_t index = std::stoul(path.substr(i + 1, close - i - 1));
            if (node->type == JsonType::Array && index < node->items.size())
                next = &node->items[index];
            i = close + 1;
        } else {
            if (path[i] == '.') ++i;
            const std::size_t end = std::min(path.find('.', i), path.find('[', i));
            next = node->member(path.substr(i, end - i));
            i = end;
        }
        if (next == nullptr) break;
        node = next;
    }
    return node->at;
}

}  // namespace nj
