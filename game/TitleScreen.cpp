// The title screen: heading with its echoes, the controls, and the prompts.
#include "Game.h"

#include "GameState.h"
#include "OruBitmapFont.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kHeadingY = 10;
const int32_t kHeadingWidth = 256;
const int32_t kHeadingHeight = 64;
const int32_t kSubtitleY = 64;
const int32_t kSubtitleHeight = 16;

// Offsets from the screen's centre.
struct ControlText {
    const char* text;
    int32_t dx, dy;
};
const ControlText kControls[] = {
    {"WASD", -73, -40},         {"- Move", 20, -40},       {"Mouse", -73, -20},
    {"- Aim", 20, -20},         {"Left Button", -73, 0},   {"- Fire", 20, 0},
    {"Right Button", -73, 20},  {"- Slow Motion", 20, 20},
};
}  // namespace

bool Game::titleFrame() {
    const int32_t W = screenWidth;
    const int32_t H = screenHeight;
    const int32_t headingX = W / 2 - kHeadingWidth / 2;
    titleEchoes.startOnce(static_cast<float>(headingX));
    pollScreenEvents();
    // ESC is read last, so with both keys held it decides.
    if (KeyHeld(SDLK_SPACE)) {
        state = TitleToPlay;
    }
    if (KeyHeld(SDLK_ESCAPE)) {
        state = TitleToCredits;
    }
    const EchoLook look = {titleSprites[1], kHeadingWidth, kHeadingHeight,
                           static_cast<float>(headingX), 1.0f, 1.0f, 1.0f};
    titleEchoes.run(sprites, look, fadeAlpha, frameTime);

    glColor4f(1, 1, 1, fadeAlpha);
    sprites->DrawSprite(titleSprites[0], headingX, kHeadingY, kHeadingWidth, kHeadingHeight);
    sprites->DrawSprite(titleSprites[2], headingX, kSubtitleY, kHeadingWidth, kSubtitleHeight);
    drawPrompts("Press SPACEBAR to begin");
    drawBand();

    font->SetColor(0, 0, 0);
    for (const ControlText& control : kControls) {
        font->DrawText(control.text, W / 2 + control.dx + 1, H / 2 + control.dy + 1, fadeAlpha);
    }
    font->SetColor(255, 255, 255);
    for (const ControlText& control : kControls) {
        font->DrawText(control.text, W / 2 + control.dx, H / 2 + control.dy, fadeAlpha);
    }
    glColor4f(1, 1, 1, 1);
    return quit;
}
