// Drives a real Game in this process as the entry function and a player
// would: the game's window and audio device, a millisecond clock stepped by
// hand behind the game's frame timer and its clock, held keys and SDL events
// pushed into the game's queue. The benchmark builds its scenes with it and
// the game's tests play with it.
#ifndef ZIBO_BENCH_GAME_DRIVER_H
#define ZIBO_BENCH_GAME_DRIVER_H

#include <SDL.h>

#include <cstdint>

class Game;

class GameDriver {
public:
    // The entry function's set-up: the window with its OpenGL state, the
    // caption and the audio device. False when there is no window. The
    // window's focus is not followed (no pause when it goes).
    static bool OpenWindow();

    // Starts a Game over "sprites" and "sfx" in the working directory, with
    // the clock at startTicks and the frame timer counting from there.
    explicit GameDriver(uint32_t startTicks);
    // Shuts the game down, lets go of every key and gives the clock back to
    // SDL.
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    Game& game() { return *theGame; }
    uint32_t now() const;
    void advanceClock(uint32_t milliseconds);
    // Sets the clock back or forth, and the frame timer with it.
    void setClock(uint32_t ticks);
    // Advances the clock and runs one whole frame, as the entry function
    // runs it; returns the game's quit flag.
    bool frame(uint32_t milliseconds);

    static void holdKey(SDLKey key, bool down = true);
    static void releaseAllKeys();
    static void pushMotion(int x, int y);
    static void pushButton(Uint8 button, bool down, int x, int y);
    static void pushQuit();
    static void drainEvents();

private:
    Game* theGame;
};

#endif
