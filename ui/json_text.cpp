// JSON string escaping for metadata and the state script.
#include "ui/json_text.hpp"

#include <cstdio>

namespace nj {
namespace {

enum class Form { Metadata, StateScript };

void appendEscaped(std::string& out, std::string_view text, Form form) {
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (byte) {
            case 0x08:
                out += form == Form::StateScript ? "\\b" : "\\u0008";
                continue;
            case 0x0C:
                out += form == Form::StateScript ? "\\f" : "\\u000c";
                continue;
            case 0x09:
                out += "\\t";
                continue;
            case 0x0A:
                out += "\\n";
                continue;
            case 0x0D:
                out += "\\r";
                continue;
            case 0x22:
                out += "\\\"";
                continue;
            case 0x5C:
                out += "\\\\";
                continue;
            default:
                break;
        }
        if (byte < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", byte);
            out += hex;
        } else {
            out.push_back(ch);  // UTF-8 and 0x7F pass through unchanged
        }
    }
}

}  // namespace

std::string quoteJsonString(std::string_view text) {
    std::string out = "\"";
    appendEscaped(out, text, Form::Metadata);
    out += '"';
    return out;
}

std::string escapeJsonText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, Form::StateScript);
    return out;
}

}  // namespace nj
