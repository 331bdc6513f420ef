// Border painting. The geometry of dashes, dots and double lines follows
// what Chromium draws (measured on its screenshots):
//   dashed: dashes 2w long with w gaps (3w and 2w below 3 px), dotted: dots
//   of w with w gaps, round from 4 px, square and on whole pixels below; the
//   count that fits best is kept and the gaps stretched so a dash or dot
//   sits on each corner.
//   double: two lines of round(w / 3) each, solid below 3 px.
#include "ui/web/border_painter.hpp"

#include <cmath>

#include "ui/web/box_paths.hpp"

namespace web {

namespace {

enum class Side { Top, Right, Bottom, Left };

struct Edges {
    double left = 0, top = 0, right = 0, bottom = 0;
};

bool visible(const litehtml::border& b) {
    return b.width > 0 && b.style != litehtml::border_style_none &&
           b.style != litehtml::border_style_hidden;
}

// Groove, ridge, inset and outset have no shading here: they paint solid.
bool patterned(const litehtml::border& b) {
    return b.style == litehtml::border_style_dashed || b.style == litehtml::border_style_dotted ||
           (b.style == litehtml::border_style_double && b.width >= 3);
}

bool sameColor(const litehtml::web_color& a, const litehtml::web_color& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

void setColor(cairo_t* cr, const litehtml::web_color& color) {
    cairo_set_source_rgba(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
}

// The rounded outline `in` px inside the border box.
void insetOutline(cairo_t* cr, const litehtml::position& box,
                  const litehtml::border_radiuses& radii, const Edges& in) {
    roundedRect(cr, box.x + in.left, box.y + in.top, box.width - in.left - in.right,
                box.height - in.top - in.bottom,
                shrinkRadii(radii, in.left, in.top, in.right, in.bottom));
}

// Fills the band between two inset outlines.
void fillBand(cairo_t* cr, const litehtml::position& box, const litehtml::border_radiuses& radii,
              const Edges& outer, const Edges& inner) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    insetOutline(cr, box, radii, outer);
    insetOutline(cr, box, radii, inner);
    cairo_fill(cr);
}

// The side's share of the frame: the trapezoid from its outer edge to its
// inner edge, so neighbouring sides meet on the corner diagonals. Filled
// without antialiasing, so the two halves of a corner pixel leave no seam.
void fillSideShape(cairo_t* cr, Side side, const litehtml::position& box, const Edges& w) {
    const double x = box.x, y = box.y, x1 = box.x + box.width, y1 = box.y + box.height;
    const double points[4][8] = {
        {x, y, x1, y, x1 - w.right, y + w.top, x + w.left, y + w.top},
        {x1, y, x1, y1, x1 - w.right, y1 - w.bottom, x1 - w.right, y + w.top},
        {x1, y1, x, y1, x + w.left, y1 - w.bottom, x1 - w.right, y1 - w.bottom},
        {x, y1, x, y, x + w.left, y + w.top, x + w.left, y1 - w.bottom},
    };
    const double* p = points[static_cast<int>(side)];
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_move_to(cr, p[0], p[1]);
    for (int i = 2; i < 8; i += 2) cairo_line_to(cr, p[i], p[i + 1]);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void paintDashes(cairo_t* cr, Side side, const litehtml::position& box, const litehtml::border& b) {
    const double width = b.width;
    const bool dotted = b.style == litehtml::border_style_dotted;
    const double dash = dotted ? width : width >= 3 ? 2 * width : 3 * width;
    const double gap = dotted ? width : width >= 3 ? width : 2 * width;
    const bool across = side == Side::Top || side == Side::Bottom;
    const double length = across ? box.width : box.height;
    const long count = std::lround((length + gap) / (dash + gap));
    if (count < 2) {
        cairo_paint(cr);
        return;
    }
    const double step = dash + (length - double(count) * dash) / double(count - 1);
    // The band's near edge across the side.
    const double band = side == Side::Top      ? box.y
                        : side == Side::Bottom ? box.y + box.height - width
                        : side == Side::Left   ? box.x
                                               : box.x + box.width - width;
    for (long i = 0; i < count; ++i) {
        // Square dots sit on whole pixels, crisp, as in a browser.
        const double offset =
            dotted && width <= 3 ? std::round(double(i) * step) : double(i) * step;
        const double along = (across ? box.x : box.y) + offset;
        const double x = across ? along : band, y = across ? band : along;
        const double w = across ? dash : width, h = across ? width : dash;
        if (dotted && width > 3) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x + w / 2, y + h / 2, width / 2, 0, 2 * M_PI);
        } else {
            cairo_rectangle(cr, x, y, w, h);
        }
    }
    cairo_fill(cr);
}

void paintSide(cairo_t* cr, Side side, const litehtml::border& b, const litehtml::borders& all,
               const litehtml::position& box, const Edges& w) {
    cairo_save(cr);
    // Inside the rounded frame only.
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    insetOutline(cr, box, all.radius, Edges{});
    insetOutline(cr, box, all.radius, w);
    cairo_clip(cr);
    if (patterned(b)) {
        // Dashes and lines are drawn whole, then cut to the side's shape:
        // cairo mishandles small antialiased fills under an aliased clip.
        cairo_push_group(cr);
        setColor(cr, b.color);
        if (b.style == litehtml::border_style_double) {
            const Edges third{std::round(w.left / 3), std::round(w.top / 3),
                              std::round(w.right / 3), std::round(w.bottom / 3)};
            const Edges innerStart{w.left - third.left, w.top - third.top, w.right - third.right,
                                   w.bottom - third.bottom};
            fillBand(cr, box, all.radius, Edges{}, third);
            fillBand(cr, box, all.radius, innerStart, w);
        } else {
            paintDashes(cr, side, box, b);
        }
        cairo_pop_group_to_source(cr);
    } else {
        setColor(cr, b.color);
    }
    fillSideShape(cr, side, box, w);
    cairo_restore(cr);
}

}  // namespace

void paintBorders(cairo_t* cr, const litehtml::borders& b, const litehtml::position& box) {
    const Edges w{visible(b.left) ? double(b.left.width) : 0.0,
                  visible(b.top) ? double(b.top.width) : 0.0,
                  visible(b.right) ? double(b.right.width) : 0.0,
                  visible(b.bottom) ? double(b.bottom.width) : 0.0};
    const bool uniform = sameColor(b.left.color, b.top.color) &&
                         sameColor(b.top.color, b.right.color) &&
                         sameColor(b.right.color, b.bottom.color) && !patterned(b.left) &&
                         !patterned(b.top) && !patterned(b.right) && !patterned(b.bottom);
    if (uniform) {
        // A plain frame in one colour is one ring, antialiased all round:
        // no seam shows where two sides meet.
        cairo_save(cr);
        setColor(cr, b.top.color);
        fillBand(cr, box, b.radius, Edges{}, w);
        cairo_restore(cr);
        return;
    }
    if (w.top > 0) paintSide(cr, Side::Top, b.top, b, box, w);
    if (w.right > 0) paintSide(cr, Side::Right, b.right, b, box, w);
    if (w.bottom > 0) paintSide(cr, Side::Bottom, b.bottom, b, box, w);
    if (w.left > 0) paintSide(cr, Side::Left, b.left, b, box, w);
}

}  // namespace web
