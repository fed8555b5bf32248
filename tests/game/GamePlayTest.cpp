// The rules of play and what play shows, through whole frames of a real
// round: walking, the end of a round, slow motion, the cat-mode spot, firing,
// spawning, kills with their sounds, touch damage and the player's death; the
// world layer under every screen and the HUD over play, with solid colour
// sprites standing in for the art so that every pixel is known.
#include "GameHarness.h"

#include <dlfcn.h>

// The rests the game asks SDL for, in turn; SDL still takes each.
std::vector<Uint32> rests;
extern "C" void SDL_Delay(Uint32 milliseconds) {
    static const auto sdlDelay = reinterpret_cast<void (*)(Uint32)>(dlsym(RTLD_NEXT, "SDL_Delay"));
    rests.push_back(milliseconds);
    sdlDelay(milliseconds);
}

namespace {

SDL_Event KeyPress(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}
SDL_Event MouseDown(Uint8 button) {
    SDL_Event event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = button;
    event.button.x = 400;
    event.button.y = 300;
    return event;
}
SDL_Event FocusLost() {
    SDL_Event event = {};
    event.type = SDL_ACTIVEEVENT;
    event.active.state = SDL_APPINPUTFOCUS;
    return event;
}

class GamePlayTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        BeginRound();
    }
    // A decal of one colour, centred on world (x, y).
    void AddDecal(int32_t sprite, float x, float y, float w, float h) {
        Actor decal(game->sprites);
        decal.setAnimation(sprite, 1, 0.0f);
        decal.setRect(x, y, w, h);
        game->decals.push_back(decal);
    }
};

TEST_F(GamePlayTest, EveryHeldKeyStepsAndCountsUntilTheRoundEnds) {
    const Actor& player = *game->player;
    Hold({SDLK_w, SDLK_d});
    Frame(100);
    EXPECT_TRUE(Values(player.getX(), 10, player.getY(), -10, game->distanceRan, 20,
                       player.currentSprite(), game->playerSprite));
    Hold({SDLK_w}, false);
    Hold({SDLK_a, SDLK_s});
    Frame(50);  // A and D cancel but both count; the walk's 0.15 s frame is up
    EXPECT_TRUE(Values(player.getX(), 10, player.getY(), -5, game->distanceRan, 35,
                       player.currentSprite(), game->playerSprite + 1));
    GameDriver::releaseAllKeys();
    Frame(200);  // standing still stops the walk cycle
    EXPECT_TRUE(Values(player.currentSprite(), game->playerSprite + 1, game->roundTime, 0.35));
    // Once the round has ended no one walks and its time stands still, but
    // shots and kills still count, and health run out only stops at 0.
    Hold({SDLK_ESCAPE, SDLK_d});
    Frame(100);
    AddEnemy(10.0f, -5.0f);
    Press(SDL_BUTTON_LEFT);
    Frame(0);
    AddEnemy(10.0f, -5.0f);
    game->health = 1.0f;
    Frame(500);
    EXPECT_TRUE(Values(game->state, PlayToStatistics, player.getX(), 10, game->roundTime, 0.35,
                       game->shotsFired, 1, game->bodyCount, 1, game->health, 0,
                       game->decals.size(), 2, player.currentSprite(), game->playerSprite + 1));
}

