// Pieces the title, statistics and credits screens share.
#include "Game.h"

#include "Controls.h"
#include "Input.h"
#include "ScreenLayout.h"
#include "ShadowedText.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kBandHalfHeight = 50;
const int32_t kBandLineHeight = 2;
const float kBandAlpha = 0.3f;

// Indexed by Game::Prompt; offsets from the middle of the window's bottom
// edge.
const OffsetText kPrompts[] = {
    {"Press SPACEBAR to begin", -88, -kUpperFootLineRise, kWhiteText},
    {"Press SPACEBAR to retry", -88, -kUpperFootLineRise, kWhiteText},
    {"Press ESC to quit", -59, -kFootLineRise, kRedText},
};
}  // namespace

void Game::pollScreenEvents() {
    while (PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else {
            switchScreenOnKey(event);
        }
    }
    readPad();
}

void Game::readScreenKeys(int32_t beginState, int32_t backState) {
    scanForPadWhenDue();
    pollScreenEvents();
    // Back is read last, so with both held it decides.
    if (held(kBegin)) {
        state = beginState;
    }
    if (held(kBack)) {
        state = backState;
    }
}

int32_t Game::drawHeading(LogoEchoes& echoes, const HeadingLook& look) {
    const int32_t headingX = screenWidth / 2 - look.width / 2;
    echoes.startOnce(static_cast<float>(headingX));
    const EchoLook echoLook = {
        look.echoSprite,   look.width,          kHeadingHeight,    static_cast<float>(headingX),
        look.echoTint.red, look.echoTint.green, look.echoTint.blue};
    echoes.run(sprites, echoLook, fadeAlpha, frameTime);
    glColor4f(look.tint.red, look.tint.green, look.tint.blue, fadeAlpha);
    sprites->DrawSprite(look.sprite, headingX, kHeadingY, look.width, kHeadingHeight);
    return headingX;
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

void Game::drawPrompt(Prompt prompt) {
    DrawShadowedText(font, kPrompts[prompt].from(screenWidth / 2, screenHeight), fadeAlpha);
}
