// One frame of play: input, walking, slow motion, spawning, enemies, the
// player's death and the bullets, in the order the rules depend on.
#include "Game.h"

#include "Angles.h"
#include "Controls.h"
#include "GameState.h"
#include "Input.h"
#include "SoundBank.h"
#include "SpriteManager.h"
#include "Video.h"

#include <SDL_opengl.h>

#include <cstdlib>

namespace {
const float kSlowMotionFactor = 0.25f;
const float kEnergyDrainPerSpeed = 0.25f;  // energy per second per unit of speed
const float kEnergyRefill = 3.125f;        // energy per second

const float kBulletDamage = 100.0f;
const float kBulletSpeed = 400.0f;
const float kBulletWidth = 16.0f;
const float kBulletHeight = 4.0f;
const int32_t kBulletFrames = 5;
const float kBulletFrameSeconds = 0.1f;
const float kBulletLimit = 325.0f;

// The cat-mode spot, a strip near the bottom of the HUD panel.
const int kCatSpotLeft = 22;
const int kCatSpotRight = 74;
const int kCatSpotTop = 64;
const int kCatSpotBottom = 71;

const float kSpawnFactor = 2.0f;
const float kSpawnSeconds = 20.0f;
const int kSpawnMargin = 25;
const int kSpawnSpreadOffset = 50;
const int32_t kEnemyFrames = 4;
const float kEnemyFrameSeconds = 0.15f;
const float kEnemyWidth = 32.0f;
const float kBadGuyHeight = 32.0f;
const float kCatHeight = 16.0f;  // a cat is told from a bad guy by this alone
const float kEnemyHealth = 100.0f;
const float kEnemySpeed = 75.0f;
const float kEnemyTouchDamage = 5.0f;

const float kBloodSize = 64.0f;
const int kBloodImages = 3;
const int kCatCryChance = 75;
const int kManCryChance = 50;
const int kPercent = 100;

const float kMillisecondsToSeconds = 0.001f;
}  // namespace

float Game::clockSeconds() const {
    return GetTicks() * kMillisecondsToSeconds;
}

void Game::playFrame() {
    if (paused) {
        pausedFrame();
        return;
    }
    pollPlayEvents();
    playPad();
    lockSlowMotionWhenDrained();
    if (slowMo) {
        frameTime *= kSlowMotionFactor;
    }
    if (held(kBack)) {
        state = PlayToStatistics;
    }
    bool moved = false;
    if (state != PlayToStatistics) {
        moved = walk();
    }
    spawnWhenDue();
    // Once the round has ended its time stands still.
    if (state != PlayToStatistics) {
        roundTime = clockSeconds() - roundStartTime;
    }
    updateSlowMotionEnergy();
    facePlayer();
    // Enemies and bullets fade out with the ended round.
    glColor4f(1, 1, 1, fadeAlpha);
    updateEnemies();
    killPlayerWhenHealthGone();
    if (health <= 0.0f) {
        health = 0.0f;
    }
    updateBullets();
    drawHud();
    // A round paused in this frame's events has played the frame out.
    if (paused) {
        drawPauseNotice();
    }
    // The walk cycle runs only while the player walks.
    if (moved && health > 0.0f) {
        player->animate(frameTime);
    }
}

// Paused or not: a paused round still aims at the pointer and lets go of
// slow motion, so that play goes on as the player then holds the controls.
void Game::pollPlayEvents() {
    while (PollEvent(&event)) {
        switch (event.type) {
            case SDL_QUIT:
                quit = true;
                break;
            case SDL_MOUSEMOTION:
                aimAtPointer(event.motion.x, event.motion.y);
                break;
            case SDL_MOUSEBUTTONDOWN:
                pressMouseButton(event.button);
                break;
            case SDL_MOUSEBUTTONUP:
                if (event.button.button == kSlowMotionButton) {
                    stopSlowMotion();
                }
                break;
            case SDL_KEYDOWN:
                if (!switchScreenOnKey(event)) {
                    pressKey(event.key.keysym);
                }
                break;
            case SDL_ACTIVEEVENT:
                // The input focus gone to another window, or the window
                // minimised: the player has looked away.
                if (event.active.gain == 0 &&
                    (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE)) != 0) {
                    pauseRound();
                }
                break;
            default:
                break;
        }
    }
}

