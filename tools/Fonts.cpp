#include "Fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <vector>

#ifndef ZIBO_FONT_DIR
#define ZIBO_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {
FT_Library library = nullptr;
cairo_font_face_t* faces[2] = {nullptr, nullptr};
const cairo_user_data_key_t kFaceKey = {};

void DoneFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

std::vector<cairo_glyph_t> Layout(cairo_t* cr, FontStyle style, double size,
                                  const std::string& text, double x, double y, double spacing,
                                  double* advance) {
    std::vector<cairo_glyph_t> result;
    *advance = 0.0;
    cairo_font_face_t* face = LoadFontFace(style);
    if (face == nullptr) {
        return result;
    }
    cairo_save(cr);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, size);
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr);
    double pen = x;
    for (unsigned char ch : text) {
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        const char one[2] = {static_cast<char>(ch), 0};
        if (cairo_scaled_font_text_to_glyphs(font, 0, 0, one, 1, &glyphs, &count, nullptr, nullptr,
                                             nullptr) == CAIRO_STATUS_SUCCESS) {
            for (int i = 0; i < count; ++i) {
                cairo_glyph_t g = glyphs[i];
                cairo_text_extents_t e;
                cairo_glyph_t probe = g;
                probe.x = probe.y = 0;
                cairo_scaled_font_glyph_extents(font, &probe, 1, &e);
                g.x = pen;
                g.y = y;
                result.push_back(g);
                pen += e.x_advance + spacing;
            }
            cairo_glyph_free(glyphs);
        }
    }
    cairo_restore(cr);
    *advance = pen - x - (text.empty() ? 0.0 : spacing);
    return result;
}
}  // namespace

std::string FontFilePath(FontStyle style) {
    return std::string(ZIBO_FONT_DIR) +
           (style == FontStyle::SansBold ? "/DejaVuSans-Bold.ttf" : "/DejaVuSans.ttf");
}

cairo_font_face_t* LoadFontFace(FontStyle style) {
    const int slot = style == FontStyle::SansBold ? 1 : 0;
    if (faces[slot] != nullptr) {
        return faces[slot];
    }
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        fprintf(stderr, "zibo-assets: FreeType cannot start\n");
        return nullptr;
    }
    const std::string path = FontFilePath(style);
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        fprintf(stderr, "zibo-assets: cannot load the font %s (install fonts-dejavu-core)\n",
                path.c_str());
        return nullptr;
    }
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_font_face_set_user_data(cf, &kFaceKey, face, DoneFace);
    faces[slot] = cf;
    return cf;
}

double TextPath(cairo_t* cr, FontStyle style, double size, const std::string& text, double x,
                double y, double spacing) {
    double advance = 0.0;
    std::vector<cairo_glyph_t> glyphs = Layout(cr, style, size, text, x, y, spacing, &advance);
    if (!glyphs.empty()) {
        cairo_save(cr);
        cairo_set_font_face(cr, LoadFontFace(style));
        cairo_set_font_size(cr, size);
        cairo_glyph_path(cr, glyphs.data(), static_cast<int>(glyphs.size()));
        cairo_restore(cr);
    }
    return advance;
}

double TextAdvance(cairo_t* cr, FontStyle style, double size, const std::string& text,
                   double spacing) {
    double advance = 0.0;
    Layout(cr, style, size, text, 0, 0, spacing, &advance);
    return advance;
}
