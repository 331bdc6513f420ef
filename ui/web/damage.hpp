#pragma once
// Which parts of a page a DOM change can have repainted: element boxes before
// and after the change, and a fingerprint of each element's paint styles.

#include <litehtml.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace web {

// Broken pages can lay boxes out at absurd coordinates (litehtml saturates
// at INT_MIN); every box we compute is clamped so sums of them stay in range.
constexpr std::int64_t kCoordinateLimit = 1 << 24;  // CSS px
int clampCoordinate(std::int64_t value);

// An element's border box in page coordinates (CSS px), clamped; an inline
// element's is the union of its line fragments, where its background and
// borders are painted.
litehtml::position borderBox(const litehtml::element::ptr& element);

// Border boxes of every element in page coordinates (CSS px). Holding the
// elements keeps removed ones alive, so their old boxes still count.
struct BoxSnapshot {
    std::vector<std::pair<litehtml::element::ptr, litehtml::position>> boxes;
};

BoxSnapshot snapshotBoxes(const litehtml::element::ptr& root);

// What decides an element's own declarations (matched rules, attributes);
// equal fingerprints under an unchanged parent paint alike.
std::string paintFingerprint(const litehtml::element::ptr& element);

// Rectangles to repaint: boxes that moved, appeared or disappeared between
// the snapshots, and both boxes of each element in `restyled` (elements
// whose fingerprint changed) and of their descendants. Grown by a pixel for
// antialiased edges.
std::vector<litehtml::position> damagedRects(const BoxSnapshot& before,
                                             const litehtml::element::ptr& root,
                                             const std::vector<litehtml::element::ptr>& restyled);

// Visits `element` and every descendant, parents before children.
template <typename Visit>
void forEachElement(const litehtml::element::ptr& element, const Visit& visit) {
    if (!element) return;
    visit(element);
    const std::size_t count = element->get_children_count();
    for (std::size_t i = 0; i < count; ++i) forEachElement(element->get_child(int(i)), visit);
}

}  // namespace web
