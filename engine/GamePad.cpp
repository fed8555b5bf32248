#include "GamePad.h"

#include <SDL.h>

#include <algorithm>

namespace {
// A joystick with fewer axes or buttons than the layout is not one of its
// pads, and reading it by the layout's numbers would be nonsense.
const int kLayoutAxes = 6;
const int kLayoutButtons = 15;
const float kFullTravel = 32767.0f;  // axis units at full deflection

SDL_Joystick* pad = nullptr;

bool HasLayout(SDL_Joystick* joystick) {
    return SDL_JoystickNumAxes(joystick) >= kLayoutAxes &&
           SDL_JoystickNumButtons(joystick) >= kLayoutButtons;
}
}  // namespace

bool OpenGamePad() {
    CloseGamePad();
    for (int i = 0; i < SDL_NumJoysticks() && pad == nullptr; ++i) {
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (joystick != nullptr && !HasLayout(joystick)) {
            SDL_JoystickClose(joystick);
            joystick = nullptr;
        }
        pad = joystick;
    }
    return pad != nullptr;
}

bool RescanGamePads() {
    CloseGamePad();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
        return false;
    }
    return OpenGamePad();
}

void CloseGamePad() {
    if (pad != nullptr) {
        SDL_JoystickClose(pad);
        pad = nullptr;
    }
}

bool GamePadOpen() {
    return pad != nullptr;
}

float GamePadAxis(PadAxis axis) {
    if (pad == nullptr) {
        return 0.0f;
    }
    const float value = SDL_JoystickGetAxis(pad, static_cast<int>(axis)) / kFullTravel;
    return std::max(-1.0f, std::min(1.0f, value));
}

bool GamePadButton(PadButton button) {
    return pad != nullptr && SDL_JoystickGetButton(pad, static_cast<int>(button)) != 0;
}
