// zibo-bare-window: the least an SDL 1.2 + OpenGL program does before its
// first picture — open the game's 640 x 480 window with the same video mode
// flags, set up the same projection, clear and present one frame — so that
// the game's start-up can be set against it. It then waits to be stopped.
#include "GameSettings.h"

#include <SDL.h>
#include <SDL_opengl.h>

namespace {
const Uint32 kVideoModeFlags = SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT | SDL_ANYFORMAT;
const Uint32 kWaitMs = 10;
}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        return 1;
    }
    if (SDL_SetVideoMode(kScreenWidth, kScreenHeight, 0, kVideoModeFlags) == nullptr) {
        SDL_Quit();
        return 1;
    }
    SDL_WM_SetCaption(kWindowCaption, nullptr);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kScreenWidth, kScreenHeight, 0, -1, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapBuffers();
    // Stays open like a game would; the start-up probe ends it.
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                SDL_Quit();
                return 0;
            }
        }
        SDL_Delay(kWaitMs);
    }
}
