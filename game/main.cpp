// ZIBO's entry: open the window and audio, run frames until the game says
// stop, then tear down. Arguments are not used.
#include "Game.h"
#include "Video.h"

namespace {
const int32_t kScreenWidth = 640;
const int32_t kScreenHeight = 480;
const int32_t kAudioFrequency = 44100;
const int32_t kAudioChannels = 2;
}  // namespace

int main(int, char**) {
    // A failed window or audio device is not fatal: the game runs on without.
    InitVideo(kScreenWidth, kScreenHeight);
    InitGl(kScreenWidth, kScreenHeight);
    SetCaption("Z.I.B.O. -- Zibonauts");
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
