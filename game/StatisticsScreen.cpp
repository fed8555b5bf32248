// The statistics screen: the ended round summed up in eight figures.
#include "Game.h"

#include "GameState.h"
#include "ScreenLayout.h"
#include "ShadowedText.h"
#include "Truncation.h"

#include <SDL_opengl.h>

#include <cmath>
#include <limits>
#include <string>

namespace {
const Tint kHeadingTint = {1.0f, 0.0f, 0.0f};
const Tint kEchoTint = {1.0f, 0.5f, 0.5f};
const int32_t kLeftColumn = -150;  // offsets from the screen's centre
const int32_t kRightColumn = 20;
const int32_t kRowStep = 20;
const int32_t kFirstRow = -40;
const size_t kFiguresPerColumn = 4;

// The whole part of a figure shown with "%i", the fraction dropped: a value
// beyond the int32 range shows as the range's nearer end, and NaN, which a
// player cannot read as any amount, as 0.
int32_t WholeFigure(float value) {
    int32_t whole = 0;
    if (TruncateBelow(value, kInt32Bound, &whole) || std::isnan(value)) {
        return whole;
    }
    return value > 0.0f ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
}
}  // namespace

bool Game::statisticsFrame() {
    readScreenKeys(StatisticsToPlay, StatisticsToCredits);
    drawHeading(statisticsEchoes, {gameOverSprites[0], gameOverSprites[1], kWideHeadingWidth,
                                   kHeadingTint, kEchoTint});
    drawBand();
    drawRoundFigures();
    drawPrompt(RetryPrompt);
    drawPrompt(QuitPrompt);
    glColor4f(1, 1, 1, 1);
    return quit;
}

void Game::drawRoundFigures() {
    // Kills per shot, not hits per shot.
    const float accuracy =
        shotsFired > 0 ? static_cast<float>(bodyCount) / static_cast<float>(shotsFired) * 100.0f
                       : 0.0f;
    // A round that lasted no measurable time has no rate: show 0, not inf or nan.
    const double killsPerSecond =
        roundTime > 0.0f ? bodyCount / static_cast<double>(roundTime) : 0.0;
    const double damagePerSecond =
        roundTime > 0.0f ? damageDealt / static_cast<double>(roundTime) : 0.0;

    // The left column top to bottom, then the right one.
    const std::string figures[] = {
        FormatText("Corpse Count: %i", bodyCount),
        FormatText("Shots Fired: %i", shotsFired),
        FormatText("Accuracy: %.1f%%", accuracy),
        FormatText("Total Time: %.2fs", roundTime),
        FormatText("Distance Ran: %ipx", WholeFigure(distanceRan)),
        FormatText("Damage Dealt: %ihp", WholeFigure(damageDealt)),
        FormatText("Avg Kills/sec: %.2f", killsPerSecond),
        FormatText("Avg Dmg/sec: %.2fhp", damagePerSecond),
    };
    const size_t figureCount = sizeof(figures) / sizeof(figures[0]);
    ShadowedText texts[figureCount];
    for (size_t i = 0; i < figureCount; ++i) {
        const int32_t column = i < kFiguresPerColumn ? kLeftColumn : kRightColumn;
        const int32_t row = kFirstRow + static_cast<int32_t>(i % kFiguresPerColumn) * kRowStep;
        texts[i] = {figures[i].c_str(), screenWidth / 2 + column, screenHeight / 2 + row,
                    kWhiteText};
    }
    DrawShadowedTexts(font, texts, fadeAlpha);
}
