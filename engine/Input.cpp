#include "Input.h"

#ifndef __EMSCRIPTEN__

int PollEvent(SDL_Event* event) {
    return SDL_PollEvent(event);
}

bool KeyHeld(SDLKey key) {
    return SDL_GetKeyState(nullptr)[key] != 0;
}

bool IsModifierKey(SDLKey key) {
    return key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
}

#else

namespace {
// The browser's SDL keeps the state of 64 K key numbers.
const SDL_Keycode kKeyStates = 1 << 16;
const SDL_Keycode kModifierKeys[] = {
    SDLK_NUMLOCKCLEAR, SDLK_CAPSLOCK,    SDLK_SCROLLLOCK, SDLK_LCTRL,  SDLK_LSHIFT,
    SDLK_LALT,         SDLK_LGUI,        SDLK_RCTRL,      SDLK_RSHIFT, SDLK_RALT,
    SDLK_MODE,         SDLK_APPLICATION, SDLK_RGUI,
};

// A hidden page or a window that lost the focus, as SDL 1.2 reports either.
bool TakeActiveEvent(SDL_Event* event) {
    Uint8 state = 0;
    switch (event->window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            state = SDL_APPINPUTFOCUS;
            break;
        case SDL_WINDOWEVENT_HIDDEN:
            state = SDL_APPACTIVE;
            break;
        default:
            return false;
    }
    event->type = SDL_ACTIVEEVENT;
    event->active.gain = 0;
    event->active.state = state;
    return true;
}
}  // namespace

int PollEvent(SDL_Event* event) {
    while (SDL_PollEvent(event)) {
        // Focus and visibility gained need nothing: play goes on at a press.
        if (event->type != SDL_WINDOWEVENT || TakeActiveEvent(event)) {
            return 1;
        }
    }
    return 0;
}

bool KeyHeld(SDLKey key) {
    return key >= 0 && key < kKeyStates && SDL_GetKeyboardState(nullptr)[key] != 0;
}

bool IsModifierKey(SDLKey key) {
    for (const SDL_Keycode modifier : kModifierKeys) {
        if (key == modifier) {
            return true;
        }
    }
    return false;
}

#endif
