// Drives a real Game in-process: the generated assets, a real window and GL
// context under Xvfb, SDL's dummy audio, a clock the test steps by hand, and
// held keys and mouse events fed through SDL itself.
#ifndef ZIBO_TESTS_GAME_HARNESS_H
#define ZIBO_TESTS_GAME_HARNESS_H

#include "Game.h"
#include "GameSettings.h"
#include "GameState.h"
#include "OutputCapture.h"
#include "TestWindow.h"
#include "Video.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

class GameHarness : public ::testing::Test {
protected:
    // Early in the program's life: the first enemy of a round then comes only
    // after some 35 seconds, so rounds stay empty unless a test spawns.
    static constexpr uint32_t kStartTicks = 1000;

    static uint32_t& Now() {
        static uint32_t now = kStartTicks;
        return now;
    }
    static uint32_t Clock() { return Now(); }

    void SetUp() override {
        OpenTestWindow();
        static bool audioOpen = false;
        if (!audioOpen) {
            InitAudio(kAudioFrequency, kAudioChannels);
            audioOpen = true;
        }
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        previousDirectory = cwd;
        const std::string build = ZIBO_BUILD_DIR;
        ASSERT_EQ(symlink((build + "/sprites").c_str(), work.File("sprites").c_str()), 0);
        ASSERT_EQ(symlink((build + "/sfx").c_str(), work.File("sfx").c_str()), 0);
        ASSERT_EQ(chdir(work.Path().c_str()), 0);
        Now() = kStartTicks;
        SetTickSource(Clock);
        MeasureFrameTime();
        ReleaseAllKeys();
        game = new Game();
        OutputCapture capture;
        game->startUp(kScreenWidth, kScreenHeight);
        capture.Stop();
        startUpOut = capture.Out();
        startUpErr = capture.Err();
        DrainEvents();
    }

    void TearDown() override {
        ReleaseAllKeys();
        if (game != nullptr) {
            OutputCapture quiet;
            game->shutDown();
            delete game;
        }
        SetTickSource(nullptr);
        EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
    }

    static void Hold(SDLKey key, bool down = true) { SDL_GetKeyState(nullptr)[key] = down ? 1 : 0; }
    static void Release(SDLKey key) { Hold(key, false); }
    static void ReleaseAllKeys() {
        int count = 0;
        Uint8* keys = SDL_GetKeyState(&count);
        for (int i = 0; i < count; ++i) {
            keys[i] = 0;
        }
    }
    static void DrainEvents() {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }

    static void PushButton(Uint8 type, Uint8 button, int x, int y) {
        SDL_Event e;
        e.type = type;
        e.button.which = 0;
        e.button.button = button;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        SDL_PushEvent(&e);
    }
    static void PushClick(int x = 400, int y = 300) {
        PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y);
    }
    static void PushMotion(int x, int y) {
        SDL_Event e;
        e.type = SDL_MOUSEMOTION;
        e.motion.which = 0;
        e.motion.state = 0;
        e.motion.x = static_cast<Uint16>(x);
        e.motion.y = static_cast<Uint16>(y);
        e.motion.xrel = 0;
        e.motion.yrel = 0;
        SDL_PushEvent(&e);
    }
    static void PushQuit() {
        SDL_Event e;
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
    }

    // Advances the clock by ms and runs one whole frame.
    bool Frame(uint32_t ms) {
        Now() += ms;
        return game->runFrame();
    }

    // From the title screen into a fresh round, through the real fade.
    void BeginRound() {
        Hold(SDLK_SPACE);
        Frame(10);
        Release(SDLK_SPACE);
        ASSERT_EQ(game->state, TitleToPlay);
        Frame(2000);
        ASSERT_EQ(game->state, Playing);
        ASSERT_EQ(game->fadeAlpha, 1.0f);
    }

    // An enemy of the game's own making, placed at (x, y).
    Enemy& AddEnemy(float x, float y) {
        game->spawnEnemy();
        Enemy& enemy = game->enemies.back();
        enemy.setX(x);
        enemy.setY(y);
        return enemy;
    }

    TempDir work;
    std::string previousDirectory;
    Game* game = nullptr;
    std::string startUpOut;
    std::string startUpErr;
};

#endif
