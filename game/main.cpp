// ZIBO's entry: open the window and audio, run frames until the game says
// stop, then tear down. Arguments are not used.
#include "Game.h"
#include "GameSettings.h"
#include "Video.h"

#include <cstdio>

namespace {
const int kNoWindowExitStatus = 1;
}  // namespace

int main(int, char**) {
    // Without a window there is no game to play: say so and end before any
    // asset is loaded. A failed audio device is not fatal: the game runs on
    // silently.
    if (InitVideo(kScreenWidth, kScreenHeight) != 0) {
        fprintf(stderr, "FAIL) Can't open the game window: %s\n", VideoFailure());
        ShutDownVideo();
        return kNoWindowExitStatus;
    }
    InitGl(kScreenWidth, kScreenHeight);
    SetCaption(kWindowCaption);
    InitAudio(kAudioFrequency, kAudioChannels);
    Game* game = new Game();
    game->startUp(kScreenWidth, kScreenHeight);
    while (!game->runFrame()) {
    }
    game->shutDown();
    delete game;
    ShutDownVideo();
    return 0;
}
