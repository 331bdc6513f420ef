// The JSON writer: escaping, number form and the separators between values.
#include "data/json_writer.hpp"

#include <cstdio>

namespace nj {

namespace {

// Backspace and form feed are the one difference between the two forms: the
// page's state script names them (\b \f, as JSON.stringify does), binding
// metadata spells them as \u0008 and \u000c.
void appendEscaped(std::string& out, std::string_view text, bool namedBackspaceAndFormFeed) {
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (byte) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\t':
                out += "\\t";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\b':
                if (!namedBackspaceAndFormFeed) break;
                out += "\\b";
                continue;
            case '\f':
                if (!namedBackspaceAndFormFeed) break;
                out += "\\f";
                continue;
            default:
                break;
        }
        if (byte < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", byte);
            out += hex;
        } else {
            out.push_back(ch);
        }
    }
}

void appendQuoted(std::string& out, std::string_view text, JsonStringForm form) {
    out += '"';
    appendEscaped(out, text, form == JsonStringForm::Page);
    out += '"';
}

}  // namespace

std::string escapeJsonText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, true);
    return out;
}

std::string quoteJsonString(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    appendQuoted(out, text, JsonStringForm::Metadata);
    return out;
}

std::string formatJsonNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void JsonWriter::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
    } else if (needsComma_) {
        out_ += ',';
    }
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    appendQuoted(out_, name, form_);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::open(char bracket) {
    beforeValue();
    out_ += bracket;
    needsComma_ = false;
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    out_ += bracket;
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
    beforeValue();
    out_ += std::to_string(value);
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::unsignedInteger(unsigned long long value) {
    beforeValue();
    out_ += std::to_string(value);
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::number(double value) {
    beforeValue();
    out_ += formatJsonNumber(value);
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::null() {
    beforeValue();
    out_ += "null";
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    beforeValue();
    out_ += value ? "true" : "false";
    needsComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view value) {
    beforeValue();
    appendQuoted(out_, value, form_);
    needsComma_ = true;
    return *this;
}

}  // namespace nj
