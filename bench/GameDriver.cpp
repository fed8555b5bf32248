#include "GameDriver.h"

#include "Game.h"
#include "GameSettings.h"
#include "Video.h"

#include <cstdio>

#ifdef __EMSCRIPTEN__
// The browser's SDL keeps its key states under SDL 2's name.
#define SDL_GetKeyState SDL_GetKeyboardState
#endif

namespace {
// The game reads its clock through a plain function.
uint32_t drivenTicks = 0;
uint32_t DrivenClock() {
    return drivenTicks;
}

void Push(SDL_Event& event) {
    if (SDL_PushEvent(&event) != 0) {
        fprintf(stderr, "driver: the SDL event queue is full\n");
    }
}
}  // namespace

bool GameDriver::OpenWindow() {
    if (InitVideo(kScreenWidth, kScreenHeight) != 0) {
        fprintf(stderr, "driver: cannot open the window (is an X server running?)\n");
        return false;
    }
    InitGl(kScreenWidth, kScreenHeight);
    SetCaption(kWindowCaption);
    InitAudio(kAudioFrequency, kAudioChannels);
    // The window's focus comes and goes with the other windows on the
    // display, and its loss would pause a round: no one plays here but the
    // driver.
#ifndef __EMSCRIPTEN__
    SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
#endif
    return true;
}

GameDriver::GameDriver(uint32_t startTicks) : theGame(new Game()) {
    releaseAllKeys();
    drivenTicks = startTicks;
    SetTickSource(DrivenClock);
    MeasureFrameTime();
    theGame->startUp(kScreenWidth, kScreenHeight);
    drainEvents();
}

GameDriver::~GameDriver() {
    theGame->shutDown();
    delete theGame;
    releaseAllKeys();
    SetTickSource(nullptr);
}

uint32_t GameDriver::now() const {
    return drivenTicks;
}

void GameDriver::advanceClock(uint32_t milliseconds) {
    drivenTicks += milliseconds;
}

void GameDriver::setClock(uint32_t ticks) {
    drivenTicks = ticks;
    MeasureFrameTime();
}

bool GameDriver::frame(uint32_t milliseconds) {
    advanceClock(milliseconds);
    return theGame->runFrame();
}

void GameDriver::holdKey(SDLKey key, bool down) {
    SDL_GetKeyState(nullptr)[key] = down ? 1 : 0;
}

void GameDriver::releaseAllKeys() {
    int count = 0;
    Uint8* keys = SDL_GetKeyState(&count);
    for (int i = 0; i < count; ++i) {
        keys[i] = 0;
    }
}

void GameDriver::pushMotion(int x, int y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    Push(event);
}

void GameDriver::pushButton(Uint8 button, bool down, int x, int y) {
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    Push(event);
}

void GameDriver::pushQuit() {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    Push(event);
}

void GameDriver::drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
}
