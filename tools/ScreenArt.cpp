#include "ScreenArt.h"

#include "Angles.h"
#include "Fonts.h"
#include "Random.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const double kCapHeight = 0.729;  // DejaVu Sans Bold cap height per em

struct HeadingText {
    std::string text;
    double size;
    double spacing;
    double x;         // pen start
    double baseline;  // y of the baseline
};

// A heading image: its size, its words, and the largest letter size and the
// spacing (per em) to set them in. A heading and its echo share one, so that
// the echo lies on the heading's letters.
struct HeadingLayout {
    int width, height;
    const char* text;
    double maxSize, spacingPerEm;
};

// Fits the words into the image, centred, capitals centred vertically: the
// letters shrink until they leave a margin on either side.
HeadingText FitHeading(const HeadingLayout& layout) {
    const double margin = 6, smallestSize = 8, sizeStep = 0.5;
    Drawing probe(8, 8);  // only measures the text
    double size = layout.maxSize;
    double advance = 0;
    for (;;) {
        advance = TextAdvance(probe.Context(), FontStyle::SansBold, size, layout.text,
                              size * layout.spacingPerEm);
        if (advance <= layout.width - 2 * margin || size < smallestSize) {
            break;
        }
        size -= sizeStep;
    }
    HeadingText h;
    h.text = layout.text;
    h.size = size;
    h.spacing = size * layout.spacingPerEm;
    h.x = (layout.width - advance) / 2.0;
    h.baseline = layout.height / 2.0 + size * kCapHeight / 2.0;
    return h;
}

void HeadingPath(cairo_t* cr, const HeadingText& h, double dx = 0, double dy = 0) {
    cairo_new_path(cr);
    TextPath(cr, FontStyle::SansBold, h.size, h.text, h.x + dx, h.baseline + dy, h.spacing);
}

// The letters as a mask image, optionally thickened by a stroke.
Image HeadingMask(int width, int height, const HeadingText& h, double grow) {
    Drawing d(width, height);
    cairo_t* cr = d.Context();
    HeadingPath(cr, h);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    if (grow > 0) {
        cairo_set_line_width(cr, grow * 2);
        cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
    return d.ToImage();
}

Image Tinted(const Image& mask, const Color& colour) {
    Image out(mask.Width(), mask.Height());
    for (int y = 0; y < mask.Height(); ++y) {
        for (int x = 0; x < mask.Width(); ++x) {
            out.At(x, y) = Color{colour.r, colour.g, colour.b, mask.At(x, y).a * colour.a};
        }
    }
    return out;
}

struct HeadingStyle {
    Color top, upper, middle, lower, bottom;  // the fill's vertical gradient
    Color outline;
    Color shine;  // the bevel highlight along the letters' top edges
};

// A heading: a soft shadow, a thick dark outline, a banded gradient fill and a
// thin highlight along the top edges of the letters.
Image RenderHeading(const HeadingLayout& layout, const HeadingStyle& style) {
    const int width = layout.width, height = layout.height;
    const HeadingText h = FitHeading(layout);

    Image shadow = Tinted(HeadingMask(width, height, h, 2.5), Color{0, 0, 0, 0.75});
    shadow.Blur(2);
    Image shifted(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x - 2 >= 0 && y - 3 >= 0) {
                shifted.At(x, y) = shadow.At(x - 2, y - 3);
            }
        }
    }
    Drawing d(width, height);
    cairo_t* cr = d.Context();
    d.PaintImage(shifted);

    const double capTop = h.baseline - h.size * kCapHeight;
    HeadingPath(cr, h);
    cairo_set_line_width(cr, 3.6);
    SetSource(cr, style.outline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, capTop, 0, h.baseline);
    AddColorStop(fill, 0.0, style.top);
    AddColorStop(fill, 0.45, style.upper);
    AddColorStop(fill, 0.5, style.middle);
    AddColorStop(fill, 0.78, style.lower);
    AddColorStop(fill, 1.0, style.bottom);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);

    // bevel: the letters' shape shifted down, cut from the letters, lit
    cairo_push_group(cr);
    HeadingPath(cr, h);
    SetSource(cr, style.shine);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    HeadingPath(cr, h, 0.0, 1.6);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
    return d.ToImage();
}

