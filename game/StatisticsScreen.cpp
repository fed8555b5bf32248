// The statistics screen: the ended round summed up in eight figures.
#include "Game.h"

#include "GameState.h"
#include "OruBitmapFont.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kHeadingY = 10;
const int32_t kHeadingWidth = 512;
const int32_t kHeadingHeight = 64;
const int32_t kLeftColumn = -150;  // offsets from the screen's centre
const int32_t kRightColumn = 20;
const int32_t kRowStep = 20;
const int32_t kFirstRow = -40;
}  // namespace

bool Game::statisticsFrame() {
    const int32_t W = screenWidth;
    const int32_t H = screenHeight;
    const int32_t headingX = W / 2 - kHeadingWidth / 2;
    statisticsEchoes.startOnce(static_cast<float>(headingX));
    pollScreenEvents();
    if (KeyHeld(SDLK_SPACE)) {
        state = StatisticsToPlay;
    }
    if (KeyHeld(SDLK_ESCAPE)) {
        state = StatisticsToCredits;
    }
    const EchoLook look = {gameOverSprites[1], kHeadingWidth, kHeadingHeight,
                           static_cast<float>(headingX), 1.0f, 0.5f, 0.5f};
    statisticsEchoes.run(sprites, look, fadeAlpha, frameTime);

    glColor4f(1, 0, 0, fadeAlpha);
    sprites->DrawSprite(gameOverSprites[0], headingX, kHeadingY, kHeadingWidth, kHeadingHeight);
    drawBand();

    // Kills per shot, not hits per shot.
    const float accuracy =
        shotsFired > 0 ? static_cast<float>(bodyCount) / static_cast<float>(shotsFired) * 100.0f
                       : 0.0f;
    // A round that lasted no measurable time has no rate: show 0, not inf or nan.
    const double killsPerSecond = roundTime > 0.0f ? bodyCount / static_cast<double>(roundTime) : 0.0;
    const double damagePerSecond =
        roundTime > 0.0f ? damageDealt / static_cast<double>(roundTime) : 0.0;

    for (int pass = 0; pass < 2; ++pass) {
        // The black shadows first, one pixel right of and below the texts.
        const int32_t shift = pass == 0 ? 1 : 0;
        if (pass == 0) {
            font->SetColor(0, 0, 0);
        } else {
            font->SetColor(255, 255, 255);
        }
        const int32_t left = W / 2 + kLeftColumn + shift;
        const int32_t right = W / 2 + kRightColumn + shift;
        const int32_t row0 = H / 2 + kFirstRow + shift;
        font->DrawFormatted(left, row0, fadeAlpha, "Corpse Count: %i", bodyCount);
        font->DrawFormatted(left, row0 + kRowStep, fadeAlpha, "Shots Fired: %i", shotsFired);
        font->DrawFormatted(left, row0 + 2 * kRowStep, fadeAlpha, "Accuracy: %.1f%%", accuracy);
        font->DrawFormatted(left, row0 + 3 * kRowStep, fadeAlpha, "Total Time: %.2fs", roundTime);
        font->DrawFormatted(right, row0, fadeAlpha, "Distance Ran: %ipx",
                            static_cast<int32_t>(distanceRan));
        font->DrawFormatted(right, row0 + kRowStep, fadeAlpha, "Damage Dealt: %ihp",
                            static_cast<int32_t>(damageDealt));
        font->DrawFormatted(right, row0 + 2 * kRowStep, fadeAlpha, "Avg Kills/sec: %.2f",
                            killsPerSecond);
        font->DrawFormatted(right, row0 + 3 * kRowStep, fadeAlpha, "Avg Dmg/sec: %.2fhp",
                            damagePerSecond);
    }
    drawPrompts("Press SPACEBAR to retry");
    glColor4f(1, 1, 1, 1);
    return quit;
}
