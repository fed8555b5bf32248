// The frame driver: start-up, the screen state machine and its fades, the
// round reset and the window's close button.
#include "GameHarness.h"

namespace {

using GameFlowTest = GameTest;

// Keys lead from screen to screen through two-second fades; a key held during
// a fade turns it without restarting it, and with SPACE and ESC both held ESC
// decides. A closed window ends the program after the frame that sees it, in
// every state: the flag is cleared here only to go on.
TEST_F(GameFlowTest, KeysLeadThroughEveryScreenAndAClosedWindowEndsAnyOfThem) {
    const auto closeEnds = [this](uint32_t ms) {
        GameDriver::pushQuit();
        const bool ended = Frame(ms);
        game->quit = false;
        return ended;
    };
    EXPECT_TRUE(closeEnds(0));
    Hold({SDLK_SPACE});
    EXPECT_FALSE(Frame(10));
    EXPECT_TRUE(
        Values(game->state, TitleToPlay, game->fadeAlpha, 1));  // fading from the next frame
    EXPECT_FALSE(Frame(1000));
    EXPECT_TRUE(closeEnds(0));
    Tap(SDLK_ESCAPE, 0);
    EXPECT_TRUE(Values(game->state, TitleToCredits, game->fadeAlpha, 0.5));
    EXPECT_TRUE(closeEnds(0));
    Frame(999);
    Hold({SDLK_SPACE}, false);
    EXPECT_TRUE(closeEnds(1));  // even in the frame in which a round starts
    EXPECT_TRUE(Values(game->state, Playing, game->fadeAlpha, 1));
    EXPECT_TRUE(closeEnds(0));
    Hold({SDLK_ESCAPE});
    EXPECT_FALSE(Frame(16));
    EXPECT_TRUE(closeEnds(1999));
    EXPECT_EQ(game->state, PlayToStatistics);
    EXPECT_FALSE(Frame(1));
    EXPECT_EQ(game->state, Statistics);
    EXPECT_TRUE(closeEnds(0));
    Hold({SDLK_SPACE});
    EXPECT_TRUE(closeEnds(0));
    EXPECT_EQ(game->state, StatisticsToCredits);
    Hold({SDLK_ESCAPE}, false);
    EXPECT_FALSE(Frame(1000));
    EXPECT_TRUE(Values(game->state, StatisticsToPlay, game->fadeAlpha, 0.5));
    EXPECT_TRUE(closeEnds(0));
    Hold({SDLK_SPACE}, false);
    Tap(SDLK_ESCAPE, 0);
    EXPECT_FALSE(Frame(1000));
    EXPECT_TRUE(Values(game->state, Credits, game->fadeAlpha, 1));
    EXPECT_TRUE(closeEnds(0));
    Hold({SDLK_ESCAPE});
    EXPECT_TRUE(Frame(16));  // ESC ends the credits
}

TEST_F(GameFlowTest, ARetryStartsAFreshRoundThatKeepsOnlyCatMode) {
    BeginRound();
    Tap(SDLK_ESCAPE, 10);
    Frame(2000);
    ASSERT_EQ(game->state, Statistics);
    // What a long round may leave behind.
    game->aimX = game->aimY = -300;
    game->bodyCount = game->shotsFired = 7;
    game->distanceRan = game->roundTime = game->damageDealt = game->lastSpawnTime = 50.0f;
    game->playerSpeed = game->health = game->slowMoEnergy = 12.0f;
    game->slowMo = game->slowMoLocked = game->catMode = true;
    game->player->setRect(80.0f, -40.0f, 64.0f, 16.0f);
    game->player->animate(1.0f);
    game->player->holdFrame(game->playerDeadSprite);
    game->decals.push_back(AddEnemy(200.0f, 0.0f));
    game->bullets.push_back(Bullet(game->sprites));
    Tap(SDLK_SPACE, 10);
    const auto r = SeedRandWhere();
    game->floorChoice = (r[0] + 1) % 3;
    Frame(2000);
    const Actor& player = *game->player;
    EXPECT_TRUE(Values(game->state, Playing, game->fadeAlpha, 1, game->aimX, 320, game->aimY, 240));
    EXPECT_TRUE(Values(game->bodyCount, 0, game->shotsFired, 0, game->distanceRan, 0,
                       game->roundTime, 0, game->damageDealt, 0));
    EXPECT_TRUE(Values(player.getX(), 0, player.getY(), 0, player.getWidth(), 32,
                       player.getHeight(), 32, player.currentSprite(), game->playerSprite));
    EXPECT_TRUE(Values(game->playerSpeed, 100, game->health, 100, game->slowMoEnergy, 100,
                       game->slowMo, 0, game->slowMoLocked, 0, game->catMode, 1));
    EXPECT_TRUE(Values(game->lastSpawnTime, 0, game->spawnInterval, 0, game->frameTime, 0,
                       game->roundStartTime, driver->now() * 0.001f, game->floorChoice, r[0] % 3));
    EXPECT_TRUE(Values(game->enemies.size(), 0, game->bullets.size(), 0, game->decals.size(), 0,
                       game->decals.capacity(), 0));
}

}  // namespace
