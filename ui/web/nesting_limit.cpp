// A tag scanner that follows how deep the parser will nest each element and
// cuts out the tags below the bound, in one pass over the markup.
#include "ui/web/nesting_limit.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace web {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isTagSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isVoid(std::string_view name) {
    return isOneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "keygen",
                          "link", "meta", "param", "source", "track", "wbr"});
}

// Elements whose content the tokenizer reads as text up to their end tag.
bool holdsRawText(std::string_view name) {
    return isOneOf(
        name, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"});
}

// The tags that build a table (litehtml lays each level of nested tables out
// several times over).
bool isTablePart(std::string_view name) {
    return isOneOf(
        name, {"table", "caption", "colgroup", "col", "thead", "tbody", "tfoot", "tr", "td", "th"});
}

bool isHeading(std::string_view name) {
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

// Start tags before which the parser closes an open <p>.
bool closesParagraph(std::string_view name) {
    return isHeading(name) ||
           isOneOf(name,
                   {"address", "article", "aside", "blockquote", "center", "details",  "dialog",
                    "dir",     "div",     "dl",    "dd",         "dt",     "fieldset", "figcaption",
                    "figure",  "footer",  "form",  "header",     "hgroup", "hr",       "li",
                    "listing", "main",    "menu",  "nav",        "ol",     "p",        "pre",
                    "section", "summary", "table", "ul"});
}

// The parser closes only elements in scope: an end tag whose element is open
// only beneath one of these walls is ignored (a </div> in a table cell leaves
// the table open around it).
enum ScopeWall { kTableWall, kCellWall, kListWall, kButtonWall, kWallKinds };

int wallOf(std::string_view element) {
    if (isOneOf(element, {"html", "table", "template"})) return kTableWall;
    if (isOneOf(element, {"applet", "caption", "td", "th", "marquee", "object"})) return kCellWall;
    if (isOneOf(element, {"ol", "ul"})) return kListWall;
    return element == "button" ? kButtonWall : -1;
}

// Whether a wall of kind `wall` stops the end tag `closing`.
bool stops(int wall, std::string_view closing) {
    switch (wall) {
        case kTableWall:
            return true;
        case kCellWall:
            return !isTablePart(closing);
        case kListWall:
            return closing == "li";
        case kButtonWall:
            return closing == "p";
        default:
            return false;
    }
}

// One tag as the tokenizer reads it: `end` is one past its '>' (or the end
// of the markup when it never closes).
struct Tag {
    std::string name;  // lower case
    std::size_t end = 0;
    bool selfClosing = false;
};

class NestingScanner {
  public:
    NestingScanner(std::string_view html, int maxDepth, int maxTableDepth)
        : html_(html), maxDepth_(maxDepth), maxTableDepth_(maxTableDepth) {}

    // The markup with the tags below the bound cut out; empty when nothing
    // was, which `trimmed()` then tells.
    std::string run() {
        while (pos_ < html_.size()) {
            const std::size_t open = html_.find('<', pos_);
            if (open == std::string_view::npos) break;
            pos_ = open;
            step();
        }
        if (!trimmed_) return {};
        kept_.append(html_.substr(copiedUpTo_));
        return std::move(kept_);
    }
    bool trimmed() const { return trimmed_; }

  private:
    struct Open {
        std::string name;
        bool kept;
    };

    bool at(std::size_t offset, std::string_view text) const {
        return html_.substr(pos_ + offset, text.size()) == text;
    }
    char charAt(std::size_t offset) const {
        return pos_ + offset < html_.size() ? html_[pos_ + offset] : '\0';
    }
    // Moves past the next `text`, or to the end of the markup.
    void skipPast(std::size_t from, std::string_view text) {
        const std::size_t found = html_.find(text, from);
        pos_ = found == std::string_view::npos ? html_.size() : found + text.size();
    }

    // A comment ends at its first "-->" or "--!>", or at once as "<!-->" or "<!--->".
    void skipComment() {
        if (at(4, ">")) return skipPast(pos_ + 4, ">");
        if (at(4, "->")) return skipPast(pos_ + 5, ">");
        for (std::size_t dashes = html_.find("--", pos_ + 4); dashes != std::string_view::npos;
             dashes = html_.find("--", dashes + 1)) {
            if (html_.substr(dashes + 2, 1) == ">") return skipPast(dashes + 2, ">");
            if (html_.substr(dashes + 2, 2) == "!>") return skipPast(dashes + 3, ">");
        }
        pos_ = html_.size();
    }

    // At a '<': a comment, a declaration, a tag, or a '<' that is only text.
    void step() {
        if (at(0, "<!--")) return skipComment();
        // Outside <svg> and <math> a CDATA section is a bogus comment, to the first '>'.
        if (foreignDepth_ > 0 && at(0, "<![CDATA[")) return skipPast(pos_ + 9, "]]>");
        if (charAt(1) == '!' || charAt(1) == '?') return skipPast(pos_ + 2, ">");
        if (charAt(1) == '/' && isAsciiLetter(charAt(2))) return endTag();
        if (charAt(1) == '/') return skipPast(pos_ + 2, ">");
        if (isAsciiLetter(charAt(1))) return startTag();
        ++pos_;
    }

    // The tag whose name starts at `nameAt`, read as the tokenizer reads it:
    // an attribute's name runs to a space, '/', '>' or '=' (though it may
    // begin with '='), and only a value after its '=' may be quoted and so
    // hold a '>'.
    Tag readTag(std::size_t nameAt) const {
        Tag tag;
        const std::size_t size = html_.size();
        std::size_t i = nameAt;
        while (i < size && !isTagSpace(html_[i]) && html_[i] != '/' && html_[i] != '>') {
            tag.name += lowerAscii(html_[i++]);
        }
        while (i < size && html_[i] != '>') {
            if (isTagSpace(html_[i])) {
                ++i;
            } else if (html_[i] == '/') {
                tag.selfClosing = ++i < size && html_[i] == '>';
            } else {
                i = attributeEnd(i);
            }
        }
        tag.end = i < size ? i + 1 : size;
        return tag;
    }

    // One past the attribute (name, and any value) that starts at `i`.
    std::size_t attributeEnd(std::size_t i) const {
        const std::size_t size = html_.size();
        ++i;
        while (i < size && !isTagSpace(html_[i]) && html_[i] != '/' && html_[i] != '>' &&
               html_[i] != '=') {
            ++i;
        }
        std::size_t value = i;
        while (value < size && isTagSpace(html_[value])) ++value;
        if (value >= size || html_[value] != '=') return i;
        ++value;
        while (value < size && isTagSpace(html_[value])) ++value;
        if (value < size && (html_[value] == '"' || html_[value] == '\'')) {
            const std::size_t close = html_.find(html_[value], value + 1);
            return close == std::string_view::npos ? size : close + 1;
        }
        while (value < size && !isTagSpace(html_[value]) && html_[value] != '>') ++value;
        return value;
    }

    // One past the end tag that closes raw text begun at `from`.
    std::size_t rawTextEnd(const std::string& name, std::size_t from) const {
        for (std::size_t i = html_.find("</", from); i != std::string_view::npos;
             i = html_.find("</", i + 2)) {
            std::size_t j = 0;
            while (j < name.size() && i + 2 + j < html_.size() &&
                   lowerAscii(html_[i + 2 + j]) == name[j]) {
                ++j;
            }
            const std::size_t after = i + 2 + j;
            if (j == name.size() && (after == html_.size() || isTagSpace(html_[after]) ||
                                     html_[after] == '/' || html_[after] == '>')) {
                return readTag(i + 2).end;
            }
        }
        return html_.size();
    }

    void drop(std::size_t from, std::size_t to) {
        trimmed_ = true;
        kept_.append(html_.substr(copiedUpTo_, from - copiedUpTo_));
        // A '<' of text just before the cut would open a tag with the text after it.
        if (!kept_.empty() && kept_.back() == '<') kept_.replace(kept_.size() - 1, 1, "&lt;");
        copiedUpTo_ = to;
    }

    // Whether the end tag `name` closes anything: its element open, with no
    // wall between the innermost one and the top.
    bool inScope(const std::string& name) const {
        const auto open = openAt_.find(name);
        if (open == openAt_.end() || open->second.empty()) return false;
        for (int wall = 0; wall < kWallKinds; ++wall) {
            const std::vector<std::size_t>& at = walls_[static_cast<std::size_t>(wall)];
            if (stops(wall, name) && !at.empty() && at.back() > open->second.back()) return false;
        }
        return true;
    }

    bool topIs(std::initializer_list<std::string_view> names) const {
        return !stack_.empty() && isOneOf(stack_.back().name, names);
    }
    void pop() {
        const std::string& name = stack_.back().name;
        openAt_[name].pop_back();
        if (const int wall = wallOf(name); wall >= 0)
            walls_[static_cast<std::size_t>(wall)].pop_back();
        if (name == "svg" || name == "math") --foreignDepth_;
        if (name == "table") --(stack_.back().kept ? keptTables_ : tablesTakenOut_);
        stack_.pop_back();
    }
    void push(const std::string& name, bool kept) {
        openAt_[name].push_back(stack_.size());
        if (const int wall = wallOf(name); wall >= 0)
            walls_[static_cast<std::size_t>(wall)].push_back(stack_.size());
        if (name == "svg" || name == "math") ++foreignDepth_;
        if (name == "table") ++(kept ? keptTables_ : tablesTakenOut_);
        stack_.push_back({name, kept});
    }

    // Inside a table taken out, every table tag goes too, so its cells
    // cannot start tables of their own.
    bool tooDeepATable(const std::string& name) const {
        if (!isTablePart(name)) return false;
        return tablesTakenOut_ > 0 || (name == "table" && keptTables_ >= maxTableDepth_);
    }

    // The elements the parser ends without an end tag when `name` starts.
    void closeImplied(const std::string& name) {
        if (closesParagraph(name) && topIs({"p"})) pop();
        if (name == "li" && topIs({"li"})) pop();
        if ((name == "dt" || name == "dd") && topIs({"dt", "dd"})) pop();
        if (isHeading(name) && !stack_.empty() && isHeading(stack_.back().name)) pop();
        if ((name == "option" || name == "optgroup") && topIs({"option"})) pop();
        if (name == "optgroup" && topIs({"optgroup"})) pop();
        const bool tableRow = name == "tr" || name == "thead" || name == "tbody" || name == "tfoot";
        if ((tableRow || name == "td" || name == "th") && topIs({"td", "th"})) pop();
        if (tableRow && topIs({"tr"})) pop();
        if (name != "tr" && tableRow && topIs({"thead", "tbody", "tfoot"})) pop();
    }

    void startTag() {
        const std::size_t begin = pos_;
        const Tag tag = readTag(pos_ + 1);
        closeImplied(tag.name);
        const bool kept = static_cast<int>(stack_.size()) < maxDepth_ && !tooDeepATable(tag.name);
        if (tag.name == "plaintext") {  // everything after it is text
            if (!kept) drop(begin, html_.size());
            pos_ = html_.size();
            return;
        }
        pos_ = holdsRawText(tag.name) ? rawTextEnd(tag.name, tag.end) : tag.end;
        if (!kept) drop(begin, pos_);
        const bool closesItself =
            tag.selfClosing && (foreignDepth_ > 0 || tag.name == "svg" || tag.name == "math");
        if (!holdsRawText(tag.name) && !isVoid(tag.name) && !closesItself) push(tag.name, kept);
    }

    void endTag() {
        const std::size_t begin = pos_;
        const Tag tag = readTag(pos_ + 2);
        pos_ = tag.end;
        if (!inScope(tag.name)) {
            // The parser makes an element of a stray </p> or </br>; any
            // other end tag with nothing in scope to close is ignored.
            if ((tag.name == "p" || tag.name == "br") &&
                static_cast<int>(stack_.size()) >= maxDepth_) {
                drop(begin, pos_);
            }
            return;
        }
        // Everything opened after the element ends with it.
        for (;;) {
            const bool matches = stack_.back().name == tag.name;
            const bool kept = stack_.back().kept;
            pop();
            if (!matches) continue;
            if (!kept) drop(begin, pos_);
            return;
        }
    }

    std::string_view html_;
    int maxDepth_;
    int maxTableDepth_;
    std::size_t pos_ = 0;
    std::vector<Open> stack_;
    // Where each open element, and each kind of wall, stands in stack_.
    std::unordered_map<std::string, std::vector<std::size_t>> openAt_;
    std::array<std::vector<std::size_t>, kWallKinds> walls_;
    int foreignDepth_ = 0;  // open <svg> and <math> elements
    int keptTables_ = 0;
    int tablesTakenOut_ = 0;
    std::string kept_;
    std::size_t copiedUpTo_ = 0;
    bool trimmed_ = false;
};

}  // namespace

bool limitNesting(std::string& html, int maxDepth, int maxTableDepth) {
    NestingScanner scanner(html, maxDepth, maxTableDepth);
    std::string kept = scanner.run();
    if (!scanner.trimmed()) return false;
    html = std::move(kept);
    return true;
}

}  // namespace web
