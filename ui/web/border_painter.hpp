#pragma once
// A box's four borders as a browser draws them: solid, dashed, dotted and
// double, one colour per side, inside the box's rounded corners.

#include <cairo.h>
#include <litehtml.h>

namespace web {

// `box` is the border box in the context's units (CSS px).
void paintBorders(cairo_t* cr, const litehtml::borders& borders, const litehtml::position& box);

}  // namespace web