// An echo: the letters' glow and a faint fill, light enough to tint.
Image RenderEcho(const HeadingLayout& layout, const Color& glowColour, const Color& fillColour) {
    const int width = layout.width, height = layout.height;
    const HeadingText h = FitHeading(layout);
    Image glow = Tinted(HeadingMask(width, height, h, 2.0), glowColour);
    glow.Blur(3);
    Image body = Tinted(HeadingMask(width, height, h, 0.0), fillColour);
    Drawing d(width, height);
    cairo_t* cr = d.Context();
    d.PaintImage(glow);
    d.PaintImage(body);
    HeadingPath(cr, h);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_stroke(cr);
    return d.ToImage();
}

const HeadingLayout kTitleLayout = {256, 64, "Z.I.B.O.", 56, 0.10};
const HeadingLayout kStatisticsLayout = {512, 64, "GAME OVER", 54, 0.16};
const HeadingLayout kCreditsLayout = {512, 64, "CREDITS", 54, 0.18};

}  // namespace

Image TitleHeading() {
    const HeadingStyle fire{Rgb(255, 255, 236),      Rgb(255, 214, 96), Rgb(255, 150, 32),
                            Rgb(232, 72, 16),        Rgb(140, 24, 8),   Rgb(28, 8, 4, 0.95),
                            Rgb(255, 255, 255, 0.85)};
    return RenderHeading(kTitleLayout, fire);
}

Image TitleEcho() {
    return RenderEcho(kTitleLayout, Rgb(255, 170, 70, 0.8), Rgb(255, 230, 180, 0.35));
}

Image TitleSubtitle() {
    const int width = 256, height = 16;
    Drawing d(width, height);
    cairo_t* cr = d.Context();
    const std::string text = "THE ZIBONAUTS";
    const double size = 10.0, spacing = 3.0;
    const double advance = TextAdvance(cr, FontStyle::SansBold, size, text, spacing);
    const double x = (width - advance) / 2.0, baseline = height / 2.0 + size * kCapHeight / 2.0;
    // rules either side that fade out towards the ends, with a diamond each
    for (int side = -1; side <= 1; side += 2) {
        const double inner = side < 0 ? x - 8 : x + advance + 8;
        const double outer = side < 0 ? 6 : width - 6;
        cairo_pattern_t* p = cairo_pattern_create_linear(inner, 0, outer, 0);
        cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.62, 0.2, 0.95);
        cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.62, 0.2, 0.0);
        cairo_set_source(cr, p);
        cairo_rectangle(cr, std::min(inner, outer), 7.5, std::fabs(outer - inner), 1.2);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        const double dx = side < 0 ? x - 5 : x + advance + 5;
        cairo_move_to(cr, dx, 5.0);
        cairo_line_to(cr, dx + 3, 8.1);
        cairo_line_to(cr, dx, 11.2);
        cairo_line_to(cr, dx - 3, 8.1);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 1.0, 0.75, 0.3, 1.0);
        cairo_fill(cr);
    }
    // the words, with a dark edge so they read over any floor
    cairo_new_path(cr);
    TextPath(cr, FontStyle::SansBold, size, text, x, baseline, spacing);
    cairo_set_line_width(cr, 2.0);
    cairo_set_source_rgba(cr, 0.05, 0.03, 0.02, 0.85);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 0.96, 0.94, 0.88, 1.0);
    cairo_fill(cr);
    return d.ToImage();
}

Image StatisticsHeading() {
    // drawn with the colour (1, 0, 0): a greyscale design becomes shades of red
    const HeadingStyle steel{Rgb(255, 255, 255),     Rgb(236, 236, 236), Rgb(176, 176, 176),
                             Rgb(210, 210, 210),     Rgb(120, 120, 120), Rgb(16, 16, 16, 0.95),
                             Rgb(255, 255, 255, 0.9)};
    return RenderHeading(kStatisticsLayout, steel);
}

Image StatisticsEcho() {
    return RenderEcho(kStatisticsLayout, Rgb(255, 255, 255, 0.75), Rgb(255, 255, 255, 0.3));
}

Image CreditsHeading() {
    const HeadingStyle chrome{Rgb(255, 255, 255),      Rgb(196, 228, 255), Rgb(96, 160, 230),
                              Rgb(150, 200, 245),      Rgb(40, 80, 150),   Rgb(6, 12, 30, 0.95),
                              Rgb(255, 255, 255, 0.85)};
    return RenderHeading(kCreditsLayout, chrome);
}

