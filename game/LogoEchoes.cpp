#include "LogoEchoes.h"

#include "ScreenLayout.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const float kStartAlpha = 0.75f;
const float kDriftSpeed = 25.0f;   // pixels per second, each copy
const float kFadeSpeed = 0.5f;     // alpha per second
const float kSecondPairAt = 0.5f;  // pair 1's alpha that wakes pair 2
const float kThirdPairAt = 0.25f;  // pair 2's alpha that wakes pair 3
}  // namespace

LogoEchoes::LogoEchoes() : started(false) {
    for (EchoPair& pair : pairs) {
        pair = EchoPair{0.0f, 0.0f, kStartAlpha, false};
    }
    pairs[0].active = true;
}

void LogoEchoes::startOnce(float homeX) {
    if (started) {
        return;
    }
    for (EchoPair& pair : pairs) {
        pair.leftX = homeX;
        pair.rightX = homeX;
    }
    started = true;
}

void LogoEchoes::drawAndMove(EchoPair& pair, SpriteManager* sprites, const EchoLook& look,
                             float fadeAlpha, float t) {
    glColor4f(look.red, look.green, look.blue, pair.alpha * fadeAlpha);
    sprites->DrawSprite(look.sprite, static_cast<int32_t>(pair.leftX), kHeadingY, look.width,
                        look.height);
    sprites->DrawSprite(look.sprite, static_cast<int32_t>(pair.rightX), kHeadingY, look.width,
                        look.height);
    pair.leftX -= kDriftSpeed * t;
    pair.rightX += kDriftSpeed * t;
    pair.alpha -= kFadeSpeed * t;
}

void LogoEchoes::run(SpriteManager* sprites, const EchoLook& look, float fadeAlpha, float t) {
    for (EchoPair& pair : pairs) {
        if (pair.active) {
            drawAndMove(pair, sprites, look, fadeAlpha, t);
        }
    }
    // A pair woken here is first drawn in the next frame.
    if (pairs[0].alpha <= kSecondPairAt && !pairs[1].active) {
        pairs[1].active = true;
    }
    if (pairs[1].alpha <= kThirdPairAt && !pairs[2].active) {
        pairs[2].active = true;
    }
    for (EchoPair& pair : pairs) {
        if (pair.alpha <= 0.0f) {
            pair.alpha = kStartAlpha;
            pair.leftX = look.homeX;
            pair.rightX = look.homeX;
        }
    }
}