TEST_F(GamePlayTest, SlowMotionQuartersTimeDrainsEnergyAndLocksWhenItRunsOut) {
    const Actor& player = *game->player;
    Hold({SDLK_d});
    Press(SDL_BUTTON_RIGHT);
    Frame(100);
    // The first frame walks and drains at the old speed of 100, the next at
    // 200; the first after it walks at 200 in real time.
    EXPECT_TRUE(Values(game->slowMo, 1, game->frameTime, 0.025, player.getX(), 2.5,
                       game->slowMoEnergy, 99.375));
    Frame(100);
    EXPECT_TRUE(Values(player.getX(), 7.5, game->slowMoEnergy, 98.125));
    GameDriver::pushButton(SDL_BUTTON_RIGHT, false, 0, 0);
    Frame(100);
    EXPECT_TRUE(Values(game->slowMo, 0, player.getX(), 27.5, game->slowMoEnergy, 98.4375));
    Frame(1000);
    EXPECT_TRUE(Values(player.getX(), 127.5, game->slowMoEnergy, 100));  // the refill stops at full

    game->slowMoEnergy = 0.5f;
    Press(SDL_BUTTON_RIGHT);
    Frame(100);
    EXPECT_FLOAT_EQ(game->slowMoEnergy, -0.125f);
    Frame(1000);  // locked and off, then a whole real second of refill
    EXPECT_TRUE(Values(game->slowMoLocked, 1, game->slowMo, 0, game->slowMoEnergy, 3.125));
    Press(SDL_BUTTON_RIGHT);
    Frame(10);
    EXPECT_FALSE(game->slowMo);
    GameDriver::pushButton(SDL_BUTTON_RIGHT, false, 0, 0);
    Press(SDL_BUTTON_RIGHT);
    Frame(0);
    EXPECT_TRUE(game->slowMo);
    game->slowMoEnergy = 0.0f;  // empty, not below, locks too
    Frame(0);
    EXPECT_TRUE(game->slowMoLocked);
}

// Right presses on and just off the spot's corners, with and without a shift
// key, and cat mode after each; an enemy spawned after each shows the mode.
// P, or the focus lost, pauses the round. Then F12, a modifier and the wheel
// either way leave it paused under its notice, a frame rests 15 ms, and the
// slow-motion button let go while paused is let go; any other key or a click
// goes on, and does nothing else. The round's clock counts none of the paused
// time, however many pauses; ESC held while paused ends the round as in play,
// and a focus lost while the round fades out does not pause it.
TEST_F(GamePlayTest, OnlyAKeyOrAClickGoesOnAndNoPauseCounts) {
    // The test window ignores focus events, so that other tests' windows on
    // the same X server cannot pause this round; a pushed event passes.
    const auto push = [](SDL_Event event) { SDL_PushEvent(&event); };
    for (const SDL_Event pause : {KeyPress(SDLK_p), FocusLost()}) {
        // Pauses of different lengths: each must count.
        const uint32_t still = pause.type == SDL_KEYDOWN ? 10000 : 3000;
        Press(SDL_BUTTON_RIGHT);
        Frame(100);
        push(pause);
        Frame(100);  // played out
        GameDriver::pushButton(SDL_BUTTON_RIGHT, false, 0, 0);
        for (const SDL_Event input :
             {KeyPress(SDLK_F12), KeyPress(SDLK_LSHIFT), MouseDown(SDL_BUTTON_WHEELUP),
              MouseDown(SDL_BUTTON_WHEELDOWN)}) {
            push(input);
            rests.clear();
            Frame(still);
            EXPECT_TRUE(Values(game->paused, 1, rests.size(), 1, rests.at(0), 15));
        }
        EXPECT_TRUE(Wrote("Paused - press a key or click to play on", 188, 234));
        push(pause.type == SDL_KEYDOWN ? KeyPress(SDLK_x) : MouseDown(SDL_BUTTON_LEFT));
        rests.clear();
        Frame(still);
        EXPECT_TRUE(Values(game->paused, 0, game->slowMo, 0, rests.size(), 1, rests.at(0), 0));
    }
    Frame(100);
    EXPECT_TRUE(Values(game->roundTime, 0.5, game->shotsFired, 0));
    push(KeyPress(SDLK_p));
    Frame(10);
    Hold({SDLK_ESCAPE});
    Frame(10);
    EXPECT_TRUE(Values(game->paused, 0, game->state, PlayToStatistics));
    GameDriver::releaseAllKeys();
    push(FocusLost());
    Frame(1000);
    Frame(1000);
    EXPECT_TRUE(Values(game->state, Statistics, game->paused, 0));
}

