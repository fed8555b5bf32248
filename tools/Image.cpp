#include "Image.h"

#include "Angles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

Color Rgb(int r, int g, int b, double a) {
    return Color{r / 255.0, g / 255.0, b / 255.0, a};
}

Color Mix(const Color& x, const Color& y, double t) {
    return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                 x.a + (y.a - x.a) * t};
}

double Clamp01(double v) {
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

Image::Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}

void Image::Fill(const Color& c) {
    std::fill(pixels.begin(), pixels.end(), c);
}

namespace {
// One box-blur pass along a line of premultiplied values (stride in Colors).
void BoxLine(Color* line, int count, int stride, int radius, bool wrap, std::vector<Color>& tmp) {
    tmp.resize(count);
    for (int i = 0; i < count; ++i) {
        tmp[i] = line[static_cast<size_t>(i) * stride];
    }
    const double n = 2.0 * radius + 1.0;
    for (int i = 0; i < count; ++i) {
        Color s;
        for (int k = -radius; k <= radius; ++k) {
            int j = i + k;
            if (wrap) {
                j = ((j % count) + count) % count;
            } else if (j < 0 || j >= count) {
                continue;  // transparent outside
            }
            s.r += tmp[j].r;
            s.g += tmp[j].g;
            s.b += tmp[j].b;
            s.a += tmp[j].a;
        }
        line[static_cast<size_t>(i) * stride] = Color{s.r / n, s.g / n, s.b / n, s.a / n};
    }
}
}  // namespace

void Image::Blur(int radius, bool wrap) {
    if (radius <= 0) {
        return;
    }
    for (Color& c : pixels) {
        c.r *= c.a;
        c.g *= c.a;
        c.b *= c.a;
    }
    std::vector<Color> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) {
            BoxLine(&pixels[static_cast<size_t>(y) * width], width, 1, radius, wrap, tmp);
        }
        for (int x = 0; x < width; ++x) {
            BoxLine(&pixels[x], height, width, radius, wrap, tmp);
        }
    }
    for (Color& c : pixels) {
        if (c.a > 1e-9) {
            c.r /= c.a;
            c.g /= c.a;
            c.b /= c.a;
        } else {
            c = Color{};
        }
    }
}

namespace {

uint8_t ToByte(double v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0));
}

// One pixel as cairo keeps it: premultiplied ARGB32 with alpha, opaque RGB24
// without (the alpha dropped).
uint32_t CairoPixel(const Color& c, bool withAlpha) {
    if (!withAlpha) {
        return 0xFF000000u | (static_cast<uint32_t>(ToByte(c.r)) << 16) |
               (static_cast<uint32_t>(ToByte(c.g)) << 8) | ToByte(c.b);
    }
    const uint8_t a = ToByte(c.a);
    const double af = a / 255.0;
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(ToByte(c.r * af)) << 16) |
           (static_cast<uint32_t>(ToByte(c.g * af)) << 8) | ToByte(c.b * af);
}

cairo_surface_t* NewSurface(const Image& image, bool withAlpha) {
    cairo_surface_t* s = cairo_image_surface_create(
        withAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, image.Width(), image.Height());
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < image.Height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < image.Width(); ++x) {
            row[x] = CairoPixel(image.At(x, y), withAlpha);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace

cairo_surface_t* Image::ToSurface() const {
    return NewSurface(*this, true);
}

Image Image::FromSurface(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
    Image image(w, h);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const double a = hasAlpha ? ((p >> 24) & 0xFF) / 255.0 : 1.0;
            Color c;
            c.a = a;
            if (a > 0.0) {
                c.r = ((p >> 16) & 0xFF) / 255.0 / a;
                c.g = ((p >> 8) & 0xFF) / 255.0 / a;
                c.b = (p & 0xFF) / 255.0 / a;
            }
            image.At(x, y) = c;
        }
    }
    return image;
}

bool Image::SavePng(const std::string& path, bool withAlpha) const {
    cairo_surface_t* s = NewSurface(*this, withAlpha);
    const cairo_status_t status = cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    return status == CAIRO_STATUS_SUCCESS;
}

Drawing::Drawing(int width, int height, double scale) {
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

Drawing::~Drawing() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

Image Drawing::ToImage() {
    return Image::FromSurface(surface);
}

void Drawing::PaintImage(const Image& image, double alpha) {
    cairo_surface_t* s = image.ToSurface();
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

void SetSource(cairo_t* cr, const Color& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void SetSource(cairo_t* cr, const Color& c, double alphaFactor) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a * alphaFactor);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, kTau);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void Capsule(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
             const Color& fill) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width);
    SetSource(cr, fill);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void AddColorStop(cairo_pattern_t* pattern, double offset, const Color& c, double alphaFactor) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.r, c.g, c.b, c.a * alphaFactor);
}
