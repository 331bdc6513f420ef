// Rounded box outlines.
#include "ui/web/box_paths.hpp"

#include <algorithm>
#include <cmath>

namespace web {

void roundedRect(cairo_t* cr, double x, double y, double w, double h,
                 const litehtml::border_radiuses& r) {
    double tlx = r.top_left_x, tly = r.top_left_y, trx = r.top_right_x, try_ = r.top_right_y;
    double brx = r.bottom_right_x, bry = r.bottom_right_y, blx = r.bottom_left_x,
           bly = r.bottom_left_y;
    double scale = 1.0;
    const auto fit = [&](double sum, double room) {
        if (sum > room && sum > 0) scale = std::min(scale, room / sum);
    };
    fit(tlx + trx, w), fit(blx + brx, w), fit(tly + bly, h), fit(try_ + bry, h);
    for (double* v : {&tlx, &tly, &trx, &try_, &brx, &bry, &blx, &bly})
        *v = std::max(0.0, *v * scale);
    constexpr double k = 0.5522847498;  // cubic approximation of a quarter ellipse
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x + tlx, y);
    cairo_line_to(cr, x + w - trx, y);
    cairo_curve_to(cr, x + w - trx + trx * k, y, x + w, y + try_ - try_ * k, x + w, y + try_);
    cairo_line_to(cr, x + w, y + h - bry);
    cairo_curve_to(cr, x + w, y + h - bry + bry * k, x + w - brx + brx * k, y + h, x + w - brx,
                   y + h);
    cairo_line_to(cr, x + blx, y + h);
    cairo_curve_to(cr, x + blx - blx * k, y + h, x, y + h - bly + bly * k, x, y + h - bly);
    cairo_line_to(cr, x, y + tly);
    cairo_curve_to(cr, x, y + tly - tly * k, x + tlx - tlx * k, y, x + tlx, y);
    cairo_close_path(cr);
}

bool hasRadius(const litehtml::border_radiuses& r) {
    return r.top_left_x || r.top_left_y || r.top_right_x || r.top_right_y || r.bottom_left_x ||
           r.bottom_left_y || r.bottom_right_x || r.bottom_right_y;
}

litehtml::border_radiuses shrinkRadii(litehtml::border_radiuses r, double left, double top,
                                      double right, double bottom) {
    const auto less = [](int radius, double by) {
        return static_cast<int>(std::max(0.0, std::round(radius - by)));
    };
    r.top_left_x = less(r.top_left_x, left);
    r.top_left_y = less(r.top_left_y, top);
    r.top_right_x = less(r.top_right_x, right);
    r.top_right_y = less(r.top_right_y, top);
    r.bottom_right_x = less(r.bottom_right_x, right);
    r.bottom_right_y = less(r.bottom_right_y, bottom);
    r.bottom_left_x = less(r.bottom_left_x, left);
    r.bottom_left_y = less(r.bottom_left_y, bottom);
    return r;
}

}  // namespace web
