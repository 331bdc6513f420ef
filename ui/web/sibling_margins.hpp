#pragma once
// Adjoining vertical margins of block siblings collapse into the larger one
// in a browser. litehtml 0.6 collapses them only when the upper sibling has
// no bottom border and no bottom padding, and otherwise adds both (12 px +
// 12 px = 24 px); this mends the lower sibling's styled top margin so the
// gap comes out as a browser's.

#include <litehtml.h>

namespace web {

// The children of every element under `scope` (itself included), and
// `scope` among its siblings; runs after each styling of `scope`, before
// layout. Idempotent: each top margin is re-read from its declaration first.
void collapseSiblingMargins(const litehtml::element::ptr& scope,
                            const litehtml::document& document);

}  // namespace web
