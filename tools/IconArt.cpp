#include "IconArt.h"

#include "Angles.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The badge's share of the icon: the theme's icons leave a small margin.
const double kBadgeMargin = 0.04;
const double kBadgeCorner = 0.2;
// The letter's box and bar thickness as shares of the size, before snapping.
const double kLetterTop = 0.2;
const double kLetterSide = 0.23;
const double kLetterBar = 0.17;
// Below these sizes a detail would only blur the letter.
const int kMinSightSize = 32;
const int kMinGridSize = 64;

const Color kSteelTop = Rgb(58, 70, 92);
const Color kSteelBottom = Rgb(16, 20, 30);
const Color kRim = Rgb(150, 176, 214);
const Color kGridLine = Rgb(120, 150, 200, 0.18);
const Color kSight = Rgb(220, 48, 32, 0.85);
const Color kFireTop = Rgb(255, 246, 176);
const Color kFireMiddle = Rgb(255, 160, 40);
const Color kFireBottom = Rgb(206, 54, 14);
const Color kLetterOutline = Rgb(28, 8, 4);

void Badge(cairo_t* cr, int size) {
    const double m = std::max(1.0, std::round(size * kBadgeMargin));
    const double side = size - 2 * m;
    RoundedRectPath(cr, m, m, side, side, side * kBadgeCorner);
    cairo_pattern_t* steel = cairo_pattern_create_linear(0, m, 0, size - m);
    AddColorStop(steel, 0.0, kSteelTop);
    AddColorStop(steel, 1.0, kSteelBottom);
    cairo_set_source(cr, steel);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(steel);
    // the rim as a one-pixel line just inside the edge
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_set_line_width(cr, std::max(2.0, size / 32.0));
    SetSource(cr, kRim, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The floor's grid, as on the title screen, behind the letter.
void Grid(cairo_t* cr, int size) {
    const double m = std::round(size * kBadgeMargin);
    const double side = size - 2 * m;
    cairo_save(cr);
    RoundedRectPath(cr, m, m, side, side, side * kBadgeCorner);
    cairo_clip(cr);
    cairo_set_line_width(cr, std::max(1.0, size / 128.0));
    SetSource(cr, kGridLine);
    const int cells = 4;
    for (int i = 1; i < cells; ++i) {
        const double p = std::round(m + side * i / cells) + 0.5;
        cairo_move_to(cr, p, m);
        cairo_line_to(cr, p, size - m);
        cairo_move_to(cr, m, p);
        cairo_line_to(cr, size - m, p);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A ring with four ticks pointing in, around the letter.
void Sight(cairo_t* cr, int size) {
    const double c = size / 2.0;
    const double r = size * 0.38;
    const double width = std::max(1.5, size / 28.0);
    cairo_set_line_width(cr, width);
    SetSource(cr, kSight);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r, 0, kTau);
    cairo_stroke(cr);
    const double outer = r + size * 0.06, inner = r - size * 0.05;
    for (int k = 0; k < 4; ++k) {
        const double a = k * kPi / 2;
        cairo_move_to(cr, c + std::cos(a) * outer, c + std::sin(a) * outer);
        cairo_line_to(cr, c + std::cos(a) * inner, c + std::sin(a) * inner);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
}

// The "Z" as one outline: top bar, diagonal, bottom bar. The bars' edges lie
// on whole pixels so that small sizes stay sharp.
void LetterPath(cairo_t* cr, int size) {
    const double top = std::round(size * kLetterTop);
    const double bottom = size - top;
    const double left = std::floor(size * kLetterSide);
    const double right = size - left;
    const double bar = std::max(2.0, std::floor(size * kLetterBar));
    // the diagonal's horizontal width where it meets a bar, for a stroke about
    // as thick as the bars
    const double slope = (right - left) / (bottom - top - 2 * bar);
    const double foot = bar * std::sqrt(1.0 + slope * slope) * 0.85;
    cairo_new_path(cr);
    cairo_move_to(cr, left, top);
    cairo_line_to(cr, right, top);
    cairo_line_to(cr, right, top + bar);
    cairo_line_to(cr, left + foot, bottom - bar);
    cairo_line_to(cr, right, bottom - bar);
    cairo_line_to(cr, right, bottom);
    cairo_line_to(cr, left, bottom);
    cairo_line_to(cr, left, bottom - bar);
    cairo_line_to(cr, right - foot, top + bar);
    cairo_line_to(cr, left, top + bar);
    cairo_close_path(cr);
}

void Letter(cairo_t* cr, int size) {
    const double top = std::round(size * kLetterTop);
    LetterPath(cr, size);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    // the outline's outer half shows around the fill
    cairo_set_line_width(cr, std::max(1.0, size / 16.0));
    SetSource(cr, kLetterOutline, 0.9);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* fire = cairo_pattern_create_linear(0, top, 0, size - top);
    AddColorStop(fire, 0.0, kFireTop);
    AddColorStop(fire, 0.5, kFireMiddle);
    AddColorStop(fire, 1.0, kFireBottom);
    cairo_set_source(cr, fire);
    cairo_fill(cr);
    cairo_pattern_destroy(fire);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

}  // namespace

Image GameIcon(int size) {
    Drawing d(size, size);
    cairo_t* cr = d.Context();
    Badge(cr, size);
    if (size >= kMinGridSize) {
        Grid(cr, size);
    }
    if (size >= kMinSightSize) {
        Sight(cr, size);
    }
    Letter(cr, size);
    return d.ToImage();
}

std::string IconFileName(int size) {
    return "zibo-" + std::to_string(size) + ".png";
}