TEST_F(GamePlayTest, ShiftRightClickOnTheStatusSpotTogglesCatsForLaterSpawns) {
    const int presses[][4] = {{21, 71, SDLK_LSHIFT, 0},  {22, 72, SDLK_LSHIFT, 0},
                              {75, 64, SDLK_RSHIFT, 0},  {74, 63, SDLK_RSHIFT, 0},
                              {22, 71, SDLK_UNKNOWN, 0}, {22, 71, SDLK_LSHIFT, 1},
                              {74, 64, SDLK_RSHIFT, 0}};
    for (const auto& p : presses) {
        Hold({static_cast<SDLKey>(p[2])});
        Press(SDL_BUTTON_RIGHT, p[0], p[1]);
        Frame(0);
        GameDriver::releaseAllKeys();
        EXPECT_TRUE(Values(game->catMode, p[3], game->slowMo, 1)) << p[0] << ", " << p[1];
        game->spawnEnemy();
    }
    const std::vector<Enemy>& enemies = game->enemies;
    EXPECT_TRUE(Values(enemies[5].getHeight(), 16, enemies[5].currentSprite(), game->catSprite,
                       enemies[6].getHeight(), 32, enemies[6].currentSprite(), game->badGuySprite));
}

TEST_F(GamePlayTest, ShotsFlyFromThePlayerTowardsTheAimWithTheirSounds) {
    GameDriver::pushMotion(420, 240);  // 100 px right of the centre
    Frame(10);
    EXPECT_NEAR(std::remainder(game->player->getAngle(), 360), 0.0, 1e-6);  // facing it
    NameTheSounds();
    auto r = SeedRandWhere();
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(100), Sounds{106 + r[0] % 2});
    const Bullet& shot = game->bullets.at(0);
    EXPECT_TRUE(Values(shot.getX(), 40, shot.getY(), 0, shot.getWidth(), 16, shot.getHeight(), 4,
                       shot.damage, 100, game->shotsFired, 1));
    // In slow motion: the slowed shot, and a 64-pixel streak at a quarter of
    // the speed whose five frames change every 0.1 s of game time.
    r = SeedRandWhere();
    Press(SDL_BUTTON_RIGHT);
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(400), Sounds{108 + r[0] % 2});
    const Bullet& streak = game->bullets.at(1);
    EXPECT_TRUE(Values(streak.getX(), 40, streak.getWidth(), 64));
    for (int frame : {1, 2, 3, 4, 0}) {
        EXPECT_EQ(streak.currentSprite(), game->bulletSprite + frame);
        Frame(400);
    }
}

// Each bullet starts on the player and an enemy that would stop it, at
// places that do not swap into each other.
TEST_F(GamePlayTest, BulletsBeyondTheLimitsGoBeforeTheyMoveOrHit) {
    for (float beyond : {1.0f, 1.01f}) {
        for (const auto& at :
             {SDL_Rect{325, 50, 0, 0}, {-325, 50, 0, 0}, {80, 325, 0, 0}, {80, -325, 0, 0}}) {
            game->player->setRect(at.x * beyond, at.y * beyond, 32.0f, 32.0f);
            AddEnemy(at.x * beyond, at.y * beyond).target = nullptr;
            Press(SDL_BUTTON_LEFT);
            Frame(0);
        }
    }
    EXPECT_TRUE(Values(game->bullets.size(), 0, game->bodyCount, 4, game->shotsFired, 8));
}

TEST_F(GamePlayTest, ABulletKillsTheFirstEnemyItMeetsLeavingBloodCorpseAndCry) {
    NameTheSounds();
    AddEnemy(0.0f, 0.0f);
    game->catMode = true;
    AddEnemy(4.0f, 0.0f);
    // A bad guy cries in one kill of two, with one of two cries. The random
    // numbers: the shot's sample, the corpse's angle, the blood's image and
    // angle, the chance of a cry and which one.
    auto r = SeedRandWhere([](auto& r) { return r[4] % 100 < 50; });
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{106 + r[0] % 2, 100 + r[5] % 2}));
    const Actor& blood = game->decals.at(0);
    const Actor& corpse = game->decals.at(1);
    EXPECT_TRUE(Values(game->enemies.size(), 1, game->enemies[0].getHeight(), 16,
                       game->bullets.size(), 0, game->bodyCount, 1, game->damageDealt, 100));
    EXPECT_TRUE(Values(blood.currentSprite(), game->bloodSprite + r[2] % 3, blood.getAngle(),
                       r[3] % 360, blood.getX(), 0, blood.getWidth(), 64, blood.getHeight(), 64));
    EXPECT_TRUE(Values(corpse.currentSprite(), game->badGuySprite + 4, corpse.getAngle(),
                       r[1] % 360, corpse.getWidth(), 32, corpse.getHeight(), 32));
    // A cat cries in three kills of four.
    r = SeedRandWhere([](auto& r) { return r[4] % 100 / 25 == 2; });
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{106 + r[0] % 2, 110}));
    EXPECT_EQ(game->decals.at(3).currentSprite(), game->catSprite + 4);
    // In slow motion a bullet goes through every enemy in its way, and the
    // cries are slowed too.
    AddEnemy(0.0f, 0.0f);
    game->catMode = false;
    AddEnemy(4.0f, 0.0f);
    r = SeedRandWhere([](auto& r) { return r[4] % 100 < 75 && r[8] % 100 < 50; });
    Press(SDL_BUTTON_RIGHT);
    Press(SDL_BUTTON_LEFT);
    EXPECT_EQ(FrameSounds(0), (Sounds{108 + r[0] % 2, 111, 103 + r[9] % 2}));
    EXPECT_TRUE(Values(game->enemies.size(), 0, game->bullets.size(), 1, game->bodyCount, 4,
                       game->damageDealt, 400, game->decals.size(), 8));
}

