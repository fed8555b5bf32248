// SDL 2's headers only: SDL 1.2's, which the game's code includes, name the
// same types differently.
#include "VirtualPad.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstdio>

namespace {
void* Sdl2() {
    static void* const library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    return library;
}

// SDL 2's function of that name, as the library under sdl12-compat has it.
#define SDL2(name) reinterpret_cast<decltype(&name)>(dlsym(Sdl2(), #name))

const float kFullTravel = 32767.0f;
// A trigger's raw axis runs from -32768 (released) to 32767; the controller
// mapping gives the game 0 to 32767.
const float kTriggerRest = -32768.0f;
const float kTriggerTravel = 65535.0f;
}  // namespace

VirtualPad::VirtualPad(int axes, int buttons) {
    // Held for the whole test program: SDL 2 destroys virtual pads when its
    // joystick subsystem stops, which the game's searches would otherwise do.
    static const bool joysticks = SDL2(SDL_InitSubSystem)(SDL_INIT_JOYSTICK) == 0;
    SDL_VirtualJoystickDesc description = {};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = static_cast<Uint16>(axes);
    description.nbuttons = static_cast<Uint16>(buttons);
    description.axis_mask = (1u << axes) - 1;
    description.button_mask = (1u << buttons) - 1;
    description.name = "ZIBO test pad";
    const int index = joysticks ? SDL2(SDL_JoystickAttachVirtualEx)(&description) : -1;
    if (index < 0 || (joystick = SDL2(SDL_JoystickOpen)(index)) == nullptr) {
        fprintf(stderr, "VirtualPad: no virtual pad: %s\n", SDL2(SDL_GetError)());
        return;
    }
    instance = SDL2(SDL_JoystickInstanceID)(joystick);
    Move(PadAxis::LeftTrigger, 0.0f);
    Move(PadAxis::RightTrigger, 0.0f);
}

VirtualPad::~VirtualPad() {
    PullOut();
}

void VirtualPad::Move(PadAxis axis, float value) {
    const bool trigger = axis == PadAxis::LeftTrigger || axis == PadAxis::RightTrigger;
    const float raw = trigger ? kTriggerRest + value * kTriggerTravel : value * kFullTravel;
    SDL2(SDL_JoystickSetVirtualAxis)(joystick, static_cast<int>(axis), static_cast<Sint16>(raw));
}

void VirtualPad::Stick(PadAxis xAxis, float x, float y) {
    Move(xAxis, x);
    Move(static_cast<PadAxis>(static_cast<int>(xAxis) + 1), y);
}

void VirtualPad::Press(PadButton button, bool down) {
    SDL2(SDL_JoystickSetVirtualButton)(joystick, static_cast<int>(button), down ? 1 : 0);
}

void VirtualPad::PullOut() {
    if (joystick == nullptr) {
        return;
    }
    SDL2(SDL_JoystickClose)(joystick);
    joystick = nullptr;
    for (int i = 0; i < SDL2(SDL_NumJoysticks)(); ++i) {
        if (SDL2(SDL_JoystickGetDeviceInstanceID)(i) == instance) {
            SDL2(SDL_JoystickDetachVirtual)(i);
        }
    }
}
