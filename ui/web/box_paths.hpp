#pragma once
// Box outlines as cairo paths: rectangles with four elliptical corners, as
// backgrounds, clips and borders share them.

#include <cairo.h>
#include <litehtml.h>

namespace web {

// Adds a closed sub-path. Radii are scaled down together when opposite
// corners would overlap, as CSS does.
void roundedRect(cairo_t* cr, double x, double y, double w, double h,
                 const litehtml::border_radiuses& r);

bool hasRadius(const litehtml::border_radiuses& r);

// The radii of the edge `inset` px inside (per side) an edge with radii `r`.
litehtml::border_radiuses shrinkRadii(litehtml::border_radiuses r, double left, double top,
                                      double right, double bottom);

}  // namespace web
