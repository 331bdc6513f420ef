// Tree edits on litehtml elements, with a browser's refusals.
#include "ui/web/tree_edits.hpp"

#include <el_before_after.h>

#include <algorithm>
#include <cstring>

#include "ui/web/tag_access.hpp"

namespace web {

bool isScriptElement(const litehtml::element::ptr& element) {
    return dynamic_cast<litehtml::html_tag*>(element.get()) &&
           !dynamic_cast<litehtml::el_before_after_base*>(element.get());
}

const char* treeEditErrorName(TreeEditError error) {
    switch (error) {
        case TreeEditError::None:
            return "";
        case TreeEditError::NotAnElement:
            return "NotAnElement";
        case TreeEditError::Cycle:
            return "Cycle";
        case TreeEditError::NotAChild:
            return "NotAChild";
        case TreeEditError::TooDeep:
            return "TooDeep";
    }
    return "";
}

int elementDepth(const litehtml::element::ptr& element) {
    int depth = 0;
    for (auto up = element; up; up = up->parent()) depth += isScriptElement(up) ? 1 : 0;
    return depth;
}

namespace {

bool isTable(const litehtml::element::ptr& element) {
    return isScriptElement(element) && std::strcmp(element->get_tagName(), "table") == 0;
}

// Tables from the outermost ancestor down to `element`, both counted.
int tableDepth(const litehtml::element::ptr& element) {
    int depth = 0;
    for (auto up = element; up; up = up->parent()) depth += isTable(up) ? 1 : 0;
    return depth;
}

// What counts on the longest path from `element` down, itself included.
// Bounded by the depth limit every tree keeps, so recursion stays shallow.
template <typename Counts>
int heightOf(const litehtml::element::ptr& element, Counts counts) {
    if (!isScriptElement(element)) return 0;
    int below = 0;
    for (std::size_t i = 0; i < element->get_children_count(); ++i) {
        below = std::max(below, heightOf(element->get_child(int(i)), counts));
    }
    return (counts(element) ? 1 : 0) + below;
}

}  // namespace

int subtreeHeight(const litehtml::element::ptr& element) {
    return heightOf(element, [](const litehtml::element::ptr&) { return true; });
}

int subtreeTableHeight(const litehtml::element::ptr& element) {
    return heightOf(element, isTable);
}

TreeEditError checkInsertion(const litehtml::element::ptr& root,
                             const litehtml::element::ptr& parent,
                             const litehtml::element::ptr& child,
                             const litehtml::element::ptr& before, NestingBounds bounds) {
    if (!isScriptElement(parent) || !isScriptElement(child)) return TreeEditError::NotAnElement;
    if (child == root) return TreeEditError::Cycle;
    for (auto up = parent; up; up = up->parent()) {
        if (up == child) return TreeEditError::Cycle;
    }
    if (before && before->parent() != parent) return TreeEditError::NotAChild;
    // A move within one tree can only make it shallower where the child
    // left, so the new place alone decides.
    if (elementDepth(parent) + subtreeHeight(child) > bounds.elements)
        return TreeEditError::TooDeep;
    if (tableDepth(parent) + subtreeTableHeight(child) > bounds.tables)
        return TreeEditError::TooDeep;
    return TreeEditError::None;
}

litehtml::element::ptr nextSibling(const litehtml::element::ptr& element) {
    const litehtml::element::ptr parent = element ? element->parent() : nullptr;
    auto* tag = dynamic_cast<litehtml::html_tag*>(parent.get());
    if (!tag) return nullptr;
    const auto& children = TagAccess::children(*tag);
    const auto at = std::find(children.begin(), children.end(), element);
    return at == children.end() || at + 1 == children.end() ? nullptr : *(at + 1);
}

void detach(const litehtml::element::ptr& child) {
    if (const litehtml::element::ptr parent = child->parent()) parent->removeChild(child);
}

void insertDetached(const litehtml::element::ptr& parent, const litehtml::element::ptr& child,
                    const litehtml::element::ptr& before) {
    auto& children = TagAccess::children(static_cast<litehtml::html_tag&>(*parent));
    children.insert(before ? std::find(children.begin(), children.end(), before) : children.end(),
                    child);
    child->parent(parent);
}

void forgetLayout(const litehtml::element::ptr& subtree) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(subtree.get());
    if (!tag) return;
    TagAccess::forgetLayout(*tag);
    for (const auto& child : TagAccess::children(*tag)) forgetLayout(child);
}

void detachChildren(const litehtml::element::ptr& parent) {
    auto* tag = dynamic_cast<litehtml::html_tag*>(parent.get());
    if (!tag) return;
    auto& children = TagAccess::children(*tag);
    for (const auto& child : children) child->parent(nullptr);
    children.clear();
}

}  // namespace web
