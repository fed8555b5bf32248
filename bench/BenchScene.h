// Drives a real Game in the benchmark's process and builds its scenes with
// the game's own operations: the title screen through startUp, rounds through
// the title's fade and resetRound, corpses and blood through real kills,
// enemies through spawnEnemy and bullets through pushed mouse clicks. The
// game's clock is the benchmark's: frozen inside a round, so that once a
// scene is built nothing walks, spawns, flies or dies while it is measured.
#ifndef ZIBO_BENCH_SCENE_H
#define ZIBO_BENCH_SCENE_H

#include "GameDriver.h"

#include <cstdint>
#include <random>
#include <string>

struct SceneSize {
    int32_t decals;
    int32_t enemies;
    int32_t bullets;
};

class BenchScene {
public:
    // Starts the game over "sprites" and "sfx" in the working directory; the
    // window and the audio device must be open.
    BenchScene();
    BenchScene(const BenchScene&) = delete;
    BenchScene& operator=(const BenchScene&) = delete;

    Game& game() { return *theGame; }

    // The title screen's clock runs (its heading echoes drift); a round's
    // stands still.
    void advanceClock(uint32_t milliseconds) { driver.advanceClock(milliseconds); }
    uint32_t now() const { return driver.now(); }
    // Sets the clock back or forth, and the frame timer with it.
    void setClock(uint32_t ticks) { driver.setClock(ticks); }
    // One whole frame, as the entry function runs it, the clock standing.
    bool runFrame() { return driver.frame(0); }

    // From the title screen into a round through the real fade; once only.
    void enterFirstRound();
    // A fresh round (resetRound) filled to the given size. Decals are laid
    // by kills, so their number must be even. False, with a message, when
    // the game did not end up with exactly the size asked for.
    bool buildRound(const SceneSize& size);

    // Slow motion on, as a press of the right mouse button in play turns it
    // on; off again with the button's release.
    void pressRightButton();
    void releaseRightButton();
    // Holds ESC for one frame, then runs frames of the given length until
    // the game reaches the state; false, with a message, if it never does.
    bool pressEscapeUntil(int32_t state, uint32_t frameMs);
    // Frames of the given length, the clock running.
    void runFrames(int count, uint32_t frameMs);

    // A fingerprint of everything a frame draws, so that two processes can
    // tell that they built the same scene.
    std::string digest() const;

private:
    void layDecals(int32_t count);
    void killEveryEnemy();
    void fireBullets(int32_t count);
    void spawnEnemies(int32_t count);
    void placeBullets();
    void removeBullets();
    bool bulletTouchesEnemy(size_t bullet) const;

    GameDriver driver;
    Game* theGame;
    std::mt19937 layout;
};

#endif
