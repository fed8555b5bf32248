// The heads-up display of play: slow-motion overlay, panel, health and
// energy bars, body count and round time.
#include "Game.h"

#include "ScreenLayout.h"
#include "ShadowedText.h"
#include "SpriteManager.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <string>

// One layer of a bar: the one-pixel image stretched to the bar's value plus
// extraWidth pixels, in its own colour and share of the fade.
struct BarLayer {
    int32_t x, y, extraWidth, height;
    float red, green, blue, alphaScale;
};

namespace {
const SDL_Rect kPanel = {10, 10, 128, 64};
const float kPanelAlpha = 0.5f;
// Shadow, frame and fill, drawn in that order.
const BarLayer kHealthBar[] = {{35, 25, 1, 12, 0, 0, 0, 0.25f},
                               {32, 22, 2, 12, 1, 1, 1, 0.5f},
                               {33, 23, 0, 10, 1, 0, 0, 0.5f}};
const BarLayer kEnergyBar[] = {{35, 40, 1, 12, 0, 0, 0, 0.25f},
                               {32, 38, 2, 12, 1, 1, 1, 0.5f},
                               {33, 39, 0, 10, 1, 1, 1, 0.5f}};
// The body count starts this far from the left edge; the round time ends
// this far from the right one.
const int32_t kBodyCountX = 7;
const int32_t kRoundTimeRightMargin = 10;
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
    sprites->DrawSprite(hudSprite, kPanel.x, kPanel.y, kPanel.w, kPanel.h);

    drawBar(kHealthBar, healthWidth);
    drawBar(kEnergyBar, energyWidth);

    glColor4f(1, 1, 1, 1);
    const int32_t textY = screenHeight - kFootLineRise;
    const std::string bodyCountText = FormatText("Body Count: %i", bodyCount);
    const std::string roundTimeText = FormatText("Time: %.2f", roundTime);
    // Each text with its own shadow, the body count first. Unlike the
    // screens', the HUD's shadows have always fallen to the left.
    DrawShadowedText(font, {bodyCountText.c_str(), kBodyCountX, textY, kWhiteText}, a,
                     kShadowLeftAndDown);
    DrawShadowedText(font,
                     {roundTimeText.c_str(), screenWidth - kRoundTimeRightMargin, textY, kWhiteText,
                      ShadowedText::Right},
                     a, kShadowLeftAndDown);
}
