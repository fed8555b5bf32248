#include "ContactSheet.h"

#include "Fonts.h"

#include <algorithm>

namespace {
const int kSheetWidth = 1400;
const int kPad = 8;
const int kMaxZoomedSide = 200;
const int kMaxZoom = 4;
const int kMaxZoomedWidth = 320;  // wider images are shown at their drawn size only
const int kLabelHeight = 20;
}  // namespace

bool WriteContactSheet(const std::vector<SheetEntry>& entries, const std::string& path) {
    // lay out: cells flow left to right; each holds drawn + zoomed versions
    struct Cell {
        int x, y, w, h;
        int drawnWidth, drawnHeight;
        int zoom;  // of the second, zoomed view; 0 for none
    };
    std::vector<Cell> cells;
    int x = kPad, y = kPad, rowHeight = 0;
    for (const SheetEntry& e : entries) {
        const int dw = e.drawnWidth, dh = e.drawnHeight;
        int zoom = std::max(1, kMaxZoomedSide / std::max(dw, dh));
        zoom = std::min(zoom, kMaxZoom);
        const int zoomed = dw * zoom > kMaxZoomedWidth ? 0 : zoom;
        const int w = dw + (zoomed ? dw * zoomed + kPad : 0) + kPad;
        const int h = std::max(dh, zoomed ? dh * zoomed : 0) + kLabelHeight;
        if (x + w > kSheetWidth) {
            x = kPad;
            y += rowHeight + kPad;
            rowHeight = 0;
        }
        cells.push_back(Cell{x, y, w, h, dw, dh, zoomed});
        x += w + kPad;
        rowHeight = std::max(rowHeight, h);
    }
    const int height = y + rowHeight + kPad;
    Drawing d(kSheetWidth, height);
    cairo_t* cr = d.Context();
    cairo_set_source_rgb(cr, 0.16, 0.17, 0.19);
    cairo_paint(cr);
    for (size_t i = 0; i < entries.size(); ++i) {
        const SheetEntry& e = entries[i];
        const Cell& c = cells[i];
        const int dw = c.drawnWidth, dh = c.drawnHeight;
        cairo_surface_t* s = e.image->ToSurface();
        // a floor-like patch so transparency shows
        cairo_rectangle(cr, c.x, c.y, dw, dh);
        cairo_set_source_rgb(cr, 0.30, 0.31, 0.33);
        cairo_fill(cr);
        for (int pass = 0; pass < 2; ++pass) {
            const int zoom = pass == 0 ? 1 : c.zoom;
            if (zoom == 0) {
                continue;
            }
            const int ox = pass == 0 ? c.x : c.x + dw + kPad;
            if (pass == 1) {
                cairo_rectangle(cr, ox, c.y, dw * zoom, dh * zoom);
                cairo_set_source_rgb(cr, 0.30, 0.31, 0.33);
                cairo_fill(cr);
            }
            cairo_save(cr);
            cairo_translate(cr, ox, c.y);
            cairo_scale(cr, static_cast<double>(dw) * zoom / e.image->Width(),
                        static_cast<double>(dh) * zoom / e.image->Height());
            cairo_set_source_surface(cr, s, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr),
                                     pass == 0 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        cairo_surface_destroy(s);
        cairo_new_path(cr);
        TextPath(cr, FontStyle::Sans, 11, e.name, c.x, c.y + c.h - 5);
        cairo_set_source_rgb(cr, 0.9, 0.9, 0.9);
        cairo_fill(cr);
    }
    return d.ToImage().SavePng(path, false);
}
