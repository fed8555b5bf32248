// Text on a black shadow one pixel below it and to one side: every text of
// the HUD and the screens is drawn so, to stay readable over any floor.
#ifndef ZIBO_SHADOWED_TEXT_H
#define ZIBO_SHADOWED_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

class OruBitmapFont;

// Font colour components, 0 to 255.
struct TextColour {
    uint8_t red, green, blue;
};

const TextColour kWhiteText = {255, 255, 255};
const TextColour kRedText = {255, 0, 0};

struct ShadowedText {
    enum Alignment { Left, Right };

    const char* text;
    int32_t x, y;  // the coloured text's pen position, at its right end when right-aligned
    TextColour colour;
    Alignment alignment = Left;
};

// Where a shadow lies from its text, in pixels.
struct ShadowOffset {
    int32_t dx, dy;
};
const ShadowOffset kShadowRightAndDown = {1, 1};  // the screens'
const ShadowOffset kShadowLeftAndDown = {-1, 1};  // the HUD's

// A text placed by its offset from a point that its screen supplies, such as
// the window's middle.
struct OffsetText {
    const char* text;
    int32_t dx, dy;
    TextColour colour = kWhiteText;

    ShadowedText from(int32_t originX, int32_t originY) const {
        return {text, originX + dx, originY + dy, colour};
    }
};

// Draws the shadows of all the texts, then the texts in their colours, all
// with the same alpha: no shadow of the group falls over one of its texts.
// The font keeps the last text's colour.
void DrawShadowedTexts(OruBitmapFont* font, const ShadowedText* texts, size_t count, float alpha,
                       ShadowOffset shadow = kShadowRightAndDown);

template <size_t kCount>
void DrawShadowedTexts(OruBitmapFont* font, const ShadowedText (&texts)[kCount], float alpha) {
    DrawShadowedTexts(font, texts, kCount, alpha);
}

inline void DrawShadowedText(OruBitmapFont* font, const ShadowedText& text, float alpha,
                             ShadowOffset shadow = kShadowRightAndDown) {
    DrawShadowedTexts(font, &text, 1, alpha, shadow);
}

// How far the pen moves over the text: its width in pixels.
int32_t TextWidth(const OruBitmapFont* font, const char* text);

// A printf-style text cut as the font cuts its own formatted texts, so that
// it can be formatted once and drawn twice.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif
