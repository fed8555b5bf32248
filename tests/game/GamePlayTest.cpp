// The rules of play, driven through whole frames: walking, slow motion,
// spawning, bullets, kills, touch damage and the player's death.
#include "GameHarness.h"

#include "SpriteManager.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

class GamePlayTest : public GameHarness {
protected:
    void SetUp() override {
        GameHarness::SetUp();
        BeginRound();
    }
    // The next n results of rand() after seeding, without disturbing a replay.
    static std::vector<int> RandSequence(unsigned seed, int n) {
        srand(seed);
        std::vector<int> values;
        for (int i = 0; i < n; ++i) {
            values.push_back(rand());
        }
        srand(seed);
        return values;
    }
};

TEST_F(GamePlayTest, DiagonalWalkMovesBothAxesAndCountsTwice) {
    Hold(SDLK_w);
    Hold(SDLK_d);
    Frame(100);
    EXPECT_FLOAT_EQ(game->player->getX(), 10.0f);
    EXPECT_FLOAT_EQ(game->player->getY(), -10.0f);
    EXPECT_FLOAT_EQ(game->distanceRan, 20.0f);
}

TEST_F(GamePlayTest, OppositeKeysCancelButBothCount) {
    Hold(SDLK_a);
    Hold(SDLK_d);
    Frame(100);
    EXPECT_FLOAT_EQ(game->player->getX(), 0.0f);
    EXPECT_FLOAT_EQ(game->distanceRan, 20.0f);
}

TEST_F(GamePlayTest, EndedRoundStopsWalkingAndFreezesTheClock) {
    Frame(500);
    Hold(SDLK_ESCAPE);
    Hold(SDLK_d);
    Frame(100);
    EXPECT_EQ(game->state, PlayToStatistics);
    EXPECT_EQ(game->player->getX(), 0.0f);
    const float frozen = game->roundTime;
    EXPECT_FLOAT_EQ(frozen, 0.5f);
    Frame(700);
    EXPECT_EQ(game->roundTime, frozen);
    // Firing still counts during the fade.
    PushClick();
    Frame(10);
    EXPECT_EQ(game->shotsFired, 1);
}

TEST_F(GamePlayTest, SlowMotionQuartersTimeAndSwitchesSpeedAfterTheWalk) {
    Hold(SDLK_d);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 300, 300);
    Frame(100);
    EXPECT_TRUE(game->slowMo);
    EXPECT_FLOAT_EQ(game->frameTime, 0.025f);
    // The first frame still walks and drains at the old speed of 100.
    EXPECT_FLOAT_EQ(game->player->getX(), 2.5f);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, 100.0f - 100.0f * 0.25f * 0.025f);
    EXPECT_EQ(game->playerSpeed, 200.0f);
    Frame(100);
    EXPECT_FLOAT_EQ(game->player->getX(), 2.5f + 5.0f);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 300, 300);
    Frame(100);
    EXPECT_FALSE(game->slowMo);
    // The first frame after it walks at 200 with the unscaled frame time.
    EXPECT_FLOAT_EQ(game->player->getX(), 7.5f + 20.0f);
    EXPECT_EQ(game->playerSpeed, 100.0f);
}

TEST_F(GamePlayTest, EmptyEnergyLocksSlowMotionUntilTheButtonIsReleased) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 300, 300);
    game->slowMoEnergy = 0.5f;
    Frame(100);
    ASSERT_TRUE(game->slowMo);
    EXPECT_LT(game->slowMoEnergy, 0.0f);
    Frame(1000);  // step 2 locks, then the real second refills
    EXPECT_TRUE(game->slowMoLocked);
    EXPECT_FALSE(game->slowMo);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, 3.125f);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 300, 300);
    Frame(10);
    EXPECT_FALSE(game->slowMo);  // still locked
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 300, 300);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 300, 300);
    Frame(10);
    EXPECT_FALSE(game->slowMoLocked);
    EXPECT_TRUE(game->slowMo);
}

TEST_F(GamePlayTest, EnergyRefillsAtItsRateAndStopsAtFull) {
    game->slowMoEnergy = 10.0f;
    Frame(2000);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, 16.25f);
    game->slowMoEnergy = 99.0f;
    Frame(1000);
    EXPECT_EQ(game->slowMoEnergy, 100.0f);
}

TEST_F(GamePlayTest, ShiftRightClickInsideTheSpotTogglesCatMode) {
    Hold(SDLK_LSHIFT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 22, 71);
    Frame(10);
    EXPECT_TRUE(game->catMode);
    EXPECT_TRUE(game->slowMo);  // the same click starts slow motion
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 21, 71);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 22, 72);
    Frame(10);
    EXPECT_TRUE(game->catMode);
    Release(SDLK_LSHIFT);
    Hold(SDLK_RSHIFT);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 74, 64);
    Frame(10);
    EXPECT_FALSE(game->catMode);
    game->spawnEnemy();
    EXPECT_EQ(game->enemies.back().getHeight(), 32.0f);
    game->catMode = true;
    game->spawnEnemy();
    EXPECT_EQ(game->enemies.back().getHeight(), 16.0f);
    EXPECT_EQ(game->enemies.back().getBaseFrame(), game->catSprite);
}

TEST_F(GamePlayTest, PlayerFacesTheAimPointAndFiresThatWay) {
    PushMotion(420, 240);  // 100 px right of the centre
    Frame(10);
    EXPECT_EQ(game->aimX, 100);
    EXPECT_EQ(game->aimY, 0);
    const double facing = std::fmod(game->player->getAngle() + 360.0, 360.0);
    EXPECT_LT(std::min(facing, 360.0 - facing), 1e-6) << facing;
    PushClick(420, 240);
    Frame(100);
    ASSERT_EQ(game->bullets.size(), 1u);
    EXPECT_NEAR(game->bullets[0].getX(), 40.0f, 1e-3);
    EXPECT_NEAR(game->bullets[0].getY(), 0.0f, 1e-3);
    EXPECT_EQ(game->bullets[0].damage, 100.0f);
    EXPECT_EQ(game->bullets[0].speed, 400.0f);
    EXPECT_EQ(game->shotsFired, 1);
}

TEST_F(GamePlayTest, BeforeTheMouseMovesThePlayerFacesTheBottomRightCorner) {
    Frame(10);
    // Aim (320, 240) from the centre: down and to the right, -36.87 degrees.
    const double angle = std::fmod(game->player->getAngle() + 720.0, 360.0);
    EXPECT_NEAR(angle, 360.0 - std::atan2(240.0, 320.0) * 180.0 / 3.14159265358979, 1e-3);
}

TEST_F(GamePlayTest, FirstFrameOfARoundSpawnsNothingAndTheIntervalShrinks) {
    Frame(0);
    EXPECT_TRUE(game->enemies.empty());
    EXPECT_TRUE(std::isinf(game->spawnInterval));
    Frame(10000);  // 10 s into the round
    EXPECT_FLOAT_EQ(game->spawnInterval, 4.0f);
    ASSERT_EQ(game->enemies.size(), 1u);  // 13 s on the clock since the last spawn at 0
    EXPECT_FLOAT_EQ(game->lastSpawnTime, (kStartTicks + 2010 + 10000) * 0.001f);
    Frame(3000);
    EXPECT_EQ(game->enemies.size(), 1u);  // interval 40/13 = 3.08 s not yet passed
    Frame(100);
    EXPECT_EQ(game->enemies.size(), 2u);
}

TEST_F(GamePlayTest, SpawnsOnTheEdgesWithTheOffCentreSpread) {
    const std::vector<int> r = RandSequence(1234, 3);
    game->spawnEnemy();
    const Enemy& enemy = game->enemies.back();
    float x, y;
    if (r[0] % 2 == 0) {
        x = static_cast<float>((r[1] % 640 + 50) - 320 + 25);
        y = r[2] % 2 == 0 ? -265.0f : 265.0f;
    } else {
        y = static_cast<float>((r[1] % 480 + 50) - 240 + 25);
        x = r[2] % 2 == 0 ? -345.0f : 345.0f;
    }
    EXPECT_EQ(enemy.getX(), x);
    EXPECT_EQ(enemy.getY(), y);
    EXPECT_EQ(enemy.health, 100.0f);
    EXPECT_EQ(enemy.speed, 75.0f);
    EXPECT_EQ(enemy.touchDamage, 5.0f);
    EXPECT_EQ(enemy.target, game->player);
    EXPECT_FALSE(enemy.dead);
    for (unsigned seed = 0; seed < 300; ++seed) {
        const bool horizontalEdge = RandSequence(seed, 1)[0] % 2 == 0;
        game->spawnEnemy();
        const Enemy& e = game->enemies.back();
        if (horizontalEdge) {
            EXPECT_TRUE(e.getY() == -265.0f || e.getY() == 265.0f);
            EXPECT_GE(e.getX(), -245.0f);
            EXPECT_LE(e.getX(), 394.0f);
        } else {
            EXPECT_TRUE(e.getX() == -345.0f || e.getX() == 345.0f);
            EXPECT_GE(e.getY(), -165.0f);
            EXPECT_LE(e.getY(), 314.0f);
        }
    }
}

TEST_F(GamePlayTest, OutsideSlowMotionABulletKillsOnlyTheFirstOfTwo) {
    AddEnemy(0.0f, 0.0f);
    AddEnemy(4.0f, 0.0f);
    PushClick();
    Frame(0);
    ASSERT_EQ(game->enemies.size(), 1u);
    EXPECT_EQ(game->enemies[0].getX(), 4.0f);
    EXPECT_TRUE(game->bullets.empty());
    EXPECT_EQ(game->bodyCount, 1);
    EXPECT_EQ(game->damageDealt, 100.0f);
    ASSERT_EQ(game->decals.size(), 2u);  // blood, then the corpse over it
    EXPECT_EQ(game->decals[0].getWidth(), 64.0f);
    EXPECT_EQ(game->decals[1].currentSprite(), game->badGuySprite + 4);
}

