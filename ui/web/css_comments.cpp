#include "ui/web/css_comments.hpp"

#include "ui/web/css_colors.hpp"

namespace web {

// Replays litehtml's erase-and-search-again in one pass. `kept` is what would
// survive before the reading point; it never holds "/*" itself, so the next
// opening is either its last '/' meeting a '*' at the reading point or the
// first "/*" still ahead.
bool hasOpenComment(std::string_view sheet) {
    std::string kept;
    std::size_t at = 0;
    for (;;) {
        std::size_t closeFrom = 0;  // litehtml looks for "*/" two past the opening
        if (!kept.empty() && kept.back() == '/' && at < sheet.size() && sheet[at] == '*') {
            kept.pop_back();
            closeFrom = at + 1;
        } else {
            const std::size_t open = sheet.find("/*", at);
            if (open == std::string_view::npos) return false;
            kept.append(sheet.substr(at, open - at));
            closeFrom = open + 2;
        }
        const std::size_t close = sheet.find("*/", closeFrom);
        if (close == std::string_view::npos) return true;
        at = close + 2;
    }
}

std::string closeOpenComment(const std::string& sheet) {
    // The blank keeps a trailing '/' or '*' from pairing with the ending.
    return hasOpenComment(sheet) ? sheet + " */" : sheet;
}

std::string prepareStyleSheet(const std::string& sheet) {
    return closeOpenComment(normaliseColorFunctions(sheet.substr(0, sheet.find('\0'))));
}

}  // namespace web