TEST_F(GamePlayTest, EnemiesOnThePlayerHurtHimUntilHeLiesDeadOnHisBlood) {
    for (int i = 0; i < 3; ++i) {
        AddEnemy(0.0f, 0.0f);
    }
    Frame(1000);
    EXPECT_FLOAT_EQ(game->health, 85.0f);  // 5 a second each
    game->health = 1.0f;
    NameTheSounds();
    const auto r = SeedRandWhere();
    Hold({SDLK_w});  // a step in the frame of his death does not wake the walk
    EXPECT_EQ(FrameSounds(1000), Sounds{102});
    const Actor& blood = game->decals.at(0);
    EXPECT_TRUE(Values(game->state, PlayToStatistics, game->health, 0, game->decals.size(), 1,
                       game->player->currentSprite(), game->playerDeadSprite,
                       game->player->getAngle(), r[0] % 360));
    EXPECT_TRUE(Values(blood.currentSprite(), game->bloodSprite + r[1] % 3, blood.getAngle(),
                       r[2] % 360, blood.getY(), -100, blood.getWidth(), 64));
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
    const Enemy& enemy = game->enemies.at(0);
    EXPECT_TRUE(Values(game->lastSpawnTime, 20, enemy.health, 100, enemy.touchDamage, 5,
                       enemy.target == game->player, 1, enemy.dead, 0));
    game->enemies.clear();
    Frame(10000);  // the interval is now 40 / 12 s: one spawn a frame at most
    Frame(2000);   // 2 s since, against 40 / 14 s
    EXPECT_EQ(game->enemies.size(), 1u);
    Frame(900);
    EXPECT_EQ(game->enemies.size(), 2u);
    // 25 pixels beyond an edge, spread along it off the centre.
    for (int i = 0; i < 4; ++i) {
        const auto r =
            SeedRandWhere([i](auto& r) { return r[0] % 2 == i % 2 && r[2] % 2 == i / 2; });
        game->spawnEnemy();
        const float side = r[2] % 2 == 0 ? -1.0f : 1.0f;
        const bool across = r[0] % 2 == 0;
        EXPECT_TRUE(Values(game->enemies.back().getX(), across ? r[1] % 640 - 245 : side * 345,
                           game->enemies.back().getY(), across ? side * 265 : r[1] % 480 - 165));
    }
    // They walk at the player at 75 pixels a second, four frames of 0.15 s.
    game->enemies.clear();
    const Enemy& walker = AddEnemy(-200.0f, 0.0f);
    Frame(150);
    EXPECT_TRUE(Values(walker.getX(), -188.75, walker.currentSprite(), game->badGuySprite + 1));
}

