// Layout the HUD and the screens share, in window pixels.
#ifndef ZIBO_SCREEN_LAYOUT_H
#define ZIBO_SCREEN_LAYOUT_H

#include <cstdint>

// Each screen's heading image stands centred at the top, and its echoes
// slide out of it at the same height.
const int32_t kHeadingY = 10;
const int32_t kHeadingHeight = 64;
const int32_t kWideHeadingWidth = 512;  // statistics and credits

// The two lines of text at the window's foot, as the rise of the coloured
// text's pen above the bottom edge.
const int32_t kFootLineRise = 22;
const int32_t kUpperFootLineRise = 40;

// OpenGL colour components, 0 to 1, that a sprite is drawn in.
struct Tint {
    float red, green, blue;
};
const Tint kUntinted = {1.0f, 1.0f, 1.0f};

// What tells one screen's heading from another's.
struct HeadingLook {
    int32_t sprite;
    int32_t echoSprite;
    int32_t width;
    Tint tint;
    Tint echoTint;
};

#endif
