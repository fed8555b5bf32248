// The rules of play, through whole frames of a real round: walking, the end
// of a round, slow motion, the cat-mode spot, firing, spawning, kills with
// their sounds, touch damage and the player's death.
#include "GameHarness.h"

#include <cmath>

namespace {

class GamePlayTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        BeginRound();
    }
};

using Sounds = std::vector<int>;

// The facing folded into (-180, 180].
double Facing(const Actor& actor) {
    return std::remainder(actor.getAngle(), 360.0);
}

TEST_F(GamePlayTest, EveryHeldKeyStepsAndCountsUntilTheRoundEnds) {
    Actor& player = *game->player;
    Hold(SDLK_w);
    Hold(SDLK_d);
    Frame(100);
    ExpectValues(player.getX(), 10, player.getY(), -10, game->distanceRan, 20);
    EXPECT_EQ(player.currentSprite(), game->playerSprite);
    Hold(SDLK_w, false);
    Hold(SDLK_a);
    Hold(SDLK_s);
    Frame(50);  // A and D cancel but both count; the walk's 0.15 s frame is up
    ExpectValues(player.getX(), 10, player.getY(), -5, game->distanceRan, 35);
    EXPECT_EQ(player.currentSprite(), game->playerSprite + 1);
    GameDriver::releaseAllKeys();
    Frame(200);  // standing still stops the walk cycle
    EXPECT_EQ(player.currentSprite(), game->playerSprite + 1);
    EXPECT_NEAR(game->roundTime, 0.35f, 1e-5);

    Hold(SDLK_ESCAPE);
    Hold(SDLK_d);
    Frame(100);
    EXPECT_EQ(game->state, PlayToStatistics);
    // No more walking and the round's time stands still, but shots and kills
    // still count, and health run out only stops at 0.
    AddEnemy(10.0f, -5.0f);
    Press(SDL_BUTTON_LEFT);
    Frame(0);
    AddEnemy(10.0f, -5.0f);
    game->health = 1.0f;
    Frame(500);
    ExpectValues(player.getX(), 10, game->roundTime, 0.35, game->shotsFired, 1, game->bodyCount, 1,
                 game->health, 0, game->decals.size(), 2);
    EXPECT_EQ(player.currentSprite(), game->playerSprite + 1);
}

TEST_F(GamePlayTest, SlowMotionQuartersTimeDrainsEnergyAndLocksWhenItRunsOut) {
    Hold(SDLK_d);
    Press(SDL_BUTTON_RIGHT);
    Frame(100);
    EXPECT_TRUE(game->slowMo);
    // The first frame walks and drains at the old speed of 100, the next at 200.
    ExpectValues(game->frameTime, 0.025, game->player->getX(), 2.5, game->slowMoEnergy, 99.375);
    Frame(100);
    ExpectValues(game->player->getX(), 7.5, game->slowMoEnergy, 98.125);
    Release(SDL_BUTTON_RIGHT);
    Frame(100);  // and the first frame after it walks at 200 in real time
    EXPECT_FALSE(game->slowMo);
    ExpectValues(game->player->getX(), 27.5, game->slowMoEnergy, 98.4375);
    Frame(1000);
    ExpectValues(game->player->getX(), 127.5, game->slowMoEnergy, 100);  // full stops

    game->slowMoEnergy = 0.5f;
    Press(SDL_BUTTON_RIGHT);
    Frame(100);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, -0.125f);
    Frame(1000);  // locked and off, then a whole real second of refill
    EXPECT_TRUE(game->slowMoLocked);
    EXPECT_FALSE(game->slowMo);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, 3.125f);
    Press(SDL_BUTTON_RIGHT);
    Frame(10);
    EXPECT_FALSE(game->slowMo);
    Release(SDL_BUTTON_RIGHT);
    Press(SDL_BUTTON_RIGHT);
    Frame(0);
    EXPECT_TRUE(game->slowMo);
    game->slowMoEnergy = 0.0f;  // empty, not below, locks too
    Frame(0);
    EXPECT_TRUE(game->slowMoLocked);
}

