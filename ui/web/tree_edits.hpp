#pragma once
// Moving elements about a page's tree as a browser's appendChild,
// insertBefore and removeChild do, and the checks that make those refuse.

#include <litehtml.h>

namespace web {

enum class TreeEditError {
    None,
    NotAnElement,  // a node the page cannot hold as a child (or no node)
    Cycle,         // the new child is the parent or one of its ancestors
    NotAChild,     // the reference child, or the one to remove, is elsewhere
    TooDeep,       // the result would nest elements, or tables, deeper than their bound
};

// Whether a page script can hold `element`: a tag, not a word, a space or
// the box litehtml makes for ::before or ::after.
bool isScriptElement(const litehtml::element::ptr& element);

// The name a page sees for a refusal ("" for none).
const char* treeEditErrorName(TreeEditError error);

// Elements from the outermost ancestor down to `element`, both counted.
int elementDepth(const litehtml::element::ptr& element);
// Elements on the longest path from `element` down, itself counted.
int subtreeHeight(const litehtml::element::ptr& element);
// Tables on the longest path from `element` down, itself counted.
int subtreeTableHeight(const litehtml::element::ptr& element);

// How deep a tree may nest: elements, and tables within tables.
struct NestingBounds {
    int elements = 0;
    int tables = 0;
};

// Whether `child` may go into `parent` before `before` (null: at the end),
// nesting no deeper than `bounds`. `root` is the document's root element,
// which never moves.
TreeEditError checkInsertion(const litehtml::element::ptr& root,
                             const litehtml::element::ptr& parent,
                             const litehtml::element::ptr& child,
                             const litehtml::element::ptr& before, NestingBounds bounds);

// The node after `element` among its parent's children; null at the end.
litehtml::element::ptr nextSibling(const litehtml::element::ptr& element);

// Takes `child` out of its parent, if it has one.
void detach(const litehtml::element::ptr& child);
// Puts a detached `child` into `parent` before `before` (null: at the end).
void insertDetached(const litehtml::element::ptr& parent, const litehtml::element::ptr& child,
                    const litehtml::element::ptr& before);
// Drops what the last layout of `subtree` kept of other elements. litehtml
// holds those strongly, so a subtree that still lists a former descendant
// and is then put inside it would keep itself alive forever.
void forgetLayout(const litehtml::element::ptr& subtree);
// Takes every child out of `parent`; each keeps its own subtree, so a page
// holding one can put it back whole.
void detachChildren(const litehtml::element::ptr& parent);

}  // namespace web