TEST_F(GamePlayTest, InSlowMotionABulletPiercesBoth) {
    AddEnemy(0.0f, 0.0f);
    AddEnemy(4.0f, 0.0f);
    game->slowMo = true;
    PushClick();
    Frame(0);
    EXPECT_TRUE(game->enemies.empty());
    EXPECT_EQ(game->bullets.size(), 1u);
    EXPECT_EQ(game->bodyCount, 2);
    EXPECT_EQ(game->decals.size(), 4u);
}

TEST_F(GamePlayTest, AKillDrawsItsRandomNumbersInTheStatedOrder) {
    AddEnemy(0.0f, 0.0f);
    PushClick();
    // shot sample, corpse angle, blood image, blood angle, cry chance
    const std::vector<int> r = RandSequence(99, 5);
    Frame(0);
    ASSERT_EQ(game->decals.size(), 2u);
    const Actor& blood = game->decals[0];
    const Actor& corpse = game->decals[1];
    EXPECT_EQ(corpse.getAngle(), r[1] % 360);
    EXPECT_EQ(blood.currentSprite(), game->bloodSprite + r[2] % 3);
    EXPECT_EQ(blood.getAngle(), r[3] % 360);
}

TEST_F(GamePlayTest, BulletsPastTheLimitsGoBeforeMovingOrHitting) {
    game->player->setRect(330.0f, 0.0f, 32.0f, 32.0f);
    AddEnemy(330.0f, 0.0f);
    PushClick();
    Frame(0);
    EXPECT_TRUE(game->bullets.empty());
    EXPECT_EQ(game->enemies.size(), 1u);
    EXPECT_EQ(game->shotsFired, 1);
    game->player->setRect(0.0f, 325.0f, 32.0f, 32.0f);
    PushClick();
    Frame(0);
    EXPECT_EQ(game->bullets.size(), 1u);  // exactly on the limit stays
}

TEST_F(GamePlayTest, ThreeEnemiesOnThePlayerHurtTogether) {
    for (int i = 0; i < 3; ++i) {
        AddEnemy(0.0f, 0.0f);
    }
    Frame(1000);
    EXPECT_FLOAT_EQ(game->health, 85.0f);
    game->enemies.clear();
    Frame(1000);
    EXPECT_FLOAT_EQ(game->health, 85.0f);
}

TEST_F(GamePlayTest, DeathLeavesTheDeadPlayerOnBloodAndEndsTheRound) {
    for (int i = 0; i < 3; ++i) {
        AddEnemy(0.0f, 0.0f);
    }
    game->health = 1.0f;
    Frame(1000);
    EXPECT_EQ(game->state, PlayToStatistics);
    EXPECT_EQ(game->health, 0.0f);
    EXPECT_EQ(game->player->currentSprite(), game->playerDeadSprite);
    ASSERT_EQ(game->decals.size(), 1u);
    EXPECT_EQ(game->decals[0].getWidth(), 64.0f);
    EXPECT_GE(game->decals[0].currentSprite(), game->bloodSprite);
    EXPECT_LE(game->decals[0].currentSprite(), game->bloodSprite + 2);
    const double angle = game->player->getAngle();
    EXPECT_GE(angle, 0.0);
    EXPECT_LT(angle, 360.0);
    // A dead player no longer turns or walks his cycle.
    PushMotion(0, 0);
    Frame(500);
    EXPECT_EQ(game->player->getAngle(), angle);
    EXPECT_EQ(game->player->currentSprite(), game->playerDeadSprite);
    Frame(2000);
    EXPECT_EQ(game->state, Statistics);
}

TEST_F(GamePlayTest, HealthGoneAfterEscOnlyClampsWithoutADeathScene) {
    Hold(SDLK_ESCAPE);
    Frame(10);
    Release(SDLK_ESCAPE);
    AddEnemy(0.0f, 0.0f);
    game->health = 1.0f;
    Frame(1000);
    EXPECT_EQ(game->health, 0.0f);
    EXPECT_TRUE(game->decals.empty());
    EXPECT_EQ(game->player->currentSprite(), game->playerSprite);
}

TEST_F(GamePlayTest, KillsDuringTheFadeStillCount) {
    Hold(SDLK_ESCAPE);
    Frame(10);
    Release(SDLK_ESCAPE);
    AddEnemy(0.0f, 0.0f);
    PushClick();
    Frame(0);
    EXPECT_EQ(game->bodyCount, 1);
    EXPECT_EQ(game->damageDealt, 100.0f);
}

TEST_F(GamePlayTest, CorpsesStayOnTheFloorThroughTheStatisticsScreen) {
    AddEnemy(0.0f, 0.0f);
    PushClick();
    Frame(0);
    Hold(SDLK_ESCAPE);
    Frame(10);
    Release(SDLK_ESCAPE);
    Frame(2000);
    ASSERT_EQ(game->state, Statistics);
    Frame(16);
    EXPECT_EQ(game->decals.size(), 2u);
}

TEST_F(GamePlayTest, WalkCycleRunsOnlyWhileWalking) {
    Frame(200);
    EXPECT_EQ(game->player->getFrame(), 0);
    Hold(SDLK_s);
    Frame(200);
    EXPECT_EQ(game->player->getFrame(), 1);
}

}  // namespace
