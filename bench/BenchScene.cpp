#include "BenchScene.h"

#include "Angles.h"
#include "Game.h"
#include "GameSettings.h"
#include "GameState.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {
// Early in the program's life, as a player who starts at once would be.
const uint32_t kStartTicks = 1000;
const uint32_t kTitleKeyFrameMs = 10;
const uint32_t kFadeMs = 2000;
const unsigned kSeed = 20240611u;

// Where the player aims while scenes are built: up and to the right.
const int kAimX = 560;
const int kAimY = 120;
const int kShotX = 400;
const int kShotY = 300;
// SDL 1.2's event queue holds 128 events; stay below it.
const int32_t kClicksPerFrame = 100;
const int32_t kEnemiesPerKillBatch = 100;

// Corpses and blood land anywhere on the screen (world coordinates, whose
// origin is its centre), inside the game's bullet limits of +-325.
const float kDecalHalfWidth = kScreenWidth / 2.0f;
const float kDecalHalfHeight = kScreenHeight / 2.0f;
// Living enemies close in on the player in a ring; the bullets just fired
// are still near him, inside it, so none of them touches an enemy.
const float kRingInner = 120.0f;
const float kRingOuter = 420.0f;
const float kBulletReach = 70.0f;
const int kWalkFrames = 4;
const float kOneAnimationStep = 1.0f;  // longer than any frame's duration
// Past the bullet limits: the game removes such a bullet in its next frame.
const float kFarAway = 1000.0f;

// FNV-1a over the bytes of a value.
void Mix(uint64_t& hash, const void* data, size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
}

void MixActor(uint64_t& hash, const Actor& actor) {
    const float box[] = {actor.getX(), actor.getY(), actor.getWidth(), actor.getHeight()};
    const double angle = actor.getAngle();
    const int sprite = actor.currentSprite();
    Mix(hash, box, sizeof(box));
    Mix(hash, &angle, sizeof(angle));
    Mix(hash, &sprite, sizeof(sprite));
}
}  // namespace

BenchScene::BenchScene() : driver(kStartTicks), theGame(&driver.game()), layout(kSeed) {
    // Start-up seeds with the time and picks the floor with it; two processes
    // must draw the same title screen.
    srand(kSeed);
    theGame->floorChoice = 0;
}

void BenchScene::enterFirstRound() {
    GameDriver::holdKey(SDLK_SPACE, true);
    driver.frame(kTitleKeyFrameMs);
    GameDriver::holdKey(SDLK_SPACE, false);
    driver.frame(kFadeMs);
}

bool BenchScene::buildRound(const SceneSize& size) {
    Game& game = *theGame;
    if (game.state != Playing) {
        fprintf(stderr, "bench: a round is built only in play\n");
        return false;
    }
    if (size.decals % 2 != 0) {
        fprintf(stderr, "bench: decals come in pairs (blood and corpse), not %i\n", size.decals);
        return false;
    }
    // Every scene is the same whatever was built before it: the game's and
    // the layout's random numbers start from the scene's own seed.
    const unsigned seed =
        kSeed + static_cast<unsigned>(size.decals * 7 + size.enemies * 3 + size.bullets);
    srand(seed);
    layout.seed(seed);
    game.resetRound();
    GameDriver::pushMotion(kAimX, kAimY);
    runFrame();
    layDecals(size.decals);
    spawnEnemies(size.enemies);
    fireBullets(size.bullets);
    placeBullets();
    runFrame();
    const bool built = static_cast<int32_t>(game.decals.size()) == size.decals &&
                       static_cast<int32_t>(game.enemies.size()) == size.enemies &&
                       static_cast<int32_t>(game.bullets.size()) == size.bullets &&
                       game.state == Playing;
    if (!built) {
        fprintf(stderr, "bench: asked for %i decals, %i enemies, %i bullets; built %zu, %zu, %zu\n",
                size.decals, size.enemies, size.bullets, game.decals.size(), game.enemies.size(),
                game.bullets.size());
    }
    return built;
}

void BenchScene::layDecals(int32_t count) {
    Game& game = *theGame;
    std::uniform_real_distribution<float> across(-kDecalHalfWidth, kDecalHalfWidth);
    std::uniform_real_distribution<float> down(-kDecalHalfHeight, kDecalHalfHeight);
    // Each kill lays a blood splat and the corpse on it.
    int32_t kills = count / 2;
    while (kills > 0) {
        const int32_t batch = std::min(kills, kEnemiesPerKillBatch);
        for (int32_t i = 0; i < batch; ++i) {
            game.spawnEnemy();
            const float x = across(layout);
            const float y = down(layout);
            game.enemies.back().setX(x);
            game.enemies.back().setY(y);
        }
        killEveryEnemy();
        kills -= batch;
    }
}

