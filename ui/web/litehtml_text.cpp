#include "ui/web/litehtml_text.hpp"

#include <vector>

#include "ui/web/css_colors.hpp"

namespace web {

std::string replaceNulBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0') {
            out += "\xEF\xBF\xBD";
        } else {
            out += c;
        }
    }
    return out;
}

std::string markupAsText(std::string_view html) {
    std::string out;
    out.reserve(html.size());
    for (char c : html) {
        if (c == '<') {
            out += "&lt;";
        } else if (c == '&') {
            out += "&amp;";
        } else {
            out += c;
        }
    }
    return out;
}

// Replays litehtml's erase-and-search-again in one pass. `kept` holds where
// each byte that would survive before the reading point stands in `sheet`;
// what survives never holds "/*" itself, so the next opening is either its
// last '/' meeting a '*' at the reading point or the first "/*" still ahead.
std::size_t openCommentAt(std::string_view sheet) {
    std::vector<std::size_t> kept;
    std::size_t at = 0;
    for (;;) {
        std::size_t opening = 0;
        std::size_t closeFrom = 0;  // litehtml looks for "*/" two past the opening
        if (!kept.empty() && sheet[kept.back()] == '/' && at < sheet.size() && sheet[at] == '*') {
            opening = kept.back();
            kept.pop_back();
            closeFrom = at + 1;
        } else {
            opening = sheet.find("/*", at);
            if (opening == std::string_view::npos) return std::string_view::npos;
            for (std::size_t i = at; i < opening; ++i) kept.push_back(i);
            closeFrom = opening + 2;
        }
        const std::size_t close = sheet.find("*/", closeFrom);
        if (close == std::string_view::npos) return opening;
        at = close + 2;
    }
}

std::string cutOpenComment(const std::string& sheet) {
    return sheet.substr(0, openCommentAt(sheet));
}

std::string prepareStyleSheet(const std::string& sheet) {
    return cutOpenComment(normaliseColorFunctions(replaceNulBytes(sheet)));
}

}  // namespace web
