// libFuzzer target: any bytes as a font definition text, read in-process.
// A malformed text must come back as a verdict; nothing may crash, hang or
// touch memory outside the font, and the glyph table must stay consistent.
#include "OruBitmapFont.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* stream = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (stream == nullptr) {
        return 0;
    }
    OruBitmapFont font;
    font.ReadDefinition(stream);
    fclose(stream);
    // Every stored record sits under its own id; codes never stored stay zero.
    for (int code = 0; code < OruBitmapFont::kGlyphCount; ++code) {
        const Glyph& glyph = font.GetGlyph(code);
        if (glyph.id != code && glyph.id != 0) {
            __builtin_trap();
        }
    }
    return 0;
}
