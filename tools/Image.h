// Pixel buffers for the asset generator: a float RGBA image with straight
// alpha for per-pixel work (noise, blur, masks), conversions to and from cairo
// surfaces for vector drawing, and deterministic PNG output.
#ifndef ZIBO_TOOLS_IMAGE_H
#define ZIBO_TOOLS_IMAGE_H

#include <cairo.h>

#include <string>
#include <vector>

struct Color {
    double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
};

// Colour from 0..255 components and an alpha of 0..1.
Color Rgb(int r, int g, int b, double a = 1.0);
Color Mix(const Color& x, const Color& y, double t);
double Clamp01(double v);
double SmoothStep(double edge0, double edge1, double x);

class Image {
public:
    Image(int width, int height);
    int Width() const { return width; }
    int Height() const { return height; }
    Color& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Color& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void Fill(const Color& c);
    // Three box-blur passes of the given radius (about a Gaussian), done on
    // premultiplied values so edges do not darken. Wraps around when asked.
    void Blur(int radius, bool wrap = false);

    // A new premultiplied ARGB32 cairo surface holding this image.
    cairo_surface_t* ToSurface() const;
    static Image FromSurface(cairo_surface_t* surface);

    // Writes a PNG: RGBA when withAlpha, otherwise RGB (alpha dropped).
    // Fully transparent pixels are written as pure black. Returns false on
    // failure.
    bool SavePng(const std::string& path, bool withAlpha) const;

private:
    int width;
    int height;
    std::vector<Color> pixels;
};

// A cairo context over a fresh transparent ARGB32 surface, with an optional
// user-space scale so that art can be drawn in the units of its drawn size.
class Drawing {
public:
    Drawing(int width, int height, double scale = 1.0);
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;
    cairo_t* Context() { return cr; }
    cairo_surface_t* Surface() { return surface; }
    Image ToImage();
    // Paints an image at device pixel (0, 0), over what is there.
    void PaintImage(const Image& image, double alpha = 1.0);

private:
    cairo_surface_t* surface;
    cairo_t* cr;
};

// Small cairo helpers used across the art modules.
void SetSource(cairo_t* cr, const Color& c);
void SetSource(cairo_t* cr, const Color& c, double alphaFactor);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
// A segment with round caps, like a limb.
void Capsule(cairo_t* cr, double x0, double y0, double x1, double y1, double width,
             const Color& fill);
void AddColorStop(cairo_pattern_t* pattern, double offset, const Color& c,
                  double alphaFactor = 1.0);

#endif
