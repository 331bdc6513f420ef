#pragma once
// A bound on how deep a page's elements nest. The HTML parser and the style
// cascade both spend time in proportion to the depth for every element, so a
// page nested ten thousand deep would take the better part of a minute to
// load. Before anything parses a page, tags nested deeper than the bound are
// taken out of its markup; their text stays, inside the deepest element kept.

#include <string>

namespace web {

// Deepest element nesting a page keeps (the JSON reader's bound too).
inline constexpr int kMaxElementDepth = 512;

// Deepest table nesting a page keeps. litehtml lays every cell of a table out
// more than once, so each level of tables in tables multiplies the time:
// sixteen levels took 5 s, eighteen 37 s; eight take 30 ms.
inline constexpr int kMaxTableDepth = 8;

// Takes every tag nested more than `maxDepth` elements deep out of `html`
// (a script, style or other raw-text element that deep goes whole, content
// included) and returns true; returns false and leaves `html` byte for byte
// as it was when nothing is that deep. Depth is counted the way the parser
// nests markup: void elements hold nothing, an unclosed <p>, <li>, <td>, <tr>,
// <option> or heading is closed where the parser closes it, an end tag closes
// nothing past a table, cell or other scope wall, "/>" closes an element only
// inside <svg> or <math>, and raw text is never read as tags.
// A table nested more than `maxTableDepth` tables deep loses its table tags
// too, and so does everything of a table inside it; the cells' content stays.
bool limitNesting(std::string& html, int maxDepth, int maxTableDepth = kMaxTableDepth);

}  // namespace web
