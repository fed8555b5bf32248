// ZIBO's entry: open the window and audio, run frames until the game says
// stop, then tear down. Arguments are not used.
#include "Game.h"
#include "GameSettings.h"
#include "Video.h"

int main(int, char**) {
    // A failed window or audio device is not fatal: the game runs on without.
    InitVideo(kScreenWidth, kScreenHeight);
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