void BenchScene::killEveryEnemy() {
    Game& game = *theGame;
    // A bullet laid on an enemy kills it in the next frame (or another enemy
    // it also touches, which leaves one alive for the next pass).
    while (!game.enemies.empty()) {
        if (game.bullets.size() < game.enemies.size()) {
            fireBullets(static_cast<int32_t>(game.enemies.size() - game.bullets.size()));
        }
        const size_t pairs = std::min(game.bullets.size(), game.enemies.size());
        for (size_t k = 0; k < pairs; ++k) {
            game.bullets[k].setX(game.enemies[k].getX());
            game.bullets[k].setY(game.enemies[k].getY());
        }
        runFrame();
    }
    removeBullets();
}

void BenchScene::fireBullets(int32_t count) {
    while (count > 0) {
        const int32_t clicks = std::min(count, kClicksPerFrame);
        for (int32_t i = 0; i < clicks; ++i) {
            GameDriver::pushButton(SDL_BUTTON_LEFT, true, kShotX, kShotY);
        }
        runFrame();
        count -= clicks;
    }
}

void BenchScene::spawnEnemies(int32_t count) {
    Game& game = *theGame;
    std::uniform_real_distribution<float> distance(kRingInner, kRingOuter);
    std::uniform_real_distribution<float> direction(0.0f, static_cast<float>(kTau));
    std::uniform_int_distribution<int> walkFrame(0, kWalkFrames - 1);
    for (int32_t i = 0; i < count; ++i) {
        game.spawnEnemy();
        Enemy& enemy = game.enemies.back();
        const float r = distance(layout);
        const float a = direction(layout);
        enemy.setX(r * std::cos(a));
        enemy.setY(r * std::sin(a));
        // Enemies that came in at different times stand at different steps
        // of their walk.
        for (int step = walkFrame(layout); step > 0; --step) {
            enemy.animate(kOneAnimationStep);
        }
    }
}

void BenchScene::placeBullets() {
    Game& game = *theGame;
    std::uniform_real_distribution<float> distance(0.0f, kBulletReach);
    std::uniform_real_distribution<float> direction(0.0f, static_cast<float>(kTau));
    for (size_t i = 0; i < game.bullets.size(); ++i) {
        Bullet& bullet = game.bullets[i];
        do {
            const float r = distance(layout);
            const float a = direction(layout);
            bullet.setX(r * std::cos(a));
            bullet.setY(r * std::sin(a));
            // Flying away from the player, as a shot does.
            bullet.setAngle(-a * kHalfTurnDegrees / static_cast<float>(kPi));
        } while (bulletTouchesEnemy(i));
    }
}

bool BenchScene::bulletTouchesEnemy(size_t bullet) const {
    const Bullet& shot = theGame->bullets[bullet];
    for (const Enemy& enemy : theGame->enemies) {
        if (shot.overlaps(enemy)) {
            return true;
        }
    }
    return false;
}

void BenchScene::removeBullets() {
    Game& game = *theGame;
    if (game.bullets.empty()) {
        return;
    }
    for (Bullet& bullet : game.bullets) {
        bullet.setX(kFarAway);
    }
    runFrame();
}

void BenchScene::pressRightButton() {
    GameDriver::pushButton(SDL_BUTTON_RIGHT, true, kShotX, kShotY);
    runFrame();
}

void BenchScene::releaseRightButton() {
    GameDriver::pushButton(SDL_BUTTON_RIGHT, false, kShotX, kShotY);
    runFrame();
}

bool BenchScene::pressEscapeUntil(int32_t state, uint32_t frameMs) {
    // Two fades' worth of frames is more than any one transition needs.
    const int32_t maxFrames = static_cast<int32_t>(2 * kFadeMs / frameMs) + 2;
    GameDriver::holdKey(SDLK_ESCAPE, true);
    driver.frame(frameMs);
    GameDriver::holdKey(SDLK_ESCAPE, false);
    for (int32_t i = 0; i < maxFrames && theGame->state != state; ++i) {
        driver.frame(frameMs);
    }
    if (theGame->state != state) {
        fprintf(stderr, "bench: the game is in state %i, not %i\n", theGame->state, state);
        return false;
    }
    return true;
}

void BenchScene::runFrames(int count, uint32_t frameMs) {
    for (int i = 0; i < count; ++i) {
        driver.frame(frameMs);
    }
}

std::string BenchScene::digest() const {
    const Game& game = *theGame;
    uint64_t hash = 14695981039346656037ull;
    for (const Actor& decal : game.decals) {
        MixActor(hash, decal);
    }
    for (const Enemy& enemy : game.enemies) {
        MixActor(hash, enemy);
    }
    for (const Bullet& bullet : game.bullets) {
        MixActor(hash, bullet);
    }
    MixActor(hash, *game.player);
    char text[160];
    snprintf(text, sizeof(text),
             "state=%i floor=%i decals=%zu enemies=%zu bullets=%zu hash=%016llx", game.state,
             game.floorChoice, game.decals.size(), game.enemies.size(), game.bullets.size(),
             static_cast<unsigned long long>(hash));
    return text;
}
