#pragma once
// What the page's markup asks of the script engine: its <script> elements in
// document order and the diagnostics level a page may declare.

#include <optional>
#include <string>
#include <vector>

namespace web {

struct PageScript {
    std::string source;  // inline text; empty when `src` is set
    std::string src;     // address as written in the page, unresolved
    int line = 1;        // line of the element in the page, for error messages
};

struct PageScriptInfo {
    std::vector<PageScript> scripts;
    // From <meta name="diagnostics" content="...">: a number, or "off" (0),
    // "warn" (1), "strict" (2). Absent when the page does not say.
    std::optional<int> diagnostics;
};

PageScriptInfo scanPageScripts(const std::string& html);

// "2", "strict", "warn", "off" -> level; anything else -> nothing.
std::optional<int> parseDiagnosticsLevel(const std::string& text);

}  // namespace web
