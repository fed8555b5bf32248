// ZIBO's entry: open the window and audio, run frames until the game says
// stop, then tear down. Arguments are not used.
#include "Game.h"
#include "GameSettings.h"
#include "Video.h"

#include <cstdio>

namespace {
const int kNoWindowExitStatus = 1;

bool RunGameFrame(void* game) {
    return static_cast<Game*>(game)->runFrame();
}

void EndGame(void* context) {
    Game* game = static_cast<Game*>(context);
    game->shutDown();
    delete game;
    ShutDownVideo();
}
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
    RunFrames(RunGameFrame, EndGame, game);
    return 0;
}
