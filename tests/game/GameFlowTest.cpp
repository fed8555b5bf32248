// The frame driver: start-up, the screen state machine, fades, round resets,
// quitting and screenshots.
#include "GameHarness.h"

#include "SpriteManager.h"

#include <regex>

#include <sys/stat.h>

namespace {

using GameFlowTest = GameHarness;

TEST_F(GameFlowTest, StartUpLoadsTheWholeCatalogueInOrder) {
    EXPECT_EQ(game->state, TitleScreen);
    EXPECT_EQ(game->fadeAlpha, 1.0f);
    EXPECT_FALSE(game->quit);
    EXPECT_FALSE(game->catMode);
    // No numbered images: the named ones count from 0, sets consecutive.
    EXPECT_EQ(game->playerSprite, 0);
    EXPECT_EQ(game->playerDeadSprite, 4);
    EXPECT_EQ(game->badGuySprite, 5);
    EXPECT_EQ(game->catSprite, 10);
    EXPECT_EQ(game->bulletSprite, 15);
    EXPECT_EQ(game->bloodSprite, 20);
    EXPECT_EQ(game->floorSprites[0], 23);
    EXPECT_EQ(game->floorSprites[2], 25);
    EXPECT_EQ(game->slowMoOverlaySprite, 27);  // the splash took 26
    EXPECT_EQ(game->pixelSprite, 29);
    EXPECT_EQ(game->titleSprites[0], 30);
    EXPECT_EQ(game->creditsSprites[1], 36);
    EXPECT_EQ(game->sprites->GetSpriteCount(), 37);
    EXPECT_EQ(game->manSounds[0], 0);
    EXPECT_EQ(game->shotSounds[0], 6);
    EXPECT_EQ(game->catSlowSound, 11);
    EXPECT_GE(game->floorChoice, 0);
    EXPECT_LE(game->floorChoice, 2);
    EXPECT_EQ(game->player->getX(), 0.0f);
    EXPECT_EQ(game->player->getWidth(), 32.0f);
    EXPECT_EQ(game->player->currentSprite(), game->playerSprite);
    // Only the numbered-set probes report missing files.
    EXPECT_TRUE(std::regex_match(startUpErr, std::regex(
        "Sorry, sprite sprites/0\\.png is missing\n"
        "Err\\.\\) Can't load sfx/1\\.ogg\\.\\.\\. [^\n]*\n"
        "Err\\.\\) Music file sfx/1\\.ogg is missing\n"
        "sfx/0\\.wav is missing\n")))
        << startUpErr;
    EXPECT_NE(startUpOut.find("Loaded 0 sprites\n"), std::string::npos);
    EXPECT_NE(startUpOut.find("PASS) Startup sequence completed in "), std::string::npos);
    EXPECT_NE(startUpOut.find("Pass) Playing track 0 ("), std::string::npos);
}

TEST_F(GameFlowTest, SpaceStartsAFadeThatEndsInAFreshRound) {
    Hold(SDLK_SPACE);
    Frame(10);
    Release(SDLK_SPACE);
    EXPECT_EQ(game->state, TitleToPlay);
    EXPECT_EQ(game->fadeAlpha, 1.0f);  // the fade starts lowering next frame
    Frame(1000);
    EXPECT_EQ(game->state, TitleToPlay);
    EXPECT_FLOAT_EQ(game->fadeAlpha, 0.5f);
    Frame(999);
    EXPECT_EQ(game->state, TitleToPlay);
    Frame(1);
    EXPECT_EQ(game->state, Playing);
    EXPECT_EQ(game->fadeAlpha, 1.0f);
    EXPECT_EQ(game->health, 100.0f);
    EXPECT_EQ(game->slowMoEnergy, 100.0f);
    EXPECT_FLOAT_EQ(game->roundStartTime, (kStartTicks + 2010) * 0.001f);
}

TEST_F(GameFlowTest, EscDuringTheFadeIntoPlayGoesToTheCreditsKeepingProgress) {
    Hold(SDLK_SPACE);
    Frame(10);
    Release(SDLK_SPACE);
    Frame(1200);
    const float progress = game->fadeAlpha;
    Hold(SDLK_ESCAPE);
    Frame(0);
    Release(SDLK_ESCAPE);
    EXPECT_EQ(game->state, TitleToCredits);
    EXPECT_EQ(game->fadeAlpha, progress);
    Frame(800);
    EXPECT_EQ(game->state, Credits);
    EXPECT_EQ(game->fadeAlpha, 1.0f);
}

TEST_F(GameFlowTest, SpaceAndEscTogetherLetEscDecide) {
    Hold(SDLK_SPACE);
    Hold(SDLK_ESCAPE);
    Frame(10);
    EXPECT_EQ(game->state, TitleToCredits);
}

TEST_F(GameFlowTest, ZeroFrameTimeMovesNoFade) {
    Hold(SDLK_SPACE);
    Frame(10);
    Frame(500);
    const float alpha = game->fadeAlpha;
    Frame(0);
    EXPECT_EQ(game->fadeAlpha, alpha);
}

TEST_F(GameFlowTest, HeldEscEndsTheRoundThenLeadsThroughStatisticsToTheEnd) {
    BeginRound();
    Hold(SDLK_ESCAPE);
    Frame(16);
    EXPECT_EQ(game->state, PlayToStatistics);
    Frame(2000);
    EXPECT_EQ(game->state, Statistics);
    Frame(16);
    EXPECT_EQ(game->state, StatisticsToCredits);
    Frame(2000);
    EXPECT_EQ(game->state, Credits);
    EXPECT_TRUE(Frame(16));  // the credits see ESC held at once
}

TEST_F(GameFlowTest, RetryFromStatisticsResetsTheRoundButKeepsCatMode) {
    BeginRound();
    game->catMode = true;
    game->bodyCount = 7;
    game->shotsFired = 9;
    game->distanceRan = 50.0f;
    game->damageDealt = 700.0f;
    game->health = 12.0f;
    game->slowMoEnergy = 3.0f;
    game->player->setRect(80.0f, -40.0f, 32.0f, 32.0f);
    game->player->holdFrame(game->playerDeadSprite);
    AddEnemy(200.0f, 0.0f);
    game->decals.push_back(game->enemies.back());
    game->state = Statistics;
    game->fadeAlpha = 1.0f;
    Hold(SDLK_SPACE);
    Frame(10);
    Release(SDLK_SPACE);
    EXPECT_EQ(game->state, StatisticsToPlay);
    Frame(2000);
    ASSERT_EQ(game->state, Playing);
    EXPECT_TRUE(game->catMode);
    EXPECT_EQ(game->bodyCount, 0);
    EXPECT_EQ(game->shotsFired, 0);
    EXPECT_EQ(game->distanceRan, 0.0f);
    EXPECT_EQ(game->damageDealt, 0.0f);
    EXPECT_EQ(game->health, 100.0f);
    EXPECT_EQ(game->slowMoEnergy, 100.0f);
    EXPECT_EQ(game->player->getX(), 0.0f);
    EXPECT_EQ(game->player->getY(), 0.0f);
    EXPECT_EQ(game->player->currentSprite(), game->playerSprite);
    EXPECT_TRUE(game->enemies.empty());
    EXPECT_TRUE(game->decals.empty());
    EXPECT_EQ(game->decals.capacity(), 0u);
    EXPECT_EQ(game->aimX, 320);
    EXPECT_EQ(game->aimY, 240);
}

TEST_F(GameFlowTest, WindowCloseEndsTheProgramInAnyState) {
    PushQuit();
    EXPECT_TRUE(Frame(10));
}

TEST_F(GameFlowTest, WindowCloseInPlayEndsAfterThatFrame) {
    BeginRound();
    PushQuit();
    EXPECT_TRUE(Frame(10));
}

TEST_F(GameFlowTest, WindowCloseInTheFrameAFadeIntoPlayEndsIsNotLost) {
    Hold(SDLK_SPACE);
    Frame(10);
    Release(SDLK_SPACE);
    PushQuit();
    EXPECT_TRUE(Frame(2000));
    EXPECT_EQ(game->state, Playing);
}

TEST_F(GameFlowTest, F12WritesTheScreenThatIsUp) {
    Hold(SDLK_F12);
    Frame(16);
    Release(SDLK_F12);
    struct stat info;
    ASSERT_EQ(stat("screenshot.bmp", &info), 0);
    SDL_Surface* shot = SDL_LoadBMP("screenshot.bmp");
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->w, 640);
    EXPECT_EQ(shot->h, 480);
    EXPECT_EQ(shot->format->BitsPerPixel, 24);
    // The title's white band line spans row 190 from edge to edge.
    const Uint8* row = static_cast<Uint8*>(shot->pixels) + 190 * shot->pitch;
    for (int x : {0, 320, 639}) {
        const Uint8* p = row + 3 * x;
        EXPECT_GT(p[0] + p[1] + p[2], 3 * 230) << "x " << x;
    }
    SDL_FreeSurface(shot);
}

TEST_F(GameFlowTest, ShutDownReleasesWhatTheGameOwns) {
    BeginRound();
    AddEnemy(100.0f, 100.0f);
    OutputCapture capture;
    game->shutDown();
    capture.Stop();
    EXPECT_EQ(game->sprites, nullptr);
    EXPECT_EQ(game->player, nullptr);
    EXPECT_EQ(game->font, nullptr);
    EXPECT_TRUE(game->enemies.empty());
    EXPECT_NE(capture.Out().find("INFO) Emptying bitmap font\n"), std::string::npos);
    EXPECT_NE(game->sounds, nullptr);  // lives until the process ends
    delete game;
    game = nullptr;
}

}  // namespace