// A click on a paused round only lets play go on; the wheel is no click.
void Game::pressMouseButton(const SDL_MouseButtonEvent& press) {
    if (paused) {
        if (press.button != SDL_BUTTON_WHEELUP && press.button != SDL_BUTTON_WHEELDOWN) {
            resumeRound();
        }
    } else if (press.button == kSlowMotionButton) {
        pressRightButton(press.x, press.y);
    } else if (press.button == kFireButton) {
        fire();
    }
}

void Game::pressKey(const SDL_keysym& key) {
    if (paused && ResumesPlay(key)) {
        resumeRound();
    } else if (!paused && key.sym == kPause.key) {
        pauseRound();
    }
}

void Game::pressRightButton(int x, int y) {
    startSlowMotion();
    const bool shiftHeld = KeyHeld(kCatModeKeys[0]) || KeyHeld(kCatModeKeys[1]);
    const bool inCatSpot =
        x >= kCatSpotLeft && x <= kCatSpotRight && y >= kCatSpotTop && y <= kCatSpotBottom;
    if (shiftHeld && inCatSpot) {
        catMode = !catMode;
    }
}

// A press of the slow-motion button: on, unless the energy ran out while it
// was held.
void Game::startSlowMotion() {
    if (!slowMoLocked) {
        slowMo = true;
    }
}

// Its release: off, and unlocked.
void Game::stopSlowMotion() {
    slowMo = false;
    slowMoLocked = false;
}

void Game::fire() {
    const double angle = player->getAngle();
    Bullet bullet(sprites);
    bullet.setAngle(angle);
    bullet.setAnimation(bulletSprite, kBulletFrames, kBulletFrameSeconds);
    bullet.setRect(player->getX(), player->getY(), kBulletWidth, kBulletHeight);
    bullet.damage = kBulletDamage;
    bullet.speed = kBulletSpeed;
    bullets.push_back(bullet);
    shotsFired += 1;
    const int32_t* shots = slowMo ? shotSlowSounds : shotSounds;
    sounds->PlaySample(shots[rand() % 2]);
}

void Game::lockSlowMotionWhenDrained() {
    if (slowMoEnergy <= 0.0f) {
        slowMoLocked = true;
        slowMo = false;
        slowMoEnergy = 0.0f;
    }
}

bool Game::walk() {
    const float d = frameTime * playerSpeed;
    bool moved = false;
    // Every held key steps and counts, so a diagonal walks 2d.
    const struct {
        const Control& control;
        float dx, dy;
    } steps[] = {{kWalkUp, 0, -d}, {kWalkDown, 0, d}, {kWalkLeft, -d, 0}, {kWalkRight, d, 0}};
    for (const auto& step : steps) {
        if (held(step.control)) {
            player->moveBy(step.dx, step.dy);
            distanceRan += d;
            moved = true;
        }
    }
    return moved;
}

void Game::spawnWhenDue() {
    // The interval shrinks as the round goes on; at 0 s elapsed it is infinite.
    spawnInterval = kSpawnFactor * (kSpawnSeconds / (clockSeconds() - roundStartTime));
    // lastSpawnTime starts at 0 on the clock since SDL start-up, so the first
    // enemy comes sooner the longer the program has run.
    if (clockSeconds() - lastSpawnTime >= spawnInterval) {
        spawnEnemy();
        lastSpawnTime = clockSeconds();
    }
}

void Game::spawnEnemy() {
    const int halfWidth = screenWidth / 2;
    const int halfHeight = screenHeight / 2;
    int x;
    int y;
    // The spread along an edge is shifted off centre by the +50; kept, as it
    // is how enemies have always come in.
    if (rand() % 2 == 0) {
        x = (rand() % screenWidth + kSpawnSpreadOffset) - halfWidth + kSpawnMargin;
        y = rand() % 2 == 0 ? -kSpawnMargin - halfHeight : halfHeight + kSpawnMargin;
    } else {
        y = (rand() % screenHeight + kSpawnSpreadOffset) - halfHeight + kSpawnMargin;
        x = rand() % 2 == 0 ? -kSpawnMargin - halfWidth : halfWidth + kSpawnMargin;
    }
    Enemy enemy(sprites);
    const float height = catMode ? kCatHeight : kBadGuyHeight;
    enemy.setAnimation(catMode ? catSprite : badGuySprite, kEnemyFrames, kEnemyFrameSeconds);
    enemy.health = kEnemyHealth;
    enemy.speed = kEnemySpeed;
    enemy.touchDamage = kEnemyTouchDamage;
    enemy.target = player;
    enemy.setRect(static_cast<float>(x), static_cast<float>(y), kEnemyWidth, height);
    enemies.push_back(enemy);
}

