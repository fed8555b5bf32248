// The game's bitmap font: DejaVu Sans Bold rasterised through cairo's FreeType
// backend into a 256 x 256 image (white glyphs, everything else pure black and
// transparent) and its definition file in the narrowed BMFont text format the
// engine reads: the info line, the common line, then one char line per glyph,
// with no page, chars or kerning lines and no line feed after the last line.
#ifndef ZIBO_TOOLS_FONT_ATLAS_H
#define ZIBO_TOOLS_FONT_ATLAS_H

#include "Image.h"

#include <string>
#include <vector>

struct AtlasGlyph {
    int id, x, y, width, height, xoffset, yoffset, xadvance;
};

// The atlas image's side, and the characters it holds: printable ASCII.
const int kFontAtlasSize = 256;
const int kFirstAtlasChar = 32, kLastAtlasChar = 126;

struct FontAtlas {
    Image image{kFontAtlasSize, kFontAtlasSize};
    std::vector<AtlasGlyph> glyphs;  // from kFirstAtlasChar to kLastAtlasChar
    int lineHeight = 0;
    int base = 0;
    std::string definition;  // the .fnt text
    bool ok = false;
};

// The pixel size of the font. DejaVu Sans Bold at 12.25 px makes the screens'
// centred texts about as wide as the screens' centring offsets expect ("Press
// SPACEBAR to begin" 173 of about 176 px, "Programming and Graphics by" 209 of
// 210) while "Right Button" (88 px) still ends before the title screen's
// second column 93 px to its right; at 12.5 px it would run into it.
const double kFontPixelSize = 12.25;

FontAtlas BuildFontAtlas();
// The width of a text drawn with the atlas: the sum of its glyphs' advances.
int AtlasTextWidth(const FontAtlas& atlas, const std::string& text);

#endif
