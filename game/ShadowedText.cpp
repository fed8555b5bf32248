#include "ShadowedText.h"

#include "OruBitmapFont.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {
const TextColour kShadowColour = {0, 0, 0};
const ShadowOffset kNoOffset = {0, 0};

void DrawOne(OruBitmapFont* font, const ShadowedText& text, ShadowOffset offset, float alpha) {
    const int32_t x = text.x + offset.dx;
    const int32_t y = text.y + offset.dy;
    if (text.alignment == ShadowedText::Right) {
        font->DrawFormattedRight(x, y, alpha, "%s", text.text);
    } else {
        font->DrawText(text.text, x, y, alpha);
    }
}
}  // namespace

void DrawShadowedTexts(OruBitmapFont* font, const ShadowedText* texts, size_t count, float alpha,
                       ShadowOffset shadow) {
    font->SetColor(kShadowColour.red, kShadowColour.green, kShadowColour.blue);
    for (size_t i = 0; i < count; ++i) {
        DrawOne(font, texts[i], shadow, alpha);
    }
    for (size_t i = 0; i < count; ++i) {
        const TextColour& colour = texts[i].colour;
        font->SetColor(colour.red, colour.green, colour.blue);
        DrawOne(font, texts[i], kNoOffset, alpha);
    }
}

int32_t TextWidth(const OruBitmapFont* font, const char* text) {
    // Wide, and clamped: a font file's advances may be anything.
    int64_t width = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        width += font->GetGlyph(static_cast<unsigned char>(*c)).xadvance;
    }
    return static_cast<int32_t>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, width)));
}

std::string FormatText(const char* format, ...) {
    char text[OruBitmapFont::kFormatBufferSize];
    va_list arguments;
    va_start(arguments, format);
    if (vsnprintf(text, sizeof(text), format, arguments) < 0) {
        text[0] = '\0';
    }
    va_end(arguments);
    return text;
}
