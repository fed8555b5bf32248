// Pieces the title, statistics and credits screens share.
#include "Game.h"

#include "OruBitmapFont.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kBandHalfHeight = 50;
const int32_t kBandLineHeight = 2;
const float kBandAlpha = 0.3f;
}  // namespace

void Game::pollScreenEvents() {
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        }
    }
}

void Game::drawBand() {
    const int32_t top = screenHeight / 2 - kBandHalfHeight;
    glColor4f(0, 0, 0, kBandAlpha * fadeAlpha);
    sprites->DrawSprite(pixelSprite, 0, top, screenWidth, 2 * kBandHalfHeight);
    glColor4f(1, 1, 1, fadeAlpha);
    sprites->DrawSprite(pixelSprite, 0, top, screenWidth, kBandLineHeight);
    sprites->DrawSprite(pixelSprite, 0, screenHeight / 2 + kBandHalfHeight, screenWidth,
                        kBandLineHeight);
}

void Game::drawPrompts(const char* spaceText) {
    const int32_t W = screenWidth;
    const int32_t H = screenHeight;
    font->SetColor(0, 0, 0);
    font->DrawText(spaceText, W / 2 - 87, H - 39, fadeAlpha);
    font->SetColor(255, 255, 255);
    font->DrawText(spaceText, W / 2 - 88, H - 40, fadeAlpha);
    font->SetColor(0, 0, 0);
    font->DrawText("Press ESC to quit", W / 2 - 58, H - 21, fadeAlpha);
    font->SetColor(255, 0, 0);
    font->DrawText("Press ESC to quit", W / 2 - 59, H - 22, fadeAlpha);
}
