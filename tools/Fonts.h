// The DejaVu faces (Debian's fonts-dejavu-core) loaded with FreeType and
// handed to cairo, plus text-path helpers for the headings.
#ifndef ZIBO_TOOLS_FONTS_H
#define ZIBO_TOOLS_FONTS_H

#include <cairo.h>

#include <string>

enum class FontStyle { Sans, SansBold };

// The TTF file of the style, under the directory set at build time.
std::string FontFilePath(FontStyle style);
// The face, loaded once and kept for the run; null (with a message on
// standard error) when the file cannot be loaded.
cairo_font_face_t* LoadFontFace(FontStyle style);

// Adds the text's outline to the path with its first pen position at x and
// its baseline at y; spacing is extra pixels after every character. Returns
// the advance of the whole text.
double TextPath(cairo_t* cr, FontStyle style, double size, const std::string& text, double x,
                double y, double spacing = 0.0);
// The advance TextPath would make, without touching the path.
double TextAdvance(cairo_t* cr, FontStyle style, double size, const std::string& text,
                   double spacing = 0.0);

#endif
