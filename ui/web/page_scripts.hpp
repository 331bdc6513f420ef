#pragma once
// What the page's markup asks for beyond layout: its <script> elements and
// style sheets in document order, and the diagnostics level it may declare.

#include <optional>
#include <string>
#include <vector>

namespace web {

struct PageScript {
    std::string source;  // inline text; empty when `src` is set
    std::string src;     // address as written in the page, unresolved
    int line = 1;        // line of the element in the page, for error messages
};

// A style sheet of the page: the text of a <style> element, or the address
// of a <link rel="stylesheet">.
struct PageStyle {
    std::string text;
    std::string href;  // as written; empty for <style>
};

// Where CSS sits inside the page's markup, as byte offsets [begin, end).
struct TextSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool sheet = false;  // a <style> element's text; otherwise a style attribute's
};

struct PageScriptInfo {
    std::vector<PageScript> scripts;
    std::vector<PageStyle> styles;  // document order
    // The text of every <style> element and style attribute, in document order.
    std::vector<TextSpan> cssSpans;
    // From <meta name="diagnostics" content="...">: a number, or "off" (0),
    // "warn" (1), "strict" (2). Absent when the page does not say.
    std::optional<int> diagnostics;
    // How deep the parser nests the page: elements, and tables in tables.
    int elementDepth = 0;
    int tableDepth = 0;
};

PageScriptInfo scanPageScripts(const std::string& html);

// `html` with `rewrite` applied to each span's text (spans not overlapping).
std::string rewriteSpans(const std::string& html, std::vector<TextSpan> spans,
                         std::string (*rewrite)(const std::string& text, bool sheet));

// "2", "strict", "warn", "off" -> level; anything else -> nothing.
std::optional<int> parseDiagnosticsLevel(const std::string& text);

}  // namespace web
