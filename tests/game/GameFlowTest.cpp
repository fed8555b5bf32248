// The frame driver: start-up, the screen state machine and its fades, the
// round reset, the window's close button and screenshots.
#include "GameHarness.h"

#include "SoundBank.h"

#include <SDL_mixer.h>

namespace {

using GameFlowTest = GameTest;

TEST_F(GameFlowTest, StartUpLoadsTheCatalogueInOrderAndOpensOnTheTitle) {
    EXPECT_EQ(game->state, TitleScreen);
    EXPECT_EQ(game->fadeAlpha, 1.0f);
    EXPECT_FALSE(game->catMode);
    EXPECT_FALSE(game->quit);
    // With no numbered files the named ones count from 0, each set in a row;
    // the engine's splash image takes sprite 26.
    ExpectValues(game->playerSprite, 0, game->playerDeadSprite, 4, game->badGuySprite, 5,
                 game->catSprite, 10, game->bulletSprite, 15, game->bloodSprite, 20,
                 game->floorSprites[0], 23, game->floorSprites[2], 25, game->slowMoOverlaySprite,
                 27, game->hudSprite, 28, game->pixelSprite, 29, game->titleSprites[0], 30,
                 game->titleSprites[2], 32, game->gameOverSprites[0], 33, game->creditsSprites[0],
                 35, game->creditsSprites[1], 36, game->manSounds[0], 0, game->manSounds[2], 2,
                 game->manSlowSounds[0], 3, game->shotSounds[0], 6, game->shotSlowSounds[1], 9,
                 game->catSound, 10, game->catSlowSound, 11);
    EXPECT_EQ(game->sprites->GetSpriteCount(), 37);
    EXPECT_EQ(game->sounds->GetSampleCount(), 12);
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_GE(game->floorChoice, 0);
    EXPECT_LE(game->floorChoice, 2);
}

TEST_F(GameFlowTest, KeysLeadFromScreenToScreenThroughTwoSecondFades) {
    // ESC during the fade into play turns it towards the credits and SPACE
    // turns it back, at the fade's progress; with both held ESC decides.
    Hold(SDLK_SPACE);
    Frame(10);
    EXPECT_EQ(game->state, TitleToPlay);
    EXPECT_EQ(game->fadeAlpha, 1.0f);  // the fade starts in the next frame
    Frame(1000);
    EXPECT_FLOAT_EQ(game->fadeAlpha, 0.5f);
    Hold(SDLK_ESCAPE);
    Frame(0);
    EXPECT_EQ(game->state, TitleToCredits);
    EXPECT_FLOAT_EQ(game->fadeAlpha, 0.5f);
    Hold(SDLK_ESCAPE, false);
    Frame(999);
    EXPECT_EQ(game->state, TitleToPlay);
    Hold(SDLK_SPACE, false);
    Frame(1);
    EXPECT_EQ(game->state, Playing);
    EXPECT_EQ(game->fadeAlpha, 1.0f);

    // ESC held from play on ends the round, then the statistics screen, then
    // the program.
    Hold(SDLK_ESCAPE);
    EXPECT_FALSE(Frame(16));
    EXPECT_EQ(game->state, PlayToStatistics);
    Frame(1999);
    EXPECT_EQ(game->state, PlayToStatistics);
    Frame(1);
    EXPECT_EQ(game->state, Statistics);
    Hold(SDLK_SPACE);
    EXPECT_FALSE(Frame(16));
    EXPECT_EQ(game->state, StatisticsToCredits);
    Hold(SDLK_ESCAPE, false);
    Frame(1000);
    EXPECT_EQ(game->state, StatisticsToPlay);
    EXPECT_FLOAT_EQ(game->fadeAlpha, 0.5f);
    Hold(SDLK_SPACE, false);
    Hold(SDLK_ESCAPE);
    Frame(0);
    EXPECT_EQ(game->state, StatisticsToCredits);
    Frame(1000);
    EXPECT_EQ(game->state, Credits);
    EXPECT_EQ(game->fadeAlpha, 1.0f);
    EXPECT_TRUE(Frame(16));
}

TEST_F(GameFlowTest, ARetryStartsAFreshRoundThatKeepsOnlyCatMode) {
    BeginRound();
    Hold(SDLK_ESCAPE);
    Frame(10);
    Hold(SDLK_ESCAPE, false);
    Frame(2000);
    ASSERT_EQ(game->state, Statistics);
    // What a long round may leave behind.
    game->aimX = -300;
    game->aimY = 200;
    game->bodyCount = 7;
    game->shotsFired = 9;
    game->distanceRan = 50.0f;
    game->roundTime = 61.0f;
    game->damageDealt = 700.0f;
    game->player->setRect(80.0f, -40.0f, 64.0f, 16.0f);
    game->playerSpeed = 200.0f;
    game->health = 12.0f;
    game->slowMoEnergy = 3.0f;
    game->player->animate(1.0f);
    game->player->holdFrame(game->playerDeadSprite);
    game->lastSpawnTime = 60.0f;
    game->slowMo = true;
    game->slowMoLocked = true;
    game->catMode = true;
    AddEnemy(200.0f, 0.0f);
    game->decals.push_back(game->enemies.back());
    game->bullets.push_back(Bullet(game->sprites));
    Hold(SDLK_SPACE);
    Frame(10);
    ASSERT_EQ(game->state, StatisticsToPlay);
    const std::vector<int> r = SeedRandWhere();
    game->floorChoice = (r[0] + 1) % 3;
    Frame(2000);
    ASSERT_EQ(game->state, Playing);
    const Actor& player = *game->player;
    ExpectValues(
        game->fadeAlpha, 1, game->aimX, 320, game->aimY, 240, game->bodyCount, 0, game->shotsFired,
        0, game->distanceRan, 0, game->roundTime, 0, game->damageDealt, 0, player.getX(), 0,
        player.getY(), 0, player.getWidth(), 32, player.getHeight(), 32, game->playerSpeed, 100,
        game->health, 100, game->slowMoEnergy, 100, player.currentSprite(), game->playerSprite,
        game->lastSpawnTime, 0, game->spawnInterval, 0, game->frameTime, 0, game->roundStartTime,
        driver->now() * 0.001f, game->floorChoice, r[0] % 3, game->slowMo, 0, game->slowMoLocked, 0,
        game->catMode, 1, game->enemies.size(), 0, game->bullets.size(), 0, game->decals.size(), 0);
    EXPECT_EQ(game->decals.capacity(), 0u);
}

// Closing the window ends the program after the frame that sees it, in every
// state; the flag is cleared here only to go on to the next state.
TEST_F(GameFlowTest, AClosedWindowEndsTheProgramFromEveryState) {
    const auto closeEnds = [this](uint32_t ms) {
        GameDriver::pushQuit();
        const bool ended = Frame(ms);
        game->quit = false;
        return ended;
    };
    const auto press = [this](SDLKey key, int32_t next) {
        Hold(key);
        EXPECT_FALSE(Frame(10));
        Hold(key, false);
        EXPECT_EQ(game->state, next);
    };
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_SPACE, TitleToPlay);
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_ESCAPE, TitleToCredits);
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_SPACE, TitleToPlay);
    // Even in the frame in which the fade into play ends and a round starts.
    EXPECT_TRUE(closeEnds(2000));
    EXPECT_EQ(game->state, Playing);
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_ESCAPE, PlayToStatistics);
    EXPECT_TRUE(closeEnds(10));
    EXPECT_FALSE(Frame(2000));
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_SPACE, StatisticsToPlay);
    EXPECT_TRUE(closeEnds(10));
    press(SDLK_ESCAPE, StatisticsToCredits);
    EXPECT_TRUE(closeEnds(10));
    EXPECT_FALSE(Frame(2000));
    EXPECT_EQ(game->state, Credits);
    EXPECT_TRUE(closeEnds(10));
}

TEST_F(GameFlowTest, F12WritesTheScreenThatIsUp) {
    Hold(SDLK_F12);
    Frame(16);
    Hold(SDLK_F12, false);
    SDL_Surface* shot = SDL_LoadBMP("screenshot.bmp");
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 640);
    EXPECT_EQ(shot->h, 480);
    // The title's band line, edge to edge on row 190, and the floor above it.
    const auto pixelOf = [shot](int x, int y) {
        const Uint8* p = static_cast<Uint8*>(shot->pixels) + y * shot->pitch + 3 * x;
        return Rgba{p[2], p[1], p[0], 255};
    };
    for (int x : {0, 320, 639}) {
        EXPECT_TRUE(Near(pixelOf(x, 190), kWhite, 25)) << x;
        EXPECT_TRUE(Near(pixelOf(x, 150), ReadPixel(x, 150))) << x;
    }
    SDL_FreeSurface(shot);
}

}  // namespace