void Game::updateSlowMotionEnergy() {
    // Runs after walking: the first frame of slow motion walks and drains at
    // the old speed, the first frame after it walks at 200.
    if (slowMo) {
        slowMoEnergy -= playerSpeed * kEnergyDrainPerSpeed * frameTime;
        playerSpeed = kSlowMotionWalkSpeed;
    } else {
        slowMoEnergy += frameTime * kEnergyRefill;
        playerSpeed = kWalkSpeed;
        if (slowMoEnergy > kFullSlowMoEnergy) {
            slowMoEnergy = kFullSlowMoEnergy;
        }
    }
}

void Game::facePlayer() {
    if (health > 0.0f) {
        // angleTo gives the direction from the aim point towards the player;
        // a half turn back makes him face it.
        player->facePoint(static_cast<float>(aimX), static_cast<float>(aimY));
        player->addAngle(-kHalfTurnDegrees);
    }
}

void Game::updateEnemies() {
    for (Enemy& enemy : enemies) {
        enemy.chase(frameTime);
        drawInWorld(enemy);
        if (enemy.overlaps(*player)) {
            health -= enemy.touchDamage * frameTime;
        }
    }
}

void Game::layBlood(float x, float y) {
    Actor blood(sprites);
    blood.setAnimation(bloodSprite + rand() % kBloodImages, 1, 0.0f);
    blood.setRect(x, y, kBloodSize, kBloodSize);
    blood.setAngle(rand() % kFullTurnDegrees);
    decals.push_back(blood);
}

void Game::killPlayerWhenHealthGone() {
    // A round already ended with ESC gives the player no death scene.
    if (health > 0.0f || state == PlayToStatistics) {
        return;
    }
    state = PlayToStatistics;
    health = 0.0f;
    player->holdFrame(playerDeadSprite);
    player->setAngle(rand() % kFullTurnDegrees);
    layBlood(player->getX(), player->getY());
    sounds->PlaySample(slowMo ? manSlowSounds[2] : manSounds[2]);
}

void Game::updateBullets() {
    size_t i = 0;
    while (i < bullets.size()) {
        Bullet& bullet = bullets[i];
        // Tested before the move: such a bullet is neither moved nor drawn.
        if (bullet.getX() < -kBulletLimit || bullet.getX() > kBulletLimit ||
            bullet.getY() < -kBulletLimit || bullet.getY() > kBulletLimit) {
            bullets.erase(bullets.begin() + i);
            continue;
        }
        bullet.update(frameTime, slowMo);
        drawInWorld(bullet);
        if (hitEnemies(bullet)) {
            bullets.erase(bullets.begin() + i);
            continue;
        }
        ++i;
    }
}

bool Game::hitEnemies(Bullet& bullet) {
    size_t j = 0;
    while (j < enemies.size()) {
        Enemy& enemy = enemies[j];
        if (enemy.dead || !bullet.overlaps(enemy)) {
            ++j;
            continue;
        }
        enemy.health -= bullet.damage;
        if (enemy.health <= 0.0f) {
            enemy.holdFrame(enemy.getBaseFrame() + enemy.getFrameCount());
            enemy.dead = true;
            enemy.setAngle(rand() % kFullTurnDegrees);
        }
        damageDealt += bullet.damage;
        if (enemy.dead) {
            killEnemy(j);
        } else {
            ++j;
        }
        // Outside slow motion the bullet stops at its first hit; in slow
        // motion it pierces on through the rest.
        if (!slowMo) {
            return true;
        }
    }
    return false;
}

void Game::killEnemy(size_t index) {
    const Enemy& enemy = enemies[index];
    layBlood(enemy.getX(), enemy.getY());
    // Only the Actor part goes to the floor: the corpse keeps its held image.
    decals.push_back(enemy);
    playDeathSound(enemy);
    enemies.erase(enemies.begin() + index);
    bodyCount += 1;
}

void Game::playDeathSound(const Enemy& enemy) {
    if (enemy.getHeight() == kCatHeight) {
        if (rand() % kPercent < kCatCryChance) {
            sounds->PlaySample(slowMo ? catSlowSound : catSound);
        }
    } else if (rand() % kPercent < kManCryChance) {
        const int32_t* cries = slowMo ? manSlowSounds : manSounds;
        sounds->PlaySample(cries[rand() % 2]);
    }
}