Image CreditsEcho() {
    return RenderEcho(kCreditsLayout, Rgb(120, 190, 255, 0.8), Rgb(210, 235, 255, 0.35));
}

Image WhitePixel() {
    Image image(1, 1);
    image.At(0, 0) = Color{1, 1, 1, 1};
    return image;
}

Image SlowMotionOverlay() {
    const int size = 512;
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // coordinates over the screen, -1..1, and an elliptical radius
            const double u = (x + 0.5) / size * 2 - 1, v = (y + 0.5) / size * 2 - 1;
            const double r = std::sqrt(u * u * 0.9 + v * v * 1.1);
            const double vignette = SmoothStep(0.45, 1.35, r);
            // a cool blue wash over everything, deepening into dark edges
            Color c = Mix(Rgb(70, 140, 255), Rgb(6, 14, 40), vignette);
            double a = 0.14 + 0.62 * vignette * vignette;
            // faint horizontal bands, broad enough to survive the stretch
            const double band = 0.5 + 0.5 * std::sin((y + 0.5) / size * kPi * 48.0);
            a += 0.035 * band * (1.0 - vignette);
            c.a = Clamp01(a);
            image.At(x, y) = c;
        }
    }
    // corner brackets, as in a camera's viewfinder
    Drawing d(size, size);
    cairo_t* cr = d.Context();
    d.PaintImage(image);
    cairo_set_line_width(cr, 3.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_source_rgba(cr, 0.75, 0.88, 1.0, 0.55);
    const double m = 26, len = 46;
    for (int k = 0; k < 4; ++k) {
        const double sx = (k & 1) ? size - m : m, sy = (k & 2) ? size - m : m;
        const double dx = (k & 1) ? -len : len, dy = (k & 2) ? -len : len;
        cairo_move_to(cr, sx + dx, sy);
        cairo_line_to(cr, sx, sy);
        cairo_line_to(cr, sx, sy + dy);
        cairo_stroke(cr);
    }
    return d.ToImage();
}

Image HudPanel() {
    // The game draws it at (10, 10), 128 x 64, with alpha 0.5; the bars lie over
    // it at window x 32..134, y 22..34 (health) and y 38..50 (energy), so in the
    // panel at x 22..124, y 12..24 and 28..40. The cat-mode spot, window x 22..74
    // and y 64..71, is the word STATUS at panel x 12..64, y 54..61.
    Drawing d(128, 64);
    cairo_t* cr = d.Context();
    RoundedRectPath(cr, 0.5, 0.5, 127, 63, 7);
    cairo_pattern_t* bg = cairo_pattern_create_linear(0, 0, 0, 64);
    cairo_pattern_add_color_stop_rgba(bg, 0, 0.10, 0.14, 0.20, 0.95);
    cairo_pattern_add_color_stop_rgba(bg, 1, 0.02, 0.03, 0.06, 0.95);
    cairo_set_source(cr, bg);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bg);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.75, 0.85, 1.0, 1.0);
    cairo_stroke(cr);
    RoundedRectPath(cr, 2.5, 2.5, 123, 59, 5);
    cairo_set_source_rgba(cr, 0.4, 0.5, 0.65, 0.6);
    cairo_stroke(cr);
    // recessed troughs under the two bars
    for (int i = 0; i < 2; ++i) {
        const double y = i == 0 ? 11.5 : 27.5;
        cairo_rectangle(cr, 21.5, y, 104, 14);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.85);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.45, 0.55, 0.7, 0.8);
        cairo_stroke(cr);
        // tick marks every quarter
        for (int t = 1; t < 4; ++t) {
            const double tx = 22.5 + t * 25.0;
            cairo_move_to(cr, tx, y + 10);
            cairo_line_to(cr, tx, y + 13.5);
        }
        cairo_set_source_rgba(cr, 0.6, 0.7, 0.85, 0.8);
        cairo_stroke(cr);
    }
    // health icon: a red cross
    cairo_rectangle(cr, 9, 13, 4, 12);
    cairo_rectangle(cr, 5, 17, 12, 4);
    cairo_set_source_rgba(cr, 0.1, 0, 0, 1);
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 1.0, 0.2, 0.15, 1.0);
    cairo_fill(cr);
    // slow-motion icon: an hourglass
    cairo_move_to(cr, 6, 28.5);
    cairo_line_to(cr, 16, 28.5);
    cairo_line_to(cr, 11, 34);
    cairo_line_to(cr, 16, 39.5);
    cairo_line_to(cr, 6, 39.5);
    cairo_line_to(cr, 11, 34);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 2.0);
    cairo_set_source_rgba(cr, 0.02, 0.05, 0.1, 1);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 0.55, 0.85, 1.0, 1.0);
    cairo_fill(cr);
    // the STATUS label in the cat-mode spot, with a divider above it
    cairo_move_to(cr, 8, 48.5);
    cairo_line_to(cr, 120, 48.5);
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.45, 0.55, 0.7, 0.7);
    cairo_stroke(cr);
    const double size = 9.6;  // cap height about 7 px: rows 54..61
    const double plain = TextAdvance(cr, FontStyle::SansBold, size, "STATUS");
    const double spacing = (52.0 - plain) / 5.0;
    cairo_new_path(cr);
    TextPath(cr, FontStyle::SansBold, size, "STATUS", 12.0, 61.0, spacing);
    cairo_set_source_rgba(cr, 0.0, 0.5, 1.0, 1.0);
    cairo_fill(cr);
    // small status lights to the right of the label
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, 84.0 + i * 10.0, 57.5, 2.2, 0, kTau);
        cairo_set_source_rgba(cr, i == 0 ? 0.3 : 0.15, i == 0 ? 1.0 : 0.4, i == 0 ? 0.4 : 0.2, 1.0);
        cairo_fill(cr);
    }
    return d.ToImage();
}

