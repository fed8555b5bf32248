// The title screen: heading with its echoes, the controls, and the prompts.
#include "Game.h"

#include "GameState.h"
#include "ScreenLayout.h"
#include "ShadowedText.h"
#include "SpriteManager.h"

#include <SDL_opengl.h>

namespace {
const int32_t kTitleHeadingWidth = 256;
// The subtitle strip overlaps the heading's foot.
const int32_t kSubtitleY = 64;
const int32_t kSubtitleHeight = 16;

// Offsets from the screen's centre.
const OffsetText kControls[] = {
    {"WASD", -73, -40},        {"- Move", 20, -40},       {"Mouse", -73, -20},
    {"- Aim", 20, -20},        {"Left Button", -73, 0},   {"- Fire", 20, 0},
    {"Right Button", -73, 20}, {"- Slow Motion", 20, 20},
};
const size_t kControlCount = sizeof(kControls) / sizeof(kControls[0]);

void DrawControls(OruBitmapFont* font, int32_t centreX, int32_t centreY, float alpha) {
    ShadowedText texts[kControlCount];
    for (size_t i = 0; i < kControlCount; ++i) {
        texts[i] = kControls[i].from(centreX, centreY);
    }
    DrawShadowedTexts(font, texts, alpha);
}
}  // namespace

bool Game::titleFrame() {
    readScreenKeys(TitleToPlay, TitleToCredits);
    const HeadingLook look = {titleSprites[0], titleSprites[1], kTitleHeadingWidth, kUntinted,
                              kUntinted};
    const int32_t headingX = drawHeading(titleEchoes, look);
    // In the heading's tint, which is still set.
    sprites->DrawSprite(titleSprites[2], headingX, kSubtitleY, kTitleHeadingWidth, kSubtitleHeight);
    drawPrompt(BeginPrompt);
    drawPrompt(QuitPrompt);
    drawBand();
    DrawControls(font, screenWidth / 2, screenHeight / 2, fadeAlpha);
    glColor4f(1, 1, 1, 1);
    return quit;
}
