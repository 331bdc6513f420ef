// Finds the page's scripts, style sheets and diagnostics declaration with
// gumbo (litehtml drops script attributes and keeps script and style text private).
#include "ui/web/page_scripts.hpp"

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace web {

namespace {

std::string attribute(const GumboElement& element, const char* name) {
    const GumboAttribute* attr = gumbo_get_attribute(&element.attributes, name);
    return attr && attr->value ? attr->value : "";
}

struct Scan {
    const std::string& html;
    PageScriptInfo& info;

    // Gumbo's original text points into the page it parsed.
    void addSpan(const char* data, std::size_t length, bool sheet) {
        if (!data || data < html.data() || data + length > html.data() + html.size()) return;
        const auto begin = static_cast<std::size_t>(data - html.data());
        info.cssSpans.push_back({begin, begin + length, sheet});
    }

    void addStyleAttribute(const GumboElement& element) {
        const GumboAttribute* attr = gumbo_get_attribute(&element.attributes, "style");
        if (!attr) return;
        const char* data = attr->original_value.data;
        std::size_t length = attr->original_value.length;
        if (length >= 2 && (data[0] == '"' || data[0] == '\'') && data[length - 1] == data[0]) {
            ++data, length -= 2;
        }
        addSpan(data, length, false);
    }
};

void collect(const GumboNode* node, Scan& scan, int depth, int tables) {
    if (node->type != GUMBO_NODE_ELEMENT) return;
    PageScriptInfo& info = scan.info;
    const GumboElement& element = node->v.element;
    info.elementDepth = std::max(info.elementDepth, ++depth);
    if (element.tag == GUMBO_TAG_TABLE) info.tableDepth = std::max(info.tableDepth, ++tables);
    scan.addStyleAttribute(element);
    if (element.tag == GUMBO_TAG_SCRIPT) {
        PageScript script;
        script.src = attribute(element, "src");
        script.line = static_cast<int>(element.start_pos.line);
        if (script.src.empty()) {
            for (unsigned i = 0; i < element.children.length; ++i) {
                const auto* child = static_cast<const GumboNode*>(element.children.data[i]);
                if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_CDATA ||
                    child->type == GUMBO_NODE_WHITESPACE) {
                    script.source += child->v.text.text;
                }
            }
        }
        info.scripts.push_back(std::move(script));
        return;
    }
    if (element.tag == GUMBO_TAG_STYLE) {
        PageStyle style;
        for (unsigned i = 0; i < element.children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(element.children.data[i]);
            if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE) {
                style.text += child->v.text.text;
                scan.addSpan(child->v.text.original_text.data, child->v.text.original_text.length,
                             true);
            }
        }
        info.styles.push_back(std::move(style));
        return;
    }
    if (element.tag == GUMBO_TAG_LINK && !attribute(element, "href").empty()) {
        std::string rel = attribute(element, "rel");
        for (char& c : rel) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (rel == "stylesheet") info.styles.push_back({"", attribute(element, "href")});
    }
    if (element.tag == GUMBO_TAG_META && attribute(element, "name") == "diagnostics") {
        if (auto level = parseDiagnosticsLevel(attribute(element, "content"))) {
            info.diagnostics = level;
        }
    }
    for (unsigned i = 0; i < element.children.length; ++i) {
        collect(static_cast<const GumboNode*>(element.children.data[i]), scan, depth, tables);
    }
}

}  // namespace

std::string rewriteSpans(const std::string& html, std::vector<TextSpan> spans,
                         std::string (*rewrite)(const std::string& text, bool sheet)) {
    // Gumbo's tree is not always in source order (misnested or table
    // markup moves nodes); the rewrite walks the text front to back.
    std::sort(spans.begin(), spans.end(),
              [](const TextSpan& a, const TextSpan& b) { return a.begin < b.begin; });
    std::string out;
    out.reserve(html.size());
    std::size_t copied = 0;
    for (const TextSpan& span : spans) {
        if (span.begin < copied || span.end > html.size() || span.end < span.begin) continue;
        out.append(html, copied, span.begin - copied);
        out += rewrite(html.substr(span.begin, span.end - span.begin), span.sheet);
        copied = span.end;
    }
    out.append(html, copied, std::string::npos);
    return out;
}

std::optional<int> parseDiagnosticsLevel(const std::string& text) {
    std::string word;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    if (word == "off") return 0;
    if (word == "warn") return 1;
    if (word == "strict") return 2;
    int level = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), level);
    if (error != std::errc() || end != word.data() + word.size() || word.empty()) {
        return std::nullopt;
    }
    return level;
}

PageScriptInfo scanPageScripts(const std::string& html) {
    PageScriptInfo info;
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
    if (!output) return info;
    Scan scan{html, info};
    collect(output->root, scan, 0, 0);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return info;
}

}  // namespace web
