#pragma once
// letter-spacing, which litehtml 0.6 does not read: an element with a
// spacing gets a variant of its font whose shaping adds it, so its text
// measures and draws itself spaced, as a browser lays it out.

#include <litehtml.h>

namespace web {

// After the element's own styling and before its children's: swaps in the
// spaced font. True when the element's font changed.
bool applyLetterSpacing(litehtml::html_tag& tag, const litehtml::document& document);

// The whole tree, once the document has styled itself: every element's font
// is mended, then the text inside a changed element measures itself again.
void applyLetterSpacingToTree(const litehtml::element::ptr& root,
                              const litehtml::document& document);

}  // namespace web
