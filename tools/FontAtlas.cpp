#include "FontAtlas.h"

#include "Fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
const int kScratch = 64;
const int kOriginX = 16, kBaselineY = 44;
const int kGap = 2;  // empty pixels between glyphs in the atlas
}  // namespace

FontAtlas BuildFontAtlas() {
    FontAtlas atlas;
    atlas.image.Fill(Color{0, 0, 0, 0});
    cairo_font_face_t* face = LoadFontFace(FontStyle::SansBold);
    if (face == nullptr) {
        return atlas;
    }
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, kScratch, kScratch);
    cairo_t* cr = cairo_create(scratch);
    cairo_set_font_face(cr, face);
    cairo_set_font_size(cr, kFontPixelSize);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_scaled_font_t* font = cairo_get_scaled_font(cr);

    cairo_font_extents_t fe;
    cairo_scaled_font_extents(font, &fe);
    atlas.base = static_cast<int>(std::lround(fe.ascent));
    atlas.lineHeight = static_cast<int>(std::lround(fe.height)) + 2;
    const int lineBottom = atlas.base + static_cast<int>(std::ceil(fe.descent));

    int penX = 1, penY = 1, rowHeight = 0;
    for (int code = kFirstAtlasChar; code <= kLastAtlasChar; ++code) {
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        const char text[2] = {static_cast<char>(code), 0};
        cairo_scaled_font_text_to_glyphs(font, 0, 0, text, 1, &glyphs, &count, nullptr, nullptr,
                                         nullptr);
        if (count < 1) {
            continue;
        }
        cairo_glyph_t g = glyphs[0];
        cairo_glyph_free(glyphs);
        cairo_text_extents_t extents;
        g.x = 0;
        g.y = 0;
        cairo_scaled_font_glyph_extents(font, &g, 1, &extents);
        // draw it at a whole-pixel pen position and find its inked box
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_restore(cr);
        g.x = kOriginX;
        g.y = kBaselineY;
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_show_glyphs(cr, &g, 1);
        cairo_surface_flush(scratch);
        const unsigned char* data = cairo_image_surface_get_data(scratch);
        const int stride = cairo_image_surface_get_stride(scratch);
        int x0 = kScratch, y0 = kScratch, x1 = -1, y1 = -1;
        for (int y = 0; y < kScratch; ++y) {
            for (int x = 0; x < kScratch; ++x) {
                if (data[y * stride + x] != 0) {
                    x0 = std::min(x0, x);
                    y0 = std::min(y0, y);
                    x1 = std::max(x1, x);
                    y1 = std::max(y1, y);
                }
            }
        }
        // The cell spans the glyph's whole advance and the line's height, and
        // more where ink overhangs: then xoffset is 0 and width equals xadvance
        // for nearly every glyph, so text drawn right-aligned (which steps by
        // width) is spaced exactly like text drawn left-aligned (by xadvance).
        const int advance = static_cast<int>(std::lround(extents.x_advance));
        const int lineTop = kBaselineY - atlas.base;
        int left = 0, right = advance, top = 0, bottom = lineBottom;
        if (x1 >= 0) {
            left = std::min(left, x0 - kOriginX);
            right = std::max(right, x1 - kOriginX + 1);
            top = std::min(top, y0 - lineTop);
            bottom = std::max(bottom, y1 - lineTop + 1);
        }
        const int w = right - left, h = bottom - top;
        if (penX + w + 1 > kFontAtlasSize) {
            penX = 1;
            penY += rowHeight + kGap;
            rowHeight = 0;
        }
        AtlasGlyph ag{code, penX, penY, w, h, left, top, advance};
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int sx = kOriginX + left + x, sy = lineTop + top + y;
                const double coverage = data[sy * stride + sx] / 255.0;
                if (coverage > 0) {
                    atlas.image.At(penX + x, penY + y) = Color{1, 1, 1, coverage};
                }
            }
        }
        penX += w + kGap;
        rowHeight = std::max(rowHeight, h);
        atlas.glyphs.push_back(ag);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    if (penY + rowHeight > kFontAtlasSize) {
        fprintf(stderr, "zibo-assets: the glyphs do not fit the %d x %d font image\n",
                kFontAtlasSize, kFontAtlasSize);
        return atlas;
    }

    char line[200];
    std::string& def = atlas.definition;
    snprintf(line, sizeof(line),
             "info face=\"DejaVu Sans Bold\" size=%d bold=1 italic=0 charset=\"\" unicode=0 "
             "stretchH=100 smooth=1 aa=1 padding=0,0,0,0 spacing=%d,%d",
             static_cast<int>(std::lround(kFontPixelSize)), kGap, kGap);
    def += line;
    snprintf(line, sizeof(line), "\ncommon lineHeight=%d base=%d scaleW=%d scaleH=%d pages=1",
             atlas.lineHeight, atlas.base, kFontAtlasSize, kFontAtlasSize);
    def += line;
    for (const AtlasGlyph& g : atlas.glyphs) {
        snprintf(line, sizeof(line),
                 "\nchar id=%d x=%d y=%d width=%d height=%d xoffset=%d yoffset=%d xadvance=%d "
                 "page=0",
                 g.id, g.x, g.y, g.width, g.height, g.xoffset, g.yoffset, g.xadvance);
        def += line;
    }
    atlas.ok = true;
    return atlas;
}

int AtlasTextWidth(const FontAtlas& atlas, const std::string& text) {
    int width = 0;
    for (unsigned char c : text) {
        for (const AtlasGlyph& g : atlas.glyphs) {
            if (g.id == c) {
                width += g.xadvance;
            }
        }
    }
    return width;
}