Image EngineSplash() {
    const int w = 256, h = 128;
    Drawing d(w, h);
    cairo_t* cr = d.Context();
    cairo_pattern_t* bg = cairo_pattern_create_radial(64, 64, 4, 96, 64, 190);
    cairo_pattern_add_color_stop_rgb(bg, 0, 0.22, 0.10, 0.05);
    cairo_pattern_add_color_stop_rgb(bg, 1, 0.04, 0.03, 0.03);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    // the mill wheel: a rim, spokes and paddles, glowing like an ember
    const double cx = 46, cy = 64, r = 30;
    cairo_pattern_t* ember = cairo_pattern_create_radial(cx, cy, 2, cx, cy, r + 8);
    cairo_pattern_add_color_stop_rgba(ember, 0, 1.0, 0.85, 0.4, 0.9);
    cairo_pattern_add_color_stop_rgba(ember, 0.6, 1.0, 0.4, 0.05, 0.5);
    cairo_pattern_add_color_stop_rgba(ember, 1, 0.6, 0.1, 0.0, 0.0);
    cairo_set_source(cr, ember);
    cairo_arc(cr, cx, cy, r + 8, 0, kTau);
    cairo_fill(cr);
    cairo_pattern_destroy(ember);
    cairo_set_source_rgb(cr, 0.12, 0.07, 0.05);
    cairo_set_line_width(cr, 4);
    cairo_arc(cr, cx, cy, r - 4, 0, kTau);
    cairo_stroke(cr);
    for (int i = 0; i < 8; ++i) {
        const double a = i * kPi / 4 + 0.2;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + (r - 4) * std::cos(a), cy + (r - 4) * std::sin(a));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        cairo_save(cr);
        cairo_translate(cr, cx + (r - 1) * std::cos(a), cy + (r - 1) * std::sin(a));
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -3, -5, 6, 10);
        cairo_restore(cr);
        cairo_fill(cr);
    }
    cairo_arc(cr, cx, cy, 5, 0, kTau);
    cairo_fill(cr);
    // the name
    cairo_new_path(cr);
    TextPath(cr, FontStyle::SansBold, 22, "CINDERMILL", 88, 66, 0.5);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 48, 0, 68);
    cairo_pattern_add_color_stop_rgb(fill, 0, 1.0, 0.9, 0.6);
    cairo_pattern_add_color_stop_rgb(fill, 1, 1.0, 0.45, 0.1);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    cairo_new_path(cr);
    TextPath(cr, FontStyle::Sans, 10, "2D GAME ENGINE", 90, 84, 3.0);
    cairo_set_source_rgba(cr, 0.85, 0.75, 0.65, 0.9);
    cairo_fill(cr);
    return d.ToImage();
}