TEST_F(GamePlayTest, FloorTilesThenDecalsInTheirOrderThenThePlayer) {
    // A green tile with a blue line along each edge shows where tiles meet.
    std::vector<Rgba> tile(256 * 256, kGreen);
    for (int i = 0; i < 256; ++i) {
        tile[i] = tile[255 * 256 + i] = tile[i * 256] = tile[i * 256 + 255] = kBlue;
    }
    ASSERT_TRUE(WritePngRgba(work.File("tile.png"), 256, 256, tile));
    LayFloor(kRed);
    const int32_t red = game->floorSprites[0];
    game->floorSprites[1] = game->sprites->LoadSprite(work.File("tile.png").c_str());
    game->floorChoice = 1;
    game->player->holdFrame(SolidSprite(kWhite));
    AddDecal(red, 0.0f, 150.0f, 64.0f, 64.0f);  // clear of the screens' band
    AddDecal(red, 0.0f, 0.0f, 64.0f, 64.0f);    // under the player
    AddDecal(red, 100.0f, 0.0f, 64.0f, 64.0f);
    AddDecal(SolidSprite(kBlue), 100.0f, 0.0f, 32.0f, 16.0f);
    Frame(0);
    // Tiles meet every 256 pixels across and down, their edge lines side by
    // side. The 32 x 32 player at world (0, 0) covers window (304, 224) to
    // (335, 255) over the decal under him; the 32 x 16 decal at (100, 0)
    // covers (404, 232) to (435, 247) over the one laid before it.
    EXPECT_TRUE(Pixels(254, 100, kGreen, 255, 100, kBlue, 256, 100, kBlue, 257, 100, kGreen, 510,
                       100, kGreen, 511, 100, kBlue, 512, 100, kBlue, 513, 100, kGreen, 100, 255,
                       kBlue, 100, 256, kBlue, 100, 257, kGreen, 600, 400, kGreen, 304, 224, kWhite,
                       335, 255, kWhite, 303, 240, kRed, 320, 256, kRed, 404, 232, kBlue, 435, 247,
                       kBlue, 403, 240, kRed, 436, 240, kRed, 420, 231, kRed, 420, 248, kRed));

    // The decals and the player fade with the statistics screen into the next
    // round; the floor does not.
    Tap(SDLK_ESCAPE, 0);
    Frame(2000);
    Tap(SDLK_SPACE, 0);
    Frame(1000);
    Frame(0);
    EXPECT_TRUE(Pixels(320, 390, Rgba{128, 128, 0, 255}, 200, 390, kGreen));
}

TEST_F(GamePlayTest, HudBarsTextsAndOverlay) {
    LayFloor(kBlack);
    game->hudSprite = game->floorSprites[0];
    game->slowMoOverlaySprite = SolidSprite(kBlue);
    game->health = 37.9f;
    game->bodyCount = 42;
    Frame(500);
    // Health 37.9 asks for a fill 37 wide and a frame 39 wide; the sprite
    // store halves sizes in integers, so each odd width shows one pixel less.
    // Full energy is 100 pixels of white fill on its white frame.
    const Rgba fillOnFrame{191, 63, 63, 255};
    const Rgba frameOnly{127, 127, 127, 255};
    const Rgba whiteOnFrame{191, 191, 191, 255};
    EXPECT_TRUE(Pixels(33, 27, fillOnFrame, 68, 27, fillOnFrame, 69, 27, frameOnly, 70, 27, kBlack,
                       32, 22, frameOnly, 50, 21, kBlack, 100, 27, kBlack, 33, 44, whiteOnFrame,
                       132, 44, whiteOnFrame, 133, 44, frameOnly, 600, 300, kBlack));
    EXPECT_TRUE(Wrote("Body Count: 42", 7, 458, "Body Count: 42", 6, 459, "Time: 0.50", 630, 458,
                      "Time: 0.50", 629, 459));
    // After the round the HUD fades; at health 0 only the slivers of the
    // health bar's shadow and frame are left.
    Hold({SDLK_ESCAPE});
    Frame(0);
    game->health = 0.0f;
    Frame(1000);
    const Rgba quarter{64, 64, 64, 255};
    EXPECT_TRUE(
        Pixels(32, 27, quarter, 33, 27, quarter, 34, 27, kBlack, 60, 44, Rgba{112, 112, 112, 255}));
    EXPECT_EQ(font->drawn.at(0).alpha, 0.5f);
    // The slow-motion overlay does not fade; the panel, at half strength,
    // fades over it.
    game->hudSprite = SolidSprite(kWhite);
    Press(SDL_BUTTON_RIGHT);
    Frame(0);
    EXPECT_TRUE(Pixels(600, 300, kBlue, 15, 65, Rgba{64, 64, 255, 255}, 138, 65, kBlue));
}

}  // namespace
