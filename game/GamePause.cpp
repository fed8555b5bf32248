// A round paused while the player looks away or asks for it: the clock
// stands still, nothing moves, spawns, drains or refills, and the round
// stands on the screen, dimmed, under one line that says how to go on. The
// first key press, mouse click or pad button lets play go on, and does
// nothing else.
#include "Game.h"

#include "Controls.h"
#include "GameState.h"
#include "ShadowedText.h"
#include "SpriteManager.h"
#include "Video.h"

#include <SDL_opengl.h>

namespace {
const char* const kPauseNotice = "Paused - press a key or click to play on";
const float kPauseDimming = 0.5f;  // alpha of the black laid over the round
// The notice's pen stands this far above the window's middle, which centres
// its letters on it.
const int32_t kPauseNoticeRise = 6;
}  // namespace

// Only a round in play pauses: the screens and the fades go on.
void Game::pauseRound() {
    if (state == Playing && !paused) {
        paused = true;
        PauseClock();
    }
}

void Game::resumeRound() {
    if (paused) {
        paused = false;
        ResumeClock();
    }
}

void Game::pausedFrame() {
    pollPlayEvents();
    readPad();
    if (padReleased(kSlowMotionSignals)) {
        stopSlowMotion();
    }
    if (padPressed(~kPadStickSignals)) {
        resumeRound();
    }
    // Held, as in play, it ends the round; the fade out is not paused.
    if (held(kBack)) {
        resumeRound();
        state = PlayToStatistics;
    }
    drawStillRound();
    if (paused) {
        drawPauseNotice();
    }
}

// The round as it stood: enemies, bullets and the HUD over the world layer.
void Game::drawStillRound() {
    glColor4f(1, 1, 1, fadeAlpha);
    for (Enemy& enemy : enemies) {
        drawInWorld(enemy);
    }
    for (Bullet& bullet : bullets) {
        drawInWorld(bullet);
    }
    drawHud();
}

void Game::drawPauseNotice() {
    glColor4f(0, 0, 0, kPauseDimming);
    sprites->DrawSprite(pixelSprite, 0, 0, screenWidth, screenHeight);
    glColor4f(1, 1, 1, 1);
    const int32_t x = screenWidth / 2 - TextWidth(font, kPauseNotice) / 2;
    DrawShadowedText(font, {kPauseNotice, x, screenHeight / 2 - kPauseNoticeRise, kWhiteText},
                     1.0f);
}
