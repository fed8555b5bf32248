// The frame driver: what every frame does, the screen state machine with its
// fades, and the round's reset and the game's teardown.
#include "Game.h"

#include "Controls.h"
#include "GamePad.h"
#include "GameState.h"
#include "Input.h"
#include "OruBitmapFont.h"
#include "SpriteManager.h"
#include "Video.h"

#include <SDL_opengl.h>

namespace {
const float kFadeSpeed = 0.5f;  // alpha per second: a fade lasts two seconds
const char* const kScreenshotPath = "screenshot.bmp";
const float kPlayerStartHealth = 100.0f;
const float kPlayerSize = 32.0f;
const int32_t kCreditsFirstPage = 1;
const float kCreditsFirstPageTimer = 1.0f;
// A paused round needs no more frames than a display shows; the rest of the
// time is the machine's.
const uint32_t kPausedFrameDelay = 15;  // milliseconds
}  // namespace

Game::Game()
    : sprites(nullptr),
      music(nullptr),
      sounds(nullptr),
      camera(nullptr),
      player(nullptr),
      font(nullptr),
      paused(false),
      padSignals(0),
      padSignalsBefore(0),
      lastPadScan(0),
      creditsPage(kCreditsFirstPage),
      pageTimer(kCreditsFirstPageTimer),
      pageRising(true) {}

Game::~Game() {}

bool Game::runFrame() {
    ClearScreen();
    frameTime = MeasureFrameTime();
    drawWorld();
    glColor4f(1, 1, 1, 1);
    runState();
    if (KeyHeld(kScreenshotKey)) {
        SaveScreenshot(kScreenshotPath, screenWidth, screenHeight);
    }
    // A crosshair to aim with while the round is played.
    ShowCrosshair(state == PlayToStatistics || (state == Playing && !paused));
    SwapBuffers();
    Delay(paused ? kPausedFrameDelay : 0);
    return quit;
}

void Game::fadeOut() {
    fadeAlpha -= frameTime * kFadeSpeed;
}

void Game::enterState(int32_t next) {
    state = next;
    fadeAlpha = 1.0f;
}

void Game::enterRound() {
    // A window closed in the very frame in which the fade ends must still end
    // the program, although a new round clears the flag.
    const bool quitRequested = quit;
    state = Playing;
    resetRound();
    quit = quit || quitRequested;
    fadeAlpha = 1.0f;
}

void Game::runState() {
    switch (state) {
        case TitleScreen:
            quit = titleFrame();
            break;
        case TitleToPlay:
            fadeOut();
            quit = titleFrame();
            if (fadeAlpha <= 0.0f) {
                enterRound();
            }
            break;
        case Playing:
            playFrame();
            break;
        case PlayToStatistics:
            fadeOut();
            playFrame();
            if (fadeAlpha <= 0.0f) {
                enterState(Statistics);
            }
            break;
        case Statistics:
            quit = statisticsFrame();
            break;
        case StatisticsToPlay:
            fadeOut();
            statisticsFrame();
            if (fadeAlpha <= 0.0f) {
                enterRound();
            }
            break;
        case TitleToCredits:
            fadeOut();
            titleFrame();
            if (fadeAlpha <= 0.0f) {
                enterState(Credits);
            }
            break;
        case StatisticsToCredits:
            fadeOut();
            statisticsFrame();
            if (fadeAlpha <= 0.0f) {
                enterState(Credits);
            }
            break;
        case Credits:
            quit = creditsFrame();
            break;
    }
}

void Game::placePlayerAtCentre() {
    player->setRect(0.0f, 0.0f, kPlayerSize, kPlayerSize);
}

void Game::resetRound() {
    aimX = screenWidth / 2;
    aimY = screenHeight / 2;
    bodyCount = 0;
    shotsFired = 0;
    distanceRan = 0.0f;
    roundTime = 0.0f;
    damageDealt = 0.0f;
    placePlayerAtCentre();
    playerSpeed = kWalkSpeed;
    health = kPlayerStartHealth;
    slowMoEnergy = kFullSlowMoEnergy;
    // Drops the dead image held since the last round; the facing stays.
    player->resetAnimation();
    lastSpawnTime = 0.0f;
    spawnInterval = 0.0f;
    frameTime = 0.0f;
    roundStartTime = clockSeconds();
    chooseFloor();
    slowMoLocked = false;
    slowMo = false;
    quit = false;
    paused = false;
    // Swapping with empty vectors releases the storage, not just the elements.
    std::vector<Enemy>().swap(enemies);
    std::vector<Bullet>().swap(bullets);
    std::vector<Actor>().swap(decals);
}

void Game::shutDown() {
    std::vector<Enemy>().swap(enemies);
    std::vector<Bullet>().swap(bullets);
    std::vector<Actor>().swap(decals);
    delete font;
    font = nullptr;
    delete player;
    player = nullptr;
    delete camera;
    camera = nullptr;
    delete sprites;
    sprites = nullptr;
    CloseGamePad();
    // The sound bank and the music player live on until the process ends:
    // the mixer may still be playing what they hold.
}
