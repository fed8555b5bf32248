// The heads-up display of play: slow-motion overlay, panel, health and
// energy bars, body count and round time.
#include "Game.h"

#include "OruBitmapFont.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

// One layer of a bar: the one-pixel image stretched to the bar's value plus
// extraWidth pixels, in its own colour and share of the fade.
struct BarLayer {
    int32_t x, y, extraWidth, height;
    float red, green, blue, alphaScale;
};

namespace {
const int32_t kPanelX = 10;
const int32_t kPanelY = 10;
const int32_t kPanelWidth = 128;
const int32_t kPanelHeight = 64;
const float kPanelAlpha = 0.5f;
// Shadow, frame and fill, drawn in that order.
const BarLayer kHealthBar[] = {{35, 25, 1, 12, 0, 0, 0, 0.25f},
                               {32, 22, 2, 12, 1, 1, 1, 0.5f},
                               {33, 23, 0, 10, 1, 0, 0, 0.5f}};
const BarLayer kEnergyBar[] = {{35, 40, 1, 12, 0, 0, 0, 0.25f},
                               {32, 38, 2, 12, 1, 1, 1, 0.5f},
                               {33, 39, 0, 10, 1, 1, 1, 0.5f}};
}  // namespace

void Game::drawBar(const BarLayer* layers, int32_t valueWidth) {
    for (int i = 0; i < 3; ++i) {
        const BarLayer& layer = layers[i];
        glColor4f(layer.red, layer.green, layer.blue, fadeAlpha * layer.alphaScale);
        sprites->DrawSprite(pixelSprite, layer.x, layer.y, valueWidth + layer.extraWidth,
                            layer.height);
    }
}

void Game::drawHud() {
    const float a = fadeAlpha;
    // Widths follow the values truncated towards zero.
    const int32_t healthWidth = static_cast<int32_t>(health);
    const int32_t energyWidth = static_cast<int32_t>(slowMoEnergy);

    glColor4f(1, 1, 1, 1);
    // The overlay does not fade: it stays at full strength until play ends.
    if (slowMo) {
        sprites->DrawSprite(slowMoOverlaySprite, 0, 0, screenWidth, screenHeight);
    }
    glColor4f(1, 1, 1, a * kPanelAlpha);
    sprites->DrawSprite(hudSprite, kPanelX, kPanelY, kPanelWidth, kPanelHeight);

    drawBar(kHealthBar, healthWidth);
    drawBar(kEnergyBar, energyWidth);

    glColor4f(1, 1, 1, 1);
    const int32_t H = screenHeight;
    const int32_t W = screenWidth;
    font->SetColor(0, 0, 0);
    font->DrawFormatted(6, H - 21, a, "Body Count: %i", bodyCount);
    font->SetColor(255, 255, 255);
    font->DrawFormatted(7, H - 22, a, "Body Count: %i", bodyCount);
    font->SetColor(0, 0, 0);
    font->DrawFormattedRight(W - 11, H - 21, a, "Time: %.2f", roundTime);
    font->SetColor(255, 255, 255);
    font->DrawFormattedRight(W - 10, H - 22, a, "Time: %.2f", roundTime);
}