TEST_F(GamePlayTest, ShiftRightClickOnTheStatusSpotTogglesCatsForLaterSpawns) {
    Hold(SDLK_LSHIFT);
    const int outside[][2] = {{21, 71}, {22, 72}, {75, 64}, {74, 63}};
    for (const auto& p : outside) {
        Press(SDL_BUTTON_RIGHT, p[0], p[1]);
    }
    Frame(10);
    EXPECT_FALSE(game->catMode);
    EXPECT_TRUE(game->slowMo);  // every right press starts slow motion
    Press(SDL_BUTTON_RIGHT, 22, 71);
    Frame(10);
    EXPECT_TRUE(game->catMode);
    game->spawnEnemy();
    Hold(SDLK_LSHIFT, false);
    Press(SDL_BUTTON_RIGHT, 74, 64);
    Frame(10);
    EXPECT_TRUE(game->catMode);  // not without a shift key
    Hold(SDLK_RSHIFT);
    Press(SDL_BUTTON_RIGHT, 74, 64);
    Frame(10);
    EXPECT_FALSE(game->catMode);
    game->spawnEnemy();
    const std::vector<Enemy>& enemies = game->enemies;
    ExpectValues(enemies[0].getHeight(), 16, enemies[0].currentSprite(), game->catSprite,
                 enemies[1].getHeight(), 32, enemies[1].currentSprite(), game->badGuySprite);
}

TEST_F(GamePlayTest, ShotsFlyFromThePlayerTowardsTheAimWithTheirSounds) {
    Frame(0);
    EXPECT_NEAR(Facing(*game->player), -36.8699, 1e-3);  // the bottom-right corner
    GameDriver::pushMotion(420, 240);                    // 100 px right of the centre
    Frame(10);
    EXPECT_NEAR(Facing(*game->player), 0.0, 1e-6);
    NameTheSounds();
    std::vector<int> r = SeedRandWhere();
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(100), Sounds{106 + r[0] % 2});
    const Bullet& shot = game->bullets.at(0);
    ExpectValues(shot.getX(), 40, shot.getY(), 0, shot.getWidth(), 16, shot.getHeight(), 4,
                 shot.damage, 100, game->shotsFired, 1);
    // In slow motion: the slowed shot, and a 64-pixel streak at a quarter of
    // the speed whose five frames change every 0.1 s of game time.
    r = SeedRandWhere();
    Press(SDL_BUTTON_RIGHT);
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(400), Sounds{108 + r[0] % 2});
    const Bullet& streak = game->bullets.at(1);
    ExpectValues(streak.getX(), 40, streak.getWidth(), 64, streak.currentSprite(),
                 game->bulletSprite + 1);
    for (int sprite : {2, 3, 4, 0}) {
        Frame(400);
        EXPECT_EQ(streak.currentSprite(), game->bulletSprite + sprite);
    }
    EXPECT_NEAR(game->bullets[0].getX(), 240.0f, 1e-3);
}

TEST_F(GamePlayTest, BulletsBeyondTheLimitsGoBeforeTheyMoveOrHit) {
    const float onTheLimit[][2] = {{325, 0}, {-325, 0}, {0, 325}, {0, -325}};
    for (float beyond : {1.0f, 1.01f}) {
        for (const auto& p : onTheLimit) {
            game->player->setRect(p[0] * beyond, p[1] * beyond, 32.0f, 32.0f);
            AddEnemy(p[0] * beyond, p[1] * beyond).target = nullptr;
            Press(SDL_BUTTON_LEFT);
            Frame(0);
        }
    }
    EXPECT_EQ(game->bullets.size(), 0u);
    EXPECT_EQ(game->bodyCount, 4);
    EXPECT_EQ(game->shotsFired, 8);
}

TEST_F(GamePlayTest, ABulletKillsTheFirstEnemyItMeetsLeavingBloodCorpseAndCry) {
    NameTheSounds();
    AddEnemy(0.0f, 0.0f);
    game->catMode = true;
    AddEnemy(4.0f, 0.0f);
    // A bad guy cries in one kill of two, with one of two cries. The random
    // numbers: the shot's sample, the corpse's angle, the blood's image and
    // angle, the chance of a cry and which one.
    std::vector<int> r = SeedRandWhere([](const std::vector<int>& r) { return r[4] % 100 < 50; });
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{106 + r[0] % 2, 100 + r[5] % 2}));
    ASSERT_EQ(game->decals.size(), 2u);
    const Actor& blood = game->decals[0];
    const Actor& corpse = game->decals[1];
    ExpectValues(game->enemies.size(), 1, game->enemies[0].getHeight(), 16, game->bullets.size(), 0,
                 game->bodyCount, 1, game->damageDealt, 100, blood.currentSprite(),
                 game->bloodSprite + r[2] % 3, blood.getAngle(), r[3] % 360, blood.getX(), 0,
                 blood.getWidth(), 64, blood.getHeight(), 64, corpse.currentSprite(),
                 game->badGuySprite + 4, corpse.getAngle(), r[1] % 360, corpse.getWidth(), 32,
                 corpse.getHeight(), 32);
    // A cat cries in three kills of four.
    r = SeedRandWhere([](const std::vector<int>& r) { return r[4] % 100 / 25 == 2; });
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{106 + r[0] % 2, 110}));
    EXPECT_EQ(game->decals.at(3).currentSprite(), game->catSprite + 4);

    // In slow motion a bullet goes through every enemy in its way, and the
    // cries are slowed too.
    AddEnemy(0.0f, 0.0f);
    game->catMode = false;
    AddEnemy(4.0f, 0.0f);
    r = SeedRandWhere([](const std::vector<int>& r) { return r[4] % 100 < 75 && r[8] % 100 < 50; });
    Press(SDL_BUTTON_RIGHT);
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{108 + r[0] % 2, 111, 103 + r[9] % 2}));
    ExpectValues(game->enemies.size(), 0, game->bullets.size(), 1, game->bodyCount, 4,
                 game->damageDealt, 400, game->decals.size(), 8, game->decals[7].getAngle(),
                 r[5] % 360);
}

TEST_F(GamePlayTest, EnemiesOnThePlayerHurtHimUntilHeLiesDeadOnHisBlood) {
    for (int i = 0; i < 3; ++i) {
        AddEnemy(0.0f, 0.0f);
    }
    Frame(1000);
    EXPECT_FLOAT_EQ(game->health, 85.0f);  // 5 a second each
    game->health = 1.0f;
    NameTheSounds();
    const std::vector<int> r = SeedRandWhere();
    Hold(SDLK_w);  // a step in the frame of his death does not wake the walk
    EXPECT_EQ(FrameSounds(1000), Sounds{102});
    EXPECT_EQ(game->state, PlayToStatistics);
    const Actor& blood = game->decals.at(0);
    ExpectValues(game->health, 0, game->player->currentSprite(), game->playerDeadSprite,
                 game->player->getAngle(), r[0] % 360, game->decals.size(), 1,
                 blood.currentSprite(), game->bloodSprite + r[1] % 3, blood.getAngle(), r[2] % 360,
                 blood.getY(), -100, blood.getWidth(), 64);
    GameDriver::pushMotion(0, 0);
    Frame(500);
    EXPECT_EQ(game->player->getAngle(), r[0] % 360);  // the dead no longer turn
}

TEST_F(GameTest, EnemiesComeEverFasterFromBeyondTheScreenEdges) {
    driver->setClock(15990);
    BeginRound();  // at 18 s on the clock
    Frame(0);      // no time into the round: no interval
    Frame(1999);
    EXPECT_TRUE(game->enemies.empty());
    // 2 s into the round the interval is 2 x 20 / 2 = 20 s, and 20 s have
    // passed since the last spawn at 0 on the clock.
    Frame(1);
    ASSERT_EQ(game->enemies.size(), 1u);
    const Enemy& enemy = game->enemies[0];
    ExpectValues(game->lastSpawnTime, 20, enemy.health, 100, enemy.touchDamage, 5,
                 enemy.target == game->player, 1, enemy.dead, 0);
    game->enemies.clear();
    Frame(10000);  // the interval is now 40 / 12 s: one spawn a frame at most
    EXPECT_EQ(game->enemies.size(), 1u);
    game->enemies.clear();
    Frame(2000);  // 2 s since, against 40 / 14 s
    EXPECT_TRUE(game->enemies.empty());
    Frame(900);
    EXPECT_EQ(game->enemies.size(), 1u);

    // 25 pixels beyond an edge, spread along it off the centre.
    for (int i = 0; i < 4; ++i) {
        const std::vector<int> r = SeedRandWhere(
            [i](const std::vector<int>& r) { return r[0] % 2 == i % 2 && r[2] % 2 == i / 2; });
        game->spawnEnemy();
        const float side = r[2] % 2 == 0 ? -1.0f : 1.0f;
        const bool across = r[0] % 2 == 0;
        ExpectValues(game->enemies.back().getX(), across ? r[1] % 640 - 245 : side * 345,
                     game->enemies.back().getY(), across ? side * 265 : r[1] % 480 - 165);
    }
    // They walk at the player at 75 pixels a second, four frames of 0.15 s.
    game->enemies.clear();
    const Enemy& walker = AddEnemy(-200.0f, 0.0f);
    Frame(150);
    EXPECT_FLOAT_EQ(walker.getX(), -188.75f);
    EXPECT_EQ(walker.currentSprite(), game->badGuySprite + 1);
}

}  // namespace
